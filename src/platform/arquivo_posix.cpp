// Files on POSIX systems: regular files only, never through a link, never waiting on a FIFO.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/arquivo.hpp"
#include "platform/sistema_de_arquivos.hpp"

namespace quelna {

namespace {

// 0 for a regular file, else why it is not one.
int so_comum(const struct stat& st) {
    if (S_ISLNK(st.st_mode)) return ELOOP;
    if (S_ISDIR(st.st_mode)) return EISDIR;
    return S_ISREG(st.st_mode) ? 0 : ENXIO;
}

int so_arquivo_comum(int fd) {
    struct stat st {};
    return fstat(fd, &st) != 0 ? errno : so_comum(st);
}

}  // namespace

int abre_para_gravar(const std::string& nome) {
    if (nome.empty()) throw ErroArquivo("não foi possível criar o arquivo \"\": " + motivo_do_sistema(EINVAL));
    // Without O_NONBLOCK a FIFO would hold the open until a reader came; with it, the open of a
    // FIFO without a reader fails at once, and one with a reader is refused below.
    const int fd = open(nome.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    int erro = fd < 0 ? errno : so_arquivo_comum(fd);
    if (erro == 0) {
        const int modos = fcntl(fd, F_GETFL);
        if (modos < 0 || fcntl(fd, F_SETFL, modos & ~O_NONBLOCK) != 0) erro = errno;
    }
    if (erro != 0) {
        if (fd >= 0) close(fd);
        throw ErroArquivo("não foi possível criar o arquivo \"" + nome + "\": " + motivo_do_sistema(erro));
    }
    return fd;
}

int confere_para_gravar(const std::string& nome) {
    struct stat st {};
    if (lstat(nome.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
    return so_comum(st);
}

void apaga_arquivo(const std::string& nome) { std::remove(nome.c_str()); }

Trava::Trava(const std::string& nome) {
    fd_ = open(nome.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    const int erro = fd_ < 0 ? errno : so_arquivo_comum(fd_);
    if (erro != 0) {
        if (fd_ >= 0) close(fd_);
        throw ErroArquivo("não foi possível criar o arquivo de trava \"" + nome + "\": " + motivo_do_sistema(erro));
    }
    obtida_ = flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

Trava::~Trava() {
    if (fd_ >= 0) close(fd_);
}

namespace sistema {

// Up to `limite` + 1 bytes of a regular file (a FIFO would hold an ordinary open until a writer
// came: it is opened without waiting and refused).
int le_ate(const std::string& nome, std::size_t limite, std::string& texto, bool segue_link) {
    texto.clear();
    const int fd = open(nome.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | (segue_link ? 0 : O_NOFOLLOW));
    if (fd < 0) return errno;
    int erro = so_arquivo_comum(fd);
    char buf[65536];
    while (erro == 0 && texto.size() <= limite) {
        const std::size_t falta = std::min(sizeof buf, limite + 1 - texto.size());
        const ssize_t n = read(fd, buf, falta);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) erro = errno;
        if (n <= 0) break;
        texto.append(buf, static_cast<std::size_t>(n));
    }
    close(fd);
    if (erro != 0) texto.clear();
    return erro;
}

int escreve_tudo(int fd, std::string_view texto) {
    for (std::size_t feito = 0; feito < texto.size();) {
        const ssize_t n = write(fd, texto.data() + feito, texto.size() - feito);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        feito += static_cast<std::size_t>(n);
    }
    return 0;
}

int fecha_descritor(int fd) { return close(fd); }

std::FILE* fluxo_de(int fd) { return fdopen(fd, "wb"); }

int renomeia(const std::string& de, const std::string& para) {
    return std::rename(de.c_str(), para.c_str()) == 0 ? 0 : errno;
}

}  // namespace sistema

}  // namespace quelna
