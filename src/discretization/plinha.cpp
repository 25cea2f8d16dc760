// The pressure-correction system, its wall rows and the corrections it drives. The fast forms of
// its assembly and of the velocity corrections are plinha_rapido.cpp.
#include "discretization/equacoes.hpp"
#include "discretization/formulas.hpp"
#include "vetor/faixas.hpp"

namespace quelna {

// The fictitious velocities follow the corrected real ones so that the wall conditions hold.
void velocidades_ficticias(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    Campo& u = c.u;
    Campo& v = c.v;
    for (int j = 1; j <= ny; ++j) {
        const int P = (j - 1) * nx + 1;
        u[P] = -u[P + 1];
        v[P] = -v[P + 1];
    }
    for (int j = 1; j <= ny; ++j) {
        const int P = j * nx;
        u[P] = -u[P - 1];
        v[P] = -v[P - 1];
    }
    for (int i = 2; i <= nx - 1; ++i) {
        const int P = i;
        u[P] = -u[P + nx];
        v[P] = -v[P + nx];
    }
    for (int i = 2; i <= nx - 1; ++i) {
        const int P = (ny - 1) * nx + i;
        u[P] = 2 * velocidade_tampa(caso, c, P) - u[P - nx];
        v[P] = -v[P - nx];
    }
}

namespace literal {

void coeficientes_plinha(const CaseData& caso, Campos& c) { formulas::linhas_de_plinha(caso, c, 2, caso.ny - 1); }

void corrige_uv(const CaseData& caso, Campos& c) {
    using formulas::corrigida_no_no;
    const int nx = caso.nx, ny = caso.ny;
    const double* pl = c.plinha.data();
    for (int j = 2; j <= ny - 1; ++j)
        for (int i = 2; i <= nx - 1; ++i) {
            const int P = (j - 1) * nx + i;
            c.u[P] = corrigida_no_no<double>(c.u.data(), pl, P, 1, caso.dt, caso.dx);
            c.v[P] = corrigida_no_no<double>(c.v.data(), pl, P, nx, caso.dt, caso.dy);
        }
    velocidades_ficticias(caso, c);
}

void corrige_face(const CaseData& caso, Campos& c) {
    using formulas::corrigida_na_face;
    const int nx = caso.nx, ny = caso.ny;
    const double* pl = c.plinha.data();
    for (int j = 2; j <= ny - 1; ++j)
        for (int i = 2; i <= nx - 2; ++i) {
            const int P = (j - 1) * nx + i;
            c.ue[P] = corrigida_na_face<double>(c.ue.data(), pl, P, 1, caso.dt, caso.dx);
        }
    for (int j = 2; j <= ny - 2; ++j)
        for (int i = 2; i <= nx - 1; ++i) {
            const int P = (j - 1) * nx + i;
            c.vn[P] = corrigida_na_face<double>(c.vn.data(), pl, P, nx, caso.dt, caso.dy);
        }
}

}  // namespace literal

// Each fictitious value minus its inward neighbour equals the difference between that
// neighbour and the next volume inward, taken from the previous solution: linear extrapolation
// once the solution settles. The real volume next to the wall loses its coupling to it, so that
// the real part of the system sees a zero correction beyond the wall.
void contorno_plinha(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    const Campo& x = c.plinha;
    for (int j = 1; j <= ny; ++j) {
        const int P = (j - 1) * nx + 1;
        c.a[P] = Linha{0.0, 0.0, 1.0, -1.0, 0.0};
        c.bp[P] = x[P + 1] - x[P + 2];
        c.a[P + 1].aw = 0.0;
    }
    for (int j = 1; j <= ny; ++j) {
        const int P = j * nx;
        c.a[P] = Linha{0.0, -1.0, 1.0, 0.0, 0.0};
        c.bp[P] = x[P - 1] - x[P - 2];
        c.a[P - 1].ae = 0.0;
    }
    for (int i = 2; i <= nx - 1; ++i) {
        const int P = i;
        c.a[P] = Linha{0.0, 0.0, 1.0, 0.0, -1.0};
        c.bp[P] = x[P + nx] - x[P + 2 * nx];
        c.a[P + nx].as = 0.0;
    }
    for (int i = 2; i <= nx - 1; ++i) {
        const int P = (ny - 1) * nx + i;
        c.a[P] = Linha{-1.0, 0.0, 1.0, 0.0, 0.0};
        c.bp[P] = x[P - nx] - x[P - 2 * nx];
        c.a[P - nx].an = 0.0;
    }
}

void corrige_p(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    Campo& p = c.p;
    // By rows, on the threads that corrected them: one add per volume, but the rows of plinha
    // would otherwise cross between the cores.
    por_linhas(1, ny, nx, [&](int ja, int jb) {
        for (int P = (ja - 1) * nx + 1; P <= jb * nx; ++P) p[P] = p[P] + c.plinha[P];
    });
    // The fictitious pressures extrapolate the real ones linearly; the corners take the column
    // rule from the row values as they stand before the rows pass.
    for (int j = 1; j <= ny; ++j) {
        const int P = (j - 1) * nx + 1;
        p[P] = 2 * p[P + 1] - p[P + 2];
    }
    for (int j = 1; j <= ny; ++j) {
        const int P = j * nx;
        p[P] = 2 * p[P - 1] - p[P - 2];
    }
    for (int i = 2; i <= nx - 1; ++i) {
        const int P = i;
        p[P] = 2 * p[P + nx] - p[P + 2 * nx];
    }
    for (int i = 2; i <= nx - 1; ++i) {
        const int P = (ny - 1) * nx + i;
        p[P] = 2 * p[P - nx] - p[P - 2 * nx];
    }
}

}  // namespace quelna
