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

// A line of the results block: the label the listing gives the value (ending in "="), and the
// short name by which the study's tables know it. The listing's reader uses the same table.
struct RotuloDeResultado {
    const char* rotulo;
    const char* nome;
};
inline constexpr RotuloDeResultado rotulos_dos_resultados[] = {
    {"tamanho médio dos volumes de controle =", "tamanho_medio"},
    {"fluxo de massa total com ue e psi (kg/s) =", "fluxo_total"},
    {"força da placa com uP e UDS-2 (N) =", "forca_uds2"},
    {"força da placa com uP e UDS (N) =", "forca_uds"},
    {"velocidade u central (m/s) =", "u_central"},
    {"velocidade v central (m/s) =", "v_central"},
    {"pressão central (Pa) =", "p_central"},
    {"derivada du/dy com uP e UDS-2 em x=0.5 e y=1 (1/s) =", "dudy_uds2"},
    {"derivada du/dy com uP e UDS em x=0.5 e y=1 (1/s) =", "dudy_uds"},
    {"fluxo de massa com vn em y=0.5 e x[0;0.5] (kg/s) =", "fluxo_vn"},
};
// The line of the stream function's minimum, written before the values of interest.
inline constexpr RotuloDeResultado rotulo_psi_min{"valor mínimo da função de corrente =", "psi_min"};

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
