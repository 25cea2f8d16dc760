#include "referencia.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace quelna::referencia {

namespace {

// The sums of a row's terms are the program's own (one formula for both); what the literal loops
// keep is the plain order in which the volumes are taken.
using detalhe::produto_borda;
using detalhe::vizinhos;
using detalhe::vizinhos_borda;

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

void jacobi(const Sistema& s, const Controles& k, double* x, Trabalho&) {
    const int nx = s.nx, N = s.N, nit = k.nit;
    const Linha* a = s.a;
    const double* bp = s.bp;
    if (nit <= 0) return;
    std::vector<double> x_ant(static_cast<std::size_t>(N) + 1);
    for (int v = 0; v < nit; ++v) {
        std::copy(x + 1, x + N + 1, x_ant.begin() + 1);
        for (int P = 1; P <= N; ++P) x[P] = ponto(nx, N, a, bp, x_ant.data(), P);
    }
}

void gauss_seidel(const Sistema& s, const Controles& k, double* x, Trabalho&) {
    for (int v = 0; v < k.nit; ++v) varredura_gs(s.nx, s.ny, s.N, s.a, s.bp, x);
}

void sor(const Sistema& s, const Controles& k, double* x, Trabalho&) {
    const int N = s.N;
    const double w = k.w;
    if (k.nit <= 0) return;
    std::vector<double> x_ant(static_cast<std::size_t>(N) + 1);
    for (int v = 0; v < k.nit; ++v) {
        std::copy(x + 1, x + N + 1, x_ant.begin() + 1);
        varredura_gs(s.nx, s.ny, N, s.a, s.bp, x);
        // The relaxation acts on the whole field after the sweep, not inside it.
        for (int P = 1; P <= N; ++P) x[P] = (x[P] - x_ant[P]) * w + x_ant[P];
    }
}


// Each sweep eliminates all of its lines before it back-substitutes any of them, so the lines
// of one sweep are solved side by side from the same neighbouring values. The row recurrence
// runs over all volumes in numbering order without restarting at a row's start: the first
// volume of a row uses the multipliers of the last volume of the row below, times its own aw.
void adi(const Sistema& s, const Controles& k, double* x, Trabalho&) {
    const int nx = s.nx, ny = s.ny, N = s.N, nit = k.nit;
    const Linha* a = s.a;
    const double* bp = s.bp;
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
            s = produto_borda(nx, N, r, P, x);
        }
        res[P] = bp[P] - s;
        soma += res[P] * res[P];
    }
    return std::sqrt(soma);
}

}  // namespace

void msi_fatores(const Sistema& s, FatorL* msi_L, FatorU* msi_U) {
    const int nx = s.nx, ny = s.ny, N = s.N;
    const Linha* a = s.a;
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

void msi(const Sistema& s, const Controles& k, double* x, Trabalho& t) {
    const auto n = static_cast<std::size_t>(s.N) + 1;
    if (t.msi_L.size() < n) t.msi_L.resize(n);
    if (t.msi_U.size() < n) t.msi_U.resize(n);
    referencia::msi_fatores(s, t.msi_L.data(), t.msi_U.data());
    referencia::msi_correcoes(s, t.msi_L.data(), t.msi_U.data(), x, k.tol, k.nit, t);
}

// The literal corrections take their work vectors anew, as the straightforward rendering does.
void msi_correcoes(const Sistema& s, const FatorL* msi_L, const FatorU* msi_U, double* x, double tol, int nit,
                   Trabalho&) {
    const int nx = s.nx, N = s.N;
    const Linha* a = s.a;
    const double* bp = s.bp;
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
        const double r = residuo(nx, N, a, bp, x, res);
        // A norm that is not a number ends the iteration too: only r > limite goes on.
        if (k == limite_it || !(r > limite)) break;
    }
}


namespace norma_detalhe {

inline double residuo_da_linha(int nx, int N, const Linha* a, const double* bp, const double* x, int P) {
    const Linha& r = a[P];
    if (P - nx >= 1 && P + nx <= N)
        return r.as * x[P - nx] + r.aw * x[P - 1] + r.ap * x[P] + r.ae * x[P + 1] + r.an * x[P + nx] - bp[P];
    return produto_borda(nx, N, r, P, x) - bp[P];
}

}  // namespace

void norma(int nx, int ny, int N, const Linha* a, const double* bp, const double* x, double& residuo) {
    for (int P = 1; P <= nx; ++P) residuo += std::fabs(norma_detalhe::residuo_da_linha(nx, N, a, bp, x, P));
    for (int i = 1; i <= nx; ++i)
        for (int j = 2; j <= ny - 1; ++j)
            residuo += std::fabs(norma_detalhe::residuo_da_linha(nx, N, a, bp, x, (j - 1) * nx + i));
    for (int P = (ny - 1) * nx + 1; P <= N; ++P) residuo += std::fabs(norma_detalhe::residuo_da_linha(nx, N, a, bp, x, P));
}


void msi_avanco(int nx, int N, const FatorL* msi_L, const double* res, double* y) {
    for (int P = 1; P <= N; ++P) {
        const FatorL& L = msi_L[P];
        double t = res[P];
        if (P - 1 >= 1) t = t - L.d * y[P - 1];
        if (P - nx + 1 >= 1) t = t - L.c * y[P - nx + 1];
        if (P - nx >= 1) t = t - L.b * y[P - nx];
        y[P] = t / L.e;
    }
}

Nucleos nucleos() {
    Nucleos n;
    n.solvers = Solvers{&jacobi, &gauss_seidel, &sor, &adi, &msi};
    n.norma = &norma;
    n.coeficientes_uv = &coeficientes_uv;
    n.termo_fonte_u = &termo_fonte_u;
    n.termo_fonte_v = &termo_fonte_v;
    n.velocidades_face = &velocidades_face;
    n.coeficientes_plinha = &coeficientes_plinha;
    return n;
}

}  // namespace quelna::referencia
