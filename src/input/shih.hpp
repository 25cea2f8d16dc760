// The analytic solution of the Shih cavity problem, evaluated on the grid.
#pragma once

#include "discretization/modelo.hpp"

namespace quelna::shih {

// The exact fields at a point of the unit square, for viscosity mi.
double u(double x, double y);
double v(double x, double y);
double p(double x, double y, double mi);
double fonte(double x, double y, double mi);  // the body force of the v equation

}  // namespace quelna::shih

namespace quelna {

// The exact centre-line profiles.
inline constexpr const char* arquivo_ucex = "ucex.dat";
inline constexpr const char* arquivo_vcex = "vcex.dat";

// x of column i and y of row j where the exact solution is taken: the centres of the real
// volumes, and the wall itself for a fictitious volume.
double x_coluna(const CaseData& caso, int i);
double y_linha(const CaseData& caso, int j);

// uex, vex, pex and fonte_v at every volume; writes "ucex.dat" and "vcex.dat".
void analitica_shih(const CaseData& caso, Campos& c);

// The exact face velocities at the interior faces.
void faces_shih(const CaseData& caso, Campos& c);

}  // namespace quelna
