#include "discretization/equacoes.hpp"
#include "vetor/processador.hpp"
#include "vetor/vetor.hpp"

namespace quelna {

namespace {

// Upwind weight of a face: +0.5 when its velocity is non-negative, -0.5 otherwise. A selection
// rather than a branch: the signs of a recirculating flow are no pattern to predict.
inline double alfa(double velocidade) {
    const double pesos[2] = {-0.5, 0.5};
    return pesos[velocidade >= 0.0];
}

// UDS minus CDS advective outflow of a volume for field f, evaluated with its current values.
inline double correcao_adiada(const CaseData& caso, const Campos& c, const Campo& f, int P) {
    const int nx = caso.nx;
    const double Fw = caso.dy * c.ue[P - 1], Fe = caso.dy * c.ue[P];
    const double Fs = caso.dx * c.vn[P - nx], Fn = caso.dx * c.vn[P];
    const double alfa_w = alfa(c.ue[P - 1]), alfa_e = alfa(c.ue[P]);
    const double alfa_s = alfa(c.vn[P - nx]), alfa_n = alfa(c.vn[P]);
    const double fP = f[P];
    return Fe * alfa_e * (fP - f[P + 1]) - Fw * alfa_w * (f[P - 1] - fP) + Fn * alfa_n * (fP - f[P + nx]) -
           Fs * alfa_s * (f[P - nx] - fP);
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

// alfa for the faces of volumes side by side.
template <typename V>
__attribute__((always_inline)) inline V alfa_v(V velocidade) {
    return velocidade >= 0.0 ? detalhe::repete<V>(0.5) : detalhe::repete<V>(-0.5);
}

// correcao_adiada for the volumes P, P+1, ... side by side in a vector V, the same operations
// lane by lane.
template <typename V>
__attribute__((always_inline)) inline V correcao_adiada_v(const CaseData& caso, const Campos& c, const Campo& f,
                                                          int P) {
    using detalhe::carrega;
    using detalhe::repete;
    const int nx = caso.nx;
    const V uw = carrega<V>(&c.ue[P - 1]), ue = carrega<V>(&c.ue[P]);
    const V vs = carrega<V>(&c.vn[P - nx]), vn = carrega<V>(&c.vn[P]);
    const V Fw = repete<V>(caso.dy) * uw, Fe = repete<V>(caso.dy) * ue;
    const V Fs = repete<V>(caso.dx) * vs, Fn = repete<V>(caso.dx) * vn;
    const V fP = carrega<V>(&f[P]), fE = carrega<V>(&f[P + 1]), fW = carrega<V>(&f[P - 1]);
    const V fN = carrega<V>(&f[P + nx]), fS = carrega<V>(&f[P - nx]);
        return Fe * alfa_v(ue) * (fP - fE) - Fw * alfa_v(uw) * (fW - fP) + Fn * alfa_v(vn) * (fP - fN) -
           Fs * alfa_v(vs) * (fS - fP);
}

// The source terms of u (v = false) or v over the inner rows, V volumes at a time and the rest
// one by one: the time term, the deferred correction and the pressure difference across the
// volume, and for v the body force.
template <typename V, bool v>
__attribute__((always_inline)) inline void fonte(const CaseData& caso, Campos& c) {
    using detalhe::carrega;
    using detalhe::repete;
    constexpr int L = sizeof(V) / sizeof(double);
    const int nx = caso.nx, ny = caso.ny;
    const double dx = caso.dx, dy = caso.dy, dt = caso.dt;
    const Campo& f = v ? c.v : c.u;
    const Campo& f0 = v ? c.v0 : c.u0;
    Campo& dc = v ? c.dc_v : c.dc_u;
    const int d = v ? nx : 1;           // the neighbour across the volume in the pressure difference
    const double face = v ? dx : dy;    // the face the pressure acts on
    for (int j = 2; j <= ny - 1; ++j) {
        int i = 2;
        for (; i + L - 1 <= nx - 1; i += L) {
            const int P = (j - 1) * nx + i;
            const V dcP = correcao_adiada_v<V>(caso, c, f, P);
            detalhe::guarda(&dc[P], dcP);
            const V pmais = carrega<V>(&c.p[P + d]), pmenos = carrega<V>(&c.p[P - d]);
            V b = repete<V>(dx) * dy * carrega<V>(&f0[P]) / dt + caso.beta * dcP -
                  repete<V>(0.5) * face * (pmais - pmenos);
            if constexpr (v) b = b - repete<V>(dx) * dy * carrega<V>(&c.fonte_v[P]);
            detalhe::guarda(&c.bp[P], b);
        }
        for (; i <= nx - 1; ++i) {
            const int P = (j - 1) * nx + i;
            dc[P] = correcao_adiada(caso, c, f, P);
            double b = dx * dy * f0[P] / dt + caso.beta * dc[P] - 0.5 * face * (c.p[P + d] - c.p[P - d]);
            if constexpr (v) b = b - dx * dy * c.fonte_v[P];
            c.bp[P] = b;
        }
    }
}

void fonte_u_sse2(const CaseData& caso, Campos& c) { fonte<par, false>(caso, c); }
QUELNA_AVX512 void fonte_u_avx512(const CaseData& caso, Campos& c) { fonte<detalhe::oito, false>(caso, c); }
void fonte_v_sse2(const CaseData& caso, Campos& c) { fonte<par, true>(caso, c); }
QUELNA_AVX512 void fonte_v_avx512(const CaseData& caso, Campos& c) { fonte<detalhe::oito, true>(caso, c); }

}  // namespace

namespace {

// The coefficients of the inner rows, V volumes at a time and the rest one by one.
template <typename V>
__attribute__((always_inline)) inline void coeficientes(const CaseData& caso, Campos& c) {
        using detalhe::carrega;
    using detalhe::repete;
    constexpr int L = sizeof(V) / sizeof(double);
    const int nx = caso.nx, ny = caso.ny;
    const double dx = caso.dx, dy = caso.dy;
    const double Dx = caso.mi * dy / dx, Dy = caso.mi * dx / dy;
    const double transiente = dx * dy / caso.dt;
    for (int j = 2; j <= ny - 1; ++j) {
        int i = 2;
        for (; i + L - 1 <= nx - 1; i += L) {
            const int P = (j - 1) * nx + i;
            const V uw = carrega<V>(&c.ue[P - 1]), ue = carrega<V>(&c.ue[P]);
            const V vs = carrega<V>(&c.vn[P - nx]), vn = carrega<V>(&c.vn[P]);
            const V aw = -(repete<V>(Dx) + (alfa_v(uw) + 0.5) * (repete<V>(dy) * uw));
            const V ae = -(repete<V>(Dx) + (alfa_v(ue) - 0.5) * (repete<V>(dy) * ue));
            const V as = -(repete<V>(Dy) + (alfa_v(vs) + 0.5) * (repete<V>(dx) * vs));
            const V an = -(repete<V>(Dy) + (alfa_v(vn) - 0.5) * (repete<V>(dx) * vn));
            const V ap = repete<V>(transiente) - (as + aw + ae + an);
            if constexpr (L == 2)
                detalhe::guarda_linhas(c.a.data(), P, detalhe::ParDeLinhas{as, aw, ap, ae, an});
            else
                detalhe::guarda_linhas_oito(c.a.data(), P, {as, aw, ap, ae, an});
        }
        for (; i <= nx - 1; ++i) {
            const int P = (j - 1) * nx + i;
            const double Fw = dy * c.ue[P - 1], Fe = dy * c.ue[P];
            const double Fs = dx * c.vn[P - nx], Fn = dx * c.vn[P];
            const double alfa_w = alfa(c.ue[P - 1]), alfa_e = alfa(c.ue[P]);
            const double alfa_s = alfa(c.vn[P - nx]), alfa_n = alfa(c.vn[P]);
            // The upstream neighbour carries the whole advective flux.
            Linha& r = c.a[P];
            r.aw = -(Dx + (alfa_w + 0.5) * Fw);
            r.ae = -(Dx + (alfa_e - 0.5) * Fe);
            r.as = -(Dy + (alfa_s + 0.5) * Fs);
            r.an = -(Dy + (alfa_n - 0.5) * Fn);
            r.ap = transiente - (r.as + r.aw + r.ae + r.an);
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
