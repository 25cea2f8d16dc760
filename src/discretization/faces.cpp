// The face velocities: the plain loop of the routine, column by column, each face once. Its fast
// form (faces_rapido.cpp) takes the same formulas over lanes.
#include "discretization/equacoes.hpp"
#include "discretization/formulas.hpp"

namespace quelna::literal {

using namespace formulas;

void velocidades_face(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    for (int i = 2; i <= nx - 2; ++i)
        for (int j = 2; j <= ny - 1; ++j) c.ue[(j - 1) * nx + i] = ue_da_face<double>(caso, c, (j - 1) * nx + i);
    for (int i = 2; i <= nx - 1; ++i)
        for (int j = 2; j <= ny - 2; ++j) c.vn[(j - 1) * nx + i] = vn_da_face<double>(caso, c, (j - 1) * nx + i);
}

}  // namespace quelna::literal
