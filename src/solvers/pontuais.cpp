// The point solvers in their plain loops, the choice among the five solvers and their workspace.
// The fast forms (pontuais_rapido.cpp) take the volumes in other orders and widths and give the
// same bytes.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "solvers/recorrencias.hpp"
#include "solvers/solvers.hpp"

namespace quelna::literal {

namespace {

using namespace recorrencias;

inline double ponto_geral(int nx, int N, const Linha* a, const double* bp, const double* x, int P) {
    return P - nx >= 1 && P + nx <= N ? ponto(nx, a, bp, x, P) : ponto_borda(nx, N, a, bp, x, P);
}

// Row 1 west to east, then column by column the rows 2..ny-1 south to north, then row ny.
void varredura_gs(int nx, int ny, int N, const Linha* a, const double* bp, double* x) {
    for (int P = 1; P <= nx; ++P) x[P] = ponto_geral(nx, N, a, bp, x, P);
    for (int i = 1; i <= nx; ++i)
        for (int j = 2; j <= ny - 1; ++j) {
            const int P = (j - 1) * nx + i;
            x[P] = ponto_geral(nx, N, a, bp, x, P);
        }
    for (int P = (ny - 1) * nx + 1; P <= N; ++P) x[P] = ponto_geral(nx, N, a, bp, x, P);
}

}  // namespace

void jacobi(const Sistema& s, const Controles& k, double* x, Trabalho&) {
    const int nx = s.nx, N = s.N;
    if (k.nit <= 0) return;
    std::vector<double> x_ant(static_cast<std::size_t>(N) + 1);
    for (int v = 0; v < k.nit; ++v) {
        std::copy(x + 1, x + N + 1, x_ant.begin() + 1);
        for (int P = 1; P <= N; ++P) x[P] = ponto_geral(nx, N, s.a, s.bp, x_ant.data(), P);
    }
}

void gauss_seidel(const Sistema& s, const Controles& k, double* x, Trabalho&) {
    for (int v = 0; v < k.nit; ++v) varredura_gs(s.nx, s.ny, s.N, s.a, s.bp, x);
}

void sor(const Sistema& s, const Controles& k, double* x, Trabalho&) {
    const int N = s.N;
    if (k.nit <= 0) return;
    std::vector<double> x_ant(static_cast<std::size_t>(N) + 1);
    for (int v = 0; v < k.nit; ++v) {
        std::copy(x + 1, x + N + 1, x_ant.begin() + 1);
        varredura_gs(s.nx, s.ny, N, s.a, s.bp, x);
        // The relaxation acts on the whole field after the sweep, not inside it.
        for (int P = 1; P <= N; ++P) x[P] = relaxa(x[P], x_ant[P], k.w);
    }
}

}  // namespace quelna::literal

namespace quelna {

void resolve(int solver, const Sistema& s, const Controles& k, double* x, Trabalho& t) {
    switch (solver) {
    case 1: jacobi(s, k, x, t); break;
    case 2: gauss_seidel(s, k, x, t); break;
    case 3: sor(s, k, x, t); break;
    case 4: adi(s, k, x, t); break;
    case 5: msi(s, k, x, t); break;
    default: break;  // no solver: the unknown keeps its values
    }
}

double* Trabalho::vetor(int k, std::size_t n) {
    // Each array starts at its own offset within a 4 KB page, a quarter page apart from the
    // next: where a row is a multiple of 4 KB long, entry P of every array would otherwise fall
    // in the same cache set, and the sweeps that read one array while they write another would
    // evict their own lines.
    constexpr std::size_t pagina = 4096 / sizeof(double);
    std::vector<double>& v = vetores_[k];
    if (v.size() < n + pagina) v.resize(n + pagina);
#ifdef QUELNA_RASCUNHO_VENENO
    std::fill(v.begin(), v.end(), std::numeric_limits<double>::quiet_NaN());
#endif
    const std::size_t onde = reinterpret_cast<std::uintptr_t>(v.data()) / sizeof(double) % pagina;
    const std::size_t alvo = static_cast<std::size_t>(k + 1) * pagina / 4;
    return v.data() + (alvo + pagina - onde) % pagina;
}

void Trabalho::reserva(int solver, int N, int nx) {
    const auto n = static_cast<std::size_t>(N) + 1;
    const int vetores = solver == 5 ? 3 : solver == 4 ? 2 : solver == 1 || solver == 3 ? 1 : 0;
    for (int k = 0; k < vetores; ++k) vetor(k, solver == 5 && k == 1 && nx > 0 ? tamanho_de_y(nx, N / nx) : n);
    if (solver == 5) {
        msi_L.assign(n, FatorL{});
        msi_U.assign(n, FatorU{});
        msi_fatorada = {};
        msi_fixa.L.assign(n, FatorL{});
        msi_fixa.U.assign(n, FatorU{});
        msi_fixa.a.assign(n, Linha{});
    }
}

}  // namespace quelna
