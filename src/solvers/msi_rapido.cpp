// The fast form of MSI: the recurrences of the plain loops taken as wavefronts of row bands,
// two rows side by side in the lanes where every row of a band is inside the grid.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <type_traits>
#include <vector>

#include "platform/equipe.hpp"
#include "solvers/recorrencias.hpp"
#include "solvers/solvers.hpp"
#include "vetor/faixas.hpp"
#include "vetor/traducao.hpp"

namespace quelna {

namespace {

using detalhe::mesmos_bits;
using recorrencias::alfa_msi;
using recorrencias::avanca;
using recorrencias::Fatores;
using recorrencias::fatora;
using recorrencias::recua;

// res = bp - A x at the volumes ini..fim (res of P at res[P - od]), its squares added to soma:
// in numbering order when `ordenada`, else the squares of the inner volumes added lane by lane
// (the same products, another order of the additions). The inner volumes go as many at a time
// as the widest vector holds; those of `iguais` take their one row from registers rather than
// each its own from memory. Calls over consecutive ranges in order add the squares in the order
// of one call over their union.
template <bool ordenada>
double residuo_faixa(int nx, int N, const Linha* a, const Iguais<Linha>& iguais, const double* bp, const double* x,
                     double* res, int od, int ini, int fim, double soma) {
    const auto borda = [&](int p0, int p1) {
        for (int P = p0; P <= p1; ++P) {
            const double r = bp[P] - detalhe::produto_borda(nx, N, a[P], P, x);
            res[P - od] = r;
            soma += r * r;
        }
    };
    const int fim1 = nx < N ? nx : N;
    const int ini3 = N - nx + 1 > fim1 + 1 ? N - nx + 1 : fim1 + 1;
    borda(ini, fim < fim1 ? fim : fim1);
    // The volumes of iguais (where com_iguais) take the repeated row, the others their own.
    const auto interior = [](auto lanes, auto com_iguais, int nx, int ini, int fim, const Linha* a,
                             const Iguais<Linha>& iguais, const double* bp, const double* x, double* res, int od,
                             double soma) __attribute__((always_inline)) {
        using V = typename decltype(lanes)::tipo;
        constexpr int L = sizeof(V) / sizeof(double);
        const auto linha = detalhe::linha_repetida<V>(iguais.valor);
        V quadrados{};
        int P = ini;
        // The column and row of P, where they are needed.
        int i = 0, j = 0;
        if constexpr (decltype(com_iguais)::value) i = (P - 1) % nx + 1, j = (P - 1) / nx + 1;
        for (; P + L - 1 <= fim; P += L) {
            V r;
            if constexpr (decltype(com_iguais)::value) {
                const bool repetida = j >= iguais.j0 && j <= iguais.j1 && i >= iguais.i0 && i + L - 1 <= iguais.i1;
                r = repetida ? detalhe::residuo_com<V>(linha, nx, bp, x, P) : detalhe::residuo_v<V>(nx, a, bp, x, P);
                for (i += L; i > nx; i -= nx) ++j;
            } else {
                r = detalhe::residuo_v<V>(nx, a, bp, x, P);
            }
            detalhe::guarda(res + (P - od), r);
            if constexpr (ordenada)
                for (int k = P - od; k < P - od + L; ++k) soma += res[k] * res[k];
            else
                quadrados += r * r;
        }
        for (; P <= fim; ++P) {
            const double r = detalhe::residuo_v<double>(nx, a, bp, x, P);
            res[P - od] = r;
            soma += r * r;
        }
        if constexpr (!ordenada)
            for (int k = 0; k < L; ++k) soma += quadrados[k];
        return soma;
    };
    const int i2 = ini > fim1 + 1 ? ini : fim1 + 1, f2 = fim < N - nx ? fim : N - nx;
    if (i2 <= f2) {
        if (!iguais.vazio())
            soma = nas_larguras(interior, std::true_type{}, nx, i2, f2, a, iguais, bp, x, res, od, soma);
        else
            soma = nas_larguras(interior, std::false_type{}, nx, i2, f2, a, iguais, bp, x, res, od, soma);
    }
    borda(ini > ini3 ? ini : ini3, fim);
    return soma;
}

// Where MSI's corrections keep y: row j of it lacuna * (j - 1) entries on (see lacuna_de_y), and
// the neighbours of the volume of column i whose y is at Y, those across a row's end included.
// Without gaps (com_lacuna false, lacuna 0) the layout is the grid's and the tests fold away.
template <bool com_lacuna>
struct LinhasDeY {
    int nx, lacuna;
    int em(int P, int j) const { return com_lacuna ? P + lacuna * (j - 1) : P; }
    int sul(int Y) const { return Y - nx - (com_lacuna ? lacuna : 0); }
    // For the last column, the first of its own row.
    int sudeste(int Y, int i) const { return !com_lacuna || i < nx ? sul(Y) + 1 : Y - nx + 1; }
    // For the first column, the last of the row below.
    int oeste(int Y, int i) const { return !com_lacuna || i > 1 ? Y - 1 : Y - 1 - lacuna; }
};

// f(a, b) with a and b as std::bool_constant: a band's loop built for each case, so that the
// loop of a case without repeated factors or gaps tests neither.
template <typename F>
decltype(auto) com_opcoes(bool a, bool b, const F& f) {
    using V = std::true_type;
    using N = std::false_type;
    if (a) return b ? f(V{}, V{}) : f(V{}, N{});
    return b ? f(N{}, V{}) : f(N{}, N{});
}

// The steps t = 0, 1, ... of a band of B rows in which row k is 2k columns behind row 0.
// While rows enter or leave the grid, parcial(t) takes the step one volume at a time; in
// between, every row is inside it, and two rows share a vector register: dois(q, t, o1, o2)
// gives rows 2q and 2q+1 at step t from o1 and o2, the values of all the pairs at steps t - 1
// and t - 2. A row's neighbours in the row before it (two columns ahead) are that row's values
// of the last two steps, so they pass in registers rather than through memory, off the chain of
// the recurrence. guardado holds each row's last value between the two kinds of step, and
// valor(k, t) reads row k's value of step t back from memory.
template <int B, typename Parcial, typename Valor, typename Dois>
__attribute__((always_inline)) inline void passos_da_banda(int nx, double (&guardado)[B], Parcial parcial,
                                                           Valor valor, Dois dois) {
    using detalhe::par;
    const int fim = nx + 2 * (B - 1);
    int t = 0;
    for (; t < 2 * B - 1 && t < fim; ++t) parcial(t);
    if (t <= nx - 1) {
        par o1[B / 2], o2[B / 2];
        for (int q = 0; q < B / 2; ++q) {
            o1[q] = par{guardado[2 * q], guardado[2 * q + 1]};
            // The last row's value two steps back would lie before its row, and no row reads it.
            o2[q] = par{valor(2 * q, t - 2), 2 * q + 1 < B - 1 ? valor(2 * q + 1, t - 2) : 0.0};
        }
        for (; t <= nx - 1; ++t)
            // From the last pair down, so that a pair reads the one below as it was before the step.
#pragma GCC unroll 8
            for (int q = B / 2 - 1; q >= 0; --q) {
                const par v = dois(q, t, o1, o2);
                o2[q] = o1[q];
                o1[q] = v;
            }
        for (int q = 0; q < B / 2; ++q) {
            guardado[2 * q] = o1[q][0];
            guardado[2 * q + 1] = o1[q][1];
        }
    }
    for (; t < fim; ++t) parcial(t);
}

// The neighbours in the row before of the pair q: lane 0 (row 2q) takes lane 1 of pair q - 1,
// lane 1 takes lane 0 of its own pair; for q = 0, lane 0 takes the row below the band, from
// memory.
__attribute__((always_inline)) inline detalhe::par do_par_anterior(const detalhe::par* o, int q, double abaixo) {
    using detalhe::par;
    return q == 0 ? par{abaixo, o[0][0]} : __builtin_shufflevector(o[q - 1], o[q], 1, 2);
}

// Forward substitution y = L^-1 res. Row 1 runs alone; the other rows advance in bands as a
// wavefront, each row two columns behind the row below (it needs the south and south-east
// values), each keeping its last value (the next one's west neighbour) at hand. The first
// volume of a row also reads the last volume of the row below through d; the discretization
// makes d zero there, and the value is then taken without waiting, provided it is the same
// whatever the sign of that zero product: a band where it is not, or where the value read
// turns out not finite, is done again in the plain order.
// traz(t) is called once at each step where two rows share a register: it may ask for what comes
// after the band, while the band's steps wait on their chains rather than on memory (the caller
// decides where that pays: see avanco).
template <int B, bool com_iguais, bool com_lacuna, typename Traz>
bool avanco_banda(int nx, int j0, const FatorL* msi_L, const Iguais<FatorL>& iguais, const double* res, int od,
                  double* y, int lacuna_dada, const Traz& traz, bool abaixo_pronto = true) {
    const LinhasDeY<com_lacuna> ly{nx, lacuna_dada};
    double oeste[B];
    int base[B];
    for (int k = 0; k < B; ++k) base[k] = (j0 + k - 1) * nx;
    const auto em_y = [&](int k, int P) { return ly.em(P, j0 + k); };
    // The steps at which both rows of pair q stand on factors of iguais (row 2q at column
    // 1 + t - 4q, row 2q + 1 two columns behind): their factors come from registers.
    int t0[B / 2], t1[B / 2];
    for (int q = 0; q < B / 2; ++q) {
        const bool linhas = j0 + 2 * q >= iguais.j0 && j0 + 2 * q + 1 <= iguais.j1;
        t0[q] = linhas ? iguais.i0 + 1 + 4 * q : 1;
        t1[q] = linhas ? iguais.i1 - 1 + 4 * q : 0;
    }
    bool ok = true;
    const auto passo = [&](int k, int i) {
        const int P = base[k] + i, Y = em_y(k, P);
        const FatorL& L = msi_L[P];
        if (i > 1) {
            oeste[k] = y[Y] = avanca(res[P - od], L.e, L.d, L.c, L.b, oeste[k], y[ly.sudeste(Y, i)], y[ly.sul(Y)]);
        } else if (k == 0 && abaixo_pronto) {
            oeste[k] = y[Y] =
                avanca(res[P - od], L.e, L.d, L.c, L.b, y[ly.oeste(Y, i)], y[ly.sudeste(Y, i)], y[ly.sul(Y)]);
        } else {
            const double mais = ((res[P - od] - 0.0) - L.c * y[ly.sudeste(Y, i)]) - L.b * y[ly.sul(Y)];
            const double menos = ((res[P - od] - -0.0) - L.c * y[ly.sudeste(Y, i)]) - L.b * y[ly.sul(Y)];
            ok = ok && L.d == 0.0 && mesmos_bits(mais, menos);
            oeste[k] = y[Y] = mais / L.e;
        }
    };
    const auto parcial = [&](int t) {
        for (int k = 0; k < B; ++k) {
            const int i = 1 + t - 2 * k;
            if (i >= 1 && i <= nx) passo(k, i);
        }
    };
    // Where the rows are inside the grid, row 2q at column i and row 2q+1 at column i - 2 share a
    // register, their coefficients gathered lane by lane, with one packed division.
    const auto dois = [&](int q, int t, const detalhe::par* o1, const detalhe::par* o2) {
        using detalhe::par;
        if (q == B / 2 - 1) traz(t);
        const int P0 = base[2 * q] + 1 + t - 4 * q, P1 = base[2 * q + 1] - 1 + t - 4 * q;
        par e, d, c, b;
        if (com_iguais && t >= t0[q] && t <= t1[q]) {
            const FatorL& L = iguais.valor;
            e = par{L.e, L.e}, d = par{L.d, L.d}, c = par{L.c, L.c}, b = par{L.b, L.b};
        } else {
            const par ed0 = detalhe::carrega(&msi_L[P0].e), cb0 = detalhe::carrega(&msi_L[P0].c);
            const par ed1 = detalhe::carrega(&msi_L[P1].e), cb1 = detalhe::carrega(&msi_L[P1].c);
            e = __builtin_shufflevector(ed0, ed1, 0, 2), d = __builtin_shufflevector(ed0, ed1, 1, 3);
            c = __builtin_shufflevector(cb0, cb1, 0, 2), b = __builtin_shufflevector(cb0, cb1, 1, 3);
        }
        const par r = par{res[P0 - od], res[P1 - od]};
        // South-east: the row before one step back; south: two steps back.
        const int Y0 = em_y(2 * q, P0), Y1 = em_y(2 * q + 1, P1);
        const par se = do_par_anterior(o1, q, y[ly.sudeste(Y0, 1 + t - 4 * q)]),
                  sul = do_par_anterior(o2, q, y[ly.sul(Y0)]);
        const par v = avanca(r, e, d, c, b, o1[q], se, sul);
        y[Y0] = v[0];
        y[Y1] = v[1];
        return v;
    };
    const auto valor = [&](int k, int t) { return y[em_y(k, base[k] + 1 + t - 2 * k)]; };
    passos_da_banda<B>(nx, oeste, parcial, valor, dois);
    // The last volume of the row below row k.
    for (int k = abaixo_pronto ? 1 : 0; ok && k < B; ++k) ok = std::isfinite(y[em_y(k - 1, base[k])]);
    return ok;
}

// Before the forward substitution takes the rows of volumes ini..fim it calls prepara(ini, fim,
// od), which computes their residual into res at P - od; SemResiduo, for a res that holds every
// row's already, computes nothing. A preparer whose `janela` is true has res hold one band's rows
// at a time (od then shifts with the band); otherwise od is 0. While a band runs, prepara.traz(P)
// may ask for what the residual of volumes P..P+7 (of a later band) will read.
struct SemResiduo {
    static constexpr bool janela = false;
    static constexpr bool sempre_traz = false;
    void operator()(int, int, int) const {}
    __attribute__((always_inline)) void traz(int) const {}
};

template <bool em_janela, typename F, typename T>
struct Residuo {
    static constexpr bool janela = em_janela;
    static constexpr bool sempre_traz = false;
    F f;
    T t;
    void operator()(int ini, int fim, int od) const { f(ini, fim, od); }
    __attribute__((always_inline)) void traz(int P) const { t(P); }
};

template <bool em_janela, typename F, typename T>
Residuo<em_janela, F, T> residuo_de(F f, T t) {
    return {f, t};
}

// A residual already whole in res, computed on another core: the steps ask for its lines ahead.
struct ResiduoPronto {
    static constexpr bool janela = false;
    static constexpr bool sempre_traz = true;
    const double* res;
    void operator()(int, int, int) const {}
    __attribute__((always_inline)) void traz(int P) const { __builtin_prefetch(res + P); }
};

// y = L^-1 res, the rows taken in order: row 1, then bands of banda_avanco rows, then the rows
// left; y of row j lies lacuna * (j - 1) entries on (see lacuna_de_y). Where `prepara` computes
// the residual into a window and there are bands (three columns or more), res is a window of one
// band's rows, each band's residual computed into it right before the band.
constexpr int banda_avanco = 8;

// The entries MSI's corrections leave unused after each row of y: the fewest (up to 15) with
// which no five rows of a band, each two columns behind the one before, share a set of the
// first-level cache (64 sets of 64 bytes). Where nx - 2 is a multiple of 512 (512 or 1024 real
// volumes a row) the eight rows would share one, and each step would evict the lines the next
// needs; four to a set (256 real volumes) cost nothing measurable.
int lacuna_de_y(int nx) {
    if (nx < 3) return 0;
    for (int lacuna = 0; lacuna < 16; ++lacuna) {
        int por_conjunto[64] = {};
        bool espalhadas = true;
        for (long k = 0; k < banda_avanco && espalhadas; ++k)
            espalhadas = ++por_conjunto[k * (nx + lacuna - 2) * static_cast<long>(sizeof(double)) / 64 % 64] <= 4;
        if (espalhadas) return lacuna;
    }
    return 0;
}

// The grids from which the substitutions ask for what comes after a band (the forward one for the
// next band's residual inputs, the backward one for the band's x): at 384² and up the first
// gained 4 to 15 %, at 256² and below nothing, and the steps' extra work then cost up to 7 % at
// 64² and 128².
constexpr int volumes_para_trazer = 1 << 17;

// f(traz), a band of B rows run with traz(t): where `trazer`, each paired step t (from 2B - 1 on)
// calls pede(P) for the next eight volumes P from primeiro up to ultimo, in order; otherwise a traz
// that asks for nothing.
template <int B, typename Pede, typename F>
bool trazendo(bool trazer, int primeiro, int ultimo, const Pede& pede, const F& f) {
    if (!trazer) return f([](int) {});
    return f([&](int t) __attribute__((always_inline)) {
        const int P = primeiro + 8 * (t - (2 * B - 1));
        if (P <= ultimo) pede(P);
    });
}

// Row 1 of the forward substitution, its volumes 1..fim1, one after another.
void avanco_linha_1(int nx, int fim1, const FatorL* msi_L, const double* res, double* y) {
    for (int P = 1; P <= fim1; ++P) {
        const FatorL& L = msi_L[P];
        double t = res[P];
        if (P - 1 >= 1) t = t - L.d * y[P - 1];
        if (P - nx + 1 >= 1) t = t - L.c * y[P - nx + 1];
        y[P] = t / L.e;
    }
}

// Whole rows of the forward substitution in the plain order, from the first volume of one (ini)
// to the last of another (fim), the residual of P at res[P - od].
void avanco_simples(int nx, const FatorL* msi_L, const double* res, int od, double* y, int lacuna, int ini, int fim) {
    const LinhasDeY<true> ly{nx, lacuna};
    for (int j = (ini - 1) / nx + 1; (j - 1) * nx + 1 <= fim; ++j)
        for (int i = 1, P = (j - 1) * nx + 1, Y = ly.em(P, j); i <= nx; ++i, ++P, ++Y) {
            const FatorL& L = msi_L[P];
            y[Y] = avanca(res[P - od], L.e, L.d, L.c, L.b, y[ly.oeste(Y, i)], y[ly.sudeste(Y, i)], y[ly.sul(Y)]);
        }
}

template <typename Prepara>
void avanco(int nx, int ny, int N, const FatorL* msi_L, const Iguais<FatorL>& iguais, const double* res, double* y,
            int lacuna, const Prepara& prepara) {
    const bool janela = Prepara::janela && nx >= 3;
    const int fim1 = nx < N ? nx : N;
    prepara(1, fim1, 0);
    avanco_linha_1(nx, fim1, msi_L, res, y);
    int od = 0;
    const auto simples = [&](int ini, int fim) { avanco_simples(nx, msi_L, res, od, y, lacuna, ini, fim); };
    constexpr int banda = banda_avanco;
    int j0 = 2;
    if (nx >= 3)
        for (; j0 + banda - 1 <= ny; j0 += banda) {
            if (janela) od = (j0 - 1) * nx;
            prepara((j0 - 1) * nx + 1, (j0 + banda - 1) * nx, od);
            // On a grid whose arrays outgrow the caches, the steps ask for the inputs of the next
            // band's residual, so that they wait in the caches rather than in memory when it comes;
            // for a residual computed on another core (sempre_traz), for its lines at every size.
            // Where the factors repeat, so do the matrix's rows, which the residual then takes from
            // registers: asking there for bp and x alone was measured to cost more than it saves.
            const auto pede = [&](int P) __attribute__((always_inline)) { prepara.traz(P); };
            const bool trazer = Prepara::sempre_traz || (iguais.vazio() && N >= volumes_para_trazer);
            const bool ok = trazendo<banda>(trazer, (j0 + banda - 1) * nx + 1, N - nx - 7, pede, [&](const auto& traz) {
                return com_opcoes(!iguais.vazio(), lacuna > 0, [&](auto com_iguais, auto com_lacuna) {
                    return avanco_banda<banda, com_iguais, com_lacuna>(nx, j0, msi_L, iguais, res, od, y, lacuna, traz);
                });
            });
            if (!ok) simples((j0 - 1) * nx + 1, (j0 + banda - 1) * nx);
        }
    if (janela) od = (j0 - 1) * nx;
    prepara((j0 - 1) * nx + 1, N, od);
    simples((j0 - 1) * nx + 1, N);
}

// Two members of a team sharing the bands of forward substitutions as a pipeline: member m
// takes the bands b = m, m + 2, ..., each some steps behind band b - 1, whose top row it reads,
// with the same operations in the same order per volume as on one thread. feito0 and feito1 say
// how far each member is in substitution k (1, 2, ...): k * por_vez + b * por_banda + the steps
// of band b done, + por_banda - 1 once the band is whole. The first volume of a band's bottom
// row reads the last of the row below, not yet computed: it is taken as within a band (see
// avanco_banda), and a band where that fails sets `falhou` to k, after which the first member
// does all the bands of substitution k again in the plain order.
struct DuplaDeBandas {
    static constexpr long long por_banda = 1LL << 24;
    static constexpr long long por_vez = 1LL << 44;
    alignas(64) std::atomic<long long> feito0{-1};
    alignas(64) std::atomic<long long> feito1{-1};
    alignas(64) std::atomic<int> falhou{0};
    std::atomic<long long>& de(int m) { return m == 0 ? feito0 : feito1; }
};

// A forward substitution is shared by two members on rows of 64 columns or more (a band's
// paired steps then outnumber the steps by which it trails the band below) and two bands at
// least.
bool em_dupla(int nx, int ny) { return nx >= 64 && ny >= 1 + 2 * banda_avanco; }

// The two members wait on each other for a band's time, about a microsecond: a yield would cost
// as much, so they spin longer before it.
constexpr int giros_do_parceiro = 4096;

// A member says how far its band is every 16 steps: a store at every step to the line the other
// member reads would hold up the stores of y behind it while the line crosses.
constexpr int passos_por_aviso = 16;

template <typename Prepara>
void avanco_em_dupla(int m, int k, DuplaDeBandas& d, int nx, int ny, int N, const FatorL* msi_L,
                     const Iguais<FatorL>& iguais, const double* res, double* y, int lacuna, const Prepara& prepara) {
    static_assert(!Prepara::janela, "the bands of two members read one residual");
    constexpr int banda = banda_avanco;
    constexpr long long pb = DuplaDeBandas::por_banda;
    const long long vez = k * DuplaDeBandas::por_vez;
    const int bandas = (ny - 1) / banda;
    if (m == 0) avanco_linha_1(nx, nx, msi_L, res, y);
    std::atomic<long long>& meu = d.de(m);
    std::atomic<long long>& outro = d.de(1 - m);
    long long visto = -1;
    const auto espera = [&](long long valor) __attribute__((always_inline)) {
        if (visto >= valor) return;
        espera_que([&] { return (visto = outro.load(std::memory_order_acquire)) >= valor; }, giros_do_parceiro);
    };
    for (int b = m; b < bandas; b += 2) {
        const int j0 = 2 + banda * b;
        // Row 0 of the band at column 1 + t reads the top row of the band below (2 (banda - 1)
        // columns behind its row 0) up to column t + 2, which that band computes at its step
        // t + 2 banda - 1. Band 0 stands on row 1, which this member has just computed.
        const auto antes_de = [&](int t) {
            return t + 2 * banda <= nx - 1 ? vez + (b - 1) * pb + t + 2 * banda : vez + b * pb - 1;
        };
        // The steps before the first paired one, 2 banda - 1 of them.
        if (b > 0) espera(antes_de(2 * banda - 2));
        const auto pede = [&](int P) __attribute__((always_inline)) { prepara.traz(P); };
        // This member's next band is two bands up.
        const bool ok = trazendo<banda>(Prepara::sempre_traz, (j0 + 2 * banda - 1) * nx + 1, N - nx - 7, pede,
                                        [&](const auto& traz) {
            const auto passo = [&](int t) __attribute__((always_inline)) {
                traz(t);
                if (t % passos_por_aviso == 0) meu.store(vez + b * pb + t, std::memory_order_release);
                if (b > 0) espera(antes_de(t));
            };
            return com_opcoes(!iguais.vazio(), lacuna > 0, [&](auto com_iguais, auto com_lacuna) {
                return avanco_banda<banda, com_iguais, com_lacuna>(nx, j0, msi_L, iguais, res, 0, y, lacuna, passo,
                                                                   b == 0);
            });
        });
        if (!ok) d.falhou.store(k, std::memory_order_relaxed);
        meu.store(vez + b * pb + pb - 1, std::memory_order_release);
    }
    if (m != 0) return;
    // The last band done means every band is: each waited for the whole band below it.
    if (bandas > 0 && (bandas - 1) % 2 == 1) espera(vez + (bandas - 1) * pb + pb - 1);
    const int j0 = 2 + banda * bandas;
    if (d.falhou.load(std::memory_order_relaxed) == k)
        avanco_simples(nx, msi_L, res, 0, y, lacuna, nx + 1, (j0 - 1) * nx);
    avanco_simples(nx, msi_L, res, 0, y, lacuna, (j0 - 1) * nx + 1, N);
}

// Backward substitution delta = U^-1 y, then x += delta: the mirror of the forward one, rows
// from the top down, each row two columns behind the row above, the last volume of a row
// reading the first of the row above through f; traz(t) as in the forward one.
template <int B, bool com_iguais, bool com_lacuna, typename Traz>
bool retrocesso_banda(int nx, int j0, const FatorU* msi_U, const Iguais<FatorU>& iguais, const double* y,
                      int lacuna_dada, double* delta, int od, const Traz& traz) {
    const LinhasDeY<com_lacuna> ly{nx, lacuna_dada};
    double leste[B];
    int base[B];
    for (int k = 0; k < B; ++k) base[k] = (j0 - k - 1) * nx;
    // y of volume P of row k of the band.
    const auto y_de = [&](int k, int P) { return y[ly.em(P, j0 - k)]; };
    // As in the forward substitution: row 2q at column nx - t + 4q, row 2q + 1 two columns behind.
    int t0[B / 2], t1[B / 2];
    for (int q = 0; q < B / 2; ++q) {
        const bool linhas = j0 - 2 * q <= iguais.j1 && j0 - 2 * q - 1 >= iguais.j0;
        t0[q] = linhas ? nx + 4 * q - iguais.i1 + 2 : 1;
        t1[q] = linhas ? nx + 4 * q - iguais.i0 : 0;
    }
    bool ok = true;
    const auto passo = [&](int k, int i) {
        const int P = base[k] + i;
        const FatorU& U = msi_U[P];
        if (i < nx) {
            leste[k] = delta[P - od] =
                recua(y_de(k, P), U.f, U.g, U.h, leste[k], delta[P + nx - 1 - od], delta[P + nx - od]);
        } else if (k == 0) {
            leste[k] = delta[P - od] =
                recua(y_de(k, P), U.f, U.g, U.h, delta[P + 1 - od], delta[P + nx - 1 - od], delta[P + nx - od]);
        } else {
            const double mais = ((y_de(k, P) - 0.0) - U.g * delta[P + nx - 1 - od]) - U.h * delta[P + nx - od];
            const double menos = ((y_de(k, P) - -0.0) - U.g * delta[P + nx - 1 - od]) - U.h * delta[P + nx - od];
            ok = ok && U.f == 0.0 && mesmos_bits(mais, menos);
            leste[k] = delta[P - od] = mais;
        }
    };
    const auto parcial = [&](int t) {
        for (int k = 0; k < B; ++k) {
            const int i = nx - t + 2 * k;
            if (i >= 1 && i <= nx) passo(k, i);
        }
    };
    const auto dois = [&](int q, int t, const detalhe::par* o1, const detalhe::par* o2) {
        using detalhe::par;
        if (q == B / 2 - 1) traz(t);
        const int P0 = base[2 * q] + nx - t + 4 * q, P1 = base[2 * q + 1] + nx - t + 4 * q + 2;
        par f, g, h;
        if (com_iguais && t >= t0[q] && t <= t1[q]) {
            const FatorU& U = iguais.valor;
            f = par{U.f, U.f}, g = par{U.g, U.g}, h = par{U.h, U.h};
        } else {
            const par fg0 = detalhe::carrega(&msi_U[P0].f), fg1 = detalhe::carrega(&msi_U[P1].f);
            f = __builtin_shufflevector(fg0, fg1, 0, 2), g = __builtin_shufflevector(fg0, fg1, 1, 3);
            h = par{msi_U[P0].h, msi_U[P1].h};
        }
        const par r = par{y_de(2 * q, P0), y_de(2 * q + 1, P1)};
        // North-west: the row before one step back; north: two steps back.
        const par no = do_par_anterior(o1, q, delta[P0 + nx - 1 - od]), n = do_par_anterior(o2, q, delta[P0 + nx - od]);
        const par v = recua(r, f, g, h, o1[q], no, n);
        delta[P0 - od] = v[0];
        delta[P1 - od] = v[1];
        return v;
    };
    const auto valor = [&](int k, int t) { return delta[base[k] + nx - t + 2 * k - od]; };
    passos_da_banda<B>(nx, leste, parcial, valor, dois);
    for (int k = 1; ok && k < B; ++k) ok = std::isfinite(delta[base[k] + nx + 1 - od]);
    return ok;
}

// The corrections of a band of rows and of the row above it are all the substitution reads: with
// three columns or more they live in a window of banda_retrocesso + 1 rows (the correction of P
// at delta[P - od]), the band's bottom row moved to the window's top before the next band, so
// that they stay in the nearest cache rather than filling an array of the grid's size.
constexpr int banda_retrocesso = 6;

std::size_t tamanho_de_delta(int nx, std::size_t n) {
    const auto janela = static_cast<std::size_t>(banda_retrocesso + 1) * static_cast<std::size_t>(nx) + 1;
    return nx >= 3 ? janela : n;
}

// x += delta at the volumes ini..fim (the correction of P at delta[P - od]), as many at a time as
// the widest vector holds: each sum is the plain loop's.
void soma_correcao(double* x, const double* delta, int od, int ini, int fim) {
    nas_larguras([](auto lanes, double* x, const double* delta, int od, int ini, int fim)
                     __attribute__((always_inline)) {
        using V = typename decltype(lanes)::tipo;
        constexpr int L = sizeof(V) / sizeof(double);
        int P = ini;
        // One by one up to where x's vectors start on their width, so that no store of a vector
        // writes two cache lines.
        for (; P <= fim && reinterpret_cast<std::uintptr_t>(x + P) % sizeof(V) != 0; ++P) x[P] = x[P] + delta[P - od];
        for (; P + L - 1 <= fim; P += L)
            detalhe::guarda(x + P, detalhe::carrega<V>(x + P) + detalhe::carrega<V>(delta + (P - od)));
        for (; P <= fim; ++P) x[P] = x[P] + delta[P - od];
    }, x, delta, od, ini, fim);
}

// pronta(j) is called whenever x is final from row j up: after each band, and with 1 at the end.
// A caller that asks for it has another core read x.
struct SemAviso {
    void operator()(int) const {}
};

template <typename Pronta = SemAviso>
void retrocesso(int nx, int ny, int N, const FatorU* msi_U, const Iguais<FatorU>& iguais, const double* y,
                int lacuna, double* delta, double* x, const Pronta& pronta = {}) {
    // x is asked for where the arrays outgrow the caches (the factors then come from memory), or
    // where another core reads it: then with prefetchw, since the stores would otherwise wait for
    // the other core's copies to be given up.
    constexpr bool lido_fora = !std::is_same_v<Pronta, SemAviso>;
    const bool trazer_x = lido_fora || (iguais.vazio() && N >= volumes_para_trazer), w = lido_fora && tem_prefetchw();
    constexpr int banda = banda_retrocesso;
    const bool janela = nx >= 3;
    int j0 = ny - 1;
    // Row j0 + 1 is the window's top row.
    int od = janela ? (j0 - banda) * nx : 0;
    const LinhasDeY<true> ly{nx, lacuna};
    for (int P = N; P >= (ny - 1) * nx + 1 && P >= 1; --P) {
        const FatorU& U = msi_U[P];
        double t = y[ly.em(P, ny)];
        if (P + 1 <= N) t = t - U.f * delta[P + 1 - od];
        if (P + nx - 1 <= N) t = t - U.g * delta[P + nx - 1 - od];
        delta[P - od] = t;
        x[P] = x[P] + delta[P - od];
    }
    // Whole rows, from the last volume of one down to the first of another.
    const auto simples = [&](int fim, int ini) {
        for (int j = (fim - 1) / nx + 1; fim >= ini && j * nx >= ini; --j)
            for (int P = j * nx; P >= (j - 1) * nx + 1; --P) {
                const FatorU& U = msi_U[P];
                delta[P - od] =
                    recua(y[ly.em(P, j)], U.f, U.g, U.h, delta[P + 1 - od], delta[P + nx - 1 - od], delta[P + nx - od]);
            }
    };
    if (janela)
        for (; j0 - banda + 1 >= 1; j0 -= banda) {
            // On a grid whose arrays outgrow the caches, the steps ask for x of the band's volumes,
            // to be written, so that the sum after the band finds them at hand.
            const auto pede = [&](int P) __attribute__((always_inline)) { detalhe::traz_para_escrever(x + P, w); };
            const bool ok = trazendo<banda>(trazer_x, (j0 - banda) * nx + 1, j0 * nx - 7, pede,
                                            [&](const auto& traz) {
                return com_opcoes(!iguais.vazio(), lacuna > 0, [&](auto com_iguais, auto com_lacuna) {
                    return retrocesso_banda<banda, com_iguais, com_lacuna>(nx, j0, msi_U, iguais, y, lacuna, delta, od,
                                                                           traz);
                });
            });
            if (!ok) simples(j0 * nx, (j0 - banda) * nx + 1);
            // x is not read by the substitution: adding the corrections after the band is the same.
            soma_correcao(x, delta, od, (j0 - banda) * nx + 1, j0 * nx);
            // The band's bottom row is the row above the next band.
            std::memcpy(delta + banda * nx + 1, delta + 1, static_cast<std::size_t>(nx) * sizeof(double));
            od -= banda * nx;
            pronta(j0 - banda + 1);
        }
    simples(j0 * nx, 1);
    soma_correcao(x, delta, od, 1, j0 * nx);
    pronta(1);
}

}  // namespace

void msi_avanco(int nx, int ny, int N, const FatorL* msi_L, const double* res, double* y) {
    if (traducao() == Traducao::literal) return literal::msi_avanco(nx, ny, N, msi_L, res, y);
    Equipe* e = em_dupla(nx, ny) && por_linhas_divide(ny, nx) ? equipe_atual() : nullptr;
    if (e == nullptr) return avanco(nx, ny, N, msi_L, Iguais<FatorL>{}, res, y, 0, SemResiduo{});
    DuplaDeBandas d;
    e->executa([&](int m) {
        if (m < 2) avanco_em_dupla(m, 1, d, nx, ny, N, msi_L, Iguais<FatorL>{}, res, y, 0, SemResiduo{});
    });
}

void msi_fatores(const Sistema& s, FatorL* msi_L, FatorU* msi_U) {
    if (traducao() == Traducao::literal) return literal::msi_fatores(s, msi_L, msi_U);
    const int nx = s.nx, ny = s.ny, N = s.N;
    const Linha* a = s.a;
    // Row 1 has no neighbours to the south: factor entries outside 1..N count as 0.
    const auto f = [&](int Q) { return Q >= 1 && Q <= N ? msi_U[Q].f : 0.0; };
    const auto g = [&](int Q) { return Q >= 1 && Q <= N ? msi_U[Q].g : 0.0; };
    const auto h = [&](int Q) { return Q >= 1 && Q <= N ? msi_U[Q].h : 0.0; };
    for (int P = 1; P <= (nx < N ? nx : N); ++P)
        fatora(a[P], alfa_msi(nx, ny, P, 1), f(P - nx), f(P - nx + 1), g(P - nx), g(P - 1), h(P - nx),
               g(P - nx + 1), f(P - 1), h(P - nx + 1), h(P - 1), msi_L[P], msi_U[P]);
    const auto volume = [&](int i, int j, FatorL& L, FatorU& U) {
        const int P = (j - 1) * nx + i;
        const FatorU &S = msi_U[P - nx], &SE = msi_U[P - nx + 1], &W = msi_U[P - 1];
        fatora(a[P], alfa_msi(nx, ny, i, j), S.f, SE.f, S.g, W.g, S.h, SE.g, W.f, SE.h, W.h, L, U);
    };
    const auto linhas = [&](int j0, int j1) {
        for (int j = j0; j <= j1; ++j)
            for (int i = 1; i <= nx; ++i) volume(i, j, msi_L[(j - 1) * nx + i], msi_U[(j - 1) * nx + i]);
    };
    // The rows from 2 on advance in bands as a wavefront, each row two columns behind the row
    // below (a volume needs its south and south-east neighbours). The first volume of a row also
    // reads the last one of the row below, not yet computed: it takes what the arrays hold, and
    // once the band is done it is computed again from the final values; where a single bit
    // differs the band is done again in the plain order.
    constexpr int banda = 8;
    const auto parcial = [&](int j0, int t) {
        for (int k = 0; k < banda; ++k) {
            const int i = 1 + t - 2 * k;
            if (i >= 1 && i <= nx) volume(i, j0 + k, msi_L[(j0 + k - 1) * nx + i], msi_U[(j0 + k - 1) * nx + i]);
        }
    };
    // Where every row of the band is past its first volume and short of the end of the grid, two
    // rows go in the lanes of a vector register, row 2q at column i and row 2q+1 at column i - 2.
    using detalhe::carrega;
    using detalhe::par;
    const auto dois = [&](int q, int j0, int t) {
        const int i0 = 1 + t - 4 * q, i1 = i0 - 2, j = j0 + 2 * q;
        const int P0 = (j - 1) * nx + i0, P1 = j * nx + i1;
        const par sw0 = carrega(&a[P0].as), pe0 = carrega(&a[P0].ap);
        const par sw1 = carrega(&a[P1].as), pe1 = carrega(&a[P1].ap);
        const auto fgh = [&](int Q0, int Q1, par& f, par& g, par& h) {
            const par fg0 = carrega(&msi_U[Q0].f), fg1 = carrega(&msi_U[Q1].f);
            f = __builtin_shufflevector(fg0, fg1, 0, 2);
            g = __builtin_shufflevector(fg0, fg1, 1, 3);
            h = par{msi_U[Q0].h, msi_U[Q1].h};
        };
        par fS, gS, hS, fSE, gSE, hSE, fW, gW, hW;
        fgh(P0 - nx, P1 - nx, fS, gS, hS);
        fgh(P0 - nx + 1, P1 - nx + 1, fSE, gSE, hSE);
        fgh(P0 - 1, P1 - 1, fW, gW, hW);
        const Fatores<par> F =
            fatora(__builtin_shufflevector(sw0, sw1, 0, 2), __builtin_shufflevector(sw0, sw1, 1, 3),
                   __builtin_shufflevector(pe0, pe1, 0, 2), __builtin_shufflevector(pe0, pe1, 1, 3),
                   par{a[P0].an, a[P1].an}, par{alfa_msi(nx, ny, i0, j), alfa_msi(nx, ny, i1, j + 1)}, fS, fSE, gS, gW,
                   hS, gSE, fW, hSE, hW);
        msi_L[P0] = FatorL{F.e[0], F.d[0], F.c[0], F.b[0]};
        msi_L[P1] = FatorL{F.e[1], F.d[1], F.c[1], F.b[1]};
        msi_U[P0] = FatorU{F.f[0], F.g[0], F.h[0]};
        msi_U[P1] = FatorU{F.f[1], F.g[1], F.h[1]};
    };
    int j0 = 2;
    if (nx >= 3)
        for (; j0 + banda - 1 <= ny; j0 += banda) {
            int t = 0;
            for (; t < 2 * banda - 1 && t < nx + 2 * (banda - 1); ++t) parcial(j0, t);
            for (; t <= nx - 1; ++t)
                for (int q = 0; q < banda / 2; ++q) dois(q, j0, t);
            for (; t < nx + 2 * (banda - 1); ++t) parcial(j0, t);
            bool ok = true;
            for (int k = 1; ok && k < banda; ++k) {
                const int P = (j0 + k - 1) * nx + 1;
                FatorL L;
                FatorU U;
                volume(1, j0 + k, L, U);
                ok = std::memcmp(&L, &msi_L[P], sizeof L) == 0 && std::memcmp(&U, &msi_U[P], sizeof U) == 0;
            }
            if (!ok) linhas(j0, j0 + banda - 1);
        }
    linhas(j0, ny);
}

namespace {

// The entries of v equal to the one at the grid's centre, bit for bit: in each row of the run of
// them along the centre column, the run along the row through the centre column; of the
// rectangles these runs hold, the largest that holds the centre.
template <typename T>
Iguais<T> iguais_ao_centro(int nx, int ny, const T* v) {
    const int ic = (nx + 1) / 2, jc = (ny + 1) / 2;
    Iguais<T> g;
    g.valor = v[(jc - 1) * nx + ic];
    const auto igual = [&](int i, int j) { return std::memcmp(&v[(j - 1) * nx + i], &g.valor, sizeof(T)) == 0; };
    int j0 = jc, j1 = jc;
    while (j0 > 1 && igual(ic, j0 - 1)) --j0;
    while (j1 < ny && igual(ic, j1 + 1)) ++j1;
    std::vector<int> de(static_cast<std::size_t>(ny) + 1), ate(de.size());
    for (int j = j0; j <= j1; ++j) {
        int a = ic, b = ic;
        while (a > 1 && igual(a - 1, j)) --a;
        while (b < nx && igual(b + 1, j)) ++b;
        de[static_cast<std::size_t>(j)] = a;
        ate[static_cast<std::size_t>(j)] = b;
    }
    long long maior = 0;
    int a = 1, b = nx;
    for (int jb = jc; jb >= j0; --jb) {
        a = std::max(a, de[static_cast<std::size_t>(jb)]);
        b = std::min(b, ate[static_cast<std::size_t>(jb)]);
        // Rows jb..jt, for each jt from the centre up.
        int a2 = a, b2 = b;
        for (int jt = jc; jt <= j1; ++jt) {
            a2 = std::max(a2, de[static_cast<std::size_t>(jt)]);
            b2 = std::min(b2, ate[static_cast<std::size_t>(jt)]);
            const long long area = static_cast<long long>(b2 - a2 + 1) * (jt - jb + 1);
            if (area > maior) {
                maior = area;
                g.i0 = a2, g.i1 = b2, g.j0 = jb, g.j1 = jt;
            }
        }
    }
    return g;
}

void correcoes(const Sistema& s, const FatorL* msi_L, const FatorU* msi_U, const Repeticoes& iguais, double* x,
               double tol, int nit, Trabalho& t);

}  // namespace

void msi(const Sistema& s, const Controles& k, double* x, Trabalho& t) {
    if (traducao() == Traducao::literal) return literal::msi(s, k, x, t);
    const auto n = static_cast<std::size_t>(s.N) + 1;
    // With a single column the factorization reads the entry it is about to write (the
    // south-east neighbour is the volume itself), so its factors also depend on what the arrays
    // held: they are kept only for wider grids.
    if (k.matriz_fixa && s.nx >= 2) {
        // The factors are then a function of the matrix's bytes and the grid's counts alone:
        // those kept for the same bytes are the ones that factoring again would give.
        Trabalho::FatoresGuardados& g = t.msi_fixa;
        const std::size_t bytes = static_cast<std::size_t>(s.N) * sizeof(Linha);
        const bool mesma = g.nx == s.nx && g.ny == s.ny && g.a.size() >= n && g.fatoracoes > 0 &&
                           std::memcmp(g.a.data() + 1, s.a + 1, bytes) == 0;
        if (!mesma) {
            if (g.L.size() < n) g.L.resize(n);
            if (g.U.size() < n) g.U.resize(n);
            if (g.a.size() < n) g.a.resize(n);
            msi_fatores(s, g.L.data(), g.U.data());
            std::memcpy(g.a.data() + 1, s.a + 1, bytes);
            g.iguais = Repeticoes{iguais_ao_centro(s.nx, s.ny, s.a), iguais_ao_centro(s.nx, s.ny, g.L.data()),
                                  iguais_ao_centro(s.nx, s.ny, g.U.data())};
            g.nx = s.nx;
            g.ny = s.ny;
            ++g.fatoracoes;
        }
        correcoes(s, g.L.data(), g.U.data(), g.iguais, x, k.tol, k.nit, t);
        return;
    }
    if (t.msi_L.size() < n) t.msi_L.resize(n);
    if (t.msi_U.size() < n) t.msi_U.resize(n);
    // The factors always belong to the current matrix: those of the call before where it is the
    // same matrix (the v equation's after u's), on the same grid of two columns or more.
    const bool fatorada = k.matriz_anterior && s.nx >= 2 && t.msi_fatorada.nx == s.nx && t.msi_fatorada.ny == s.ny;
    if (!fatorada) {
        msi_fatores(s, t.msi_L.data(), t.msi_U.data());
        t.msi_fatorada = {s.nx, s.ny};
    }
    msi_correcoes(s, t.msi_L.data(), t.msi_U.data(), x, k.tol, k.nit, t);
}

void msi_correcoes(const Sistema& s, const FatorL* msi_L, const FatorU* msi_U, double* x, double tol, int nit,
                   Trabalho& t) {
    if (traducao() == Traducao::literal) return literal::msi_correcoes(s, msi_L, msi_U, x, tol, nit, t);
    correcoes(s, msi_L, msi_U, Repeticoes{}, x, tol, nit, t);
}

namespace {

// On a team, the residuals after the first are computed by a second member while the first takes
// the substitutions: the residual of a row needs x final in it and in the rows beside it, and the
// backward substitution makes x final from the top down, band by band; the member computing the
// residuals follows it down, and the forward substitution starts from row 1 once the residual is
// whole. Each residual is the same function of x as on one thread, and its squares are added lane
// by lane, which the stop test's bounds allow in any order. On rows wide enough, the second
// member then takes every other band of the forward substitution (see avanco_em_dupla).
struct Parceiro {
    int ny;
    bool em_dupla;
    DuplaDeBandas dupla;
    double* res;                        // the later residuals, whole
    std::atomic<long long> x_final{0};  // marca(k, j): in correction k, x final from row j up
    std::atomic<int> residuos{0};       // corrections after which the residual is whole in res
    std::atomic<bool> fim{false};       // the substitutions have stopped
    double soma = 0.0;                  // the squares of the last residual, lane by lane
    long long marca(int k, int j) const { return static_cast<long long>(k - 1) * (ny + 1) + (ny - j + 1); }
};

void residuos_do_parceiro(Parceiro& p, const Sistema& s, const Iguais<Linha>& iguais, const double* x,
                          int limite_it, const FatorL* msi_L, const Iguais<FatorL>& iguais_L, double* y, int lacuna) {
    const int nx = s.nx, ny = s.ny, N = s.N;
    for (int k = 1; k < limite_it; ++k) {
        double soma = 0.0;
        // Rows j..proxima are next, j the lowest whose neighbours are final.
        for (int proxima = ny; proxima >= 1;) {
            int j = 0;
            espera_que([&] {
                const long long feitas = p.x_final.load(std::memory_order_acquire) - p.marca(k, ny + 1);
                j = feitas >= ny ? 1 : static_cast<int>(ny - feitas + 2);
                return (feitas >= 0 && j <= proxima) || p.fim.load(std::memory_order_acquire);
            }, giros_do_parceiro);
            if (p.fim.load(std::memory_order_relaxed)) return;
            soma = residuo_faixa<false>(nx, N, s.a, iguais, s.bp, x, p.res, 0, (j - 1) * nx + 1, proxima * nx, soma);
            proxima = j - 1;
        }
        p.soma = soma;
        p.residuos.store(k, std::memory_order_release);
        if (p.em_dupla)
            avanco_em_dupla(1, k, p.dupla, nx, ny, N, msi_L, iguais_L, p.res, y, lacuna, ResiduoPronto{p.res});
    }
}

void correcoes(const Sistema& s, const FatorL* msi_L, const FatorU* msi_U, const Repeticoes& iguais, double* x,
               double tol, int nit, Trabalho& t, Parceiro* parceiro);

void correcoes(const Sistema& s, const FatorL* msi_L, const FatorU* msi_U, const Repeticoes& iguais, double* x,
               double tol, int nit, Trabalho& t) {
    const int limite_it = correcoes_permitidas(nit);
    // A team where there are later residuals, bands, and rows enough for the team's loops, and
    // where the cycle has not found that handing them over costs more than it saves.
    Equipe* e = parceiro_permitido() && s.nx >= 3 && limite_it >= 2 && por_linhas_divide(s.ny, s.nx) ? equipe_atual()
                                                                                                     : nullptr;
    if (e == nullptr) return correcoes(s, msi_L, msi_U, iguais, x, tol, nit, t, nullptr);
    Parceiro p;
    p.ny = s.ny;
    p.res = t.vetor(3, static_cast<std::size_t>(s.N) + 1);
    p.em_dupla = em_dupla(s.nx, s.ny);
    // The same array the corrections take for y.
    double* y = t.vetor(1, tamanho_de_y(s.nx, s.ny));
    // An exception (an array that cannot grow) ends the second member's wait too, and is thrown
    // once both have returned.
    std::exception_ptr erro;
    e->executa([&](int m) {
        if (m == 0) {
            try {
                correcoes(s, msi_L, msi_U, iguais, x, tol, nit, t, &p);
            } catch (...) {
                erro = std::current_exception();
            }
            p.fim.store(true, std::memory_order_release);
        } else if (m == 1) {
            residuos_do_parceiro(p, s, iguais.a, x, limite_it, msi_L, iguais.L, y, lacuna_de_y(s.nx));
        }
    });
    if (erro) std::rethrow_exception(erro);
}

void correcoes(const Sistema& s, const FatorL* msi_L, const FatorU* msi_U, const Repeticoes& iguais, double* x,
               double tol, int nit, Trabalho& t, Parceiro* parceiro) {
    const int nx = s.nx, ny = s.ny, N = s.N;
    const Linha* a = s.a;
    const double* bp = s.bp;
    const int limite_it = correcoes_permitidas(nit);
    const std::size_t n = static_cast<std::size_t>(N) + 1;
    // Each residual is computed band by band just before the forward substitution takes the band,
    // and read back from the nearest cache. The first one is kept whole in res (the limit may need
    // it); with three columns or more the later ones go into a window of one band's rows placed
    // after the window of the corrections, and otherwise into res.
    const bool janelas = nx >= 3;
    const std::size_t n_delta = tamanho_de_delta(nx, n);
    double* res = t.vetor(0, n);
    const int lacuna = lacuna_de_y(nx);
    double* y = t.vetor(1, tamanho_de_y(nx, ny));
    double* delta = t.vetor(2, janelas ? n_delta + static_cast<std::size_t>(banda_avanco) * nx + 1 : n_delta);
    double* res_k = janelas ? delta + n_delta : res;
    // With a single column a substitution reads its own entry (the south-east neighbour of the
    // forward one, the north-west of the backward one) before it writes it: the value of the
    // correction before, and 0 in the first. With more columns every entry is written first.
    if (nx == 1) {
        std::fill(y, y + n, 0.0);  // no gaps with one column
        std::fill(delta, delta + n, 0.0);
    }
    // The squares are added lane by lane: the same products in another order, and any order of
    // adding N non-negative terms lies within a relative (N - 1)u/(1 - (N - 1)u) of their exact
    // sum (u the unit roundoff). 8 N u covers both sums' errors and the roundings of the bounds
    // themselves; sqrt and the product by tol >= 0 round monotonically, so bounds on a sum are
    // bounds on its norm and on the limit.
    const double folga = 8.0 * static_cast<double>(N) * 0x1p-53;
    double soma = 0.0;
    const auto faixa = [&](double* r) {
        return [&, r](int ini, int fim, int od) {
            soma = residuo_faixa<false>(nx, N, a, iguais.a, bp, x, r, od, ini, fim, soma);
        };
    };
    const auto traz = [&](int P) __attribute__((always_inline)) { detalhe::traz_para_residuo(nx, a, bp, x, P); };

    // The first residual sets the limit, sqrt(its sum in numbering order) * tol; until a
    // comparison needs that value exactly, the bounds of the lane sum stand for it.
    avanco(nx, ny, N, msi_L, iguais.L, res, y, lacuna, residuo_de<false>(faixa(res), traz));
    double limite_baixo = 0.0, limite_alto = 0.0;
    bool exato = false;
    const auto limite_exato = [&] {
        double s0 = 0.0;
        for (std::size_t P = 1; P < n; ++P) s0 += res[P] * res[P];
        limite_baixo = limite_alto = std::sqrt(s0) * tol;
        exato = true;
    };
    // Where the later residuals take res, the first one is summed in order before they do.
    if (janelas && std::isfinite(soma) && tol >= 0.0) {
        limite_baixo = std::sqrt(soma * (1.0 - folga)) * tol;
        limite_alto = std::sqrt(soma * (1.0 + folga)) * tol;
    } else {
        limite_exato();
    }
    for (int k = 1;; ++k) {
        if (parceiro != nullptr)
            retrocesso(nx, ny, N, msi_U, iguais.U, y, lacuna, delta, x, [&](int j) {
                parceiro->x_final.store(parceiro->marca(k, j), std::memory_order_release);
            });
        else
            retrocesso(nx, ny, N, msi_U, iguais.U, y, lacuna, delta, x);
        // After the last correction allowed the residual would only be compared: x is final.
        if (k == limite_it) break;
        // The next forward substitution is taken with the residual, before the stop test reads
        // the residual's norm: where the test stops, y is left unused. The lane sum decides the
        // comparison unless the sum in numbering order, or the exact limit, could fall on the
        // other side; the first residual (still whole in res) gives the exact limit, and then
        // the residual computed again over the whole grid the sum in order.
        soma = 0.0;
        if (parceiro != nullptr) {
            espera_que([&] { return parceiro->residuos.load(std::memory_order_acquire) >= k; }, giros_do_parceiro);
            soma = parceiro->soma;
            if (parceiro->em_dupla)
                avanco_em_dupla(0, k, parceiro->dupla, nx, ny, N, msi_L, iguais.L, parceiro->res, y, lacuna,
                                ResiduoPronto{parceiro->res});
            else
                avanco(nx, ny, N, msi_L, iguais.L, parceiro->res, y, lacuna, ResiduoPronto{parceiro->res});
        } else {
            // With fewer than three columns the forward substitution takes no window: res_k is res.
            avanco(nx, ny, N, msi_L, iguais.L, res_k, y, lacuna, residuo_de<true>(faixa(res_k), traz));
        }
        // 1 above the limit, 0 not above, -1 where the bounds cannot tell.
        const auto pelos_limites = [&] {
            if (!std::isfinite(soma)) return -1;
            if (std::sqrt(soma * (1.0 - folga)) > limite_alto) return 1;
            if (std::sqrt(soma * (1.0 + folga)) <= limite_baixo) return 0;
            return -1;
        };
        const auto acima = [&] {
            int r = pelos_limites();
            if (r < 0 && !exato) {
                limite_exato();
                r = pelos_limites();
            }
            if (r >= 0) return r == 1;
            // The whole residual takes res: the first one has been summed.
            return std::sqrt(residuo_faixa<true>(nx, N, a, iguais.a, bp, x, res, 0, 1, N, 0.0)) > limite_baixo;
        };
        // A norm that is not a number ends the iteration too: only a norm above the limit goes on.
        if (!acima()) break;
    }
}

}  // namespace

std::size_t tamanho_de_y(int nx, int ny) {
    return static_cast<std::size_t>(nx + lacuna_de_y(nx)) * static_cast<std::size_t>(ny) + 1;
}

}  // namespace quelna
