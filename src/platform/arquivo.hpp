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

// Opens `nome` for writing, created or emptied, and only as a regular file: a symbolic link, a
// FIFO, a device or a folder in its place is refused, so that a case folder can neither send
// the output elsewhere nor make the run wait on a pipe. The descriptor is closed on exec.
// Throws ErroArquivo naming the file.
int abre_para_gravar(const std::string& nome);

// Reads the whole of `nome` into `texto` when it is a regular file of at most `limite` bytes
// (through a symbolic link only when `segue_link`). Returns 0, or the reason as an errno value:
// ENOENT missing, EISDIR a folder, ELOOP a link not followed, ENXIO not a regular file,
// EFBIG larger than the limit, or what the system said.
int le_arquivo_comum(const std::string& nome, std::size_t limite, std::string& texto, bool segue_link = true);

// The first `n` bytes (or fewer) of `nome`, a regular file not reached through a link; the
// result as for le_arquivo_comum.
int le_inicio_do_arquivo(const std::string& nome, std::size_t n, std::string& texto);

// 0 when `nome` may be written as an output (absent, or a regular file), else the reason as for
// le_arquivo_comum (ELOOP, ENXIO, EISDIR): for a file that another program is to write.
int confere_para_gravar(const std::string& nome);

// Writes `texto` as the whole content of `nome`, opened as by abre_para_gravar. Throws ErroArquivo.
void grava_arquivo(const std::string& nome, std::string_view texto);

// The temporary name under which a file that is whole or absent is written before
// substitui_arquivo or ArquivoTexto::fecha_substituindo puts it in its place.
inline std::string temporario_de(const std::string& nome) { return nome + ".tmp"; }

// Renames `temporario` over `nome`, replacing it, so that `nome` is always whole or absent; on
// failure the temporary file is removed and ErroArquivo names `nome`.
void substitui_arquivo(const std::string& temporario, const std::string& nome);

// Removes `nome` if it is there (a temporary file left by a failure).
void apaga_arquivo(const std::string& nome);

// An exclusive lock on the file `nome` (created when missing), held while the object lives and
// released by the system when the process ends, however it ends.
class Trava {
public:
    explicit Trava(const std::string& nome);
    ~Trava();
    Trava(const Trava&) = delete;
    Trava& operator=(const Trava&) = delete;
    // False when another process holds the lock.
    bool obtida() const { return obtida_; }

private:
    int fd_ = -1;
    bool obtida_ = false;
};

// The case file and the plot scripts are a few lines: a larger file is not one of them.
inline constexpr std::size_t limite_de_leitura = 1 << 20;

class ArquivoTexto {
public:
    // One that is never opened takes lines and writes nothing.
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
    // Closes a file written under a temporary name and renames it over `nome`, so that `nome`
    // is whole or as it was; on any failure the temporary file is removed and ErroArquivo thrown.
    void fecha_substituindo(const std::string& nome);
    bool aberto() const { return f_ != nullptr; }
    const std::string& nome() const { return nome_; }

private:
    std::FILE* f_ = nullptr;
    std::string nome_;
    int erro_ = 0;
};

}  // namespace quelna
