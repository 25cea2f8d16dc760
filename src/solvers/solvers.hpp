// Iterative solvers of the five-point system. Every array is indexed by the volume number
// P = 1..N (entry 0 unused): row P of `a` reads
//   as*x(P-nx) + aw*x(P-1) + ap*x(P) + ae*x(P+1) + an*x(P+nx) = bp(P),
// and a term whose neighbour number falls outside 1..N is left out. The couplings across the
// ends of a row (aw in column 1, ae in column nx) are ordinary band terms. Each routine improves
// x in place from its current values; none changes a or bp.
#pragma once

#include "vetor/sistema.hpp"

namespace quelna {

// Exactly nit sweeps of simultaneous displacements.
void jacobi(int nx, int ny, int N, int nit, const Linha* a, const double* bp, double* x);

// Exactly nit sweeps of successive displacements: row 1 west to east, then column by column
// the rows 2..ny-1 south to north, then row ny west to east.
void gauss_seidel(int nx, int ny, int N, int nit, const Linha* a, const double* bp, double* x);

// Gauss-Seidel sweeps, each followed by the over-relaxation of the whole field with w.
void sor(int nx, int ny, int N, int nit, double w, const Linha* a, const double* bp, double* x);

// Exactly nit double sweeps of alternating line solves: all rows, then all columns.
void adi(int nx, int ny, int N, int nit, const Linha* a, const double* bp, double* x);

// The modified strongly implicit procedure: the incomplete factorization L*U of the matrix,
// then corrections x += (LU)^-1 (bp - A x) until the Euclidean residual falls to tol times its
// value at entry, or nit corrections (at least one; nit <= 0 counts as 1).
void msi_fatores(const Linha* a, FatorL* msi_L, FatorU* msi_U, int N, int nx, int ny);
void msi(const Linha* a, const FatorL* msi_L, const FatorU* msi_U, int ny, int nx, int N, double* x, double tol,
         int nit, const double* bp);

// The substitutions of one MSI correction, exposed for the benchmarks: y = L^-1 res, and
// delta = U^-1 y with x += delta.
void msi_avanco(int nx, int ny, int N, const FatorL* msi_L, const double* res, double* y);

// The five solvers as one set, so that a whole run can be made with another rendering of them
// (the tests and the benchmarks compare the program's kernels with the literal loops).
struct Solvers {
    void (*jacobi)(int, int, int, int, const Linha*, const double*, double*);
    void (*gauss_seidel)(int, int, int, int, const Linha*, const double*, double*);
    void (*sor)(int, int, int, int, double, const Linha*, const double*, double*);
    void (*adi)(int, int, int, int, const Linha*, const double*, double*);
    void (*msi_fatores)(const Linha*, FatorL*, FatorU*, int, int, int);
    void (*msi)(const Linha*, const FatorL*, const FatorU*, int, int, int, double*, double, int, const double*);
};

inline constexpr Solvers solvers_do_programa{&jacobi, &gauss_seidel, &sor, &adi, &msi_fatores, &msi};

// The solver chosen by `solver` (1 Jacobi, 2 Gauss-Seidel, 3 SOR, 4 ADI, 5 MSI); any other value
// runs none and x keeps its values. MSI needs its factor arrays.
void resolve(int solver, int nx, int ny, int N, int nit, double tol, double w, const Linha* a, const double* bp,
             double* x, FatorL* msi_L, FatorU* msi_U, const Solvers& s = solvers_do_programa);

// The work arrays of N + 1 entries that a solver keeps from one call to the next (Jacobi and
// SOR the field before, ADI its two line multipliers, MSI the residual, y and the correction),
// and their reservation before the cycle.
int vetores_de_trabalho(int solver);
void reserva_trabalho(int solver, int N);

}  // namespace quelna
