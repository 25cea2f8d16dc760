#include "platform/arquivo.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace quelna {

std::string motivo_do_sistema(int erro) {
    switch (erro) {
    case EACCES:
    case EPERM: return "permissão negada";
    case ENOENT: return "pasta inexistente";
    case EISDIR: return "há uma pasta com esse nome";
    case ENOTDIR: return "parte do caminho não é uma pasta";
    case ENOSPC: return "disco cheio";
    case EDQUOT: return "cota de disco esgotada";
    case EROFS: return "sistema de arquivos somente para leitura";
    case ENAMETOOLONG: return "nome longo demais";
    case EFBIG: return "arquivo grande demais";
    case EIO: return "erro de entrada e saída";
    case EMFILE:
    case ENFILE: return "arquivos abertos demais";
    case EINVAL: return "nome inválido";
    case ELOOP: return "é um link simbólico";
    case ENXIO: return "não é um arquivo comum (FIFO, dispositivo ou soquete)";
    default: return "erro do sistema " + std::to_string(erro);
    }
}

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

namespace {

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

}  // namespace

int le_arquivo_comum(const std::string& nome, std::size_t limite, std::string& texto, bool segue_link) {
    int erro = le_ate(nome, limite, texto, segue_link);
    if (erro == 0 && texto.size() > limite) erro = EFBIG;
    if (erro != 0) texto.clear();
    return erro;
}

int le_inicio_do_arquivo(const std::string& nome, std::size_t n, std::string& texto) {
    const int erro = le_ate(nome, n, texto, false);
    if (texto.size() > n) texto.resize(n);
    return erro;
}

int confere_para_gravar(const std::string& nome) {
    struct stat st {};
    if (lstat(nome.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
    return so_comum(st);
}

void grava_arquivo(const std::string& nome, std::string_view texto) {
    const int fd = abre_para_gravar(nome);
    int erro = 0;
    for (std::size_t feito = 0; feito < texto.size() && erro == 0;) {
        const ssize_t n = write(fd, texto.data() + feito, texto.size() - feito);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) erro = errno;
        else feito += static_cast<std::size_t>(n);
    }
    if (close(fd) != 0 && erro == 0) erro = errno;
    if (erro != 0) throw ErroArquivo("erro ao gravar o arquivo \"" + nome + "\": " + motivo_do_sistema(erro));
}

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

ArquivoTexto::~ArquivoTexto() {
    if (f_) std::fclose(f_);
}

void ArquivoTexto::abre(const std::string& nome) {
    if (f_) fecha();
    nome_ = nome;
    erro_ = 0;
    const int fd = abre_para_gravar(nome);
    f_ = fdopen(fd, "wb");
    if (!f_) {
        const int erro = errno;
        close(fd);
        throw ErroArquivo("não foi possível criar o arquivo \"" + nome + "\": " + motivo_do_sistema(erro));
    }
}

void ArquivoTexto::linha(std::string_view texto) {
    if (!f_) return;
    const bool escrito = texto.empty() || std::fwrite(texto.data(), 1, texto.size(), f_) == texto.size();
    if (!escrito || std::fputc('\n', f_) == EOF)
        if (erro_ == 0) erro_ = errno ? errno : EIO;
}

void ArquivoTexto::descarrega() {
    if (f_ && std::fflush(f_) != 0 && erro_ == 0) erro_ = errno ? errno : EIO;
}

void ArquivoTexto::fecha() {
    if (!f_) return;
    errno = 0;
    if (std::fflush(f_) != 0 && erro_ == 0) erro_ = errno ? errno : EIO;
    if (std::ferror(f_) && erro_ == 0) erro_ = EIO;
    errno = 0;
    if (std::fclose(f_) != 0 && erro_ == 0) erro_ = errno ? errno : EIO;
    f_ = nullptr;
    if (erro_ != 0)
        throw ErroArquivo("erro ao gravar o arquivo \"" + nome_ + "\": " + motivo_do_sistema(erro_));
}

}  // namespace quelna
