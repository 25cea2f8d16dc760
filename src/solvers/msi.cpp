// MSI in its plain loops: the incomplete factorization volume by volume in numbering order, then
// the corrections, each a forward and a backward substitution and the residual. The fast form
// (msi_rapido.cpp) takes the same recurrences as wavefronts of rows.
#include <cmath>
#include <vector>

#include "solvers/recorrencias.hpp"
#include "solvers/solvers.hpp"

namespace quelna::literal {

namespace {

using namespace recorrencias;

// res = bp - A x; returns the Euclidean norm, its squares summed in numbering order.
double residuo(int nx, int N, const Linha* a, const double* bp, const double* x, double* res) {
    double soma = 0.0;
    for (int P = 1; P <= N; ++P) {
        res[P] = detalhe::residuo_no_volume(nx, N, a, bp, x, P);
        soma += res[P] * res[P];
    }
    return std::sqrt(soma);
}

// The factors of row P. Those of volumes outside 1..N count as 0.
void fatora_volume(const Sistema& s, int P, FatorL* msi_L, FatorU* msi_U) {
    const int nx = s.nx, N = s.N;
    const auto U = [&](int Q) { return Q >= 1 && Q <= N ? msi_U[Q] : FatorU{0.0, 0.0, 0.0}; };
    const FatorU S = U(P - nx), SE = U(P - nx + 1), W = U(P - 1);
    fatora(s.a[P], alfa_msi(nx, s.ny, (P - 1) % nx + 1, (P - 1) / nx + 1), S.f, SE.f, S.g, W.g, S.h, SE.g, W.f, SE.h,
           W.h, msi_L[P], msi_U[P]);
}

void avanco(int nx, int N, const FatorL* msi_L, const double* res, double* y) {
    for (int P = 1; P <= N; ++P) {
        const FatorL& L = msi_L[P];
        if (P - nx >= 1) {
            y[P] = avanca(res[P], L.e, L.d, L.c, L.b, y[P - 1], y[P - nx + 1], y[P - nx]);
            continue;
        }
        // Row 1: the terms whose volume lies outside 1..N are left out.
        double t = res[P];
        if (P - 1 >= 1) t = t - L.d * y[P - 1];
        if (P - nx + 1 >= 1) t = t - L.c * y[P - nx + 1];
        y[P] = t / L.e;
    }
}

void retrocesso(int nx, int N, const FatorU* msi_U, const double* y, double* delta, double* x) {
    for (int P = N; P >= 1; --P) {
        const FatorU& U = msi_U[P];
        if (P + nx <= N) {
            delta[P] = recua(y[P], U.f, U.g, U.h, delta[P + 1], delta[P + nx - 1], delta[P + nx]);
        } else {
            // Row ny, the mirror of row 1.
            double t = y[P];
            if (P + 1 <= N) t = t - U.f * delta[P + 1];
            if (P + nx - 1 <= N) t = t - U.g * delta[P + nx - 1];
            delta[P] = t;
        }
        x[P] = x[P] + delta[P];
    }
}

}  // namespace

void msi_fatores(const Sistema& s, FatorL* msi_L, FatorU* msi_U) {
    for (int P = 1; P <= s.N; ++P) fatora_volume(s, P, msi_L, msi_U);
}

void msi_avanco(int nx, int, int N, const FatorL* msi_L, const double* res, double* y) { avanco(nx, N, msi_L, res, y); }

void msi(const Sistema& s, const Controles& k, double* x, Trabalho& t) {
    const auto n = static_cast<std::size_t>(s.N) + 1;
    if (t.msi_L.size() < n) t.msi_L.resize(n);
    if (t.msi_U.size() < n) t.msi_U.resize(n);
    // The plain loops factor every matrix, even one said to be the call before's.
    literal::msi_fatores(s, t.msi_L.data(), t.msi_U.data());
    t.msi_fatorada = {s.nx, s.ny};
    literal::msi_correcoes(s, t.msi_L.data(), t.msi_U.data(), x, k.tol, k.nit, t);
}

// The plain corrections take their work vectors anew.
void msi_correcoes(const Sistema& s, const FatorL* msi_L, const FatorU* msi_U, double* x, double tol, int nit,
                   Trabalho&) {
    const int nx = s.nx, N = s.N;
    const int limite_it = correcoes_permitidas(nit);
    std::vector<double> res(static_cast<std::size_t>(N) + 1), y(res.size()), delta(res.size());
    const double limite = residuo(nx, N, s.a, s.bp, x, res.data()) * tol;
    for (int k = 1;; ++k) {
        avanco(nx, N, msi_L, res.data(), y.data());
        retrocesso(nx, N, msi_U, y.data(), delta.data(), x);
        const double r = residuo(nx, N, s.a, s.bp, x, res.data());
        // A norm that is not a number ends the iteration too: only r > limite goes on.
        if (k == limite_it || !(r > limite)) break;
    }
}

}  // namespace quelna::literal
