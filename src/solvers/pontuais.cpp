#include <algorithm>
#include <limits>

#include "solvers/solvers.hpp"
#include "vetor/processador.hpp"
#include "vetor/vetor.hpp"

namespace quelna {

namespace {

using detalhe::vizinhos_borda;

// The update of the point solvers: the equation of a volume solved for it, the neighbours taken
// as they stand (b its right-hand side; s, w, e, n the south, west, east and north values). For one
// volume (T = double, r a Linha) or for the volumes a vector holds (r their columns). Inlined also
// where the registers are wider: a call would switch register widths.
template <typename T, typename R>
__attribute__((always_inline)) inline T ponto_de(const R& r, T b, T s, T w, T e, T n) {
    return (b - (r.as * s + r.aw * w + r.ae * e + r.an * n)) / r.ap;
}

inline double ponto_borda(int nx, int N, const Linha* a, const double* bp, const double* x, int P) {
    return (bp[P] - vizinhos_borda(nx, N, a[P], P, x)) / a[P].ap;
}

__attribute__((always_inline)) inline double ponto(int nx, const Linha* a, const double* bp, const double* x, int P) {
    return ponto_de(a[P], bp[P], x[P - nx], x[P - 1], x[P + 1], x[P + nx]);
}

// Rows of a band advanced as a wavefront, each row one column behind the row below it: every
// volume is reached after its south and west neighbours and before its east and north ones,
// as in the column-by-column order, and the rows' divisions overlap instead of waiting on one
// another. Each row keeps the value it has just computed (its next volume's west neighbour) at
// hand rather than reading it back.
template <int B>
void frente_de_onda(int nx, int j0, int i0, int i1, const Linha* a, const double* bp, double* x) {
    const int m = i1 - i0 + 1;
    double oeste[B];
    int base[B];
    for (int k = 0; k < B; ++k) {
        base[k] = (j0 + k - 1) * nx + i0;
        oeste[k] = x[base[k] - 1];
    }
    const auto passo = [&](int k, int i) {
        const int P = base[k] + i;
        const double v = ponto_de(a[P], bp[P], x[P - nx], oeste[k], x[P + 1], x[P + nx]);
        x[P] = v;
        oeste[k] = v;
    };
    if (m < B) {
        for (int t = 0; t < m + B - 1; ++t)
            for (int k = 0; k < B; ++k)
                if (t - k >= 0 && t - k < m) passo(k, t - k);
        return;
    }
    for (int t = 0; t < B - 1; ++t)
        for (int k = 0; k <= t; ++k) passo(k, t - k);
    for (int t = B - 1; t < m; ++t)
#pragma GCC unroll 8
        for (int k = 0; k < B; ++k) passo(k, t - k);
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

// Simultaneous displacements over the rows that have all four neighbours: nothing but x_ant
// is read, so the volumes run side by side, as many at a time as a vector V holds, the rest one
// by one (in the same function: a call into the two-lane form from the eight-lane one would pay
// for the switch of register widths).
template <typename V>
__attribute__((always_inline)) inline void jacobi_interior(int nx, int ini, int fim, const Linha* __restrict a,
                                                           const double* __restrict bp,
                                                           const double* __restrict x_ant, double* __restrict x) {
    using namespace detalhe;
    constexpr int L = sizeof(V) / sizeof(double);
    int P = ini;
    for (; P + L - 1 < fim; P += L) {
        guarda(x + P, ponto_de(linhas_de_v<V>(a, P), carrega<V>(bp + P), carrega<V>(x_ant + P - nx),
                               carrega<V>(x_ant + P - 1), carrega<V>(x_ant + P + 1), carrega<V>(x_ant + P + nx)));
    }
    for (; P < fim; ++P) x[P] = ponto(nx, a, bp, x_ant, P);
}

void jacobi_interior_sse2(int nx, int ini, int fim, const Linha* __restrict a, const double* __restrict bp,
                          const double* __restrict x_ant, double* __restrict x) {
    jacobi_interior<detalhe::par>(nx, ini, fim, a, bp, x_ant, x);
}

QUELNA_AVX512 void jacobi_interior_avx512(int nx, int ini, int fim, const Linha* __restrict a,
                                          const double* __restrict bp, const double* __restrict x_ant,
                                          double* __restrict x) {
    jacobi_interior<detalhe::oito>(nx, ini, fim, a, bp, x_ant, x);
}

}  // namespace

void jacobi(const Sistema& s, const Controles& k, double* x, Trabalho& t) {
    const int nx = s.nx, ny = s.ny, N = s.N, nit = k.nit;
    const Linha* a = s.a;
    const double* bp = s.bp;
    if (nit <= 0) return;
    const auto interior = usa_avx512() ? jacobi_interior_avx512 : jacobi_interior_sse2;
    // Row j of a sweep, from the values of the sweep before (de) into para.
    const auto linha = [&](int j, const double* de, double* para) {
        const int ini = (j - 1) * nx + 1, fim = j * nx;
        if (j == 1 || j == ny) {
            for (int P = ini; P <= fim; ++P) para[P] = ponto_borda(nx, N, a, bp, de, P);
        } else {
            interior(nx, ini, fim + 1, a, bp, de, para);
        }
    };
    // A sweep reads only the values of the sweep before, those of its own row and of the rows
    // beside it (the ends of a row couple with the rows beside it too). So the sweeps go
    // together down the grid, each one row behind the one before, taking turns between x and a
    // work array: the rows of the coefficients they share are read from memory once per call
    // rather than once per sweep. Sweep s + 1 writes row j over the values of sweep s - 1 only
    // after sweep s, one row ahead, has done with them.
    double* campo[2] = {x, t.vetor(0, static_cast<std::size_t>(N) + 1)};
    for (int r = 1; r <= ny + nit - 1; ++r)
        for (int v = 0; v < nit; ++v) {
            const int j = r - v;
            if (j >= 1 && j <= ny) linha(j, campo[v % 2], campo[(v + 1) % 2]);
        }
    if (nit % 2 == 1) std::copy(campo[1] + 1, campo[1] + N + 1, x + 1);
}

void gauss_seidel(const Sistema& s, const Controles& k, double* x, Trabalho&) {
    for (int v = 0; v < k.nit; ++v) varredura_gs(s.nx, s.ny, s.N, s.a, s.bp, x);
}

void sor(const Sistema& s, const Controles& k, double* x, Trabalho& t) {
    const int N = s.N;
    const double w = k.w;
    if (k.nit <= 0) return;
    double* x_ant = t.vetor(0, static_cast<std::size_t>(N) + 1);
    std::copy(x + 1, x + N + 1, x_ant + 1);
    for (int v = 0; v < k.nit; ++v) {
        varredura_gs(s.nx, s.ny, N, s.a, s.bp, x);
        // The relaxation acts on the whole field after the sweep, not inside it; the relaxed
        // field is also the starting point of the next sweep.
        for (int P = 1; P <= N; ++P) x_ant[P] = x[P] = (x[P] - x_ant[P]) * w + x_ant[P];
    }
}

void resolve(int solver, const Sistema& s, const Controles& k, double* x, Trabalho& t, const Solvers& solvers) {
    switch (solver) {
    case 1: solvers.jacobi(s, k, x, t); break;
    case 2: solvers.gauss_seidel(s, k, x, t); break;
    case 3: solvers.sor(s, k, x, t); break;
    case 4: solvers.adi(s, k, x, t); break;
    case 5: solvers.msi(s, k, x, t); break;
    default: break;  // no solver: the unknown keeps its values
    }
}

double* Trabalho::vetor(int k, std::size_t n) {
    std::vector<double>& v = vetores_[k];
    if (v.size() < n) v.resize(n);
#ifdef QUELNA_RASCUNHO_VENENO
    std::fill(v.begin(), v.end(), std::numeric_limits<double>::quiet_NaN());
#endif
    return v.data();
}

void Trabalho::reserva(int solver, int N) {
    const auto n = static_cast<std::size_t>(N) + 1;
    const int vetores = solver == 5 ? 3 : solver == 4 ? 2 : solver == 1 || solver == 3 ? 1 : 0;
    for (int k = 0; k < vetores; ++k) vetor(k, n);
    if (solver == 5) {
        msi_L.assign(n, FatorL{});
        msi_U.assign(n, FatorU{});
    }
}

}  // namespace quelna
