#include "platform/comando.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <sstream>

#include "platform/arquivo.hpp"

extern char** environ;

namespace quelna {

namespace {

constexpr std::size_t comprimento_maximo = 1024;

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

// The text viewer. An interactive user gets the editor of their choice; a batch run (no
// terminal, or no editor named) goes on at once, as if the viewer had been closed unchanged.
int visualizador(const std::string& arquivo) {
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) return 0;
    const char* editor = tem_variavel("VISUAL") ? std::getenv("VISUAL")
                         : tem_variavel("EDITOR") ? std::getenv("EDITOR") : nullptr;
    if (!editor) return 0;
    auto argv = palavras(editor);
    if (argv.empty()) return 0;
    argv.push_back(caminho_explicito(arquivo));
    return executa_programa(argv);
}

// The script's name without ".gnu": the stem of its picture and of its log.
std::string raiz_do_script(const std::string& script) {
    const bool gnu = script.size() > 4 && script.compare(script.size() - 4, 4, ".gnu") == 0;
    return gnu ? script.substr(0, script.size() - 4) : script;
}

std::string nome_do_log(const std::string& script) { return raiz_do_script(script) + ".log"; }

// The plotter. The script is drawn once into nothing and then replotted into a PNG beside it,
// so that no display is needed; with a display and a user at the terminal it is also shown
// in a window until the user closes it. gnuplot's messages go to a log beside the script.
int plotador(const std::string& script) {
    const std::string log = nome_do_log(script);
    const int st = executa_programa(
        {"gnuplot", "-e", "set terminal pngcairo size 900,700 enhanced font 'sans,11'; set output '/dev/null'",
         script, "-e", "set output " + aspas_gnuplot(nome_da_figura(script)) + "; replot; unset output"},
        log);
    // A log that says nothing is not kept.
    struct stat st_log {};
    if (stat(log.c_str(), &st_log) == 0 && S_ISREG(st_log.st_mode) && st_log.st_size == 0) unlink(log.c_str());
    // The window is a courtesy: what its plotter says (a gnuplot without windows says so) is dropped.
    if (st == 0 && (tem_variavel("DISPLAY") || tem_variavel("WAYLAND_DISPLAY")) && isatty(STDIN_FILENO))
        executa_programa({"gnuplot", script, "-e", "pause mouse close"}, saida_descartada);
    return st;
}

}  // namespace

std::string nome_da_figura(const std::string& script) { return raiz_do_script(script) + ".png"; }

std::vector<std::string> saidas_do_plotador(const std::string& script) {
    return {nome_da_figura(script), nome_do_log(script)};
}

std::string aspas_gnuplot(const std::string& texto) {
    if (texto.find('\'') == std::string::npos) return "'" + texto + "'";
    // gnuplot takes two apostrophes in a row for an empty string at the start of a text or
    // after a doubled one: a text with apostrophes goes in quotation marks instead, where only
    // the backslash and the quotation mark need escaping.
    std::string s = "\"";
    for (const char c : texto) {
        if (c == '\\' || c == '"') s += '\\';
        s += c;
    }
    return s + "\"";
}

std::string caminho_explicito(const std::string& nome) {
    return nome.empty() || nome.front() == '/' ? nome : "./" + nome;
}

namespace {

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

int executa_programa(const std::vector<std::string>& argv, const std::string& saida, const std::string& pasta) {
    const int pid = inicia_programa(argv, {saida, pasta, false});
    return pid < 0 ? -1 : espera_programa(pid);
}

int executar_comando(std::string_view comando, int comprimento) {
    std::string linha(comando.substr(0, comprimento < 0 ? 0 : static_cast<std::size_t>(comprimento)));
    while (!linha.empty() && linha.back() == ' ') linha.pop_back();
    if (linha.size() > comprimento_maximo) return -1;
    if (linha.empty()) return -1;

    const auto branco = linha.find(' ');
    const std::string programa = linha.substr(0, branco);
    const bool tem_argumento = branco != std::string::npos;
    const std::string argumento = tem_argumento ? linha.substr(branco + 1) : std::string();

    if (programa == "notepad") return tem_argumento ? visualizador(argumento) : 0;
    if (programa == "wgnuplot") return tem_argumento ? plotador(argumento) : -1;
    if (tem_argumento) return executa_programa({programa, argumento});
    return executa_programa({programa});
}

}  // namespace quelna
