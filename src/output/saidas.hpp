// What a run writes after its cycle: the plots, the centre-line profiles, the velocities of
// interest on the base grid and the field tables.
#pragma once

#include <string>

#include "discretization/modelo.hpp"
#include "platform/arquivo.hpp"

namespace quelna {

// Puts the title line and "replot" after the first `mantidas` lines of a plot script and runs
// the plotter on it. The script is rewritten through a temporary file renamed over it, so a
// crash never leaves it cut short. A missing script, or one shorter than its kept lines, is
// left as it is and not plotted; the reason goes to standard error. Returns whether it plotted.
bool reescreve_e_plota(const std::string& script, int mantidas, const std::string& titulo_grafico);

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
