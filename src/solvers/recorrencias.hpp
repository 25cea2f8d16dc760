// The recurrences of the five solvers, each written once over a number type: double for one
// volume (the plain loops, and the volumes a fast form takes one at a time), a vector of lanes for
// the volumes or rows a fast form takes side by side. Whatever order a loop takes them in, each
// value comes from these lines.
#pragma once

#include <cmath>

#include "vetor/vetor.hpp"

namespace quelna::recorrencias {

// The point solvers' update: the equation of a volume solved for it, the neighbours taken as they
// stand (b its right-hand side; s, w, e, n the south, west, east and north values; r its row, a
// Linha or the columns of the rows a vector holds).
template <typename T, typename R>
__attribute__((always_inline)) inline T ponto_de(const R& r, T b, T s, T w, T e, T n) {
    return (b - (r.as * s + r.aw * w + r.ae * e + r.an * n)) / r.ap;
}

// The same at a volume whose four neighbours lie in 1..N, and at one of the first or last row,
// whose terms beyond 1..N are left out.
__attribute__((always_inline)) inline double ponto(int nx, const Linha* a, const double* bp, const double* x, int P) {
    return ponto_de(a[P], bp[P], x[P - nx], x[P - 1], x[P + 1], x[P + nx]);
}

inline double ponto_borda(int nx, int N, const Linha* a, const double* bp, const double* x, int P) {
    return (bp[P] - detalhe::vizinhos_borda(nx, N, a[P], P, x)) / a[P].ap;
}

// SOR's over-relaxation of a value after the sweep, from the value before it.
inline double relaxa(double depois, double antes, double w) { return (depois - antes) * w + antes; }

// A line of ADI: the right-hand side less the two couplings across it (c1, c2 to the values q1,
// q2 beside the line) ...
template <typename T>
__attribute__((always_inline)) inline T fora_da_linha(T b, T c1, T q1, T c2, T q2) {
    return b - (c1 * q1 + c2 * q2);
}

// The same where a neighbour may lie outside 1..N: its term is left out.
inline double fora_da_linha_borda(int N, const double* bp, const double* x, int P, double c1, int Q1, double c2,
                                  int Q2) {
    const bool tem1 = Q1 >= 1 && Q1 <= N, tem2 = Q2 >= 1 && Q2 <= N;
    if (tem1 && tem2) return fora_da_linha(bp[P], c1, x[Q1], c2, x[Q2]);
    if (tem1) return bp[P] - c1 * x[Q1];
    if (tem2) return bp[P] - c2 * x[Q2];
    return bp[P];
}

// ... then the forward elimination along it, with ap the diagonal, atras the coupling to the
// previous volume of the line and frente to the next, from the multipliers of the previous
// volume (p_ant, q_ant); the first volume of a line has none ...
template <typename T>
struct Multiplicadores {
    T p, q;
};

template <typename T>
__attribute__((always_inline)) inline Multiplicadores<T> elimina(T ap, T atras, T frente, T b, T p_ant, T q_ant) {
    const T den = ap + atras * p_ant;
    return {-frente / den, (b - atras * q_ant) / den};
}

template <typename T>
__attribute__((always_inline)) inline Multiplicadores<T> primeiro_da_linha(T ap, T frente, T b) {
    return {-frente / ap, b / ap};
}

// ... and the back substitution from its far end, x_seguinte being the value after it.
template <typename T>
__attribute__((always_inline)) inline T substitui(T p, T q, T x_seguinte) {
    return p * x_seguinte + q;
}

// MSI's incomplete factorization of row P from the factors of its neighbours west (W), south (S)
// and south-east (SE), which count as 0 outside the grid; alfa is the partial cancellation.
template <typename T>
struct Fatores {
    T b, c, d, e, f, g, h;
};

template <typename T>
__attribute__((always_inline)) inline Fatores<T> fatora(T as, T aw, T ap, T ae, T an, T alfa, T fS, T fSE, T gS, T gW,
                                                        T hS, T gSE, T fW, T hSE, T hW) {
    Fatores<T> F;
    F.b = as / (1.0 - alfa * fS * fSE);
    F.c = -F.b * fS;
    F.d = (aw - F.b * gS) / (1.0 + 2.0 * alfa * gW);
    F.e = ap - F.b * hS - F.c * gSE - F.d * fW + alfa * (2.0 * F.c * fSE + 2.0 * F.d * gW);
    F.f = (ae - F.c * hSE - 2.0 * alfa * F.c * fSE) / F.e;
    F.g = -F.d * hW / F.e;
    F.h = (an - alfa * F.d * gW) / F.e;
    return F;
}

// The same for one volume, stored as its rows of the two factors.
inline void fatora(const Linha& r, double alfa, double fS, double fSE, double gS, double gW, double hS, double gSE,
                   double fW, double hSE, double hW, FatorL& L, FatorU& U) {
    const Fatores<double> F = fatora(r.as, r.aw, r.ap, r.ae, r.an, alfa, fS, fSE, gS, gW, hS, gSE, fW, hSE, hW);
    L = FatorL{F.e, F.d, F.c, F.b};
    U = FatorU{F.f, F.g, F.h};
}

// alfa: 0.5 on real volumes, 0 on the fictitious border.
inline double alfa_msi(int nx, int ny, int i, int j) {
    return (i >= 2 && i <= nx - 1 && j >= 2 && j <= ny - 1) ? 0.5 : 0.0;
}

// One step of MSI's forward substitution y = L^-1 res, from the west, south-east and south
// values of y already found ...
template <typename T>
__attribute__((always_inline)) inline T avanca(T res, T e, T d, T c, T b, T oeste, T sudeste, T sul) {
    return (((res - d * oeste) - c * sudeste) - b * sul) / e;
}

// ... and of the backward one delta = U^-1 y, from the east, north-west and north corrections.
template <typename T>
__attribute__((always_inline)) inline T recua(T y, T f, T g, T h, T leste, T noroeste, T norte) {
    return ((y - f * leste) - g * noroeste) - h * norte;
}

}  // namespace quelna::recorrencias
