// Reading back the values of interest from a run's listing.
#pragma once

#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace quelna::estudo {

struct Valor {
    std::string nome;  // short name used in the tables ("u_central", "u(y=0.25)", ...)
    double valor = 0.0;
};

struct ValoresDaListagem {
    bool completa = false;      // the processing time line is there
    std::vector<Valor> valores; // results block, psi_min and the values of interest, in this order
    int iteracoes = 0;          // the last line of the residual table: its iteration
    double razao = std::numeric_limits<double>::quiet_NaN();    // and its residual ratio
    double segundos = std::numeric_limits<double>::quiet_NaN(); // the processing time
};

// The values of a listing's text (Latin-1).
ValoresDaListagem le_listagem(const std::string& texto);

}  // namespace quelna::estudo
