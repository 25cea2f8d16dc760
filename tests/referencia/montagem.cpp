// The assembly routines in their literal loops: every volume in the plain order, each value from
// the one formula the program uses (the program's loops take the volumes in other orders and
// widths, which is what the identity tests compare).
#include "discretization/equacoes.hpp"
#include "discretization/formulas.hpp"
#include "referencia.hpp"

namespace quelna::referencia {

namespace montagem {

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

using namespace montagem;
using namespace formulas;

void coeficientes_uv(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    const double dx = caso.dx, dy = caso.dy;
    const double Dx = caso.mi * dy / dx, Dy = caso.mi * dx / dy;
    const double transiente = dx * dy / caso.dt;
    for (int j = 2; j <= ny - 1; ++j)
        for (int i = 2; i <= nx - 1; ++i) {
            const int P = (j - 1) * nx + i;
            const Coeficientes<double> r = linha_de_momento<double>(caso, c, P, Dx, Dy, transiente);
            c.a[P] = Linha{r.as, r.aw, r.ap, r.ae, r.an};
        }
}

void termo_fonte_u(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    for (int j = 2; j <= ny - 1; ++j)
        for (int i = 2; i <= nx - 1; ++i) {
            const int P = (j - 1) * nx + i;
            c.dc_u[P] = correcao_adiada<double>(caso, c, c.u, P);
            c.bp[P] = fonte_de<double, false>(caso, c, P, c.dc_u[P]);
        }
}

void termo_fonte_v(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    for (int j = 2; j <= ny - 1; ++j)
        for (int i = 2; i <= nx - 1; ++i) {
            const int P = (j - 1) * nx + i;
            c.dc_v[P] = correcao_adiada<double>(caso, c, c.v, P);
            c.bp[P] = fonte_de<double, true>(caso, c, P, c.dc_v[P]);
        }
}

// Column by column, each face once.
void velocidades_face(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    for (int i = 2; i <= nx - 2; ++i)
        for (int j = 2; j <= ny - 1; ++j) c.ue[(j - 1) * nx + i] = ue_da_face<double>(caso, c, (j - 1) * nx + i);
    for (int i = 2; i <= nx - 1; ++i)
        for (int j = 2; j <= ny - 2; ++j) c.vn[(j - 1) * nx + i] = vn_da_face<double>(caso, c, (j - 1) * nx + i);
}

void coeficientes_plinha(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    const double dx = caso.dx, dy = caso.dy, dt = caso.dt;
    // On a uniform grid every real row has the same coefficients.
    const double aw = -(dy * dt / dx), ae = -(dy * dt / dx);
    const double as = -(dx * dt / dy), an = -(dx * dt / dy);
    const double ap = -(as + aw + ae + an);
    for (int j = 2; j <= ny - 1; ++j)
        for (int i = 2; i <= nx - 1; ++i) {
            const int P = (j - 1) * nx + i;
            c.a[P] = Linha{as, aw, ap, ae, an};
            // Mass entering through the west and south faces minus mass leaving through the
            // east and north faces.
            c.bp[P] = dy * c.ue[P - 1] - dy * c.ue[P] + dx * c.vn[P - nx] - dx * c.vn[P];
        }
}

}  // namespace quelna::referencia
