// The few file operations that each system renders in its own way (arquivo_posix.cpp,
// arquivo_windows.cpp), under the portable part of the file module (arquivo.cpp).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace quelna::sistema {

// Up to `limite` + 1 bytes of a regular file (through a link only when `segue_link`): 0, or the
// reason as an errno value.
int le_ate(const std::string& nome, std::size_t limite, std::string& texto, bool segue_link);

// Writes all of `texto` to the descriptor: 0 or the errno value.
int escreve_tudo(int fd, std::string_view texto);
int fecha_descritor(int fd);

// A stream for writing bytes on the descriptor.
std::FILE* fluxo_de(int fd);

// Renames `de` over `para`, replacing it: 0 or the errno value.
int renomeia(const std::string& de, const std::string& para);

}  // namespace quelna::sistema
