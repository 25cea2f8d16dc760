#include <algorithm>

#include "solvers/solvers.hpp"
#include "vetor/vetor.hpp"

#include <cmath>

namespace quelna {

namespace {

using detalhe::mesmos_bits;

// The forward elimination of a band of B rows along x, side by side. The first volume of a row
// continues the recurrence of the row below through aw, which the discretization makes zero
// there: the row then starts at once, provided its start is the same whatever the sign of that
// zero product, and the values it continues from turn out finite. Otherwise (false) the caller
// does the band again in the plain order. qt holds the right-hand sides on entry.
template <int B>
bool elimina_banda(int nx, int j0, const Linha* a, double* pt, double* qt) {
    double p_ant[B], q_ant[B];
    int base[B];
    bool ok = true;
    for (int k = 0; k < B; ++k) {
        base[k] = (j0 + k - 1) * nx;
        const int P = base[k] + 1;
        const Linha& r = a[P];
        if (k == 0) {
            const double den = r.ap + r.aw * pt[P - 1];
            pt[P] = -r.ae / den;
            qt[P] = (qt[P] - r.aw * qt[P - 1]) / den;
        } else {
            const double den = r.ap + 0.0;
            const double q_mais = (qt[P] - 0.0) / den, q_menos = (qt[P] - -0.0) / den;
            ok = ok && r.aw == 0.0 && mesmos_bits(den, r.ap + -0.0) && mesmos_bits(q_mais, q_menos);
            pt[P] = -r.ae / den;
            qt[P] = q_mais;
        }
        p_ant[k] = pt[P];
        q_ant[k] = qt[P];
    }
    for (int i = 2; i <= nx; ++i)
#pragma GCC unroll 8
        for (int k = 0; k < B; ++k) {
            const int P = base[k] + i;
            const Linha& r = a[P];
            const double den = r.ap + r.aw * p_ant[k];
            p_ant[k] = pt[P] = -r.ae / den;
            q_ant[k] = qt[P] = (qt[P] - r.aw * q_ant[k]) / den;
        }
    for (int k = 1; ok && k < B; ++k) ok = std::isfinite(pt[base[k]]) && std::isfinite(qt[base[k]]);
    return ok;
}

}  // namespace

// Each sweep eliminates all of its lines before it back-substitutes any of them, so the lines
// of one sweep are solved side by side from the same neighbouring values. The row recurrence
// runs over all volumes in numbering order without restarting at a row's start: the first
// volume of a row uses the multipliers of the last volume of the row below, times its own aw.
void adi(const Sistema& s, const Controles& k, double* x, Trabalho& t) {
    const int nx = s.nx, ny = s.ny, N = s.N, nit = k.nit;
    const Linha* a = s.a;
    const double* bp = s.bp;
    if (nit <= 0) return;
    double* pt = t.vetor(0, static_cast<std::size_t>(N) + 1);
    double* qt = t.vetor(1, static_cast<std::size_t>(N) + 1);

    // bp less the two couplings across the line, those whose neighbour lies in 1..N.
    const auto fora_da_linha = [&](int P, double c1, int Q1, double c2, int Q2) {
        const bool tem1 = Q1 >= 1 && Q1 <= N, tem2 = Q2 >= 1 && Q2 <= N;
        if (tem1 && tem2) return bp[P] - (c1 * x[Q1] + c2 * x[Q2]);
        if (tem1) return bp[P] - c1 * x[Q1];
        if (tem2) return bp[P] - c2 * x[Q2];
        return bp[P];
    };
    constexpr int banda = 16;

    for (int k = 0; k < nit; ++k) {
        // Row sweep. The right-hand sides across the lines come first (x is not written during
        // the elimination), which leaves the recurrence itself as short as it can be.
        for (int P = 1; P <= std::min(nx, N); ++P) qt[P] = fora_da_linha(P, a[P].as, P - nx, a[P].an, P + nx);
        for (int P = nx + 1; P <= N - nx; ++P) qt[P] = bp[P] - (a[P].as * x[P - nx] + a[P].an * x[P + nx]);
        for (int P = std::max(N - nx + 1, nx + 1); P <= N; ++P)
            qt[P] = fora_da_linha(P, a[P].as, P - nx, a[P].an, P + nx);
        pt[1] = -a[1].ae / a[1].ap;
        qt[1] = qt[1] / a[1].ap;
        const auto elimina = [&](int ini, int fim) {
            for (int P = ini; P <= fim; ++P) {
                const double den = a[P].ap + a[P].aw * pt[P - 1];
                pt[P] = -a[P].ae / den;
                qt[P] = (qt[P] - a[P].aw * qt[P - 1]) / den;
            }
        };
        elimina(2, std::min(nx, N));
        int j = 2;
        constexpr int linhas = 8;
        for (; j + linhas - 1 <= ny - 1; j += linhas) {
            const int ini = (j - 1) * nx + 1, fim = (j + linhas - 1) * nx;
            if (elimina_banda<linhas>(nx, j, a, pt, qt)) continue;
            for (int P = ini; P <= fim; ++P) qt[P] = bp[P] - (a[P].as * x[P - nx] + a[P].an * x[P + nx]);
            elimina(ini, fim);
        }
        elimina((j - 1) * nx + 1, N);
        // Each row back-substitutes from its own east end; the rows are independent, so a band
        // of them runs side by side.
        for (int j0 = 1; j0 <= ny; j0 += banda) {
            const int j1 = std::min(ny, j0 + banda - 1);
            for (int j = j0; j <= j1; ++j) x[j * nx] = qt[j * nx];
            for (int i = nx - 1; i >= 1; --i)
                for (int j = j0; j <= j1; ++j) {
                    const int P = (j - 1) * nx + i;
                    x[P] = pt[P] * x[P + 1] + qt[P];
                }
        }

        // Column sweep: every column is a recurrence of its own, so the rows are visited in
        // order and the columns of a row run side by side.
        for (int P = 1; P <= std::min(nx, N); ++P) {
            pt[P] = -a[P].an / a[P].ap;
            qt[P] = fora_da_linha(P, a[P].aw, P - 1, a[P].ae, P + 1) / a[P].ap;
        }
        for (int j = 2; j <= ny; ++j) {
            const int ini = (j - 1) * nx + 1, fim = j == ny ? N - 1 : j * nx;
            for (int P = ini; P <= fim; ++P) {
                const double den = a[P].ap + a[P].as * pt[P - nx];
                pt[P] = -a[P].an / den;
                qt[P] = (bp[P] - (a[P].aw * x[P - 1] + a[P].ae * x[P + 1]) - a[P].as * qt[P - nx]) / den;
            }
            if (j == ny) {
                const int P = N;
                const double den = a[P].ap + a[P].as * pt[P - nx];
                pt[P] = -a[P].an / den;
                qt[P] = (fora_da_linha(P, a[P].aw, P - 1, a[P].ae, P + 1) - a[P].as * qt[P - nx]) / den;
            }
        }
        for (int P = (ny - 1) * nx + 1; P <= N; ++P) x[P] = qt[P];
        for (int j = ny - 1; j >= 1; --j)
            for (int P = (j - 1) * nx + 1; P <= j * nx; ++P) x[P] = pt[P] * x[P + nx] + qt[P];
    }
}

}  // namespace quelna
