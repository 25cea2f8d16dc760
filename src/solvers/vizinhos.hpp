// Neighbour sums of a five-point row, shared by the solvers and the norm.
#pragma once

#include "solvers/sistema.hpp"

namespace quelna::detalhe {

// as*x(P-nx) + aw*x(P-1) + ae*x(P+1) + an*x(P+nx), for a row whose four neighbours lie in 1..N.
inline double vizinhos(int nx, const Linha& r, int P, const double* x) {
    return r.as * x[P - nx] + r.aw * x[P - 1] + r.ae * x[P + 1] + r.an * x[P + nx];
}

// The same sums, in the same order, leaving out the terms whose neighbour falls outside 1..N:
// the four neighbour terms, or (com_ap) the whole product A x(P).
template <bool com_ap>
inline double soma_borda(int nx, int N, const Linha& r, int P, const double* x) {
    double s = 0.0;
    bool primeiro = true;
    const auto soma = [&](double coef, int Q) {
        if (Q < 1 || Q > N) return;
        s = primeiro ? coef * x[Q] : s + coef * x[Q];
        primeiro = false;
    };
    soma(r.as, P - nx);
    soma(r.aw, P - 1);
    if (com_ap) soma(r.ap, P);
    soma(r.ae, P + 1);
    soma(r.an, P + nx);
    return s;
}

inline double vizinhos_borda(int nx, int N, const Linha& r, int P, const double* x) {
    return soma_borda<false>(nx, N, r, P, x);
}

inline double produto_borda(int nx, int N, const Linha& r, int P, const double* x) {
    return soma_borda<true>(nx, N, r, P, x);
}

inline double produto(int nx, const Linha& r, int P, const double* x) {
    return r.as * x[P - nx] + r.aw * x[P - 1] + r.ap * x[P] + r.ae * x[P + 1] + r.an * x[P + nx];
}

}  // namespace quelna::detalhe

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
    // (Written v - 0, exact for -0 too, the compiler rebuilds it in every use: twice as slow.)
    return V{} + v;
}

// The same bytes: a signed zero or a NaN is told apart, as a comparison of values would not.
inline bool mesmos_bits(double a, double b) { return __builtin_memcmp(&a, &b, sizeof a) == 0; }

}  // namespace quelna::detalhe
