#include "platform/arquivo.hpp"

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
    default: return "erro do sistema " + std::to_string(erro);
    }
}

ArquivoTexto::~ArquivoTexto() {
    if (f_) std::fclose(f_);
}

void ArquivoTexto::abre(const std::string& nome) {
    if (f_) fecha();
    nome_ = nome;
    erro_ = 0;
    errno = 0;
    f_ = nome.empty() ? nullptr : std::fopen(nome.c_str(), "wb");
    if (!f_)
        throw ErroArquivo("não foi possível criar o arquivo \"" + nome + "\": " +
                          motivo_do_sistema(nome.empty() ? EINVAL : errno));
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
