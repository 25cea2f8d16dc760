#include "discretization/equacoes.hpp"
#include "vetor/processador.hpp"
#include "vetor/vetor.hpp"

namespace quelna {

namespace {

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

using detalhe::par;

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

// The source terms over the inner rows, V volumes at a time and the rest one by one.
template <typename V, bool v>
__attribute__((always_inline)) inline void fonte(const CaseData& caso, Campos& c) {
    constexpr int L = sizeof(V) / sizeof(double);
    const int nx = caso.nx, ny = caso.ny;
    const Campo& f = v ? c.v : c.u;
    Campo& dc = v ? c.dc_v : c.dc_u;
    for (int j = 2; j <= ny - 1; ++j) {
        int i = 2;
        for (; i + L - 1 <= nx - 1; i += L) {
            const int P = (j - 1) * nx + i;
            const V dcP = correcao_adiada<V>(caso, c, f, P);
            detalhe::guarda(&dc[P], dcP);
            detalhe::guarda(&c.bp[P], fonte_de<V, v>(caso, c, P, dcP));
        }
        for (; i <= nx - 1; ++i) {
            const int P = (j - 1) * nx + i;
            dc[P] = correcao_adiada<double>(caso, c, f, P);
            c.bp[P] = fonte_de<double, v>(caso, c, P, dc[P]);
        }
    }
}

void fonte_u_sse2(const CaseData& caso, Campos& c) { fonte<par, false>(caso, c); }
QUELNA_AVX512 void fonte_u_avx512(const CaseData& caso, Campos& c) { fonte<detalhe::oito, false>(caso, c); }
void fonte_v_sse2(const CaseData& caso, Campos& c) { fonte<par, true>(caso, c); }
QUELNA_AVX512 void fonte_v_avx512(const CaseData& caso, Campos& c) { fonte<detalhe::oito, true>(caso, c); }

}  // namespace

namespace {

// The row of a real volume, or of the volumes a vector holds, from the face velocities.
template <typename T>
struct Coeficientes {
    T as, aw, ap, ae, an;
};

template <typename T>
__attribute__((always_inline)) inline Coeficientes<T> linha_de_momento(const CaseData& caso, const Campos& c, int P,
                                                                      double Dx, double Dy, double transiente) {
    using detalhe::le;
    const int nx = caso.nx;
    const double dx = caso.dx, dy = caso.dy;
    const T uw = le<T>(&c.ue[P - 1]), ue = le<T>(&c.ue[P]);
    const T vs = le<T>(&c.vn[P - nx]), vn = le<T>(&c.vn[P]);
    // The upstream neighbour carries the whole advective flux.
    const T aw = -(Dx + (alfa(uw) + 0.5) * (dy * uw));
    const T ae = -(Dx + (alfa(ue) - 0.5) * (dy * ue));
    const T as = -(Dy + (alfa(vs) + 0.5) * (dx * vs));
    const T an = -(Dy + (alfa(vn) - 0.5) * (dx * vn));
    return {as, aw, transiente - (as + aw + ae + an), ae, an};
}

// The coefficients of the inner rows, V volumes at a time and the rest one by one.
template <typename V>
__attribute__((always_inline)) inline void coeficientes(const CaseData& caso, Campos& c) {
    constexpr int L = sizeof(V) / sizeof(double);
    const int nx = caso.nx, ny = caso.ny;
    const double dx = caso.dx, dy = caso.dy;
    const double Dx = caso.mi * dy / dx, Dy = caso.mi * dx / dy;
    const double transiente = dx * dy / caso.dt;
    for (int j = 2; j <= ny - 1; ++j) {
        int i = 2;
        for (; i + L - 1 <= nx - 1; i += L) {
            const int P = (j - 1) * nx + i;
            const Coeficientes<V> r = linha_de_momento<V>(caso, c, P, Dx, Dy, transiente);
            if constexpr (L == 2)
                detalhe::guarda_linhas(c.a.data(), P, detalhe::ParDeLinhas{r.as, r.aw, r.ap, r.ae, r.an});
            else
                detalhe::guarda_linhas_oito(c.a.data(), P, {r.as, r.aw, r.ap, r.ae, r.an});
        }
        for (; i <= nx - 1; ++i) {
            const int P = (j - 1) * nx + i;
            const Coeficientes<double> r = linha_de_momento<double>(caso, c, P, Dx, Dy, transiente);
            c.a[P] = Linha{r.as, r.aw, r.ap, r.ae, r.an};
        }
    }
}

void coeficientes_sse2(const CaseData& caso, Campos& c) { coeficientes<par>(caso, c); }
QUELNA_AVX512 void coeficientes_avx512(const CaseData& caso, Campos& c) { coeficientes<detalhe::oito>(caso, c); }

}  // namespace

void coeficientes_uv(const CaseData& caso, Campos& c) {
    (usa_avx512() ? coeficientes_avx512 : coeficientes_sse2)(caso, c);
}

void termo_fonte_u(const CaseData& caso, Campos& c) { (usa_avx512() ? fonte_u_avx512 : fonte_u_sse2)(caso, c); }

void termo_fonte_v(const CaseData& caso, Campos& c) { (usa_avx512() ? fonte_v_avx512 : fonte_v_sse2)(caso, c); }

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
