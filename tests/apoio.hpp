// Helpers shared by the tests: temporary folders, files, case texts and runs of the program.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quelna::teste {

// A fresh folder that is the current working directory while the object lives.
class PastaTemporaria {
public:
    PastaTemporaria();
    ~PastaTemporaria();
    PastaTemporaria(const PastaTemporaria&) = delete;
    PastaTemporaria& operator=(const PastaTemporaria&) = delete;
    const std::string& caminho() const { return caminho_; }

private:
    std::string caminho_;
    std::string anterior_;
};

std::string le_arquivo(const std::string& nome);
void escreve_arquivo(const std::string& nome, const std::string& conteudo);
bool existe(const std::string& nome);
std::vector<std::string> linhas_de(const std::string& texto);
// The text less its lines that begin with `inicio`.
std::string sem_linhas_que_comecam(const std::string& texto, const std::string& inicio);
std::vector<std::string> arquivos_da_pasta(const std::string& pasta);

// The 21 lines of a valid case file (a small Ghia case), with some lines replaced:
// trocas[n] is the new text of line n (1-based).
std::string texto_caso(const std::map<int, std::string>& trocas = {});

struct Resultado {
    int estado = -1;
    std::string saida, erro;
};

// Runs the quelna executable in `pasta` with the given arguments, standard input from /dev/null.
// `no_filho` runs in the child just before the program starts (limits, closed descriptors).
Resultado roda_quelna(const std::string& pasta, const std::vector<std::string>& args = {},
                      const std::function<void()>& no_filho = {});

// Runs the executable in `pasta` on a terminal of its own (a pseudo-terminal for its standard
// input, output and error), with the variables of `ambiente` set (an empty value unsets one).
// Returns what the terminal showed.
Resultado roda_quelna_no_terminal(const std::string& pasta, const std::map<std::string, std::string>& ambiente = {});

// Starts the executable in `pasta` without waiting (standard error to erro.txt there); espera
// returns its exit status, or 128 + the signal that ended it.
int inicia_quelna(const std::string& pasta);
int espera(int pid);

// The example cases of the repository and the published reference data (tests/dados).
std::string pasta_casos();
std::string pasta_refdata();

// Copies an example case folder into `destino`.
void copia_caso(const std::string& caso, const std::string& destino);

}  // namespace quelna::teste
