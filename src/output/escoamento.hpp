// The flow itself, after the cycle: the stream function and the vorticity at the nodes of the
// grid, the centres of the vortices, and the files that show them (the stream-function data for
// the contour plot, the vortex table, and the fields file that ParaView opens).
#pragma once

#include <string>
#include <vector>

#include "discretization/modelo.hpp"
#include "output/saidas.hpp"

namespace quelna {

inline constexpr const char* arquivo_psi = "psi.dat";
inline constexpr const char* arquivo_vortices = "vortices.dat";
// A case folder without it runs as if the stream-function plot did not exist.
inline constexpr Roteiro roteiro_psi{"psi.gnu", 20, true};


// Values at the nodes, the corners of the real volumes: na + 1 columns by nb + 1 rows, na and nb
// the real volumes in x and y; node (a, b) lies at x = a*dx, y = b*dy, and the walls are a = 0,
// a = na, b = 0 and b = nb.
struct CamposNos {
    int na = 0, nb = 0;
    double dx = 0.0, dy = 0.0;
    std::vector<double> psi, vorticidade;
    int k(int a, int b) const { return b * (na + 1) + a; }
};

// psi at the nodes is the stream function at the north-east corner of each volume, 0 on the
// walls; the vorticity dv/dx - du/dy comes from the face velocities around each node, and on a
// wall from the one-sided second-order derivative with the wall's own velocity.
CamposNos campos_nos(const CaseData& caso, const Campos& c);

// A vortex centre, located between the nodes by the quadratic through the 3 x 3 nodes around
// the extremum of psi, and psi at that point.
struct Vortice {
    std::string nome;  // "primario", "inferior_esquerdo", "inferior_direito", "superior_esquerdo"
    double x = 0.0, y = 0.0, psi = 0.0;
};

// The primary vortex (the minimum of psi) and the corner eddies turning the other way (a positive
// local maximum of psi in the bottom-left, bottom-right and top-left quarters), those that exist.
std::vector<Vortice> vortices(const CamposNos& nos);

// The minimum (or the maximum) of the quadratic through the 3 x 3 values f around (a, b), in grid
// spacings from (a, b) (each at most 1), and its value there; the node itself when the quadratic
// has no extremum of that kind.
struct Extremo {
    double da = 0.0, db = 0.0, valor = 0.0;
};
Extremo ajusta_extremo(const CamposNos& nos, const std::vector<double>& f, int a, int b, bool maximo);

// "psi.dat": the node values column by column (x, y, psi), a blank line after each column, the
// grid layout the plotter's contours read.
void grava_psi(const CamposNos& nos, const std::string& nome = arquivo_psi);

// "vortices.dat": a heading line, then one line per vortex: name, x, y, psi.
void grava_vortices(const std::vector<Vortice>& v, const std::string& nome = arquivo_vortices);

// The fields as VTK XML ImageData: cell data u, v, p (relative to its mean over the real
// volumes) and p_bruta at the real volumes, point data psi and vorticidade at the nodes; for the
// Shih problem also the exact u, v, p (p relative to its mean) and the errors. Written under a
// temporary name and renamed, so the file is whole or absent.
void grava_campos_vtk(const CaseData& caso, const Campos& c, const CamposNos& nos, const std::string& nome);

// Everything above, after the listing is complete: the fields file, "psi.dat", "vortices.dat"
// and the stream-function plot when the case folder has its script.
void escoamento(const CaseData& caso, const Campos& c, const std::string& titulo_grafico);

}  // namespace quelna
