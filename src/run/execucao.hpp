// The run sequence: from the case file to the shown listing.
#pragma once

#include <string>
#include <vector>

#include "discretization/equacoes.hpp"
#include "discretization/modelo.hpp"
#include "input/cabecalho.hpp"
#include "platform/arquivo.hpp"
#include "platform/janela.hpp"
#include "platform/relogio.hpp"
#include "run/norma.hpp"
#include "run/resultados.hpp"
#include "solvers/solvers.hpp"

namespace quelna {

inline constexpr const char* titulo_janela = "QUELNA 1.3 (Escoamento Bidimensional de Fluido Incompressível)";

// The residual history.
inline constexpr const char* arquivo_r = "r.dat";

// Every file the run reads or writes besides those named by the case: the case file, the data
// files, the plot scripts with their temporary copies, pictures and logs, and the published
// profiles that the example scripts draw. The case may name none of them.
std::vector<std::string> arquivos_da_execucao();

// Exit statuses of a run (an interrupted one gives 128 + the signal).
enum Saida : int { saida_ok = 0, saida_erro_arquivo = 1, saida_caso_invalido = 2, saida_divergiu = 3 };

// How the cycle ended.
enum class Desfecho { convergiu, itmax, interrompido, divergiu };

// What the cycle leaves for the report after it.
struct EstadoCiclo {
    int iteracoes = 0;      // outer iterations done
    double residuo_1 = 0.0;
    double razao = 0.0;     // the residual ratio of the last iteration
    double tempo = 0.0;     // wall-clock seconds of the cycle
    Desfecho desfecho = Desfecho::itmax;
    Resultados ultimos;     // the values of interest of the last reported iteration
};

// The one line that says how a cycle ended: converged (iteration, ratio, tolm), stopped at
// itmax, interrupted, or diverged; with the seconds.
std::string veredito(const CaseData& caso, const EstadoCiclo& e);

// The outer iteration cycle and everything the run writes after it; returns how the cycle ended.
// t is the solver's workspace, reserved for the grid.
EstadoCiclo solucao(const CaseData& caso, Campos& c, Trabalho& t, ArquivoTexto& listagem, const Cabecalho& cab);

// The cycle alone: iterates, writes the residual table, "r.dat" and the iteration file's lines.
// A residual sum that is not a number, or infinite, ends it at that iteration: the solution
// diverged, and that iteration is reported as the last.
EstadoCiclo ciclo(const CaseData& caso, Campos& c, Trabalho& t, ArquivoTexto& listagem, ArquivoTexto& iteracoes,
                  ArquivoTexto& r_dat);

// The heading of the iteration file and the residual line of one iteration.
std::string cabecalho_iteracoes();
std::string linha_de_residuo(int it, double razao);
std::string linha_de_iteracao(int it, const Resultados& r);

// The threads a run takes: the value of QUELNA_THREADS when it is set (valor, a whole number
// from 1 to maximo_de_threads; 1 is the program on one thread), else the machine's processors.
// 0 for a value that is not such a number.
inline constexpr int maximo_de_threads = 256;
int threads_da_execucao(const char* valor);

// The whole run in the current folder. Messages go to standard error; the result is the exit
// status. `data` gives the date of the listing.
int principal(JanelaTexto& janela, const FonteDataHora& data = agora_local);

}  // namespace quelna
