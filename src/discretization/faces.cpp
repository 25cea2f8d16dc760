#include "discretization/equacoes.hpp"

namespace quelna {

// Each face velocity obeys the sum of the momentum equations of the two volumes beside it,
// with the full pressure difference across the face in place of their two nodal pressure terms.
void velocidades_face(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    const double dx = caso.dx, dy = caso.dy, dt = caso.dt, beta = caso.beta;
    const auto& a = c.a;

    // Neither pass reads a face velocity it computes, so the volumes go row by row, in the
    // order they lie in memory.
    for (int j = 2; j <= ny - 1; ++j)
        for (int i = 2; i <= nx - 2; ++i) {
            const int P = (j - 1) * nx + i, E = P + 1;
            const auto& u = c.u;
            // The value at P enters through the west coefficient of E, and the one at E
            // through the east coefficient of P.
            const double S = a[P].as * u[P - nx] + a[P].aw * u[P - 1] + a[P].ae * u[E] + a[P].an * u[P + nx] +
                             a[E].as * u[E - nx] + a[E].aw * u[P] + a[E].ae * u[E + 1] + a[E].an * u[E + nx];
            const double A = a[P].ap + a[E].ap;
            c.ue[P] = (2 * dx * dy * c.ue0[P] / dt - S + beta * (c.dc_u[P] + c.dc_u[E])) / A -
                      2 * dy * (c.p[E] - c.p[P]) / A;
        }

    for (int j = 2; j <= ny - 2; ++j)
        for (int i = 2; i <= nx - 1; ++i) {
            const int P = (j - 1) * nx + i, Nn = P + nx;
            const auto& v = c.v;
            const double S = a[P].as * v[P - nx] + a[P].aw * v[P - 1] + a[P].ae * v[P + 1] + a[P].an * v[Nn] +
                             a[Nn].as * v[P] + a[Nn].aw * v[Nn - 1] + a[Nn].ae * v[Nn + 1] + a[Nn].an * v[Nn + nx];
            const double A = a[P].ap + a[Nn].ap;
            c.vn[P] = (2 * dx * dy * c.vn0[P] / dt - S + beta * (c.dc_v[P] + c.dc_v[Nn])) / A -
                      2 * dx * (c.p[Nn] - c.p[P]) / A - (c.fonte_v[P] + c.fonte_v[Nn]) * dx * dy / A;
        }
}

}  // namespace quelna
