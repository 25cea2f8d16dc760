// The fast form of the face velocities. Neither pass reads a face velocity it computes, so the
// faces go row by row, in the order they lie in memory, as many at a time as the lanes hold.
#include "discretization/equacoes.hpp"
#include "discretization/formulas.hpp"
#include "vetor/faixas.hpp"

namespace quelna {

void velocidades_face(const CaseData& caso, Campos& c) {
    using namespace formulas;
    const auto corpo = [](auto lanes, const CaseData& caso, Campos& c, int ja, int jb) __attribute__((always_inline)) {
        using V = typename decltype(lanes)::tipo;
        const int nx = caso.nx, ny = caso.ny;
        for (int j = ja; j <= jb; ++j)
            detalhe::ao_longo<V>((j - 1) * nx + 2, j * nx - 2, [&](auto l, int P) __attribute__((always_inline)) {
                detalhe::guarda(&c.ue[P], ue_da_face<typename decltype(l)::tipo>(caso, c, P));
            });
        for (int j = ja; j <= jb && j <= ny - 2; ++j)
            detalhe::ao_longo<V>((j - 1) * nx + 2, j * nx - 1, [&](auto l, int P) __attribute__((always_inline)) {
                detalhe::guarda(&c.vn[P], vn_da_face<typename decltype(l)::tipo>(caso, c, P));
            });
    };
    na_traducao_por_linhas(2, caso.ny - 1, caso.nx, literal::velocidades_face, corpo, caso, c);
}

}  // namespace quelna
