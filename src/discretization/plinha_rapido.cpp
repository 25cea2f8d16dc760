// The fast form of the plinha assembly: the same loop, built for the wider registers.
#include "discretization/equacoes.hpp"
#include "discretization/formulas.hpp"
#include "vetor/traducao.hpp"

namespace quelna {

void coeficientes_plinha(const CaseData& caso, Campos& c) {
    const auto corpo = [](auto, const CaseData& caso, Campos& c)
                           __attribute__((always_inline)) { formulas::linhas_de_plinha(caso, c); };
    na_traducao(literal::coeficientes_plinha, corpo, caso, c);
}

}  // namespace quelna
