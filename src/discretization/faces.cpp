#include "discretization/equacoes.hpp"
#include "solvers/vizinhos.hpp"

namespace quelna {

// Each face velocity obeys the sum of the momentum equations of the two volumes beside it,
// with the full pressure difference across the face in place of their two nodal pressure terms.
void velocidades_face(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    const double dx = caso.dx, dy = caso.dy, dt = caso.dt, beta = caso.beta;
    const auto& a = c.a;

    // Neither pass reads a face velocity it computes, so the volumes go row by row, in the
    // order they lie in memory.
    using detalhe::carrega;
    using detalhe::par;
    using detalhe::repete;
    for (int j = 2; j <= ny - 1; ++j) {
        int i = 2;
        // Two faces of the row at a time, the same operations lane by lane.
        for (; i + 1 <= nx - 2; i += 2) {
            const int P = (j - 1) * nx + i, E = P + 1;
            const detalhe::ParDeLinhas aP = detalhe::linhas_de(a.data(), P), aE = detalhe::linhas_de(a.data(), E);
            const double* u = c.u.data();
            const par S = aP.as * carrega(u + P - nx) + aP.aw * carrega(u + P - 1) + aP.ae * carrega(u + E) +
                          aP.an * carrega(u + P + nx) + aE.as * carrega(u + E - nx) + aE.aw * carrega(u + P) +
                          aE.ae * carrega(u + E + 1) + aE.an * carrega(u + E + nx);
            const par A = aP.ap + aE.ap;
            detalhe::guarda(&c.ue[P], (repete(2) * dx * dy * carrega(&c.ue0[P]) / dt - S +
                                       beta * (carrega(&c.dc_u[P]) + carrega(&c.dc_u[E]))) / A -
                                          repete(2) * dy * (carrega(&c.p[E]) - carrega(&c.p[P])) / A);
        }
        for (; i <= nx - 2; ++i) {
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
    }

    for (int j = 2; j <= ny - 2; ++j) {
        int i = 2;
        for (; i + 1 <= nx - 1; i += 2) {
            const int P = (j - 1) * nx + i, Nn = P + nx;
            const detalhe::ParDeLinhas aP = detalhe::linhas_de(a.data(), P), aN = detalhe::linhas_de(a.data(), Nn);
            const double* v = c.v.data();
            const par S = aP.as * carrega(v + P - nx) + aP.aw * carrega(v + P - 1) + aP.ae * carrega(v + P + 1) +
                          aP.an * carrega(v + Nn) + aN.as * carrega(v + P) + aN.aw * carrega(v + Nn - 1) +
                          aN.ae * carrega(v + Nn + 1) + aN.an * carrega(v + Nn + nx);
            const par A = aP.ap + aN.ap;
            detalhe::guarda(&c.vn[P], (repete(2) * dx * dy * carrega(&c.vn0[P]) / dt - S +
                                       beta * (carrega(&c.dc_v[P]) + carrega(&c.dc_v[Nn]))) / A -
                                          repete(2) * dx * (carrega(&c.p[Nn]) - carrega(&c.p[P])) / A -
                                          (carrega(&c.fonte_v[P]) + carrega(&c.fonte_v[Nn])) * dx * dy / A);
        }
        for (; i <= nx - 1; ++i) {
            const int P = (j - 1) * nx + i, Nn = P + nx;
            const auto& v = c.v;
            const double S = a[P].as * v[P - nx] + a[P].aw * v[P - 1] + a[P].ae * v[P + 1] + a[P].an * v[Nn] +
                             a[Nn].as * v[P] + a[Nn].aw * v[Nn - 1] + a[Nn].ae * v[Nn + 1] + a[Nn].an * v[Nn + nx];
            const double A = a[P].ap + a[Nn].ap;
            c.vn[P] = (2 * dx * dy * c.vn0[P] / dt - S + beta * (c.dc_v[P] + c.dc_v[Nn])) / A -
                      2 * dx * (c.p[Nn] - c.p[P]) / A - (c.fonte_v[P] + c.fonte_v[Nn]) * dx * dy / A;
        }
    }
}

}  // namespace quelna
