// Outside programs on POSIX systems: posix_spawn and waitpid, the editor of $VISUAL or $EDITOR,
// gnuplot on PATH.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <sstream>

#include "platform/arquivo.hpp"
#include "platform/comando.hpp"
#include "platform/processos.hpp"

extern char** environ;

namespace quelna {

namespace {

bool tem_variavel(const char* nome) {
    const char* v = std::getenv(nome);
    return v != nullptr && *v != '\0';
}

std::vector<std::string> palavras(const std::string& texto) {
    std::istringstream in(texto);
    std::vector<std::string> p;
    for (std::string w; in >> w;) p.push_back(w);
    return p;
}

int estado_de_saida(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

int inicia_programa(const std::vector<std::string>& argv, const Redirecoes& r) {
    if (argv.empty() || argv[0].empty()) return -1;
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    int fd = -1;
    if (r.saida == saida_descartada) {
        fd = open(saida_descartada, O_WRONLY | O_CLOEXEC);
    } else if (!r.saida.empty()) {
        try {
            fd = abre_para_gravar(r.saida);
        } catch (const ErroArquivo&) {
            return -1;
        }
    }
    posix_spawn_file_actions_t acoes;
    posix_spawn_file_actions_init(&acoes);
    if (fd >= 0) {
        posix_spawn_file_actions_adddup2(&acoes, fd, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&acoes, fd, STDERR_FILENO);
    }
    if (r.sem_entrada) posix_spawn_file_actions_addopen(&acoes, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (!r.pasta.empty()) posix_spawn_file_actions_addchdir_np(&acoes, r.pasta.c_str());
    // The run ignores SIGPIPE and SIGXFSZ (a closed standard error or a size limit must not end
    // it); the programs it starts get the ordinary behaviour back.
    posix_spawnattr_t atributos;
    posix_spawnattr_init(&atributos);
    sigset_t padrao;
    sigemptyset(&padrao);
    sigaddset(&padrao, SIGPIPE);
    sigaddset(&padrao, SIGXFSZ);
    posix_spawnattr_setsigdefault(&atributos, &padrao);
    posix_spawnattr_setflags(&atributos, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int erro = posix_spawnp(&pid, args[0], &acoes, &atributos, args.data(), environ);
    posix_spawnattr_destroy(&atributos);
    posix_spawn_file_actions_destroy(&acoes);
    if (fd >= 0) close(fd);
    return erro == 0 ? pid : -1;
}

int espera_programa(int pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return estado_de_saida(status);
}

int espera_algum_programa(int& estado) {
    int status = 0;
    pid_t pid;
    while ((pid = waitpid(-1, &status, 0)) < 0)
        if (errno != EINTR) return -1;
    estado = estado_de_saida(status);
    return pid;
}

namespace sistema {

// An interactive user gets the editor of their choice; a batch run (no terminal, or no editor
// named) none.
std::vector<std::string> visualizador(const std::string& arquivo) {
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) return {};
    const char* editor = tem_variavel("VISUAL") ? std::getenv("VISUAL")
                         : tem_variavel("EDITOR") ? std::getenv("EDITOR") : nullptr;
    if (!editor) return {};
    auto argv = palavras(editor);
    if (argv.empty()) return {};
    argv.push_back(caminho_explicito(arquivo));
    return argv;
}

std::string plotador() { return "gnuplot"; }

bool ha_quem_veja_janelas() { return (tem_variavel("DISPLAY") || tem_variavel("WAYLAND_DISPLAY")) && isatty(STDIN_FILENO); }

}  // namespace sistema

}  // namespace quelna
