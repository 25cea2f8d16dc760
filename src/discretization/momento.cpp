// The momentum equations of u and v: each routine's plain loop takes the real volumes row by row,
// every value from its one formula. The fast forms of the three routines that carry the time of
// a run (momento_rapido.cpp) take the same formulas over lanes.
#include "discretization/equacoes.hpp"
#include "discretization/formulas.hpp"

namespace quelna {

namespace {

// The wall rows shared by u and v: the mean of a fictitious value and its inward neighbour
// equals the wall velocity (bp set by the caller for the lid).
void linhas_de_contorno(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    for (int j = 1; j <= ny; ++j) {
        const int P = (j - 1) * nx + 1;
        c.a[P] = Linha{0.0, 0.0, 1.0, 1.0, 0.0};
        c.bp[P] = 0.0;
    }
    for (int j = 1; j <= ny; ++j) {
        const int P = j * nx;
        c.a[P] = Linha{0.0, 1.0, 1.0, 0.0, 0.0};
        c.bp[P] = 0.0;
    }
    for (int i = 2; i <= nx - 1; ++i) {
        c.a[i] = Linha{0.0, 0.0, 1.0, 0.0, 1.0};
        c.bp[i] = 0.0;
    }
    for (int i = 2; i <= nx - 1; ++i) {
        const int P = (ny - 1) * nx + i;
        c.a[P] = Linha{1.0, 0.0, 1.0, 0.0, 0.0};
        c.bp[P] = 0.0;
    }
}

}  // namespace

namespace literal {

using namespace formulas;

void coeficientes_uv(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    const Condutancias k = condutancias(caso);
    for (int j = 2; j <= ny - 1; ++j)
        for (int i = 2; i <= nx - 1; ++i) poe_momento<double>(caso, c, (j - 1) * nx + i, k);
}

void termo_fonte_u(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    for (int j = 2; j <= ny - 1; ++j)
        for (int i = 2; i <= nx - 1; ++i) poe_fonte<double, false>(caso, c, (j - 1) * nx + i);
}

void termo_fonte_v(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    for (int j = 2; j <= ny - 1; ++j)
        for (int i = 2; i <= nx - 1; ++i) poe_fonte<double, true>(caso, c, (j - 1) * nx + i);
}

}  // namespace literal

void contorno_u(const CaseData& caso, Campos& c) {
    linhas_de_contorno(caso, c);
    const int nx = caso.nx, ny = caso.ny;
    for (int i = 2; i <= nx - 1; ++i) {
        const int P = (ny - 1) * nx + i;
        c.bp[P] = 2.0 * velocidade_tampa(caso, c, P);
    }
}

void contorno_v(const CaseData& caso, Campos& c) { linhas_de_contorno(caso, c); }

}  // namespace quelna
