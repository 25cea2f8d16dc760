// The fast forms of the point solvers: the same updates as the plain loops, taken as wavefronts of
// rows (Gauss-Seidel, SOR) and side by side in lanes (Jacobi).
#include <algorithm>

#include "solvers/recorrencias.hpp"
#include "solvers/solvers.hpp"
#include "vetor/traducao.hpp"

namespace quelna {

namespace {

using namespace recorrencias;

// Rows of a band advanced as a wavefront, each row one column behind the row below it: every
// volume is reached after its south and west neighbours and before its east and north ones,
// as in the column-by-column order, and the rows' divisions overlap instead of waiting on one
// another. Each row keeps the value it has just computed (its next volume's west neighbour) at
// hand rather than reading it back; where every row of the band is in its columns, that value of
// the row below, computed one step before, is also the south neighbour, taken from there too
// (the rows go from the top of the band down, so that each reads the row below's value before
// the row below moves on) rather than through memory, which put a store-to-load forwarding on
// the recurrence's chain.
template <int B>
void frente_de_onda(int nx, int j0, int i0, int i1, const Linha* a, const double* bp, double* x) {
    const int m = i1 - i0 + 1;
    double oeste[B];
    int base[B];
    for (int k = 0; k < B; ++k) {
        base[k] = (j0 + k - 1) * nx + i0;
        oeste[k] = x[base[k] - 1];
    }
    const auto passo_com_sul = [&](int k, int i, double sul) {
        const int P = base[k] + i;
        const double v = ponto_de(a[P], bp[P], sul, oeste[k], x[P + 1], x[P + nx]);
        x[P] = v;
        oeste[k] = v;
    };
    const auto passo = [&](int k, int i) { passo_com_sul(k, i, x[base[k] + i - nx]); };
    if (m < B) {
        for (int t = 0; t < m + B - 1; ++t)
            for (int k = 0; k < B; ++k)
                if (t - k >= 0 && t - k < m) passo(k, t - k);
        return;
    }
    for (int t = 0; t < B - 1; ++t)
        for (int k = 0; k <= t; ++k) passo(k, t - k);
    for (int t = B - 1; t < m; ++t) {
#pragma GCC unroll 8
        for (int k = B - 1; k >= 1; --k) passo_com_sul(k, t - k, oeste[k - 1]);
        passo(0, t);
    }
    for (int t = m; t < m + B - 1; ++t)
        for (int k = t - m + 1; k < B; ++k) passo(k, t - k);
}

// One Gauss-Seidel sweep. The order is that of row 1, then column by column the inner rows,
// then row ny. Column 1 of the inner rows goes first and column nx last (a volume of column 1
// sees the old value of the end of the row below, one of column nx the new value of the start
// of the row above, as in that order); the columns between them see only their own row and the
// rows below as new, so they run as a wavefront.
void varredura_gs(int nx, int ny, int N, const Linha* a, const double* bp, double* x) {
    for (int P = 1; P <= std::min(nx, N); ++P) x[P] = ponto_borda(nx, N, a, bp, x, P);
    if (nx >= 2) {
        for (int j = 2; j <= ny - 1; ++j) x[(j - 1) * nx + 1] = ponto(nx, a, bp, x, (j - 1) * nx + 1);
        constexpr int banda = 8;
        int j = 2;
        for (; j + banda - 1 <= ny - 1; j += banda) frente_de_onda<banda>(nx, j, 2, nx - 1, a, bp, x);
        for (; j + 3 <= ny - 1; j += 4) frente_de_onda<4>(nx, j, 2, nx - 1, a, bp, x);
        for (; j <= ny - 1; ++j) frente_de_onda<1>(nx, j, 2, nx - 1, a, bp, x);
        for (int j2 = 2; j2 <= ny - 1; ++j2) x[j2 * nx] = ponto(nx, a, bp, x, j2 * nx);
    } else {
        for (int j = 2; j <= ny - 1; ++j) x[j] = ponto(nx, a, bp, x, j);
    }
    for (int P = (ny - 1) * nx + 1; P <= N; ++P) x[P] = ponto_borda(nx, N, a, bp, x, P);
}

// A sweep of simultaneous displacements reads only the values of the sweep before, those of its
// own row and of the rows beside it (the ends of a row couple with the rows beside it too). So the
// sweeps go together down the grid, each one row behind the one before, taking turns between x
// and a work array: the rows of the coefficients they share are read from memory once per call
// rather than once per sweep. Sweep s + 1 writes row j over the values of sweep s - 1 only after
// sweep s, one row ahead, has done with them. Within a row that has all four neighbours the
// volumes run side by side in the lanes.
const auto jacobi_corpo =
    [](auto lanes, const Sistema& s, const Controles& k, double* x, Trabalho& t) __attribute__((always_inline)) {
    using V = typename decltype(lanes)::tipo;
    const int nx = s.nx, ny = s.ny, N = s.N, nit = k.nit;
    const Linha* __restrict a = s.a;
    const double* __restrict bp = s.bp;
    // Row j of a sweep, from the values of the sweep before (de) into para.
    const auto linha = [&](int j, const double* __restrict de, double* __restrict para) __attribute__((always_inline)) {
        const int ini = (j - 1) * nx + 1, fim = j * nx;
        if (j == 1 || j == ny) {
            for (int P = ini; P <= fim; ++P) para[P] = ponto_borda(nx, N, a, bp, de, P);
            return;
        }
        detalhe::ao_longo<V>(
            ini, fim, [&](auto l, int P) __attribute__((always_inline)) {
                using T = typename decltype(l)::tipo;
                using detalhe::le;
                detalhe::guarda(para + P, ponto_de(detalhe::linha_de<T>(a, P), le<T>(bp + P), le<T>(de + P - nx),
                                                   le<T>(de + P - 1), le<T>(de + P + 1), le<T>(de + P + nx)));
            });
    };
    double* campo[2] = {x, t.vetor(0, static_cast<std::size_t>(N) + 1)};
    for (int r = 1; r <= ny + nit - 1; ++r)
        for (int v = 0; v < nit; ++v) {
            const int j = r - v;
            if (j >= 1 && j <= ny) linha(j, campo[v % 2], campo[(v + 1) % 2]);
        }
    if (nit % 2 == 1) std::copy(campo[1] + 1, campo[1] + N + 1, x + 1);
};

void gauss_seidel_rapido(const Sistema& s, const Controles& k, double* x, Trabalho&) {
    for (int v = 0; v < k.nit; ++v) varredura_gs(s.nx, s.ny, s.N, s.a, s.bp, x);
}

void sor_rapido(const Sistema& s, const Controles& k, double* x, Trabalho& t) {
    const int N = s.N;
    if (k.nit <= 0) return;
    double* x_ant = t.vetor(0, static_cast<std::size_t>(N) + 1);
    std::copy(x + 1, x + N + 1, x_ant + 1);
    for (int v = 0; v < k.nit; ++v) {
        varredura_gs(s.nx, s.ny, N, s.a, s.bp, x);
        // The relaxed field is also the starting point of the next sweep.
        for (int P = 1; P <= N; ++P) x_ant[P] = x[P] = relaxa(x[P], x_ant[P], k.w);
    }
}

}  // namespace

void jacobi(const Sistema& s, const Controles& k, double* x, Trabalho& t) {
    if (k.nit <= 0) return;
    na_traducao(literal::jacobi, jacobi_corpo, s, k, x, t);
}

void gauss_seidel(const Sistema& s, const Controles& k, double* x, Trabalho& t) {
    literal_ou(literal::gauss_seidel, gauss_seidel_rapido, s, k, x, t);
}

void sor(const Sistema& s, const Controles& k, double* x, Trabalho& t) {
    literal_ou(literal::sor, sor_rapido, s, k, x, t);
}

}  // namespace quelna
