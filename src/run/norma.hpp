// The L1 norm of the residuals of a five-point system.
#pragma once

#include "vetor/sistema.hpp"

namespace quelna {

// Adds to `residuo` the sum of |as*x(P-nx) + aw*x(P-1) + ap*x(P) + ae*x(P+1) + an*x(P+nx) - bp(P)|
// over all N rows, fictitious ones included, terms outside 1..N left out. The rows are added in
// the order row 1, then column by column the rows 2..ny-1, then row ny.
void norma(int nx, int ny, int N, const Linha* a, const double* bp, const double* x, double& residuo);

// The same in its plain loop, the definition the fast form matches.
namespace literal {
void norma(int nx, int ny, int N, const Linha* a, const double* bp, const double* x, double& residuo);
}

}  // namespace quelna
