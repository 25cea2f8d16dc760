// The fast form of ADI: the same recurrences as the plain loops, the rows of the row sweep
// eliminated in bands side by side, the columns of the column sweep advanced a row at a time.
#include <algorithm>
#include <cmath>

#include "solvers/recorrencias.hpp"
#include "solvers/solvers.hpp"
#include "vetor/traducao.hpp"

namespace quelna {

namespace {

using namespace recorrencias;
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
            const Multiplicadores<double> m = elimina(r.ap, r.aw, r.ae, qt[P], pt[P - 1], qt[P - 1]);
            pt[P] = m.p;
            qt[P] = m.q;
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
            const Multiplicadores<double> m = elimina(r.ap, r.aw, r.ae, qt[P], p_ant[k], q_ant[k]);
            p_ant[k] = pt[P] = m.p;
            q_ant[k] = qt[P] = m.q;
        }
    for (int k = 1; ok && k < B; ++k) ok = std::isfinite(pt[base[k]]) && std::isfinite(qt[base[k]]);
    return ok;
}

void adi_rapido(const Sistema& s, const Controles& k, double* x, Trabalho& t) {
    const int nx = s.nx, ny = s.ny, N = s.N, nit = k.nit;
    const Linha* a = s.a;
    const double* bp = s.bp;
    if (nit <= 0) return;
    double* pt = t.vetor(0, static_cast<std::size_t>(N) + 1);
    double* qt = t.vetor(1, static_cast<std::size_t>(N) + 1);
    const auto guarda = [&](int P, Multiplicadores<double> m) {
        pt[P] = m.p;
        qt[P] = m.q;
    };
    // The right-hand side of a row line at an inner volume, across the line.
    const auto fora_da_linha_x = [&](int P) { return fora_da_linha(bp[P], a[P].as, x[P - nx], a[P].an, x[P + nx]); };
    constexpr int banda = 16;

    for (int it = 0; it < nit; ++it) {
        // Row sweep. The right-hand sides across the lines come first (x is not written during
        // the elimination), which leaves the recurrence itself as short as it can be.
        for (int P = 1; P <= std::min(nx, N); ++P)
            qt[P] = fora_da_linha_borda(N, bp, x, P, a[P].as, P - nx, a[P].an, P + nx);
        for (int P = nx + 1; P <= N - nx; ++P) qt[P] = fora_da_linha_x(P);
        for (int P = std::max(N - nx + 1, nx + 1); P <= N; ++P)
            qt[P] = fora_da_linha_borda(N, bp, x, P, a[P].as, P - nx, a[P].an, P + nx);
        guarda(1, primeiro_da_linha(a[1].ap, a[1].ae, qt[1]));
        const auto elimina_x = [&](int ini, int fim) {
            for (int P = ini; P <= fim; ++P) guarda(P, elimina(a[P].ap, a[P].aw, a[P].ae, qt[P], pt[P - 1], qt[P - 1]));
        };
        elimina_x(2, std::min(nx, N));
        int j = 2;
        constexpr int linhas = 8;
        for (; j + linhas - 1 <= ny - 1; j += linhas) {
            const int ini = (j - 1) * nx + 1, fim = (j + linhas - 1) * nx;
            if (elimina_banda<linhas>(nx, j, a, pt, qt)) continue;
            for (int P = ini; P <= fim; ++P) qt[P] = fora_da_linha_x(P);
            elimina_x(ini, fim);
        }
        elimina_x((j - 1) * nx + 1, N);
        // Each row back-substitutes from its own east end; the rows are independent, so a band
        // of them runs side by side.
        for (int j0 = 1; j0 <= ny; j0 += banda) {
            const int j1 = std::min(ny, j0 + banda - 1);
            for (int jj = j0; jj <= j1; ++jj) x[jj * nx] = qt[jj * nx];
            for (int i = nx - 1; i >= 1; --i)
                for (int jj = j0; jj <= j1; ++jj) {
                    const int P = (jj - 1) * nx + i;
                    x[P] = substitui(pt[P], qt[P], x[P + 1]);
                }
        }

        // Column sweep: every column is a recurrence of its own, so the rows are visited in
        // order and the columns of a row run side by side.
        for (int P = 1; P <= std::min(nx, N); ++P)
            guarda(P, primeiro_da_linha(a[P].ap, a[P].an,
                                        fora_da_linha_borda(N, bp, x, P, a[P].aw, P - 1, a[P].ae, P + 1)));
        for (int jj = 2; jj <= ny; ++jj) {
            const int ini = (jj - 1) * nx + 1, fim = jj == ny ? N - 1 : jj * nx;
            for (int P = ini; P <= fim; ++P)
                guarda(P, elimina(a[P].ap, a[P].as, a[P].an, fora_da_linha(bp[P], a[P].aw, x[P - 1], a[P].ae, x[P + 1]),
                                  pt[P - nx], qt[P - nx]));
            if (jj == ny)
                guarda(N, elimina(a[N].ap, a[N].as, a[N].an,
                                  fora_da_linha_borda(N, bp, x, N, a[N].aw, N - 1, a[N].ae, N + 1), pt[N - nx],
                                  qt[N - nx]));
        }
        for (int P = (ny - 1) * nx + 1; P <= N; ++P) x[P] = qt[P];
        for (int jj = ny - 1; jj >= 1; --jj)
            for (int P = (jj - 1) * nx + 1; P <= jj * nx; ++P) x[P] = substitui(pt[P], qt[P], x[P + nx]);
    }
}

}  // namespace

void adi(const Sistema& s, const Controles& k, double* x, Trabalho& t) {
    literal_ou(literal::adi, adi_rapido, s, k, x, t);
}

}  // namespace quelna
