// The shared model of a run: the case values and the field arrays over the grid.
//
// Columns i = 1..nx run west to east and rows j = 1..ny south to north, both counting the one
// layer of fictitious volumes around the real ones; volume P = (j-1)*nx + i. Every field holds
// N + 1 entries so that it is indexed by P from 1 to N exactly as the equations write it;
// entry 0 is never used.
#pragma once

#include <string>
#include <vector>

#include "vetor/sistema.hpp"

namespace quelna {

struct CaseData {
    // The 21 values of the case file (texts in Latin-1, blank-padded).
    std::string caso = std::string(20, ' ');
    int nx = 0, ny = 0;  // after reading: the real volumes plus the two fictitious ones
    double dt = 0.0, tolm = 0.0;
    int itmax = 0, solver = 0, nmassa = 0;
    double tol_uv = 0.0, tol_p = 0.0;
    int nit_uv = 0, nit_p = 0;
    double w = 0.0, Re = 0.0, beta = 0.0;
    int campos = 0, freq = 0, problema = 0, inicial = 0, malha = 0;
    std::string titulo = std::string(50, ' ');

    // Derived after reading.
    int N = 0;
    double Lx = 1.0, Ly = 1.0, Uplaca = 1.0;
    double dx = 0.0, dy = 0.0, mi = 0.0;

    // Names of the files made of `caso`, in the encoding of the case file.
    std::string nome_listagem;  // caso without trailing blanks
    std::string nome_iteracoes; // caso without leading and trailing blanks, then ".itn"
    std::string nome_campos;    // the same, then ".vti": the fields file
};

using Campo = std::vector<double>;

struct Campos {
    Campo u, v, p;
    Campo uex, vex, pex, fonte_v;
    Campo plinha, ue, vn;
    std::vector<Linha> a;
    Campo bp, dc_u, dc_v;
    Campo u0, v0, ue0, vn0;
    Campo psi;                  // reserved after the cycle
};

// Bytes that the field arrays of a case and its solver's work arrays take (the estimate
// checked before reserving them).
double bytes_dos_campos(const CaseData& caso);

// Reserves the field arrays, zero-filled, in the order of the case set-up (MSI's factors are
// the solver's, reserved with its work arrays).
void reserva_campos(const CaseData& caso, Campos& c);

// Releases the arrays that only the outer iteration cycle uses.
void libera_campos_do_ciclo(Campos& c);

}  // namespace quelna
