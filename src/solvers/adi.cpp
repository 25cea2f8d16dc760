// ADI in its plain loops; the fast form (adi_rapido.cpp) solves the lines of a sweep in bands,
// with the same recurrences.
#include <vector>

#include "solvers/recorrencias.hpp"
#include "solvers/solvers.hpp"

namespace quelna::literal {

// Each sweep eliminates all of its lines before it back-substitutes any of them, so the lines
// of one sweep are solved side by side from the same neighbouring values. The row recurrence
// runs over all volumes in numbering order without restarting at a row's start: the first
// volume of a row uses the multipliers of the last volume of the row below, times its own aw.
void adi(const Sistema& s, const Controles& k, double* x, Trabalho&) {
    using namespace recorrencias;
    const int nx = s.nx, ny = s.ny, N = s.N;
    const Linha* a = s.a;
    const double* bp = s.bp;
    if (k.nit <= 0) return;
    std::vector<double> pt(static_cast<std::size_t>(N) + 1), qt(static_cast<std::size_t>(N) + 1);
    const auto guarda = [&](int P, Multiplicadores<double> m) {
        pt[P] = m.p;
        qt[P] = m.q;
    };

    for (int it = 0; it < k.nit; ++it) {
        // Row sweep: lines along x.
        guarda(1,
               primeiro_da_linha(a[1].ap, a[1].ae, fora_da_linha_borda(N, bp, x, 1, a[1].as, 1 - nx, a[1].an, 1 + nx)));
        for (int P = 2; P <= N; ++P)
            guarda(P,
                   elimina(a[P].ap, a[P].aw, a[P].ae,
                           fora_da_linha_borda(N, bp, x, P, a[P].as, P - nx, a[P].an, P + nx), pt[P - 1], qt[P - 1]));
        for (int j = 1; j <= ny; ++j) x[j * nx] = qt[j * nx];
        for (int j = 1; j <= ny; ++j)
            for (int i = nx - 1; i >= 1; --i) {
                const int P = (j - 1) * nx + i;
                x[P] = substitui(pt[P], qt[P], x[P + 1]);
            }

        // Column sweep: lines along y, from the values the row sweep left.
        for (int P = 1; P <= nx; ++P)
            guarda(P, primeiro_da_linha(a[P].ap, a[P].an,
                                        fora_da_linha_borda(N, bp, x, P, a[P].aw, P - 1, a[P].ae, P + 1)));
        for (int i = 1; i <= nx; ++i)
            for (int j = 2; j <= ny; ++j) {
                const int P = (j - 1) * nx + i;
                guarda(P, elimina(a[P].ap, a[P].as, a[P].an,
                                  fora_da_linha_borda(N, bp, x, P, a[P].aw, P - 1, a[P].ae, P + 1), pt[P - nx],
                                  qt[P - nx]));
            }
        for (int P = (ny - 1) * nx + 1; P <= N; ++P) x[P] = qt[P];
        for (int i = 1; i <= nx; ++i)
            for (int j = ny - 1; j >= 1; --j) {
                const int P = (j - 1) * nx + i;
                x[P] = substitui(pt[P], qt[P], x[P + nx]);
            }
    }
}

}  // namespace quelna::literal
