// What a study reads of the flow itself from each grid's folder: the vortex centres, the extrema
// of the centre-line profiles, and for the Shih problem the norms of the error over the field.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "study/listagem.hpp"

namespace quelna::estudo {

// The values of a "vortices.dat": psi, x and y of each vortex, named "psi_primario",
// "x_primario", "y_primario", "psi_inferior_esquerdo" and so on, in the file's order.
std::vector<Valor> le_vortices(const std::string& texto);

// The extremum of a profile (position, value), sorted by position: the parabola through the
// extreme value and its two neighbours, its vertex and value there. False when the extreme value
// lies at an end of the profile.
struct ExtremoDoPerfil {
    bool existe = false;
    double posicao = 0.0, valor = 0.0;
};
ExtremoDoPerfil extremo_do_perfil(const std::vector<std::pair<double, double>>& perfil, bool maximo);

// The extrema of the two centre-line profiles as values: "u_min" with "y(u_min)" from (y, ue),
// "v_max", "x(v_max)", "v_min" and "x(v_min)" from (x, vn).
std::vector<Valor> extremos_dos_perfis(const std::vector<std::pair<double, double>>& perfil_u,
                                       const std::vector<std::pair<double, double>>& perfil_v);

// True for the names of the values above (vortices and profile extrema), which the error
// picture leaves to the tables.
bool valor_do_escoamento(const std::string& nome);

// The arrays of a fields file written by quelna (VTK ImageData, 64-bit reals in inline base64),
// by name. An array that cannot be read is left out.
std::map<std::string, std::vector<double>> le_campos_vtk(const std::string& texto);

// The max, L1 and L2 norms of an error over the real volumes of a uniform grid: the largest
// magnitude, the mean magnitude, the root of the mean square.
struct Normas {
    double maximo = 0.0, l1 = 0.0, l2 = 0.0;
};
Normas normas(const std::vector<double>& erro);

}  // namespace quelna::estudo
