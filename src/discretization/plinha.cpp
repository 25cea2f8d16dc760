// The pressure-correction system, its wall rows and the corrections it drives. The fast form of
// its assembly is plinha_rapido.cpp.
#include "discretization/equacoes.hpp"
#include "discretization/formulas.hpp"
#include "vetor/faixas.hpp"

namespace quelna {

namespace literal {

void coeficientes_plinha(const CaseData& caso, Campos& c) { formulas::linhas_de_plinha(caso, c, 2, caso.ny - 1); }

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
    const int nx = caso.nx, ny = caso.ny, N = caso.N;
    Campo& p = c.p;
    // One add per volume: cheaper than handing half of it to another thread.
    for (int P = 1; P <= N; ++P) p[P] = p[P] + c.plinha[P];
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

void corrige_uv(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    const double dx = caso.dx, dy = caso.dy, dt = caso.dt;
    const Campo& pl = c.plinha;
    Campo& u = c.u;
    Campo& v = c.v;
    por_linhas(2, ny - 1, nx, [&](int ja, int jb) {
        for (int j = ja; j <= jb; ++j)
            for (int i = 2; i <= nx - 1; ++i) {
                const int P = (j - 1) * nx + i;
                u[P] = u[P] - (pl[P + 1] - pl[P - 1]) * 0.5 * dt / dx;
                v[P] = v[P] - (pl[P + nx] - pl[P - nx]) * 0.5 * dt / dy;
            }
    });
    // The fictitious velocities follow the corrected real ones so that the wall conditions hold.
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

void corrige_face(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    const double dx = caso.dx, dy = caso.dy, dt = caso.dt;
    const Campo& pl = c.plinha;
    por_linhas(2, ny - 1, nx, [&](int ja, int jb) {
        for (int j = ja; j <= jb; ++j)
            for (int i = 2; i <= nx - 2; ++i) {
                const int P = (j - 1) * nx + i;
                c.ue[P] = c.ue[P] - (pl[P + 1] - pl[P]) * dt / dx;
            }
        for (int j = ja; j <= jb && j <= ny - 2; ++j)
            for (int i = 2; i <= nx - 1; ++i) {
                const int P = (j - 1) * nx + i;
                c.vn[P] = c.vn[P] - (pl[P + nx] - pl[P]) * dt / dy;
            }
    });
}

}  // namespace quelna
