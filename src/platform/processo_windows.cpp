#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <cerrno>

#include "platform/processo.hpp"
#include "platform/windows.hpp"

namespace quelna {

std::vector<std::string> argumentos(int argc, char** argv) {
    int n = 0;
    LPWSTR* w = CommandLineToArgvW(GetCommandLineW(), &n);
    if (w == nullptr || n != argc) {
        if (w) LocalFree(w);
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> r;
    for (int k = 0; k < n; ++k) r.push_back(windows::utf8(w[k]));
    LocalFree(w);
    return r;
}

std::string caminho_do_executavel() {
    std::wstring buf(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
    return n > 0 && n < buf.size() ? windows::utf8(buf.substr(0, n)) : std::string();
}

int numero_do_processo() { return static_cast<int>(GetCurrentProcessId()); }

bool erro_no_terminal() {
    DWORD modo = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &modo) != 0;
}

int muda_de_pasta(const std::string& pasta) {
    const std::wstring w = windows::largo(pasta);
    const DWORD a = GetFileAttributesW(w.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return windows::erro_do_sistema(GetLastError());
    if (!(a & FILE_ATTRIBUTE_DIRECTORY)) return ENOTDIR;
    return SetCurrentDirectoryW(w.c_str()) ? 0 : windows::erro_do_sistema(GetLastError());
}

}  // namespace quelna
