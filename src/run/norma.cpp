#include "run/norma.hpp"

#include <cmath>
#include <vector>

#include "solvers/vizinhos.hpp"

namespace quelna {

namespace {

inline double residuo_borda(int nx, int N, const Linha* a, const double* bp, const double* x, int P) {
    return detalhe::produto_borda(nx, N, a[P], P, x) - bp[P];
}

}  // namespace

void norma(int nx, int ny, int N, const Linha* a, const double* bp, const double* x, double& residuo) {
    for (int P = 1; P <= nx && P <= N; ++P) residuo += std::fabs(residuo_borda(nx, N, a, bp, x, P));
    if (ny >= 3) {
        // The residuals of the inner rows are taken row by row, two at a time, and kept; the sum
        // then adds them column by column, in the order the listing's numbers depend on.
        thread_local std::vector<double> r;
        if (r.size() < static_cast<std::size_t>(N) + 2) r.resize(static_cast<std::size_t>(N) + 2);
        int P = nx + 1;
        const int fim = (ny - 1) * nx;
        for (; P + 1 <= fim; P += 2) {
            const detalhe::par v = -detalhe::residuo_par(nx, a, bp, x, P);
            r[static_cast<std::size_t>(P)] = std::fabs(v[0]);
            r[static_cast<std::size_t>(P) + 1] = std::fabs(v[1]);
        }
        for (; P <= fim; ++P) r[static_cast<std::size_t>(P)] = std::fabs(detalhe::produto(nx, a[P], P, x) - bp[P]);
        for (int i = 1; i <= nx; ++i)
            for (int j = 2; j <= ny - 1; ++j) residuo += r[static_cast<std::size_t>((j - 1) * nx + i)];
    }
    for (int P = (ny - 1) * nx + 1; P <= N; ++P) residuo += std::fabs(residuo_borda(nx, N, a, bp, x, P));
}

}  // namespace quelna
