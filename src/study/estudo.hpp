// A grid-convergence study: the same case on several grids, the values of interest read back,
// their discretization error estimated and compared with the reference.
#pragma once

#include <string>
#include <vector>

#include "study/execucao.hpp"
#include "study/gci.hpp"
#include "study/listagem.hpp"
#include "study/referencia.hpp"

namespace quelna::estudo {

struct Malha {
    int n = 0;                  // real volumes each way
    std::string pasta;          // absolute
    int estado = -1;            // quelna's exit status
    std::string problema;       // why it has no values, when it has none
    ValoresDaListagem valores;
};

struct LinhaDoEstudo {
    std::string nome;
    std::vector<double> por_malha;  // NaN where a grid has no value
    Estimativa estimativa;
    Referencia referencia;
};

struct Estudo {
    std::string caso, titulo;
    int problema = 0, malha_base = 0;
    double Re = 0, beta = 0;
    std::vector<Malha> malhas;          // coarsest first
    std::vector<LinhaDoEstudo> linhas;
    std::vector<std::string> avisos;
};

// Makes the grid folders under `saida`, runs them and estimates. Messages for grids that could
// not be used go to Estudo::avisos; a case folder without a case file throws std::runtime_error.
Estudo faz_estudo(const std::string& pasta_caso, std::vector<int> tamanhos, const std::string& saida,
                  const OpcoesExecucao& opcoes);

// The estimates and references of every value from the grids' listings.
void estima(Estudo& e);

// estudo.md, estudo.csv and the pictures (through gnuplot) in `saida`.
void escreve_relatorio(const Estudo& e, const std::string& saida);

// The case file's text with the grid sizes (lines 2 and 3) replaced, remarks kept.
std::string com_malha(const std::string& texto, int n);

}  // namespace quelna::estudo
