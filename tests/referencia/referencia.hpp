// The straightforward rendering of each hot kernel: the literal loops, in the literal order.
// The fast kernels of the program must give the same bytes.
#pragma once

#include "discretization/modelo.hpp"
#include "run/execucao.hpp"
#include "solvers/solvers.hpp"
#include "vetor/sistema.hpp"

namespace quelna::referencia {

void jacobi(const Sistema& s, const Controles& k, double* x, Trabalho& t);
void gauss_seidel(const Sistema& s, const Controles& k, double* x, Trabalho& t);
void sor(const Sistema& s, const Controles& k, double* x, Trabalho& t);
void adi(const Sistema& s, const Controles& k, double* x, Trabalho& t);
void msi(const Sistema& s, const Controles& k, double* x, Trabalho& t);
void msi_fatores(const Sistema& s, FatorL* msi_L, FatorU* msi_U);
void msi_correcoes(const Sistema& s, const FatorL* msi_L, const FatorU* msi_U, double* x, double tol, int nit,
                   Trabalho& t);
void norma(int nx, int ny, int N, const Linha* a, const double* bp, const double* x, double& residuo);

// One forward substitution of MSI: y = L^-1 res.
void msi_avanco(int nx, int N, const FatorL* msi_L, const double* res, double* y);

// The assembly and correction routines in their literal loops.
void coeficientes_uv(const CaseData& caso, Campos& c);
void termo_fonte_u(const CaseData& caso, Campos& c);
void termo_fonte_v(const CaseData& caso, Campos& c);
void velocidades_face(const CaseData& caso, Campos& c);
void coeficientes_plinha(const CaseData& caso, Campos& c);

// Every kernel of a run in its literal loops.
Nucleos nucleos();

}  // namespace quelna::referencia
