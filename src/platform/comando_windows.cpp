// Outside programs on Windows: CreateProcessW with an explicit program path and one quoted
// argument per word, never the command interpreter; notepad for the viewer, gnuplot (beside
// wgnuplot, or on PATH) for the plotter.
#include <io.h>
#include <windows.h>

#include <cstdlib>
#include <map>

#include "platform/arquivo.hpp"
#include "platform/comando.hpp"
#include "platform/processo.hpp"
#include "platform/processos.hpp"
#include "platform/windows.hpp"

namespace quelna {

namespace {

bool existe_arquivo(const std::wstring& caminho) {
    const DWORD a = GetFileAttributesW(caminho.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// The program's full path: a path is taken as it is; a bare name is looked up in the folders of
// PATH, in order, with ".exe" added when it has no extension. The current folder is never
// searched (a case folder holding a "notepad.exe" must not run it).
std::wstring procura_programa(const std::string& nome) {
    std::wstring w = windows::largo(nome);
    if (w.find_first_of(L"\\/:") != std::wstring::npos) return existe_arquivo(w) ? w : std::wstring();
    if (w.find(L'.') == std::wstring::npos) w += L".exe";
    const DWORD n = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    std::wstring path(n, L'\0');
    if (n > 0) path.resize(GetEnvironmentVariableW(L"PATH", path.data(), n));
    for (std::size_t ini = 0; ini <= path.size();) {
        std::size_t fim = path.find(L';', ini);
        if (fim == std::wstring::npos) fim = path.size();
        std::wstring pasta = path.substr(ini, fim - ini);
        ini = fim + 1;
        if (pasta.size() >= 2 && pasta.front() == L'"' && pasta.back() == L'"') pasta = pasta.substr(1, pasta.size() - 2);
        if (pasta.empty() || pasta == L".") continue;
        const std::wstring caminho = pasta + (pasta.back() == L'\\' || pasta.back() == L'/' ? L"" : L"\\") + w;
        if (existe_arquivo(caminho)) return caminho;
    }
    return {};
}

// One argument as the C runtime of the program started will split it back: in quotation
// marks, backslashes doubled before a quotation mark, the mark escaped.
std::wstring argumento(const std::wstring& a) {
    if (!a.empty() && a.find_first_of(L" \t\n\v\"") == std::wstring::npos) return a;
    std::wstring r = L"\"";
    for (std::size_t k = 0;; ++k) {
        std::size_t barras = 0;
        while (k < a.size() && a[k] == L'\\') ++k, ++barras;
        if (k == a.size()) {
            r.append(2 * barras, L'\\');
            break;
        }
        if (a[k] == L'"') r.append(2 * barras + 1, L'\\').push_back(L'"');
        else r.append(barras, L'\\').push_back(a[k]);
    }
    return r + L"\"";
}

// The processes started and not yet waited for, by number.
std::map<int, HANDLE>& abertos() {
    static std::map<int, HANDLE> m;
    return m;
}

int estado_de(HANDLE processo) {
    DWORD codigo = 0;
    if (!GetExitCodeProcess(processo, &codigo)) return -1;
    return static_cast<int>(codigo);
}

HANDLE herdavel(const std::string& nome, bool gravar) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    if (!gravar || nome == saida_descartada)
        return CreateFileW(L"NUL", gravar ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                           OPEN_EXISTING, 0, nullptr);
    // The output is opened by the same rules as every file the run writes, then made inheritable.
    int fd = -1;
    try {
        fd = abre_para_gravar(nome);
    } catch (const ErroArquivo&) {
        return INVALID_HANDLE_VALUE;
    }
    HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    HANDLE copia = INVALID_HANDLE_VALUE;
    DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &copia, 0, TRUE, DUPLICATE_SAME_ACCESS);
    _close(fd);
    return copia;
}

}  // namespace

std::string procura_no_path(const std::string& programa) { return windows::utf8(procura_programa(programa)); }

int inicia_programa(const std::vector<std::string>& argv, const Redirecoes& r) {
    if (argv.empty() || argv[0].empty()) return -1;
    const std::wstring programa = procura_programa(argv[0]);
    if (programa.empty()) return -1;
    std::wstring linha = argumento(programa);
    for (std::size_t k = 1; k < argv.size(); ++k) linha += L" " + argumento(windows::largo(argv[k]));

    STARTUPINFOW si{};
    si.cb = sizeof si;
    HANDLE saida = INVALID_HANDLE_VALUE, entrada = INVALID_HANDLE_VALUE;
    if (!r.saida.empty() || r.sem_entrada) {
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        if (!r.saida.empty()) {
            saida = herdavel(r.saida, true);
            if (saida == INVALID_HANDLE_VALUE) return -1;
            si.hStdOutput = si.hStdError = saida;
        }
        if (r.sem_entrada) si.hStdInput = entrada = herdavel({}, false);
    }
    const std::wstring pasta = windows::largo(r.pasta);
    PROCESS_INFORMATION pi{};
    const BOOL ok = CreateProcessW(programa.c_str(), linha.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                   r.pasta.empty() ? nullptr : pasta.c_str(), &si, &pi);
    if (saida != INVALID_HANDLE_VALUE) CloseHandle(saida);
    if (entrada != INVALID_HANDLE_VALUE) CloseHandle(entrada);
    if (!ok) return -1;
    CloseHandle(pi.hThread);
    const int numero = static_cast<int>(pi.dwProcessId);
    abertos()[numero] = pi.hProcess;
    return numero;
}

int espera_programa(int pid) {
    const auto p = abertos().find(pid);
    if (p == abertos().end()) return -1;
    WaitForSingleObject(p->second, INFINITE);
    const int estado = estado_de(p->second);
    CloseHandle(p->second);
    abertos().erase(p);
    return estado;
}

int espera_algum_programa(int& estado) {
    if (abertos().empty()) return -1;
    std::vector<HANDLE> h;
    std::vector<int> numeros;
    for (const auto& [n, processo] : abertos()) {
        if (h.size() == MAXIMUM_WAIT_OBJECTS) break;
        h.push_back(processo);
        numeros.push_back(n);
    }
    const DWORD r = WaitForMultipleObjects(DWORD(h.size()), h.data(), FALSE, INFINITE);
    if (r >= WAIT_OBJECT_0 + h.size()) return -1;
    const int numero = numeros[r - WAIT_OBJECT_0];
    estado = espera_programa(numero);
    return numero;
}

namespace sistema {

// notepad for a user at the console; a batch run (its input not a console) shows nothing.
std::vector<std::string> visualizador(const std::string& arquivo) {
    if (!windows::entrada_no_console()) return {};
    // ".\" keeps a name such as "/A" or "-x" from being taken for one of notepad's options.
    return {"notepad", ".\\" + arquivo};
}

// The console gnuplot beside the wgnuplot that PATH finds, or one on PATH itself.
std::string plotador() {
    const std::wstring w = procura_programa("wgnuplot");
    if (!w.empty()) {
        const std::wstring ao_lado = w.substr(0, w.find_last_of(L"\\/") + 1) + L"gnuplot.exe";
        if (existe_arquivo(ao_lado)) return windows::utf8(ao_lado);
        return windows::utf8(w);
    }
    return "gnuplot";
}

bool ha_quem_veja_janelas() { return windows::entrada_no_console(); }

}  // namespace sistema

}  // namespace quelna
