// Reading the case file "Quelna_1p3.ent" and setting up the run.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "discretization/modelo.hpp"

namespace quelna {

inline constexpr const char* arquivo_caso = "Quelna_1p3.ent";

// A case file that cannot be used. what() is the Portuguese message, naming the file, the
// line, the value and what was found.
class ErroCaso : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the 21 values from the text of a case file and derives the grid values. `nome` is the
// file's name for the messages. Throws ErroCaso.
CaseData le_caso_texto(std::string_view conteudo, const std::string& nome);

// The same from a file on disk; a missing or unreadable file is an ErroCaso too.
CaseData le_caso(const std::string& nome);

// Memory the machine has, in bytes (0 when unknown).
double memoria_da_maquina();

// The set-up of a run: shows the case file in the text viewer, reads it, reserves the field
// arrays and sets the initial fields.
void le_dados(CaseData& caso, Campos& c);

// The steps after reading: reserve the arrays and set the initial fields (and, for the
// Shih problem, write the exact profiles).
void prepara_campos(const CaseData& caso, Campos& c);

}  // namespace quelna
