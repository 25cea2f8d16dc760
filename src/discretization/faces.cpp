#include "discretization/equacoes.hpp"
#include "vetor/processador.hpp"
#include "vetor/vetor.hpp"

namespace quelna {

namespace {

// Each face velocity obeys the sum of the momentum equations of the two volumes beside it, with
// the full pressure difference across the face in place of their two nodal pressure terms. One
// formula for one face (T = double) or for the faces a vector holds from P on.
template <typename T>
__attribute__((always_inline)) inline T ue_da_face(const CaseData& caso, const Campos& c, int P) {
    using detalhe::le;
    const int nx = caso.nx, E = P + 1;
    const double dx = caso.dx, dy = caso.dy, dt = caso.dt;
    const auto aP = detalhe::linha_de<T>(c.a.data(), P), aE = detalhe::linha_de<T>(c.a.data(), E);
    const double* u = c.u.data();
    // The value at P enters through the west coefficient of E, and the one at E through the east
    // coefficient of P.
    const T S = aP.as * le<T>(u + P - nx) + aP.aw * le<T>(u + P - 1) + aP.ae * le<T>(u + E) +
                aP.an * le<T>(u + P + nx) + aE.as * le<T>(u + E - nx) + aE.aw * le<T>(u + P) +
                aE.ae * le<T>(u + E + 1) + aE.an * le<T>(u + E + nx);
    const T A = aP.ap + aE.ap;
    const T dc = le<T>(&c.dc_u[P]) + le<T>(&c.dc_u[E]);
    return (2 * dx * dy * le<T>(&c.ue0[P]) / dt - S + caso.beta * dc) / A -
           2 * dy * (le<T>(&c.p[E]) - le<T>(&c.p[P])) / A;
}

template <typename T>
__attribute__((always_inline)) inline T vn_da_face(const CaseData& caso, const Campos& c, int P) {
    using detalhe::le;
    const int nx = caso.nx, Nn = P + nx;
    const double dx = caso.dx, dy = caso.dy, dt = caso.dt;
    const auto aP = detalhe::linha_de<T>(c.a.data(), P), aN = detalhe::linha_de<T>(c.a.data(), Nn);
    const double* v = c.v.data();
    const T S = aP.as * le<T>(v + P - nx) + aP.aw * le<T>(v + P - 1) + aP.ae * le<T>(v + P + 1) +
                aP.an * le<T>(v + Nn) + aN.as * le<T>(v + P) + aN.aw * le<T>(v + Nn - 1) +
                aN.ae * le<T>(v + Nn + 1) + aN.an * le<T>(v + Nn + nx);
    const T A = aP.ap + aN.ap;
    const T dc = le<T>(&c.dc_v[P]) + le<T>(&c.dc_v[Nn]);
    const T fonte = le<T>(&c.fonte_v[P]) + le<T>(&c.fonte_v[Nn]);
    return (2 * dx * dy * le<T>(&c.vn0[P]) / dt - S + caso.beta * dc) / A -
           2 * dx * (le<T>(&c.p[Nn]) - le<T>(&c.p[P])) / A - fonte * dx * dy / A;
}

// Neither pass reads a face velocity it computes, so the volumes go row by row, in the order they
// lie in memory, L faces of a row at a time and the rest one by one.
template <typename V>
__attribute__((always_inline)) inline void faces(const CaseData& caso, Campos& c) {
    constexpr int L = sizeof(V) / sizeof(double);
    const int nx = caso.nx, ny = caso.ny;
    for (int j = 2; j <= ny - 1; ++j) {
        const int linha = (j - 1) * nx;
        int i = 2;
        for (; i + L - 1 <= nx - 2; i += L) detalhe::guarda(&c.ue[linha + i], ue_da_face<V>(caso, c, linha + i));
        for (; i <= nx - 2; ++i) c.ue[linha + i] = ue_da_face<double>(caso, c, linha + i);
    }
    for (int j = 2; j <= ny - 2; ++j) {
        const int linha = (j - 1) * nx;
        int i = 2;
        for (; i + L - 1 <= nx - 1; i += L) detalhe::guarda(&c.vn[linha + i], vn_da_face<V>(caso, c, linha + i));
        for (; i <= nx - 1; ++i) c.vn[linha + i] = vn_da_face<double>(caso, c, linha + i);
    }
}

void faces_sse2(const CaseData& caso, Campos& c) { faces<detalhe::par>(caso, c); }
QUELNA_AVX512 void faces_avx512(const CaseData& caso, Campos& c) { faces<detalhe::oito>(caso, c); }

}  // namespace

void velocidades_face(const CaseData& caso, Campos& c) {
    (usa_avx512() ? faces_avx512 : faces_sse2)(caso, c);
}

}  // namespace quelna
