// What each system renders in its own way for the outside programs (comando_posix.cpp,
// comando_windows.cpp), under the portable part (comando.cpp).
#pragma once

#include <string>
#include <vector>

namespace quelna::sistema {

// The viewer's command line for `arquivo`, or none for a batch run.
std::vector<std::string> visualizador(const std::string& arquivo);

// The plotter's program (a name looked up on PATH, or a path).
std::string plotador();

// True when a user at the desktop can see a plot window and close it.
bool ha_quem_veja_janelas();

}  // namespace quelna::sistema
