// The fast form of the residual norm: the inner rows' residuals taken in lanes, their sum in the
// order of the plain loop.
#include "run/norma.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "vetor/faixas.hpp"
#include "vetor/traducao.hpp"
#include "vetor/vetor.hpp"

namespace quelna {

namespace {

// The inner rows are added column by column, in the order the listing's numbers depend on. The
// columns go in blocks of eight: while the residuals of one block are taken row by row and kept
// column by column, the sum runs through the block before it, so that its chain of additions
// overlaps the loads and products of the next block.
constexpr int largura = 8;

struct Blocos {
    int m;             // inner rows
    double* atual;     // the block being taken, eight values per row
    double* anterior;  // the block being added, column by column
    int largura_anterior = 0;
    const double* cursor = nullptr;  // the next term of the block being added,
    int restantes = 0;               // and how many of its column are left
    int coluna = 0;

    explicit Blocos(int linhas) : m(linhas) {
        thread_local std::vector<double> b[2];
        const std::size_t n = static_cast<std::size_t>(largura) * static_cast<std::size_t>(m);
        for (auto& v : b)
            if (v.size() < n) v.resize(n);
        atual = b[0].data();
        anterior = b[1].data();
    }
    // Where the residuals of row j of the block being taken go, column by column.
    double* r(int j) const { return atual + static_cast<std::ptrdiff_t>(j - 2) * largura; }
    // As many terms of the block before as it has columns: over the rows of this block, all of
    // them, in their column order.
    void soma_linha(double& residuo) {
        int q = largura_anterior;
        if (q == largura && restantes >= largura) {
            // The common step: eight terms down one column.
            const double* p = cursor;
            for (int t = 0; t < largura; ++t) residuo += p[t * largura];
            cursor += largura * largura;
            if ((restantes -= largura) == 0) proxima_coluna();
            return;
        }
        while (q > 0 && restantes > 0) {
            const int n = std::min(q, restantes);
            for (int t = 0; t < n; ++t) residuo += cursor[t * largura];
            cursor += static_cast<std::ptrdiff_t>(n) * largura;
            q -= n;
            if ((restantes -= n) == 0) proxima_coluna();
        }
    }
    void proxima_coluna() {
        ++coluna;
        cursor = anterior + coluna;
        restantes = coluna < largura_anterior ? m : 0;
    }
    void troca(int larg) {
        std::swap(atual, anterior);
        largura_anterior = larg;
        coluna = 0;
        cursor = anterior;
        restantes = larg > 0 ? m : 0;
    }
    void soma_resto(double& residuo) {
        for (int j = 2; j <= m + 1; ++j) soma_linha(residuo);
    }
};

// |v|, lane by lane: the sign bit cleared, as fabs does.
template <typename V>
__attribute__((always_inline)) inline V modulo(V v) {
    typedef long long Bits __attribute__((vector_size(sizeof(V))));
    return reinterpret_cast<V>(reinterpret_cast<Bits>(v) & (Bits{} + 0x7FFFFFFFFFFFFFFFLL));
}

// Columns c0 .. c0+larg-1 of row j, two at a time (inlined also where the registers are wider:
// a call would switch register widths on every row).
__attribute__((always_inline)) inline void residuos_aos_pares(Blocos& b, int nx, const Linha* a, const double* bp,
                                                              const double* x, int j, int c0, int larg) {
    const int P0 = (j - 1) * nx + c0;
    double* r = b.r(j);
    int c = 0;
    for (; c + 1 < larg; c += 2) detalhe::guarda(r + c, modulo(detalhe::residuo_v<detalhe::par>(nx, a, bp, x, P0 + c)));
    if (c < larg) r[c] = std::fabs(detalhe::residuo_v<double>(nx, a, bp, x, P0 + c));
}

// The inner rows, the residuals of a block of eight columns eight at a time where a vector V holds
// eight (two rows at a time: their residuals are independent, and the sum of the block before
// runs between them and their stores), two at a time otherwise.
// The sum stays in a local: stores into the blocks could otherwise alias the caller's residuo.
template <typename V>
__attribute__((always_inline)) inline double interior(int nx, int ny, const Linha* a, const double* bp,
                                                      const double* x, double residuo) {
    constexpr bool oito = sizeof(V) == largura * sizeof(double);
    Blocos b(ny - 2);
    for (int c0 = 1; c0 <= nx; c0 += largura) {
        const int larg = std::min(largura, nx - c0 + 1);
        int j = 2;
        if constexpr (oito) {
            if (larg == largura)
                for (; j + 1 <= ny - 1; j += 2) {
                    const V r0 = detalhe::residuo_v<V>(nx, a, bp, x, (j - 1) * nx + c0);
                    const V r1 = detalhe::residuo_v<V>(nx, a, bp, x, j * nx + c0);
                    b.soma_linha(residuo);
                    b.soma_linha(residuo);
                    detalhe::guarda(b.r(j), modulo(r0));
                    detalhe::guarda(b.r(j + 1), modulo(r1));
                }
        }
        for (; j <= ny - 1; ++j) {
            if (oito && larg == largura)
                detalhe::guarda(b.r(j), modulo(detalhe::residuo_v<V>(nx, a, bp, x, (j - 1) * nx + c0)));
            else
                residuos_aos_pares(b, nx, a, bp, x, j, c0, larg);
            b.soma_linha(residuo);
        }
        b.troca(larg);
    }
    b.soma_resto(residuo);
    return residuo;
}

// The same sum with a team: the residuals of the inner rows taken by rows on the threads that
// built and solved those rows (their coefficients and unknowns stay in those cores' caches, and
// only the residuals cross), then added on this thread in the column order.
template <typename V>
__attribute__((always_inline)) inline void residuos_das_linhas(int nx, const Linha* a, const double* bp,
                                                               const double* x, double* r, int ja, int jb) {
    for (int j = ja; j <= jb; ++j)
        detalhe::ao_longo<V>((j - 1) * nx + 1, j * nx, [&](auto l, int P) __attribute__((always_inline)) {
            using T = typename decltype(l)::tipo;
            if constexpr (sizeof(T) == sizeof(double))
                r[P] = std::fabs(detalhe::residuo_v<double>(nx, a, bp, x, P));
            else
                detalhe::guarda(r + P, modulo(detalhe::residuo_v<T>(nx, a, bp, x, P)));
        });
}

double interior_em_equipe(int nx, int ny, const Linha* a, const double* bp, const double* x, double residuo) {
    thread_local std::vector<double> termos;
    const std::size_t n = static_cast<std::size_t>(ny) * static_cast<std::size_t>(nx) + 1;
    if (termos.size() < n) termos.resize(n);
    double* r = termos.data();
    const auto corpo = [](auto lanes, int nx, const Linha* a, const double* bp, const double* x, double* r, int ja,
                          int jb) __attribute__((always_inline)) {
        residuos_das_linhas<typename decltype(lanes)::tipo>(nx, a, bp, x, r, ja, jb);
    };
    por_linhas(2, ny - 1, nx, [&](int ja, int jb) { nas_larguras(corpo, nx, a, bp, x, r, ja, jb); });
    for (int i = 1; i <= nx; ++i)
        for (int j = 2; j <= ny - 1; ++j) residuo += r[(j - 1) * nx + i];
    return residuo;
}

}  // namespace

void norma(int nx, int ny, int N, const Linha* a, const double* bp, const double* x, double& residuo) {
    if (traducao() == Traducao::literal) return literal::norma(nx, ny, N, a, bp, x, residuo);
    using detalhe::residuo_no_volume;
    for (int P = 1; P <= nx && P <= N; ++P) residuo += std::fabs(residuo_no_volume(nx, N, a, bp, x, P));
    const auto corpo = [](auto lanes, int nx, int ny, const Linha* a, const double* bp, const double* x,
                          double residuo) __attribute__((always_inline)) {
        return interior<typename decltype(lanes)::tipo>(nx, ny, a, bp, x, residuo);
    };
    if (ny >= 3 && por_linhas_divide(ny - 2, nx))
        residuo = interior_em_equipe(nx, ny, a, bp, x, residuo);
    else if (ny >= 3)
        residuo = nas_larguras(corpo, nx, ny, a, bp, x, residuo);
    for (int P = (ny - 1) * nx + 1; P <= N; ++P) residuo += std::fabs(residuo_no_volume(nx, N, a, bp, x, P));
}

}  // namespace quelna
