#include "platform/arquivo.hpp"

#include <cerrno>

#include "platform/sistema_de_arquivos.hpp"

namespace quelna {

std::string motivo_do_sistema(int erro) {
    switch (erro) {
    case EACCES:
    case EPERM: return "permissão negada";
    case ENOENT: return "pasta inexistente";
    case EISDIR: return "há uma pasta com esse nome";
    case ENOTDIR: return "parte do caminho não é uma pasta";
    case ENOSPC: return "disco cheio";
#ifdef EDQUOT
    case EDQUOT: return "cota de disco esgotada";
#endif
    case EROFS: return "sistema de arquivos somente para leitura";
    case ENAMETOOLONG: return "nome longo demais";
    case EFBIG: return "arquivo grande demais";
    case EIO: return "erro de entrada e saída";
    case EMFILE:
    case ENFILE: return "arquivos abertos demais";
    case EINVAL: return "nome inválido";
    case ELOOP: return "é um link simbólico";
    case ENXIO: return "não é um arquivo comum (FIFO, dispositivo ou soquete)";
    case ENOMEM: return "memória insuficiente";
    default: return "erro do sistema " + std::to_string(erro);
    }
}

int le_arquivo_comum(const std::string& nome, std::size_t limite, std::string& texto, bool segue_link) {
    int erro = sistema::le_ate(nome, limite, texto, segue_link);
    if (erro == 0 && texto.size() > limite) erro = EFBIG;
    if (erro != 0) texto.clear();
    return erro;
}

int le_inicio_do_arquivo(const std::string& nome, std::size_t n, std::string& texto) {
    const int erro = sistema::le_ate(nome, n, texto, false);
    if (texto.size() > n) texto.resize(n);
    return erro;
}

void grava_arquivo(const std::string& nome, std::string_view texto) {
    const int fd = abre_para_gravar(nome);
    int erro = sistema::escreve_tudo(fd, texto);
    if (sistema::fecha_descritor(fd) != 0 && erro == 0) erro = errno;
    if (erro != 0) throw ErroArquivo("erro ao gravar o arquivo \"" + nome + "\": " + motivo_do_sistema(erro));
}

void substitui_arquivo(const std::string& temporario, const std::string& nome) {
    if (const int erro = sistema::renomeia(temporario, nome); erro != 0) {
        apaga_arquivo(temporario);
        throw ErroArquivo("não foi possível substituir o arquivo \"" + nome + "\": " + motivo_do_sistema(erro));
    }
}

ArquivoTexto::~ArquivoTexto() {
    if (f_) std::fclose(f_);
}

void ArquivoTexto::fecha_substituindo(const std::string& nome) {
    const std::string temporario = nome_;
    try {
        fecha();
    } catch (...) {
        apaga_arquivo(temporario);
        throw;
    }
    substitui_arquivo(temporario, nome);
}

void ArquivoTexto::abre(const std::string& nome) {
    if (f_) fecha();
    nome_ = nome;
    erro_ = 0;
    const int fd = abre_para_gravar(nome);
    f_ = sistema::fluxo_de(fd);
    if (!f_) {
        const int erro = errno;
        sistema::fecha_descritor(fd);
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
