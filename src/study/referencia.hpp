// Reference values for a study: the exact Shih solution, or Ghia's published centre lines.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quelna::estudo {

struct TabelaGhia {
    int Re;
    std::vector<std::pair<double, double>> u;  // (y, u) at x = 0.5
    std::vector<std::pair<double, double>> v;  // (x, v) at y = 0.5
};

const std::vector<TabelaGhia>& tabelas_ghia();

struct Referencia {
    bool existe = false;
    double valor = 0.0;
    bool interpolada = false;  // between two of Ghia's points
    std::string fonte;
};

// The reference of a value named as in the listing reader, for the Shih problem (problema 1,
// viscosity mi) or Ghia's (any other, at the given Re).
Referencia referencia(const std::string& nome, int problema, double Re);

}  // namespace quelna::estudo
