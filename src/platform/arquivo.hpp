// Text files of whole lines, written in the bytes given (Latin-1 for every text of the system),
// with every failure to create or to write reported by name.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quelna {

// A file that could not be created, written or closed. what() is the Portuguese message.
class ErroArquivo : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Portuguese text for an errno value.
std::string motivo_do_sistema(int erro);

class ArquivoTexto {
public:
    ArquivoTexto() = default;
    explicit ArquivoTexto(const std::string& nome) { abre(nome); }
    ~ArquivoTexto();
    ArquivoTexto(const ArquivoTexto&) = delete;
    ArquivoTexto& operator=(const ArquivoTexto&) = delete;

    void abre(const std::string& nome);  // creates or replaces
    void linha(std::string_view texto);   // the text and a line end
    void vazia() { linha({}); }
    // Hands what was written so far to the system, so that a long run can be followed.
    void descarrega();
    // Closes the file; a write error anywhere since it was opened (a full disk) surfaces here.
    void fecha();
    bool aberto() const { return f_ != nullptr; }
    const std::string& nome() const { return nome_; }

private:
    std::FILE* f_ = nullptr;
    std::string nome_;
    int erro_ = 0;
};

}  // namespace quelna
