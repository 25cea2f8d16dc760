// Eight consecutive volumes side by side in one AVX-512 register, for the kernels that take this
// form when the processor has it (usa_avx512): the vector type and the helpers the two-lane and
// eight-lane forms share, the rearrangement of coefficient rows into columns and back, and the
// residuals. Every lane does the same IEEE operations in the same order as the scalar and
// two-volume forms: the same bytes.
#pragma once

#include <immintrin.h>

#include <cstddef>
#include <utility>

#include "solvers/sistema.hpp"
#include "solvers/vizinhos.hpp"

#define QUELNA_AVX512 __attribute__((target("avx512f")))
#define QUELNA_AVX512_INLINE __attribute__((target("avx512f"), always_inline)) inline

namespace quelna::detalhe {

// Eight doubles side by side: in a function built for AVX-512 one register, and every
// operator the same IEEE operation per lane as on a double.
typedef double oito __attribute__((vector_size(64)));

// The upwind weights of faces side by side: +0.5 where the velocity is non-negative.
template <typename V>
__attribute__((always_inline)) inline V alfa_v(V velocidade) {
    return velocidade >= 0.0 ? repete<V>(0.5) : repete<V>(-0.5);
}

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

// The coefficient rows of eight volumes are forty doubles, loaded as five registers; entry k of
// column c (0 = as ... 4 = an) is double 5k + c. The two-register permutes read the first
// sixteen and the next sixteen, a masked permute of the last register the rest.
template <int c>
QUELNA_AVX512_INLINE __m512d coluna_de_oito(const __m512d (&z)[5]) {
    const __m512i i = _mm512_set_epi64(35 + c, 30 + c, 25 + c, 20 + c, 15 + c, 10 + c, 5 + c, c);
    const __m512d baixo = _mm512_permutex2var_pd(z[0], i, z[1]);
    const __m512d meio = _mm512_permutex2var_pd(z[2], i, z[3]);
    constexpr int k16 = (16 - c + 4) / 5, k32 = (32 - c + 4) / 5;  // first lanes reading 16 on, 32 on
    constexpr __mmask8 m16 = static_cast<__mmask8>(0xFF << k16), m32 = static_cast<__mmask8>(0xFF << k32);
    return _mm512_mask_permutexvar_pd(_mm512_mask_mov_pd(baixo, m16, meio), m32, i, z[4]);
}

// The coefficients of volumes P..P+7 column by column, as linhas_de gives those of two.
struct OitoLinhas {
    oito as, aw, ap, ae, an;
};

// Written as plain vector shuffles (the same two-register permutes and blends as
// coluna_de_oito) so that the width-generic kernels can inline it from any function.
template <int c, std::size_t... l>
__attribute__((always_inline)) inline oito coluna_de(const oito (&z)[5], std::index_sequence<l...>) {
    constexpr auto k = [](std::size_t i) { return static_cast<int>(5 * i + c); };  // double of lane i
    // Lanes reading the first sixteen doubles, the next sixteen, or the last eight.
    const oito baixo = __builtin_shufflevector(z[0], z[1], (k(l) < 16 ? k(l) : 0)...);
    const oito meio = __builtin_shufflevector(z[2], z[3], (k(l) >= 16 && k(l) < 32 ? k(l) - 16 : 0)...);
    const oito t = __builtin_shufflevector(baixo, meio, (k(l) < 16 ? static_cast<int>(l) : 8 + static_cast<int>(l))...);
    return __builtin_shufflevector(t, z[4], (k(l) < 32 ? static_cast<int>(l) : 8 + k(l) - 32)...);
}

__attribute__((always_inline)) inline OitoLinhas linhas_de_oito(const Linha* a, int P) {
    const double* d = &a[P].as;
    const oito z[5] = {carrega<oito>(d), carrega<oito>(d + 8), carrega<oito>(d + 16), carrega<oito>(d + 24),
                       carrega<oito>(d + 32)};
    const auto l = std::make_index_sequence<8>{};
    return {coluna_de<0>(z, l), coluna_de<1>(z, l), coluna_de<2>(z, l), coluna_de<3>(z, l), coluna_de<4>(z, l)};
}

// Two volumes' columns or eight, after the vector type.
template <typename V>
__attribute__((always_inline)) inline auto linhas_de_v(const Linha* a, int P) {
    if constexpr (sizeof(V) == sizeof(par))
        return linhas_de(a, P);
    else
        return linhas_de_oito(a, P);
}

// bp - A x at volumes P..P+7, all of whose neighbours lie in 1..N.
QUELNA_AVX512_INLINE __m512d residuo_oito(int nx, const Linha* a, const double* bp, const double* x, int P) {
    const double* d = &a[P].as;
    const __m512d z[5] = {_mm512_loadu_pd(d), _mm512_loadu_pd(d + 8), _mm512_loadu_pd(d + 16),
                          _mm512_loadu_pd(d + 24), _mm512_loadu_pd(d + 32)};
    __m512d s = _mm512_mul_pd(coluna_de_oito<0>(z), _mm512_loadu_pd(x + P - nx));
    s = _mm512_add_pd(s, _mm512_mul_pd(coluna_de_oito<1>(z), _mm512_loadu_pd(x + P - 1)));
    s = _mm512_add_pd(s, _mm512_mul_pd(coluna_de_oito<2>(z), _mm512_loadu_pd(x + P)));
    s = _mm512_add_pd(s, _mm512_mul_pd(coluna_de_oito<3>(z), _mm512_loadu_pd(x + P + 1)));
    s = _mm512_add_pd(s, _mm512_mul_pd(coluna_de_oito<4>(z), _mm512_loadu_pd(x + P + nx)));
    return _mm512_sub_pd(_mm512_loadu_pd(bp + P), s);
}

}  // namespace quelna::detalhe
