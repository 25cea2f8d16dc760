// The fast form of the plinha assembly: the same loop, built for the wider registers.
#include "discretization/equacoes.hpp"
#include "discretization/formulas.hpp"
#include "vetor/faixas.hpp"

namespace quelna {

void coeficientes_plinha(const CaseData& caso, Campos& c) {
    const auto corpo = [](auto, const CaseData& caso, Campos& c, int ja, int jb)
                           __attribute__((always_inline)) { formulas::linhas_de_plinha(caso, c, ja, jb); };
    na_traducao_por_linhas(2, caso.ny - 1, caso.nx, literal::coeficientes_plinha, corpo, caso, c);
}

}  // namespace quelna
