// What a run writes after its cycle: the plots, the centre-line profiles, the velocities of
// interest on the base grid and the field tables.
#pragma once

#include <string>

#include "discretization/modelo.hpp"
#include "platform/arquivo.hpp"

namespace quelna {

// The centre-line profiles.
inline constexpr const char* arquivo_u = "u.dat";
inline constexpr const char* arquivo_v = "v.dat";

// A plot script the user keeps beside the case, and how many of its first lines the run keeps.
struct Roteiro {
    const char* nome;
    int mantidas;
    bool opcional = false;  // a missing one is passed over without a word
};
inline constexpr Roteiro roteiro_r{"r.gnu", 6};
inline constexpr Roteiro roteiro_u_shih{"u_Shih.gnu", 7};
inline constexpr Roteiro roteiro_u_ghia{"u_Ghia.gnu", 9};
inline constexpr Roteiro roteiro_v_shih{"v_Shih.gnu", 6};
inline constexpr Roteiro roteiro_v_ghia{"v_Ghia.gnu", 8};
inline constexpr Roteiro roteiros[] = {roteiro_r, roteiro_u_shih, roteiro_u_ghia, roteiro_v_shih, roteiro_v_ghia};

// Puts the title line and "replot" after the kept lines of a plot script and runs the plotter
// on it. The script is rewritten through a temporary file renamed over it, so a crash never
// leaves it cut short. A missing script, one shorter than its kept lines, and one that is not a
// regular file or beside whose picture or log stands anything but a regular file, is left as it
// is and not plotted; the reason goes to standard error. Returns whether it plotted.
bool reescreve_e_plota(const Roteiro& roteiro, const std::string& titulo_grafico);

// The title line of a script: gnuplot's quoted string always closed, apostrophes doubled.
std::string linha_de_titulo(const std::string& titulo_grafico);

void grafico_r(const std::string& titulo_grafico);
void perfil_u(const CaseData& caso, const Campos& c, ArquivoTexto& listagem, const std::string& titulo_grafico);
void perfil_v(const CaseData& caso, const Campos& c, ArquivoTexto& listagem, const std::string& titulo_grafico);
void u_interesse(const CaseData& caso, const Campos& c, ArquivoTexto& listagem);
void v_interesse(const CaseData& caso, const Campos& c, ArquivoTexto& listagem);

// One field as a table of parts of at most 8 columns, rows south to north.
void lista_campo(const Campo& valores, int linhas, int colunas, int ultimo, ArquivoTexto& listagem);

// The "*** campos ***" block: eight fields, psi last.
void lista_campos(const CaseData& caso, const Campos& c, ArquivoTexto& listagem);

}  // namespace quelna
