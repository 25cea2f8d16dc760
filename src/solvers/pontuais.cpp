#include <algorithm>
#include <vector>

#include "solvers/solvers.hpp"

namespace quelna {

namespace {

// Sum of the neighbour terms of row P with the band rule applied.
inline double vizinhos_borda(int nx, int N, const Linha& r, int P, const double* x) {
    double s = 0.0;
    bool primeiro = true;
    const auto soma = [&](double coef, int Q) {
        if (Q < 1 || Q > N) return;
        s = primeiro ? coef * x[Q] : s + coef * x[Q];
        primeiro = false;
    };
    soma(r.as, P - nx);
    soma(r.aw, P - 1);
    soma(r.ae, P + 1);
    soma(r.an, P + nx);
    return s;
}

// Sum of the neighbour terms of a row whose four neighbours all lie in 1..N.
inline double vizinhos(int nx, const Linha& r, int P, const double* x) {
    return r.as * x[P - nx] + r.aw * x[P - 1] + r.ae * x[P + 1] + r.an * x[P + nx];
}

inline bool interior(int nx, int N, int P) { return P - nx >= 1 && P + nx <= N; }

inline double ponto(int nx, int N, const Linha* a, const double* bp, const double* x, int P) {
    const double s = interior(nx, N, P) ? vizinhos(nx, a[P], P, x) : vizinhos_borda(nx, N, a[P], P, x);
    return (bp[P] - s) / a[P].ap;
}

void varredura_gs(int nx, int ny, int N, const Linha* a, const double* bp, double* x) {
    for (int P = 1; P <= nx; ++P) x[P] = ponto(nx, N, a, bp, x, P);
    for (int i = 1; i <= nx; ++i)
        for (int j = 2; j <= ny - 1; ++j) {
            const int P = (j - 1) * nx + i;
            x[P] = ponto(nx, N, a, bp, x, P);
        }
    for (int P = (ny - 1) * nx + 1; P <= N; ++P) x[P] = ponto(nx, N, a, bp, x, P);
}

}  // namespace

void jacobi(int nx, int /*ny*/, int N, int nit, const Linha* a, const double* bp, double* x) {
    if (nit <= 0) return;
    std::vector<double> x_ant(static_cast<std::size_t>(N) + 1);
    for (int k = 0; k < nit; ++k) {
        std::copy(x + 1, x + N + 1, x_ant.begin() + 1);
        for (int P = 1; P <= N; ++P) x[P] = ponto(nx, N, a, bp, x_ant.data(), P);
    }
}

void gauss_seidel(int nx, int ny, int N, int nit, const Linha* a, const double* bp, double* x) {
    for (int k = 0; k < nit; ++k) varredura_gs(nx, ny, N, a, bp, x);
}

void sor(int nx, int ny, int N, int nit, double w, const Linha* a, const double* bp, double* x) {
    if (nit <= 0) return;
    std::vector<double> x_ant(static_cast<std::size_t>(N) + 1);
    for (int k = 0; k < nit; ++k) {
        std::copy(x + 1, x + N + 1, x_ant.begin() + 1);
        varredura_gs(nx, ny, N, a, bp, x);
        // The relaxation acts on the whole field after the sweep, not inside it.
        for (int P = 1; P <= N; ++P) x[P] = (x[P] - x_ant[P]) * w + x_ant[P];
    }
}

void resolve(int solver, int nx, int ny, int N, int nit, double tol, double w, const Linha* a, const double* bp,
             double* x, FatorL* msi_L, FatorU* msi_U) {
    switch (solver) {
    case 1: jacobi(nx, ny, N, nit, a, bp, x); break;
    case 2: gauss_seidel(nx, ny, N, nit, a, bp, x); break;
    case 3: sor(nx, ny, N, nit, w, a, bp, x); break;
    case 4: adi(nx, ny, N, nit, a, bp, x); break;
    case 5:
        // The factors must always belong to the current matrix.
        msi_fatores(a, msi_L, msi_U, N, nx, ny);
        msi(a, msi_L, msi_U, ny, nx, N, x, tol, nit, bp);
        break;
    default: break;  // no solver: the unknown keeps its values
    }
}

}  // namespace quelna
