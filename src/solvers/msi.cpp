#include <cmath>
#include <vector>

#include "solvers/solvers.hpp"

namespace quelna {

namespace {

// alfa of the partial cancellation: 0.5 on real volumes, 0 on the fictitious border.
inline double alfa_msi(int nx, int ny, int P) {
    const int i = (P - 1) % nx + 1, j = (P - 1) / nx + 1;
    return (i >= 2 && i <= nx - 1 && j >= 2 && j <= ny - 1) ? 0.5 : 0.0;
}

// res = bp - A x with the band rule; returns the Euclidean norm, summed in numbering order.
double residuo(int nx, int N, const Linha* a, const double* bp, const double* x, double* res) {
    double soma = 0.0;
    for (int P = 1; P <= N; ++P) {
        const Linha& r = a[P];
        double s;
        if (P - nx >= 1 && P + nx <= N) {
            s = r.as * x[P - nx] + r.aw * x[P - 1] + r.ap * x[P] + r.ae * x[P + 1] + r.an * x[P + nx];
        } else {
            s = 0.0;
            bool primeiro = true;
            const auto soma_termo = [&](double coef, int Q) {
                if (Q < 1 || Q > N) return;
                s = primeiro ? coef * x[Q] : s + coef * x[Q];
                primeiro = false;
            };
            soma_termo(r.as, P - nx);
            soma_termo(r.aw, P - 1);
            soma_termo(r.ap, P);
            soma_termo(r.ae, P + 1);
            soma_termo(r.an, P + nx);
        }
        res[P] = bp[P] - s;
        soma += res[P] * res[P];
    }
    return std::sqrt(soma);
}

}  // namespace

void msi_fatores(const Linha* a, FatorL* msi_L, FatorU* msi_U, int N, int nx, int ny) {
    // Factor entries of volumes outside 1..N count as 0.
    const auto f = [&](int Q) { return Q >= 1 && Q <= N ? msi_U[Q].f : 0.0; };
    const auto g = [&](int Q) { return Q >= 1 && Q <= N ? msi_U[Q].g : 0.0; };
    const auto h = [&](int Q) { return Q >= 1 && Q <= N ? msi_U[Q].h : 0.0; };
    for (int P = 1; P <= N; ++P) {
        const double alfa = alfa_msi(nx, ny, P);
        const Linha& r = a[P];
        FatorL& L = msi_L[P];
        FatorU& U = msi_U[P];
        L.b = r.as / (1 - alfa * f(P - nx) * f(P - nx + 1));
        L.c = -L.b * f(P - nx);
        L.d = (r.aw - L.b * g(P - nx)) / (1 + 2 * alfa * g(P - 1));
        L.e = r.ap - L.b * h(P - nx) - L.c * g(P - nx + 1) - L.d * f(P - 1) +
              alfa * (2 * L.c * f(P - nx + 1) + 2 * L.d * g(P - 1));
        U.f = (r.ae - L.c * h(P - nx + 1) - 2 * alfa * L.c * f(P - nx + 1)) / L.e;
        U.g = -L.d * h(P - 1) / L.e;
        U.h = (r.an - alfa * L.d * g(P - 1)) / L.e;
    }
}

void msi(const Linha* a, const FatorL* msi_L, const FatorU* msi_U, int /*ny*/, int nx, int N, double* x, double tol,
         int nit, const double* bp) {
    // With no limit the count would never match and only the tolerance could end the loop.
    const int limite_it = nit < 1 ? 1 : nit;
    std::vector<double> res_v(static_cast<std::size_t>(N) + 1), y_v(static_cast<std::size_t>(N) + 1),
        delta_v(static_cast<std::size_t>(N) + 1);
    double* res = res_v.data();
    double* y = y_v.data();
    double* delta = delta_v.data();

    const double s0 = residuo(nx, N, a, bp, x, res);
    const double limite = s0 * tol;
    for (int k = 1;; ++k) {
        for (int P = 1; P <= N; ++P) {
            const FatorL& L = msi_L[P];
            double t = res[P];
            if (P - 1 >= 1) t = t - L.d * y[P - 1];
            if (P - nx + 1 >= 1) t = t - L.c * y[P - nx + 1];
            if (P - nx >= 1) t = t - L.b * y[P - nx];
            y[P] = t / L.e;
        }
        for (int P = N; P >= 1; --P) {
            const FatorU& U = msi_U[P];
            double t = y[P];
            if (P + 1 <= N) t = t - U.f * delta[P + 1];
            if (P + nx - 1 <= N) t = t - U.g * delta[P + nx - 1];
            if (P + nx <= N) t = t - U.h * delta[P + nx];
            delta[P] = t;
            x[P] = x[P] + delta[P];
        }
        const double s = residuo(nx, N, a, bp, x, res);
        // A norm that is not a number ends the iteration too: only s > limite goes on.
        if (k == limite_it || !(s > limite)) break;
    }
}

}  // namespace quelna
