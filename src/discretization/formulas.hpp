// The formulas of the momentum equations and the face velocities, each written once over a
// number type: double for one volume (the plain loops, and the rests of the fast ones), a vector
// of lanes for the volumes it holds from P on (the lane bodies). Whatever order a loop takes the
// volumes in, each value comes from these lines.
#pragma once

#include "discretization/modelo.hpp"
#include "vetor/vetor.hpp"

namespace quelna::formulas {

// Upwind weight of a face: +0.5 when its velocity is non-negative, -0.5 otherwise; for one face
// or for the faces a vector holds. A selection rather than a branch: the signs of a
// recirculating flow are no pattern to predict.
template <typename T>
__attribute__((always_inline)) inline T alfa(T velocidade) {
    if constexpr (sizeof(T) == sizeof(double)) {
        const double pesos[2] = {-0.5, 0.5};
        return pesos[velocidade >= 0.0];
    } else {
        return velocidade >= 0.0 ? detalhe::repete<T>(0.5) : detalhe::repete<T>(-0.5);
    }
}

// UDS minus CDS advective outflow of a volume for field f, evaluated with its current values;
// for one volume (T = double) or for the volumes a vector holds from P on.
template <typename T>
__attribute__((always_inline)) inline T correcao_adiada(const CaseData& caso, const Campos& c, const Campo& f, int P) {
    using detalhe::le;
    const int nx = caso.nx;
    const T uw = le<T>(&c.ue[P - 1]), ue = le<T>(&c.ue[P]);
    const T vs = le<T>(&c.vn[P - nx]), vn = le<T>(&c.vn[P]);
    const T Fw = caso.dy * uw, Fe = caso.dy * ue;
    const T Fs = caso.dx * vs, Fn = caso.dx * vn;
    const T fP = le<T>(&f[P]);
    return Fe * alfa(ue) * (fP - le<T>(&f[P + 1])) - Fw * alfa(uw) * (le<T>(&f[P - 1]) - fP) +
           Fn * alfa(vn) * (fP - le<T>(&f[P + nx])) - Fs * alfa(vs) * (le<T>(&f[P - nx]) - fP);
}

// The right-hand side of u (v = false) or v at a volume, or at the volumes a vector holds: the
// time term, the deferred correction dc and the pressure difference across the volume, and for v
// the body force.
template <typename T, bool v>
__attribute__((always_inline)) inline T fonte_de(const CaseData& caso, const Campos& c, int P, T dc) {
    using detalhe::le;
    const double dx = caso.dx, dy = caso.dy, dt = caso.dt;
    const Campo& f0 = v ? c.v0 : c.u0;
    const int d = v ? caso.nx : 1;   // the neighbour across the volume in the pressure difference
    const double face = v ? dx : dy; // the face the pressure acts on
    T b = dx * dy * le<T>(&f0[P]) / dt + caso.beta * dc - 0.5 * face * (le<T>(&c.p[P + d]) - le<T>(&c.p[P - d]));
    if constexpr (v) b = b - dx * dy * le<T>(&c.fonte_v[P]);
    return b;
}

// The diffusion conductances of the x faces (mi dy / dx) and of the y faces (mi dx / dy), and the
// time term dx dy / dt, the same for every volume of the uniform grid.
struct Condutancias {
    double Dx, Dy, transiente;
};

inline Condutancias condutancias(const CaseData& caso) {
    return {caso.mi * caso.dy / caso.dx, caso.mi * caso.dx / caso.dy, caso.dx * caso.dy / caso.dt};
}

// The row of a real volume, or of the volumes a vector holds, from the face velocities.
template <typename T>
struct Coeficientes {
    T as, aw, ap, ae, an;
};

template <typename T>
__attribute__((always_inline)) inline Coeficientes<T> linha_de_momento(const CaseData& caso, const Campos& c, int P,
                                                                      const Condutancias& k) {
    using detalhe::le;
    const int nx = caso.nx;
    const double dx = caso.dx, dy = caso.dy, Dx = k.Dx, Dy = k.Dy;
    const T uw = le<T>(&c.ue[P - 1]), ue = le<T>(&c.ue[P]);
    const T vs = le<T>(&c.vn[P - nx]), vn = le<T>(&c.vn[P]);
    // The upstream neighbour carries the whole advective flux.
    const T aw = -(Dx + (alfa(uw) + 0.5) * (dy * uw));
    const T ae = -(Dx + (alfa(ue) - 0.5) * (dy * ue));
    const T as = -(Dy + (alfa(vs) + 0.5) * (dx * vs));
    const T an = -(Dy + (alfa(vn) - 0.5) * (dx * vn));
    return {as, aw, k.transiente - (as + aw + ae + an), ae, an};
}

// The row of a real volume, or of those a vector holds, computed and stored.
template <typename T>
__attribute__((always_inline)) inline void poe_momento(const CaseData& caso, Campos& c, int P, const Condutancias& k) {
    const Coeficientes<T> r = linha_de_momento<T>(caso, c, P, k);
    detalhe::poe_linha<T>(c.a.data(), P, r.as, r.aw, r.ap, r.ae, r.an);
}

// The deferred correction of u (v = false) or v at a volume, or at those a vector holds, and the
// right-hand side it enters, both stored.
template <typename T, bool v>
__attribute__((always_inline)) inline void poe_fonte(const CaseData& caso, Campos& c, int P) {
    const T dc = correcao_adiada<T>(caso, c, v ? c.v : c.u, P);
    detalhe::guarda(&(v ? c.dc_v : c.dc_u)[P], dc);
    detalhe::guarda(&c.bp[P], fonte_de<T, v>(caso, c, P, dc));
}

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

// A velocity corrected by the plinha gradient: at a node, centred over the volumes beside it
// (P - passo and P + passo: passo 1 for u, nx for v, h the spacing between them over two); at
// a face, across it (P and P + passo). For one volume (T = double) or for the volumes a vector
// holds from P on.
template <typename T>
__attribute__((always_inline)) inline T corrigida_no_no(const double* f, const double* pl, int P, int passo,
                                                         double dt, double h) {
    using detalhe::le;
    return le<T>(f + P) - (le<T>(pl + P + passo) - le<T>(pl + P - passo)) * 0.5 * dt / h;
}

template <typename T>
__attribute__((always_inline)) inline T corrigida_na_face(const double* f, const double* pl, int P, int passo,
                                                           double dt, double h) {
    using detalhe::le;
    return le<T>(f + P) - (le<T>(pl + P + passo) - le<T>(pl + P)) * dt / h;
}

// The plinha rows of the real volumes ja..jb: on a uniform grid every one has the same coefficients,
// and its right-hand side is the mass that the face velocities leave unbalanced. A loop the
// compiler vectorizes by itself, for whatever registers the function it is inlined into is built
// for; telling it that the arrays do not overlap lets it keep the pointers in registers across
// the stores.
__attribute__((always_inline)) inline void linhas_de_plinha(const CaseData& caso, Campos& c, int ja, int jb) {
    const int nx = caso.nx;
    const double dx = caso.dx, dy = caso.dy, dt = caso.dt;
    const double aw = -(dy * dt / dx), ae = -(dy * dt / dx);
    const double as = -(dx * dt / dy), an = -(dx * dt / dy);
    const double ap = -(as + aw + ae + an);
    Linha* __restrict a = c.a.data();
    double* __restrict bp = c.bp.data();
    const double* __restrict ue = c.ue.data();
    const double* __restrict vn = c.vn.data();
    for (int j = ja; j <= jb; ++j)
        for (int i = 2; i <= nx - 1; ++i) {
            const int P = (j - 1) * nx + i;
            a[P] = Linha{as, aw, ap, ae, an};
            // Mass entering through the west and south faces minus mass leaving through the
            // east and north faces.
            bp[P] = dy * ue[P - 1] - dy * ue[P] + dx * vn[P - nx] - dx * vn[P];
        }
}

}  // namespace quelna::formulas
