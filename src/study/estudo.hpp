// A grid-convergence study: the same case on several grids, the values of interest read back,
// their discretization error estimated and compared with the reference.
#pragma once

#include <string>
#include <vector>

#include "study/escoamento.hpp"
#include "study/execucao.hpp"
#include "study/gci.hpp"
#include "study/listagem.hpp"
#include "study/referencia.hpp"

namespace quelna::estudo {

// How a grid's run ended. Only the first two give values; a grid at itmax is marked wherever it is used.
enum class DesfechoMalha { convergiu, itmax, divergiu, interrompida, falhou, nao_rodou, nao_multipla };

// The error of a centre-line profile against the reference at the reference's stations.
struct ErroDoPerfil {
    int estacoes = 0;  // 0: no profile or no reference
    double maximo = 0.0, rms = 0.0;
};

struct Malha {
    int n = 0;                  // real volumes each way
    std::string pasta;          // absolute
    int estado = -1;            // quelna's exit status
    DesfechoMalha desfecho = DesfechoMalha::nao_rodou;
    double tolm = 0.0;          // of this grid's case
    std::string problema;       // why it has no values, when it has none
    ValoresDaListagem valores;
    ErroDoPerfil erro_u, erro_v;
    // Shih only: the norms of the error of u, v and p over the real volumes, from the fields file.
    std::map<std::string, Normas> normas;  // "u", "v", "p"
};

struct LinhaDoEstudo {
    std::string nome;
    std::vector<double> por_malha;  // NaN where a grid has no value
    Estimativa estimativa;
    Referencia referencia;
    std::vector<int> em_itmax;      // the grids of the estimate that stopped at itmax above tolm
};

struct Estudo {
    std::string caso, titulo;
    int problema = 0, malha_base = 0;
    double Re = 0, beta = 0;
    std::vector<Malha> malhas;          // coarsest first
    std::vector<LinhaDoEstudo> linhas;
    std::vector<std::string> avisos;
};

// A value of the case file set for some grids (all when `malhas` is empty): --valor NOME=VALOR@N,...
struct ValorDoCaso {
    std::string nome, valor;
    int linha = 0;  // of the case file
    std::vector<int> malhas;
};

// "nit_p=300@256,512" as a ValorDoCaso; throws std::invalid_argument naming what is wrong (an
// unknown name, nx or ny, which the grid sets, no value, a grid that is not a number).
ValorDoCaso le_valor_do_caso(const std::string& texto);

// Makes the grid folders under `saida`, runs them and estimates. Messages for grids that could
// not be used go to Estudo::avisos; a case folder without a case file throws ErroCaso.
Estudo faz_estudo(const std::string& pasta_caso, std::vector<int> tamanhos, const std::string& saida,
                  const OpcoesExecucao& opcoes, const std::vector<ValorDoCaso>& valores = {});

// The outcome of a grid in the report's words.
std::string nome_do_desfecho(DesfechoMalha d);

// The estimates and references of every value from the grids' listings.
void estima(Estudo& e);

// estudo.md, estudo.csv and the pictures (through gnuplot) in `saida`; returns the pictures drawn.
std::vector<std::string> escreve_relatorio(const Estudo& e, const std::string& saida);

// The case file's text with the grid sizes (lines 2 and 3) replaced, remarks kept.
std::string com_malha(const std::string& texto, int n);

// The case file's text with the value at the start of some lines replaced (line number to
// value), remarks kept.
std::string com_valores(const std::string& texto, const std::vector<std::pair<int, std::string>>& trocas);

}  // namespace quelna::estudo
