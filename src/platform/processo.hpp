// This process: its arguments, its executable, its number, its working folder.
#pragma once

#include <string>
#include <vector>

namespace quelna {

// The command line's arguments, argv[0] first. On Windows they come from the wide command line as
// UTF-8, so that a folder's name keeps every character; elsewhere they are argv's bytes.
std::vector<std::string> argumentos(int argc, char** argv);

// The full path of the running executable, or empty when the system does not say.
std::string caminho_do_executavel();

// A program's full path as PATH finds it (with ".exe" on Windows, where the current folder is
// not searched), or empty.
std::string procura_no_path(const std::string& programa);

int numero_do_processo();

// True when standard error is a terminal (a console on Windows), where a progress line can
// rewrite itself.
bool erro_no_terminal();

// Makes `pasta` the working folder: 0, or the reason as an errno value (ENOTDIR when it is not
// a folder).
int muda_de_pasta(const std::string& pasta);

}  // namespace quelna
