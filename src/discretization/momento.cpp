#include "discretization/equacoes.hpp"
#include "discretization/formulas.hpp"
#include "vetor/processador.hpp"
#include "vetor/vetor.hpp"

namespace quelna {

namespace {

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
using namespace formulas;

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
