// Reading the case file "Quelna_1p3.ent" and setting up the run.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "discretization/modelo.hpp"

namespace quelna {

inline constexpr const char* arquivo_caso = "Quelna_1p3.ent";

// The names of the 21 values, line by line.
inline constexpr const char* nomes_dos_valores[21] = {
    "caso",   "nx",     "ny", "dt",    "tolm",   "itmax",     "solver",   "nmassa",  "tol_uv", "tol_p", "nit_uv",
    "nit_p",  "w",      "Re", "beta",  "campos", "freq",      "problema", "inicial", "malha",  "titulo"};

// A case file that cannot be used. what() is the Portuguese message, naming the file, the
// line, the value and what was found.
class ErroCaso : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The values fixed and derived after reading, from nx and ny (real volumes) and Re: Lx = Ly =
// Uplaca = 1, nx and ny with the two fictitious volumes added, dx, dy, mi = 1/Re and N.
void deriva_malha(CaseData& c);

// Reads the 21 values from the text of a case file and derives the grid values. `nome` is the
// file's name for the messages. Throws ErroCaso.
CaseData le_caso_texto(std::string_view conteudo, const std::string& nome);

// The same from a file on disk; a missing or unreadable file is an ErroCaso too.
CaseData le_caso(const std::string& nome);

// The listing and the iteration file take the case's name, which must be neither one of the
// files the run reads or writes (`da_execucao`) nor that of a file an earlier run did not write
// (a user's data beside the case), nor anything but a regular file. Throws ErroCaso.
void confere_nomes(const CaseData& caso, const std::vector<std::string>& da_execucao);
// The first of those checks alone, which needs no folder.
void confere_nome_reservado(const CaseData& caso, const std::vector<std::string>& da_execucao);

// The set-up of a run: shows the case file in the text viewer, reads it, checks the names it
// gives against the files of the run, reserves the field arrays and sets the initial fields.
// Nothing is written before the case has passed every check.
void le_dados(CaseData& caso, Campos& c, const std::vector<std::string>& da_execucao);

// The steps after reading: reserve the arrays and set the initial fields (and, for the
// Shih problem, write the exact profiles).
void prepara_campos(const CaseData& caso, Campos& c);

}  // namespace quelna
