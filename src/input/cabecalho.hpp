// The listing's date line and the echo of the case.
#pragma once

#include <string>

#include "discretization/modelo.hpp"
#include "platform/arquivo.hpp"
#include "platform/relogio.hpp"

namespace quelna {

// Texts of the run's date, composed once and kept for the whole run.
struct Cabecalho {
    std::string dia;             // 12 characters: (8/12/2026) and blanks
    std::string hora;            // 8 characters: 14:5:9 and blanks
    std::string titulo_grafico;  // 62 characters: the title, the date and an apostrophe
};

// Composes the date texts and writes the date line to the listing.
Cabecalho data_hora(const DataHora& agora, const CaseData& caso, ArquivoTexto& listagem);

// Writes the "DADOS" echo of the case to the listing.
void lista_dados(const CaseData& caso, ArquivoTexto& listagem);

}  // namespace quelna
