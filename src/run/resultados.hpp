// The values by which a run is judged: centre values, fluxes, the force on the lid, the stream
// function and its minimum.
#pragma once

#include "discretization/modelo.hpp"
#include "platform/arquivo.hpp"

namespace quelna {

struct Resultados {
    double u_central = 0.0, v_central = 0.0, p_central = 0.0;
    double fluxo_x05 = 0.0;
    double forca_uds2 = 0.0, forca_uds = 0.0;
    double dudy_uds2 = 0.0, dudy_uds = 0.0;
    double fluxo_vn = 0.0;
};

// The values of interest from the current fields.
Resultados resultados(const CaseData& caso, const Campos& c);

// Reserves psi and integrates ue up each east face line from the south wall.
void funcao_corrente(const CaseData& caso, Campos& c);

// The smallest entry of psi, never-computed entries (0) included; NaN when any entry is NaN.
double psi_min(const CaseData& caso, const Campos& c);

// The side of a square of the mean area of a real volume.
double tamanho_medio(const CaseData& caso);

// The line of psi_min and the results block of the listing.
void lista_psi_min(double valor, ArquivoTexto& listagem);
void lista_resultados(const CaseData& caso, const Resultados& r, double psi_minimo, ArquivoTexto& listagem);

}  // namespace quelna
