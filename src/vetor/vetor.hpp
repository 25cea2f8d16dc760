// The vector layer: values of consecutive volumes side by side in one register, two (SSE2,
// every x86-64) or eight (AVX-512, where the processor has it), with their loads, stores and
// broadcasts, the rearrangement of the coefficient rows into columns and back, and the residual
// of a row. Every lane does the same IEEE operations in the same order as the scalar code, so
// the results are the same bytes. The discretization and the solvers build their fast forms on
// it; it knows the five-point system's storage and nothing else of the system.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

#include "vetor/sistema.hpp"

#define QUELNA_AVX512 __attribute__((target("avx512f")))

namespace quelna::detalhe {

// Two consecutive volumes side by side in one vector register (SSE2, part of every x86-64).
// The coefficient rows are stored together per volume; two of them are ten doubles, loaded as
// five pairs and rearranged into as, aw, ap, ae and an of the two volumes. Every operation is
// the same IEEE operation per lane as in the scalar code, so the results are the same bytes.
typedef double par __attribute__((vector_size(16)));

// Loads and stores of the lanes of a vector (two by default, or eight, V = oito), and a value
// repeated in all of them; always inlined, since a call from a function built for wider
// registers would switch register widths.
template <typename V = par>
__attribute__((always_inline)) inline V carrega(const double* p) {
    V v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
}

template <typename V>
__attribute__((always_inline)) inline void guarda(double* p, V v) {
    __builtin_memcpy(p, &v, sizeof v);
}

struct ParDeLinhas {
    par as, aw, ap, ae, an;
};

inline ParDeLinhas linhas_de(const Linha* a, int P) {
    const double* d = &a[P].as;
    const par m0 = carrega(d), m1 = carrega(d + 2), m2 = carrega(d + 4), m3 = carrega(d + 6), m4 = carrega(d + 8);
    return {__builtin_shufflevector(m0, m2, 0, 3), __builtin_shufflevector(m0, m3, 1, 2),
            __builtin_shufflevector(m1, m3, 0, 3), __builtin_shufflevector(m1, m4, 1, 2),
            __builtin_shufflevector(m2, m4, 0, 3)};
}

}  // namespace quelna::detalhe

namespace quelna::detalhe {

// The inverse of linhas_de: the coefficients of two volumes stored as their two rows.
inline void guarda_linhas(Linha* a, int P, const ParDeLinhas& r) {
    double* d = &a[P].as;
    guarda(d, __builtin_shufflevector(r.as, r.aw, 0, 2));
    guarda(d + 2, __builtin_shufflevector(r.ap, r.ae, 0, 2));
    guarda(d + 4, __builtin_shufflevector(r.an, r.as, 0, 3));
    guarda(d + 6, __builtin_shufflevector(r.aw, r.ap, 1, 3));
    guarda(d + 8, __builtin_shufflevector(r.ae, r.an, 1, 3));
}

template <typename V = par>
__attribute__((always_inline)) inline V repete(double v) {
    // 0 + v is v for every v but -0; the values repeated are grid sizes and positive constants.
    return V{} + v;
}

// The same bytes: a signed zero or a NaN is told apart, as a comparison of values would not.
inline bool mesmos_bits(double a, double b) { return __builtin_memcmp(&a, &b, sizeof a) == 0; }

}  // namespace quelna::detalhe

namespace quelna::detalhe {

// Eight doubles side by side: in a function built for AVX-512 one register, and every
// operator the same IEEE operation per lane as on a double.
typedef double oito __attribute__((vector_size(64)));

// Stores the coefficients of eight volumes, given column by column (as, aw, ap, ae, an), as
// their eight rows: forty doubles, of which register m holds doubles 8m to 8m+7, double
// 5k + c being column c of volume k. Each register takes its lanes from the five columns in
// four shuffles.
template <int m, std::size_t... l>
inline oito linhas_em_registro(const oito (&col)[5], std::index_sequence<l...>) {
    constexpr auto k = [](std::size_t i) { return static_cast<int>((8 * m + i) / 5); };
    constexpr auto c = [](std::size_t i) { return static_cast<int>((8 * m + i) % 5); };
    const oito t01 = __builtin_shufflevector(col[0], col[1], (c(l) == 1 ? 8 + k(l) : k(l))...);
    const oito t23 = __builtin_shufflevector(col[2], col[3], (c(l) == 3 ? 8 + k(l) : k(l))...);
    constexpr auto esta = [](std::size_t i) { return static_cast<int>(i); };
    const oito t = __builtin_shufflevector(t01, t23, (c(l) == 2 || c(l) == 3 ? 8 + esta(l) : esta(l))...);
    return __builtin_shufflevector(t, col[4], (c(l) == 4 ? 8 + k(l) : esta(l))...);
}

inline void guarda_linhas_oito(Linha* a, int P, const oito (&col)[5]) {
    double* d = &a[P].as;
    const auto l = std::make_index_sequence<8>{};
    guarda(d, linhas_em_registro<0>(col, l));
    guarda(d + 8, linhas_em_registro<1>(col, l));
    guarda(d + 16, linhas_em_registro<2>(col, l));
    guarda(d + 24, linhas_em_registro<3>(col, l));
    guarda(d + 32, linhas_em_registro<4>(col, l));
}

// The coefficients of volumes P..P+7 column by column, as linhas_de gives those of two.
struct OitoLinhas {
    oito as, aw, ap, ae, an;
};

// Column c of eight rows: the lanes reading the first sixteen doubles come from one two-register
// permute, those reading the next sixteen from another, the last ones from the fifth register.
// Plain vector shuffles rather than intrinsics, so that width-generic code can inline it from any
// function; the three permutes take the same index (each reads only the low bits it needs), which
// keeps one index register per column.
template <int c, std::size_t... l>
__attribute__((always_inline)) inline oito coluna_de(const oito (&z)[5], std::index_sequence<l...>) {
    constexpr auto k = [](std::size_t i) { return static_cast<int>(5 * i + c); };  // double of lane i
    const oito baixo = __builtin_shufflevector(z[0], z[1], (k(l) & 15)...);
    const oito meio = __builtin_shufflevector(z[2], z[3], (k(l) & 15)...);
    const oito t = __builtin_shufflevector(baixo, meio, (k(l) < 16 ? static_cast<int>(l) : 8 + static_cast<int>(l))...);
    const oito fim = __builtin_shufflevector(z[4], z[4], (k(l) & 7)...);
    return __builtin_shufflevector(t, fim, (k(l) < 32 ? static_cast<int>(l) : 8 + static_cast<int>(l))...);
}

__attribute__((always_inline)) inline OitoLinhas linhas_de_oito(const Linha* a, int P) {
    const double* d = &a[P].as;
    const oito z[5] = {carrega<oito>(d), carrega<oito>(d + 8), carrega<oito>(d + 16), carrega<oito>(d + 24),
                       carrega<oito>(d + 32)};
    const auto l = std::make_index_sequence<8>{};
    return {coluna_de<0>(z, l), coluna_de<1>(z, l), coluna_de<2>(z, l), coluna_de<3>(z, l), coluna_de<4>(z, l)};
}

// Stores one row (T = double) or the rows of the volumes a vector holds from P on, given column
// by column.
template <typename T>
__attribute__((always_inline)) inline void poe_linha(Linha* a, int P, T as, T aw, T ap, T ae, T an) {
    if constexpr (sizeof(T) == sizeof(double))
        a[P] = Linha{as, aw, ap, ae, an};
    else if constexpr (sizeof(T) == sizeof(par))
        guarda_linhas(a, P, ParDeLinhas{as, aw, ap, ae, an});
    else
        guarda_linhas_oito(a, P, {as, aw, ap, ae, an});
}

// Two volumes' columns or eight, after the vector type.
template <typename V>
__attribute__((always_inline)) inline auto linhas_de_v(const Linha* a, int P) {
    if constexpr (sizeof(V) == sizeof(par))
        return linhas_de(a, P);
    else
        return linhas_de_oito(a, P);
}

// What a formula written once reads, whether it is taken for one volume (T = double) or for
// the volumes a vector holds from P on: the value at p, and the coefficient row of P (a Linha, or
// its five columns).
template <typename T>
__attribute__((always_inline)) inline T le(const double* p) {
    if constexpr (sizeof(T) == sizeof(double))
        return *p;
    else
        return carrega<T>(p);
}

template <typename T>
__attribute__((always_inline)) inline auto linha_de(const Linha* a, int P) {
    if constexpr (sizeof(T) == sizeof(double))
        return a[P];
    else
        return linhas_de_v<T>(a, P);
}

// bp - A x at a volume (T = double) or at the volumes from P on that a vector holds (two or
// eight), all of whose neighbours lie in 1..N.
// r holds the coefficients of those volumes, as linha_de gives them.
template <typename T, typename R>
__attribute__((always_inline)) inline T residuo_com(const R& r, int nx, const double* bp, const double* x, int P) {
    return le<T>(bp + P) - (r.as * le<T>(x + P - nx) + r.aw * le<T>(x + P - 1) + r.ap * le<T>(x + P) +
                            r.ae * le<T>(x + P + 1) + r.an * le<T>(x + P + nx));
}

template <typename T>
__attribute__((always_inline)) inline T residuo_v(int nx, const Linha* a, const double* bp, const double* x, int P) {
    return residuo_com<T>(linha_de<T>(a, P), nx, bp, x, P);
}

// Asks for the lines that the residual of volumes P..P+7 will read, all of whose neighbours lie
// in 1..N: their rows (320 bytes, five lines or a part of a sixth, which the call for the next
// eight asks for), bp, and x of the row above (those of their own row and the row below being the
// ones the residual of the row before read). A hint: nothing it does changes a value. Always
// inlined, since the compiler counts a prefetch as no effect at all: a function holding only
// prefetches is taken as pure, and a call to it dropped.
__attribute__((always_inline)) inline void traz_para_residuo(int nx, const Linha* a, const double* bp, const double* x,
                                                             int P) {
    const char* c = reinterpret_cast<const char*>(a + P);
    for (int k = 0; k < 5; ++k) __builtin_prefetch(c + 64 * k);
    __builtin_prefetch(bp + P);
    __builtin_prefetch(x + P + nx);
}

// Asks for the line of p, to be written: with prefetchw (where the processor has it, `w`) the line
// comes to this core's caches as its own, so that a store to a line another core has read does
// not wait there for the other copy to be given up; otherwise as an ordinary prefetch. A hint:
// nothing it does changes a value.
__attribute__((always_inline)) inline void traz_para_escrever(const double* p, bool w) {
#if defined(__x86_64__) || defined(__i386__)
    if (w) {
        asm volatile("prefetchw %0" : : "m"(*p));
        return;
    }
#endif
    __builtin_prefetch(p, 1);
}

// One row's coefficients in every lane, in the form linha_de gives: for volumes that share it.
template <typename T>
__attribute__((always_inline)) inline auto linha_repetida(const Linha& r) {
    if constexpr (sizeof(T) == sizeof(double)) {
        return r;
    } else {
        // Lane by lane: 0 + v would turn a coefficient -0 into +0.
        const auto repete = [](double v) {
            T t;
            for (std::size_t k = 0; k < sizeof(T) / sizeof(double); ++k) t[k] = v;
            return t;
        };
        using Colunas = std::conditional_t<sizeof(T) == sizeof(par), ParDeLinhas, OitoLinhas>;
        return Colunas{repete(r.as), repete(r.aw), repete(r.ap), repete(r.ae), repete(r.an)};
    }
}

// bp - A x at any volume: the terms whose neighbour falls outside 1..N are left out.
inline double residuo_no_volume(int nx, int N, const Linha* a, const double* bp, const double* x, int P) {
    return P - nx >= 1 && P + nx <= N ? residuo_v<double>(nx, a, bp, x, P) : bp[P] - produto_borda(nx, N, a[P], P, x);
}

}  // namespace quelna::detalhe

namespace quelna {

// The number type a formula is taken with: double for one volume, a vector for the volumes it
// holds.
template <typename T>
struct Lanes {
    using tipo = T;
    static constexpr int n = sizeof(T) / sizeof(double);
};

namespace detalhe {

// The volumes ini..fim that lie one after another in memory: as many at a time as a vector V
// holds, the rest one by one, each through f(Lanes<T>{}, P).
template <typename V, typename F>
__attribute__((always_inline)) inline void ao_longo(int ini, int fim, F&& f) {
    constexpr int L = Lanes<V>::n;
    int P = ini;
    for (; P + L - 1 <= fim; P += L) f(Lanes<V>{}, P);
    for (; P <= fim; ++P) f(Lanes<double>{}, P);
}

}  // namespace detalhe

}  // namespace quelna
