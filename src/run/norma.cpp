// The residual norm in its plain loop; its fast form is norma_rapido.cpp.
#include "run/norma.hpp"

#include <cmath>

#include "vetor/vetor.hpp"

namespace quelna::literal {

void norma(int nx, int ny, int N, const Linha* a, const double* bp, const double* x, double& residuo) {
    // |b - A x| is |A x - b|, bit for bit.
    const auto termo = [&](int P) { return std::fabs(detalhe::residuo_no_volume(nx, N, a, bp, x, P)); };
    for (int P = 1; P <= nx; ++P) residuo += termo(P);
    for (int i = 1; i <= nx; ++i)
        for (int j = 2; j <= ny - 1; ++j) residuo += termo((j - 1) * nx + i);
    for (int P = (ny - 1) * nx + 1; P <= N; ++P) residuo += termo(P);
}

}  // namespace quelna::literal
