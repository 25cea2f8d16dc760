// The fast forms of the point solvers: the same updates as the plain loops, taken as wavefronts of
// rows (Gauss-Seidel, SOR) and side by side in lanes (Jacobi).
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "solvers/recorrencias.hpp"
#include "solvers/solvers.hpp"
#include "platform/equipe.hpp"
#include "vetor/faixas.hpp"
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
//
// The rows run from column 1 to column nx. The first volume of a row has for its west neighbour
// the last volume of the row below, which the column order reaches only after every row's first
// volume: each row takes it at the start of the band, before the row below has reached it. The
// last volume of a row has for its east neighbour the first of the row above, which that order
// has already computed: within the band the row above has, one step after the row below
// started. The band's top row stops one volume short, since the next band's bottom row must
// still take that volume's old value: the band returns its index, and the next band computes it
// after its own first volume (pendente; 0 for none), or the caller does after the last band.
// Column 1 and column nx thus advance with the rows instead of as two chains of one volume after
// another.
// The volume a band leaves (0: none), once the volumes around it are as the column order has them.
inline void deixado(int nx, const Linha* a, const double* bp, double* x, int pendente) {
    if (pendente > 0) x[pendente] = ponto(nx, a, bp, x, pendente);
}

template <int B>
int frente_de_onda(int nx, int j0, int pendente, const Linha* a, const double* bp, double* x) {
    const int m = nx;
    double oeste[B];
    int base[B];
    for (int k = 0; k < B; ++k) {
        base[k] = (j0 + k - 1) * nx + 1;
        oeste[k] = x[base[k] - 1];
    }
    const auto passo_com_sul = [&](int k, int i, double sul) {
        const int P = base[k] + i;
        const double v = ponto_de(a[P], bp[P], sul, oeste[k], x[P + 1], x[P + nx]);
        x[P] = v;
        oeste[k] = v;
    };
    const auto passo = [&](int k, int i) { passo_com_sul(k, i, x[base[k] + i - nx]); };
    const int fim = base[B - 1] + m - 1;
    passo(0, 0);
    deixado(nx, a, bp, x, pendente);
    if (m < B + 1) {
        // The last column of row k is m - 1, of the top row m - 2.
        for (int t = 1; t < m + B - 1; ++t)
            for (int k = 0; k < B; ++k)
                if (t - k >= 0 && t - k <= m - 1 - (k == B - 1)) passo(k, t - k);
        return fim;
    }
    for (int t = 1; t < B - 1; ++t)
        for (int k = 0; k <= t; ++k) passo(k, t - k);
    for (int t = std::max(B - 1, 1); t <= std::min(m - 1, m + B - 3); ++t) {
#pragma GCC unroll 8
        for (int k = B - 1; k >= 1; --k) passo_com_sul(k, t - k, oeste[k - 1]);
        passo(0, t);
    }
    for (int t = m; t < m + B - 2; ++t)
        for (int k = t - m + 1; k < B; ++k) passo(k, t - k);
    return fim;
}

constexpr int banda = 8;

// The inner rows ja..jb of a Gauss-Seidel sweep (nx >= 4), in bands of eight rows and one of the
// rows left over, pendente as for a band; returns the volume the top band leaves. antes_do_topo()
// runs before the top band, depois_da_banda(j0, j1) after each band of the rows j0..j1.
template <typename Antes, typename Depois>
int faixa_de_linhas(int nx, int ja, int jb, int pendente, const Linha* a, const double* bp, double* x,
                    Antes antes_do_topo, Depois depois_da_banda) {
    int j = ja;
    for (; j + banda - 1 <= jb; j += banda) {
        if (j + banda - 1 == jb) antes_do_topo();
        pendente = frente_de_onda<banda>(nx, j, pendente, a, bp, x);
        depois_da_banda(j, j + banda - 1);
    }
    if (j > jb) return pendente;
    antes_do_topo();
    switch (jb + 1 - j) {
    case 1: pendente = frente_de_onda<1>(nx, j, pendente, a, bp, x); break;
    case 2: pendente = frente_de_onda<2>(nx, j, pendente, a, bp, x); break;
    case 3: pendente = frente_de_onda<3>(nx, j, pendente, a, bp, x); break;
    case 4: pendente = frente_de_onda<4>(nx, j, pendente, a, bp, x); break;
    case 5: pendente = frente_de_onda<5>(nx, j, pendente, a, bp, x); break;
    case 6: pendente = frente_de_onda<6>(nx, j, pendente, a, bp, x); break;
    case 7: pendente = frente_de_onda<7>(nx, j, pendente, a, bp, x); break;
    default: break;
    }
    depois_da_banda(j, jb);
    return pendente;
}

// The rows 2..ny-1 of a sweep.
void linhas_internas(int nx, int ny, const Linha* a, const double* bp, double* x) {
    deixado(nx, a, bp, x, faixa_de_linhas(nx, 2, ny - 1, 0, a, bp, x, [] {}, [](int, int) {}));
}

void primeira_linha(int nx, int N, const Linha* a, const double* bp, double* x) {
    for (int P = 1; P <= nx; ++P) x[P] = ponto_borda(nx, N, a, bp, x, P);
}

void ultima_linha(int nx, int ny, int N, const Linha* a, const double* bp, double* x) {
    for (int P = (ny - 1) * nx + 1; P <= N; ++P) x[P] = ponto_borda(nx, N, a, bp, x, P);
}

// One Gauss-Seidel sweep: row 1, then column by column the inner rows, then row ny. Grids under
// 4 x 4 take the plain loop.
bool varre_rapido(int nx, int ny) { return nx >= 4 && ny >= 4; }

void varredura_gs(int nx, int ny, int N, const Linha* a, const double* bp, double* x) {
    primeira_linha(nx, N, a, bp, x);
    linhas_internas(nx, ny, a, bp, x);
    ultima_linha(nx, ny, N, a, bp, x);
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

// Each member of a team takes a group of whole bands, the lowest first, through all the sweeps of
// the call, a group one sweep behind the group below: group g starts sweep v once group g - 1 has
// ended it (its first band reads the top row of g - 1, and leaves it the volume that row's top
// band leaves), and starts the top band of sweep v + 1 once group g + 1 has ended the first band
// of sweep v (which reads the top row that band writes, and computes its last volume). Only the
// rows where two groups meet cross between the cores.
struct alignas(64) Marco {
    std::atomic<int> feitas{0};     // sweeps ended
    std::atomic<int> primeiras{0};  // sweeps whose first band has ended
};

void espera(const std::atomic<int>& contador, int valor) {
    espera_que([&] { return contador.load(std::memory_order_acquire) >= valor; });
}

// The team that takes the sweeps, or none: every member a band at least, and a grid the team's
// loops would share too.
Equipe* equipe_das_varreduras(int nx, int ny) {
    Equipe* e = equipe_atual();
    return por_linhas_divide(ny - 2, nx) && (ny - 2) / banda >= e->membros() ? e : nullptr;
}

// nit sweeps on the team. Each member first calls prepara(r0, r1) on the rows of its group (row 1
// with the lowest, row ny with the highest). relaxa_linhas(r0, r1) (SOR's relaxation, nothing for
// Gauss-Seidel) takes the rows r0..r1 once no volume of the sweep reads them any more: after each
// band, the rows of the band but its top two (the band above reads the top one, and the volume the
// band leaves both) and the top two of the band below (a group those of the group below, before
// it says that its first band has ended).
template <typename Prepara, typename Relaxa>
void varreduras_em_equipe(Equipe& e, const Sistema& s, int nit, double* x, Prepara prepara,
                          Relaxa relaxa_linhas) {
    const int nx = s.nx, ny = s.ny, N = s.N, G = e.membros(), bandas = (ny - 2) / banda;
    std::vector<Marco> marcos(static_cast<std::size_t>(G));
    e.executa([&](int g) {
        const int ja = 2 + banda * (bandas * g / G);
        const int jb = g == G - 1 ? ny - 1 : 2 + banda * (bandas * (g + 1) / G) - 1;
        prepara(g == 0 ? 1 : ja, g == G - 1 ? ny : jb);
        for (int v = 0; v < nit; ++v) {
            if (g == 0)
                primeira_linha(nx, N, s.a, s.bp, x);
            else
                espera(marcos[g - 1].feitas, v + 1);
            int proxima = g == 0 ? 1 : ja - 2;  // the next row to relax
            const auto antes_do_topo = [&] {
                if (g < G - 1 && v > 0) espera(marcos[g + 1].primeiras, v);
            };
            const auto depois_da_banda = [&](int j0, int j1) {
                relaxa_linhas(proxima, j1 - 2);
                proxima = j1 - 1;
                if (j0 == ja) marcos[g].primeiras.store(v + 1, std::memory_order_release);
            };
            const int pendente = faixa_de_linhas(nx, ja, jb, g == 0 ? 0 : (ja - 1) * nx, s.a, s.bp, x,
                                                 antes_do_topo, depois_da_banda);
            if (g == G - 1) {
                deixado(nx, s.a, s.bp, x, pendente);
                ultima_linha(nx, ny, N, s.a, s.bp, x);
                relaxa_linhas(proxima, ny);
            }
            marcos[g].feitas.store(v + 1, std::memory_order_release);
        }
    });
}

// Row ny of a sweep reads rows ny-1 and ny, row 1 of the next sweep rows 1 and 2: each is one
// chain of volumes, west to east, and the two go side by side.
void gauss_seidel_rapido(const Sistema& s, const Controles& k, double* x, Trabalho& t) {
    const int nx = s.nx, ny = s.ny, N = s.N;
    if (!varre_rapido(nx, ny)) return literal::gauss_seidel(s, k, x, t);
    if (k.nit <= 0) return;
    if (Equipe* e = equipe_das_varreduras(nx, ny))
        return varreduras_em_equipe(*e, s, k.nit, x, [](int, int) {}, [](int, int) {});
    primeira_linha(nx, N, s.a, s.bp, x);
    for (int v = 0; v < k.nit; ++v) {
        linhas_internas(nx, ny, s.a, s.bp, x);
        if (v + 1 == k.nit) {
            ultima_linha(nx, ny, N, s.a, s.bp, x);
            break;
        }
        const int topo = (ny - 1) * nx;
        for (int P = 1; P <= nx; ++P) {
            x[topo + P] = ponto_borda(nx, N, s.a, s.bp, x, topo + P);
            x[P] = ponto_borda(nx, N, s.a, s.bp, x, P);
        }
    }
}

// SOR's relaxation of n values from x on, x_ant holding those before the sweep; the relaxed field
// is also the starting point of the next sweep.
void relaxa_trecho(double* __restrict x, double* __restrict x_ant, int n, double w) {
    for (int P = 0; P < n; ++P) x_ant[P] = x[P] = relaxa(x[P], x_ant[P], w);
}

void sor_rapido(const Sistema& s, const Controles& k, double* x, Trabalho& t) {
    const int nx = s.nx, N = s.N;
    if (!varre_rapido(nx, s.ny)) return literal::sor(s, k, x, t);
    if (k.nit <= 0) return;
    double* x_ant = t.vetor(0, static_cast<std::size_t>(N) + 1);
    const auto linhas = [&](int r0, int r1, auto f) {
        if (r1 >= r0) f((r0 - 1) * nx + 1, (r1 - r0 + 1) * nx);
    };
    if (Equipe* e = equipe_das_varreduras(nx, s.ny)) {
        // Each member takes the values before the sweeps of its own rows, and relaxes rows as the
        // sweeps leave them behind: the arrays a member writes stay in its core's caches.
        const auto copia = [&](int P, int n) { std::copy(x + P, x + P + n, x_ant + P); };
        const auto relaxa_de = [&](int P, int n) { relaxa_trecho(x + P, x_ant + P, n, k.w); };
        return varreduras_em_equipe(
            *e, s, k.nit, x, [&](int r0, int r1) { linhas(r0, r1, copia); },
            [&](int r0, int r1) { linhas(r0, r1, relaxa_de); });
    }
    std::copy(x + 1, x + N + 1, x_ant + 1);
    for (int v = 0; v < k.nit; ++v) {
        varredura_gs(nx, s.ny, N, s.a, s.bp, x);
        relaxa_trecho(x + 1, x_ant + 1, N, k.w);
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
