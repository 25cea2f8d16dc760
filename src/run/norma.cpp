#include "run/norma.hpp"

#include <cmath>

namespace quelna {

namespace {

inline double residuo_da_linha(int nx, int N, const Linha* a, const double* bp, const double* x, int P) {
    const Linha& r = a[P];
    if (P - nx >= 1 && P + nx <= N)
        return r.as * x[P - nx] + r.aw * x[P - 1] + r.ap * x[P] + r.ae * x[P + 1] + r.an * x[P + nx] - bp[P];
    double s = 0.0;
    bool primeiro = true;
    const auto soma = [&](double coef, int Q) {
        if (Q < 1 || Q > N) return;
        s = primeiro ? coef * x[Q] : s + coef * x[Q];
        primeiro = false;
    };
    soma(r.as, P - nx);
    soma(r.aw, P - 1);
    soma(r.ap, P);
    soma(r.ae, P + 1);
    soma(r.an, P + nx);
    return s - bp[P];
}

}  // namespace

void norma(int nx, int ny, int N, const Linha* a, const double* bp, const double* x, double& residuo) {
    for (int P = 1; P <= nx; ++P) residuo += std::fabs(residuo_da_linha(nx, N, a, bp, x, P));
    for (int i = 1; i <= nx; ++i)
        for (int j = 2; j <= ny - 1; ++j)
            residuo += std::fabs(residuo_da_linha(nx, N, a, bp, x, (j - 1) * nx + i));
    for (int P = (ny - 1) * nx + 1; P <= N; ++P) residuo += std::fabs(residuo_da_linha(nx, N, a, bp, x, P));
}

}  // namespace quelna
