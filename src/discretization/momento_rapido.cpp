// The fast forms of the momentum assembly: each inner row V volumes at a time and its rest one
// by one, every value from the formulas of the plain loops.
#include "discretization/equacoes.hpp"
#include "discretization/formulas.hpp"
#include "vetor/faixas.hpp"

namespace quelna {

namespace {

using namespace formulas;

template <bool v>
void fonte(const CaseData& caso, Campos& c) {
    const auto corpo = [](auto lanes, const CaseData& caso, Campos& c, int ja, int jb) __attribute__((always_inline)) {
        const int nx = caso.nx;
        for (int j = ja; j <= jb; ++j)
            detalhe::ao_longo<typename decltype(lanes)::tipo>(
                (j - 1) * nx + 2, j * nx - 1, [&](auto l, int P) __attribute__((always_inline)) {
                    poe_fonte<typename decltype(l)::tipo, v>(caso, c, P);
                });
    };
    na_traducao_por_linhas(2, caso.ny - 1, caso.nx, v ? literal::termo_fonte_v : literal::termo_fonte_u, corpo, caso, c);
}

}  // namespace

void coeficientes_uv(const CaseData& caso, Campos& c) {
    const auto corpo = [](auto lanes, const CaseData& caso, Campos& c, int ja, int jb) __attribute__((always_inline)) {
        const int nx = caso.nx;
        const Condutancias k = condutancias(caso);
        for (int j = ja; j <= jb; ++j)
            detalhe::ao_longo<typename decltype(lanes)::tipo>(
                (j - 1) * nx + 2, j * nx - 1, [&](auto l, int P) __attribute__((always_inline)) {
                    poe_momento<typename decltype(l)::tipo>(caso, c, P, k);
                });
    };
    na_traducao_por_linhas(2, caso.ny - 1, caso.nx, literal::coeficientes_uv, corpo, caso, c);
}

void termo_fonte_u(const CaseData& caso, Campos& c) { fonte<false>(caso, c); }

void termo_fonte_v(const CaseData& caso, Campos& c) { fonte<true>(caso, c); }

}  // namespace quelna
