#include <string>

namespace quelna::sistema {

// A plain process: no window to title or minimize.
void titulo_do_console(const std::string&) {}
void minimiza_console_proprio() {}

}  // namespace quelna::sistema
