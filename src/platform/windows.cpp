#include "platform/windows.hpp"

#include <windows.h>

#include <cerrno>

#include "platform/formato.hpp"

namespace quelna::windows {

std::wstring largo(const std::string& nome) {
    if (e_utf8(nome)) {
        const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, nome.data(), int(nome.size()), nullptr, 0);
        if (n > 0) {
            std::wstring r(std::size_t(n), L'\0');
            MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, nome.data(), int(nome.size()), r.data(), n);
            return r;
        }
    }
    return de_latin1(nome);
}

std::wstring de_latin1(const std::string& texto) {
    std::wstring r;
    for (const char c : texto) r += wchar_t(static_cast<unsigned char>(c));
    return r;
}

std::string utf8(const std::wstring& texto) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, texto.data(), int(texto.size()), nullptr, 0, nullptr, nullptr);
    std::string r(std::size_t(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, texto.data(), int(texto.size()), r.data(), n, nullptr, nullptr);
    return r;
}

int erro_do_sistema(unsigned long codigo) {
    switch (codigo) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY: return EINVAL;
    case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return ENOMEM;
    default: return EIO;
    }
}

int confere_nome(const std::string& caminho) {
    // The last part of a path is the file's own name; the folders before it are the user's.
    const std::size_t barra = caminho.find_last_of("/\\");
    const std::string nome = barra == std::string::npos ? caminho : caminho.substr(barra + 1);
    if (nome.empty()) return EINVAL;
    for (const char c : nome)
        if (static_cast<unsigned char>(c) < 32 || std::string_view("<>:\"|?*").find(c) != std::string_view::npos)
            return EINVAL;
    if (nome.back() == '.' || nome.back() == ' ') return EINVAL;
    return 0;
}

bool entrada_no_console() {
    DWORD modo = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &modo) != 0;
}

}  // namespace quelna::windows
