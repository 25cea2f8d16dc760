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

// An entry of the published tables that every converged grid contradicts: a misprint, left out of
// every comparison and named in the report.
struct EntradaSuspeita {
    int Re;
    bool u;          // Table I (u), else Table II (v)
    double posicao;
    const char* motivo;
};
const std::vector<EntradaSuspeita>& entradas_suspeitas();

// The stations of a centre-line profile that a grid's profile is compared with, and the
// reference there: Ghia's interior stations (no wall, no suspect entry) at that Re, or for the
// Shih problem (problema 1) the exact profile at y (or x) = k/16. Empty when there is none.
std::vector<std::pair<double, double>> estacoes_do_perfil(bool u, int problema, double Re);

// The profile (position, value) interpolated at `posicao` by the cubic through its four nearest
// values (sorted by position; fewer than four: linear).
double interpola_perfil(const std::vector<std::pair<double, double>>& perfil, double posicao);

struct Referencia {
    bool existe = false;
    double valor = 0.0;
    bool interpolada = false;  // between two published points (never, since profiles are compared at the stations)
    std::string fonte;
};

// The reference of a value named as in the listing reader, for the Shih problem (problema 1,
// viscosity mi) or Ghia's (any other, at the given Re): the exact value, or a published one at
// that very station. Points on the walls or the lid have none.
Referencia referencia(const std::string& nome, int problema, double Re);

}  // namespace quelna::estudo
