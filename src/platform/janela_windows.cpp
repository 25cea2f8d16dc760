#include <windows.h>

#include <string>

#include "platform/windows.hpp"

namespace quelna::sistema {

// The title is Latin-1, as every text of the system.
void titulo_do_console(const std::string& titulo) { SetConsoleTitleW(windows::de_latin1(titulo).c_str()); }

void minimiza_console_proprio() {
    // A console that holds this process alone was made for it: the program was started from the
    // desktop. One that was already open belongs to the user, and stays as it is.
    DWORD processos[2];
    const HWND janela = GetConsoleWindow();
    if (janela != nullptr && GetConsoleProcessList(processos, 2) == 1) ShowWindow(janela, SW_MINIMIZE);
}

}  // namespace quelna::sistema
