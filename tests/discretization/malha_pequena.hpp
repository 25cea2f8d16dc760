// Small grids built in the tests, beside any other.
#pragma once

#include "discretization/modelo.hpp"
#include "input/caso.hpp"

namespace quelna::teste {

// A case of reais_x by reais_y real volumes with the grid values derived and the arrays reserved.
inline CaseData caso_pequeno(int reais_x, int reais_y, double dt = 0.1, double Re = 100.0, int problema = 2) {
    CaseData c;
    c.nx = reais_x;
    c.ny = reais_y;
    c.dt = dt;
    c.Re = Re;
    c.problema = problema;
    c.solver = 2;
    deriva_malha(c);
    return c;
}

inline Campos campos_de(const CaseData& caso) {
    Campos c;
    reserva_campos(caso, c);
    return c;
}

}  // namespace quelna::teste
