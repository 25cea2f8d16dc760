#include "apoio.hpp"

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace quelna::teste {

PastaTemporaria::PastaTemporaria() {
    std::string modelo = (fs::temp_directory_path() / "quelna-teste-XXXXXX").string();
    if (!mkdtemp(modelo.data())) throw std::runtime_error("mkdtemp");
    caminho_ = modelo;
    anterior_ = fs::current_path().string();
    fs::current_path(caminho_);
}

PastaTemporaria::~PastaTemporaria() {
    std::error_code ec;
    fs::current_path(anterior_, ec);
    fs::permissions(caminho_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(caminho_, ec);
}

std::string le_arquivo(const std::string& nome) {
    std::ifstream f(nome, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void escreve_arquivo(const std::string& nome, const std::string& conteudo) {
    std::ofstream f(nome, std::ios::binary);
    f << conteudo;
}

bool existe(const std::string& nome) { return fs::exists(nome); }

std::vector<std::string> linhas_de(const std::string& texto) {
    std::vector<std::string> l;
    std::istringstream in(texto);
    for (std::string s; std::getline(in, s);) l.push_back(s);
    return l;
}

std::string sem_linhas_que_comecam(const std::string& texto, const std::string& inicio) {
    std::string r;
    for (const auto& l : linhas_de(texto))
        if (l.rfind(inicio, 0) != 0) r += l + "\n";
    return r;
}

std::vector<std::string> arquivos_da_pasta(const std::string& pasta) {
    std::vector<std::string> nomes;
    for (const auto& e : fs::directory_iterator(pasta)) nomes.push_back(e.path().filename().string());
    std::sort(nomes.begin(), nomes.end());
    return nomes;
}

std::string texto_caso(const std::map<int, std::string>& trocas) {
    std::vector<std::string> l = {
        "'teste'             caso",
        "4                   nx",
        "4                   ny",
        "0.2                 dt",
        "1.0e-8              tolm",
        "3                   itmax",
        "2                   solver",
        "1                   nmassa",
        "1.0e-2              tol_uv",
        "1.0e-3              tol_p",
        "2                   nit_uv",
        "5                   nit_p",
        "1.5                 w",
        "100                 Re",
        "1                   beta",
        "0                   campos",
        "1                   freq",
        "2                   problema",
        "0                   inicial",
        "2                   malha",
        "'Cavidade de teste'",
    };
    for (const auto& [n, t] : trocas) l[static_cast<std::size_t>(n - 1)] = t;
    std::string s;
    for (const auto& x : l) s += x + "\n";
    return s;
}

namespace {

std::string le_fd(int fd) {
    std::string s;
    char buf[4096];
    for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) s.append(buf, static_cast<std::size_t>(n));
    return s;
}

}  // namespace

Resultado roda_quelna(const std::string& pasta, const std::vector<std::string>& args,
                      const std::function<void()>& no_filho) {
    char saida_modelo[] = "/tmp/quelna-saida-XXXXXX";
    char erro_modelo[] = "/tmp/quelna-erro-XXXXXX";
    const int fo = mkstemp(saida_modelo), fe = mkstemp(erro_modelo);
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(pasta.c_str()) != 0) _exit(126);
        const int nulo = open("/dev/null", O_RDONLY);
        dup2(nulo, 0);
        dup2(fo, 1);
        dup2(fe, 2);
        if (no_filho) no_filho();
        std::vector<char*> argv;
        std::string exe = QUELNA_EXE;
        argv.push_back(exe.data());
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(exe.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    Resultado r;
    r.estado = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    lseek(fo, 0, SEEK_SET);
    lseek(fe, 0, SEEK_SET);
    r.saida = le_fd(fo);
    r.erro = le_fd(fe);
    close(fo);
    close(fe);
    unlink(saida_modelo);
    unlink(erro_modelo);
    return r;
}

Resultado roda_quelna_no_terminal(const std::string& pasta, const std::map<std::string, std::string>& ambiente) {
    int terminal = -1;
    const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid == 0) {
        if (chdir(pasta.c_str()) != 0) _exit(126);
        for (const auto& [nome, valor] : ambiente) {
            if (valor.empty()) unsetenv(nome.c_str());
            else setenv(nome.c_str(), valor.c_str(), 1);
        }
        alarm(60);
        std::string exe = QUELNA_EXE;
        char* argv[] = {exe.data(), nullptr};
        execv(exe.c_str(), argv);
        _exit(127);
    }
    Resultado r;
    if (pid < 0) return r;
    char buf[4096];
    for (ssize_t n; (n = read(terminal, buf, sizeof buf)) > 0;) r.erro.append(buf, static_cast<std::size_t>(n));
    close(terminal);
    r.estado = espera(pid);
    return r;
}

int inicia_quelna(const std::string& pasta) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(pasta.c_str()) != 0) _exit(126);
        const int nulo = open("/dev/null", O_RDWR);
        const int erro = open("erro.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(nulo, 0);
        dup2(nulo, 1);
        dup2(erro, 2);
        std::string exe = QUELNA_EXE;
        char* argv[] = {exe.data(), nullptr};
        execv(exe.c_str(), argv);
        _exit(127);
    }
    return pid;
}

int espera(int pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string pasta_casos() { return QUELNA_CASOS; }

std::string pasta_refdata() { return QUELNA_REFDATA; }

void copia_caso(const std::string& caso, const std::string& destino) {
    fs::copy(pasta_casos() + "/" + caso, destino, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

}  // namespace quelna::teste
