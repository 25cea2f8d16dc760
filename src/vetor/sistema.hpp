// The five-point system: the rows the discretization builds and every solver sees, and the
// sums of a row's neighbour terms that the solvers and the residual norm share.
#pragma once

namespace quelna {

// One row of the coefficient table: as*x(P-nx) + aw*x(P-1) + ap*x(P) + ae*x(P+1) + an*x(P+nx) = bp(P).
// The five coefficients of a volume are stored together, in this order.
struct Linha {
    double as = 0.0, aw = 0.0, ap = 0.0, ae = 0.0, an = 0.0;
};

// Rows of the lower MSI factor: diagonal e, west d, south-east c, south b.
struct FatorL {
    double e = 0.0, d = 0.0, c = 0.0, b = 0.0;
};

// Rows of the upper MSI factor (unit diagonal): east f, north-west g, north h.
struct FatorU {
    double f = 0.0, g = 0.0, h = 0.0;
};

}  // namespace quelna

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

}  // namespace quelna::detalhe
