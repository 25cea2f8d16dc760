#include "discretization/equacoes.hpp"
#include "vetor/processador.hpp"
#include "vetor/vetor.hpp"

namespace quelna {

namespace {

// Each face velocity obeys the sum of the momentum equations of the two volumes beside it,
// with the full pressure difference across the face in place of their two nodal pressure terms.
// Neither pass reads a face velocity it computes, so the volumes go row by row, in the order they
// lie in memory, L faces of a row at a time (the same operations lane by lane) and the rest one
// by one.
template <typename V>
__attribute__((always_inline)) inline void faces(const CaseData& caso, Campos& c) {
    constexpr int L = sizeof(V) / sizeof(double);
    const int nx = caso.nx, ny = caso.ny;
    const double dx = caso.dx, dy = caso.dy, dt = caso.dt, beta = caso.beta;
    const auto& a = c.a;
    using detalhe::carrega;
    using detalhe::repete;

    for (int j = 2; j <= ny - 1; ++j) {
        int i = 2;
        for (; i + L - 1 <= nx - 2; i += L) {
            const int P = (j - 1) * nx + i, E = P + 1;
            const auto aP = detalhe::linhas_de_v<V>(a.data(), P), aE = detalhe::linhas_de_v<V>(a.data(), E);
            const double* u = c.u.data();
            const V S = aP.as * carrega<V>(u + P - nx) + aP.aw * carrega<V>(u + P - 1) + aP.ae * carrega<V>(u + E) +
                        aP.an * carrega<V>(u + P + nx) + aE.as * carrega<V>(u + E - nx) + aE.aw * carrega<V>(u + P) +
                        aE.ae * carrega<V>(u + E + 1) + aE.an * carrega<V>(u + E + nx);
            const V A = aP.ap + aE.ap;
            const V ue0 = carrega<V>(&c.ue0[P]), dcP = carrega<V>(&c.dc_u[P]), dcE = carrega<V>(&c.dc_u[E]);
            const V pP = carrega<V>(&c.p[P]), pE = carrega<V>(&c.p[E]);
            detalhe::guarda(&c.ue[P], (repete<V>(2) * dx * dy * ue0 / dt - S + beta * (dcP + dcE)) / A -
                                          repete<V>(2) * dy * (pE - pP) / A);
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
        for (; i + L - 1 <= nx - 1; i += L) {
            const int P = (j - 1) * nx + i, Nn = P + nx;
            const auto aP = detalhe::linhas_de_v<V>(a.data(), P), aN = detalhe::linhas_de_v<V>(a.data(), Nn);
            const double* v = c.v.data();
            const V S = aP.as * carrega<V>(v + P - nx) + aP.aw * carrega<V>(v + P - 1) + aP.ae * carrega<V>(v + P + 1) +
                        aP.an * carrega<V>(v + Nn) + aN.as * carrega<V>(v + P) + aN.aw * carrega<V>(v + Nn - 1) +
                        aN.ae * carrega<V>(v + Nn + 1) + aN.an * carrega<V>(v + Nn + nx);
            const V A = aP.ap + aN.ap;
            const V vn0 = carrega<V>(&c.vn0[P]), dcP = carrega<V>(&c.dc_v[P]), dcN = carrega<V>(&c.dc_v[Nn]);
            const V pP = carrega<V>(&c.p[P]), pN = carrega<V>(&c.p[Nn]);
            const V fP = carrega<V>(&c.fonte_v[P]), fN = carrega<V>(&c.fonte_v[Nn]);
            detalhe::guarda(&c.vn[P], (repete<V>(2) * dx * dy * vn0 / dt - S + beta * (dcP + dcN)) / A -
                                          repete<V>(2) * dx * (pN - pP) / A - (fP + fN) * dx * dy / A);
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

void faces_sse2(const CaseData& caso, Campos& c) { faces<detalhe::par>(caso, c); }
QUELNA_AVX512 void faces_avx512(const CaseData& caso, Campos& c) { faces<detalhe::oito>(caso, c); }

}  // namespace

void velocidades_face(const CaseData& caso, Campos& c) {
    (usa_avx512() ? faces_avx512 : faces_sse2)(caso, c);
}

}  // namespace quelna
