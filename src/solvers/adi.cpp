#include <vector>

#include "solvers/solvers.hpp"

namespace quelna {

// Each sweep eliminates all of its lines before it back-substitutes any of them, so the lines
// of one sweep are solved side by side from the same neighbouring values. The row recurrence
// runs over all volumes in numbering order without restarting at a row's start: the first
// volume of a row uses the multipliers of the last volume of the row below, times its own aw.
void adi(int nx, int ny, int N, int nit, const Linha* a, const double* bp, double* x) {
    if (nit <= 0) return;
    std::vector<double> pt_v(static_cast<std::size_t>(N) + 1), qt_v(static_cast<std::size_t>(N) + 1);
    double* pt = pt_v.data();
    double* qt = qt_v.data();

    // Right-hand side of a line equation: bp less the two couplings across the line, those
    // whose neighbour lies in 1..N.
    const auto fora_da_linha = [&](int P, double c1, int Q1, double c2, int Q2) {
        const bool tem1 = Q1 >= 1 && Q1 <= N, tem2 = Q2 >= 1 && Q2 <= N;
        if (tem1 && tem2) return bp[P] - (c1 * x[Q1] + c2 * x[Q2]);
        if (tem1) return bp[P] - c1 * x[Q1];
        if (tem2) return bp[P] - c2 * x[Q2];
        return bp[P];
    };

    for (int k = 0; k < nit; ++k) {
        // Row sweep: lines along x.
        pt[1] = -a[1].ae / a[1].ap;
        qt[1] = fora_da_linha(1, a[1].as, 1 - nx, a[1].an, 1 + nx) / a[1].ap;
        for (int P = 2; P <= N; ++P) {
            const double den = a[P].ap + a[P].aw * pt[P - 1];
            pt[P] = -a[P].ae / den;
            qt[P] = (fora_da_linha(P, a[P].as, P - nx, a[P].an, P + nx) - a[P].aw * qt[P - 1]) / den;
        }
        for (int j = 1; j <= ny; ++j) x[j * nx] = qt[j * nx];
        for (int j = 1; j <= ny; ++j)
            for (int i = nx - 1; i >= 1; --i) {
                const int P = (j - 1) * nx + i;
                x[P] = pt[P] * x[P + 1] + qt[P];
            }

        // Column sweep: lines along y, from the values the row sweep left.
        for (int P = 1; P <= nx; ++P) {
            pt[P] = -a[P].an / a[P].ap;
            qt[P] = fora_da_linha(P, a[P].aw, P - 1, a[P].ae, P + 1) / a[P].ap;
        }
        for (int i = 1; i <= nx; ++i)
            for (int j = 2; j <= ny; ++j) {
                const int P = (j - 1) * nx + i;
                const double den = a[P].ap + a[P].as * pt[P - nx];
                pt[P] = -a[P].an / den;
                qt[P] = (fora_da_linha(P, a[P].aw, P - 1, a[P].ae, P + 1) - a[P].as * qt[P - nx]) / den;
            }
        for (int P = (ny - 1) * nx + 1; P <= N; ++P) x[P] = qt[P];
        for (int i = 1; i <= nx; ++i)
            for (int j = ny - 1; j >= 1; --j) {
                const int P = (j - 1) * nx + i;
                x[P] = pt[P] * x[P + nx] + qt[P];
            }
    }
}

}  // namespace quelna
