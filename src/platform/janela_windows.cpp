#include <windows.h>

#include <string>

#include "platform/windows.hpp"

namespace quelna::sistema {

void titulo_do_console(const std::string& titulo) {
    // The title is Latin-1: each byte is its character.
    std::wstring w;
    for (const char c : titulo) w += wchar_t(static_cast<unsigned char>(c));
    SetConsoleTitleW(w.c_str());
}

void minimiza_console_proprio() {
    // A console that holds this process alone was made for it: the program was started from the
    // desktop. One that was already open belongs to the user, and stays as it is.
    DWORD processos[2];
    const HWND janela = GetConsoleWindow();
    if (janela != nullptr && GetConsoleProcessList(processos, 2) == 1) ShowWindow(janela, SW_MINIMIZE);
}

}  // namespace quelna::sistema
