// Iterative solvers of the five-point system. Every array is indexed by the volume number
// P = 1..N (entry 0 unused): row P of `a` reads
//   as*x(P-nx) + aw*x(P-1) + ap*x(P) + ae*x(P+1) + an*x(P+nx) = bp(P),
// and a term whose neighbour number falls outside 1..N is left out. The couplings across the
// ends of a row (aw in column 1, ae in column nx) are ordinary band terms. Each routine improves
// x in place from its current values; none changes a or bp.
#pragma once

#include <cstddef>
#include <vector>

#include "vetor/sistema.hpp"

namespace quelna {

// The system a solver sees: the grid's counts (fictitious volumes included), the rows and the
// right-hand side.
struct Sistema {
    int nx = 0, ny = 0, N = 0;
    const Linha* a = nullptr;
    const double* bp = nullptr;
};

// How far a solve goes: nit sweeps (or MSI corrections), MSI's tolerance on its residual, SOR's
// relaxation; each solver reads what concerns it.
struct Controles {
    int nit = 0;
    double tol = 0.0;
    double w = 1.0;
    // The system's matrix is expected to be the same from one call to the next (the pressure
    // correction's is a constant of the grid and dt): MSI keeps its factors with a copy of the
    // matrix and factors again only when a byte of it differs.
    bool matriz_fixa = false;
    // The matrix is, byte for byte, that of the last call on the same work arrays without
    // matriz_fixa (the v equation's is u's: they share the real rows and the walls). MSI then takes
    // the factors that call left rather than factoring again. The caller vouches for it.
    bool matriz_anterior = false;
};

// Volumes whose entries of an array (rows of the matrix, of a factor) are one and the same
// value, bit for bit: the columns i0..i1 of the grid's rows j0..j1 (none where j0 > j1). A uniform
// grid's pressure correction has such rows everywhere but along its walls, and its factors
// settle to such values a few dozen volumes from the west and south walls.
template <typename T>
struct Iguais {
    T valor;
    int i0 = 1, i1 = 0, j0 = 1, j1 = 0;
    bool vazio() const { return j0 > j1; }
};

struct Repeticoes {
    Iguais<Linha> a;
    Iguais<FatorL> L;
    Iguais<FatorU> U;
};

// What the solvers keep for a grid: MSI's factors, reserved once per run with the work arrays
// the solver keeps from one call to the next (Jacobi and SOR the field before, ADI its two line
// multipliers, MSI the residual, y and the correction, the last with the window of the later
// residuals, and on a team the later residuals whole).
struct Trabalho {
    std::vector<FatorL> msi_L;
    std::vector<FatorU> msi_U;
    // The grid of the matrix whose factors msi_L and msi_U hold (0 by 0 where they hold none).
    struct {
        int nx = 0, ny = 0;
    } msi_fatorada;
    // The factors of a matrix given as fixed, and that matrix (rows 1..N; nx, ny of its grid).
    struct FatoresGuardados {
        std::vector<FatorL> L;
        std::vector<FatorU> U;
        std::vector<Linha> a;
        int nx = 0, ny = 0;
        // Where that matrix's rows and its factors repeat one value: MSI takes it from registers.
        Repeticoes iguais;
        long long fatoracoes = 0;  // how many times they were computed (the tests read it)
    } msi_fixa;
    // The arrays of a grid of N volumes; given the grid's nx too, MSI's y with its gaps.
    void reserva(int solver, int N, int nx = 0);
    // Work array k (0 to 3) with at least n entries. It holds whatever the last call left there:
    // a solver writes each entry before it reads it. The sanitizer build fills it with NaN on
    // every call, so that an entry read before it is written shows in the results.
    double* vetor(int k, std::size_t n);

private:
    std::vector<double> vetores_[4];
};

// Every solver: improves x in place for the system s, with the controls k.
using Solver = void (*)(const Sistema& s, const Controles& k, double* x, Trabalho& t);

// Exactly nit sweeps of simultaneous displacements.
void jacobi(const Sistema& s, const Controles& k, double* x, Trabalho& t);

// Exactly nit sweeps of successive displacements: row 1 west to east, then column by column
// the rows 2..ny-1 south to north, then row ny west to east.
void gauss_seidel(const Sistema& s, const Controles& k, double* x, Trabalho& t);

// Gauss-Seidel sweeps, each followed by the over-relaxation of the whole field with w.
void sor(const Sistema& s, const Controles& k, double* x, Trabalho& t);

// Exactly nit double sweeps of alternating line solves: all rows, then all columns.
void adi(const Sistema& s, const Controles& k, double* x, Trabalho& t);

// The modified strongly implicit procedure: the incomplete factorization L*U of the matrix
// (into t, reserved there if it was not), then corrections x += (LU)^-1 (bp - A x) until the
// Euclidean residual falls to tol times its value at entry, or nit corrections (at least one;
// nit <= 0 counts as 1).
void msi(const Sistema& s, const Controles& k, double* x, Trabalho& t);

// The most corrections MSI takes for a given nit. With no limit the count would never match and
// only the tolerance could end the loop.
inline int correcoes_permitidas(int nit) { return nit < 1 ? 1 : nit; }

// MSI's two steps alone (the benchmarks time them apart), and the forward substitution of one
// correction, y = L^-1 res.
void msi_fatores(const Sistema& s, FatorL* msi_L, FatorU* msi_U);
void msi_correcoes(const Sistema& s, const FatorL* msi_L, const FatorU* msi_U, double* x, double tol, int nit,
                   Trabalho& t);
void msi_avanco(int nx, int ny, int N, const FatorL* msi_L, const double* res, double* y);

// The entries of MSI's work array y for a grid of nx by ny: its rows leave a few entries unused
// after them where the rows of a band would otherwise fall on the same cache sets.
std::size_t tamanho_de_y(int nx, int ny);

// The solver chosen by `solver` (1 Jacobi, 2 Gauss-Seidel, 3 SOR, 4 ADI, 5 MSI); any other value
// runs none and x keeps its values.
void resolve(int solver, const Sistema& s, const Controles& k, double* x, Trabalho& t);

// Whether `solver` hands part of its work to a second member of a team where the team's scope
// allows it (MSI its later residuals).
inline bool solver_com_parceiro(int solver) { return solver == 5; }

// The plain loops of the solvers: their readable definition, which the fast forms above match
// byte for byte and run where the literal rendering is chosen. They take their work arrays anew.
namespace literal {
void jacobi(const Sistema& s, const Controles& k, double* x, Trabalho& t);
void gauss_seidel(const Sistema& s, const Controles& k, double* x, Trabalho& t);
void sor(const Sistema& s, const Controles& k, double* x, Trabalho& t);
void adi(const Sistema& s, const Controles& k, double* x, Trabalho& t);
void msi(const Sistema& s, const Controles& k, double* x, Trabalho& t);
void msi_fatores(const Sistema& s, FatorL* msi_L, FatorU* msi_U);
void msi_correcoes(const Sistema& s, const FatorL* msi_L, const FatorU* msi_U, double* x, double tol, int nit,
                   Trabalho& t);
void msi_avanco(int nx, int ny, int N, const FatorL* msi_L, const double* res, double* y);
}  // namespace literal

}  // namespace quelna
