// Files on Windows: the same rules as everywhere (regular files only, never through a link, a
// device or a pipe refused), through the wide-character API, so that a name reaches the file
// system as the same characters it has in the case.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>

#include "platform/arquivo.hpp"
#include "platform/sistema_de_arquivos.hpp"
#include "platform/windows.hpp"

namespace quelna {

namespace {

// What stands at `nome`, not following a link: 0 absent or a regular file, else the reason.
int o_que_ha(const std::wstring& nome, bool& existe) {
    const DWORD atributos = GetFileAttributesW(nome.c_str());
    existe = atributos != INVALID_FILE_ATTRIBUTES;
    if (!existe) {
        const DWORD e = GetLastError();
        return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? ENOENT : windows::erro_do_sistema(e);
    }
    if (atributos & FILE_ATTRIBUTE_REPARSE_POINT) return ELOOP;
    if (atributos & FILE_ATTRIBUTE_DIRECTORY) return EISDIR;
    return 0;
}

// A handle of a disk file, else why not (a device such as CON or NUL, a pipe).
int so_disco(HANDLE h) { return GetFileType(h) == FILE_TYPE_DISK ? 0 : ENXIO; }

// Opens with CreateFileW; 0 and the handle, or the reason.
int abre(const std::string& nome, DWORD acesso, DWORD criacao, bool segue_link, HANDLE& h) {
    h = INVALID_HANDLE_VALUE;
    if (const int e = windows::confere_nome(nome); e != 0) return e;
    const std::wstring w = windows::largo(nome);
    bool existe = false;
    const int antes = o_que_ha(w, existe);
    if (existe && antes != 0 && !(antes == ELOOP && segue_link)) return antes;
    if (!existe && criacao == OPEN_EXISTING) return antes;
    h = CreateFileW(w.c_str(), acesso, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, criacao,
                    FILE_ATTRIBUTE_NORMAL | (segue_link ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        return e == ERROR_FILE_NOT_FOUND ? ENOENT : windows::erro_do_sistema(e);
    }
    if (const int e = so_disco(h); e != 0) {
        CloseHandle(h);
        h = INVALID_HANDLE_VALUE;
        return e;
    }
    return 0;
}

}  // namespace

int abre_para_gravar(const std::string& nome) {
    HANDLE h;
    int erro = abre(nome, GENERIC_WRITE, CREATE_ALWAYS, false, h);
    int fd = -1;
    if (erro == 0) {
        fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_BINARY);
        if (fd < 0) {
            CloseHandle(h);
            erro = EMFILE;
        }
    }
    if (erro != 0)
        throw ErroArquivo("não foi possível criar o arquivo \"" + nome + "\": " + motivo_do_sistema(erro));
    return fd;
}

int confere_para_gravar(const std::string& nome) {
    if (const int e = windows::confere_nome(nome); e != 0) return e;
    bool existe = false;
    const int e = o_que_ha(windows::largo(nome), existe);
    return existe ? e : (e == ENOENT ? 0 : e);
}

void apaga_arquivo(const std::string& nome) { DeleteFileW(windows::largo(nome).c_str()); }

Trava::Trava(const std::string& nome) {
    HANDLE h;
    const int erro = abre(nome, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, false, h);
    if (erro != 0)
        throw ErroArquivo("não foi possível criar o arquivo de trava \"" + nome + "\": " + motivo_do_sistema(erro));
    OVERLAPPED o{};
    obtida_ = LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &o) != 0;
    fd_ = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDWR);
    if (fd_ < 0) CloseHandle(h);
}

Trava::~Trava() {
    if (fd_ >= 0) _close(fd_);
}

namespace sistema {

int le_ate(const std::string& nome, std::size_t limite, std::string& texto, bool segue_link) {
    texto.clear();
    HANDLE h;
    int erro = abre(nome, GENERIC_READ, OPEN_EXISTING, segue_link, h);
    if (erro != 0) return erro;
    char buf[65536];
    while (texto.size() <= limite) {
        const DWORD falta = DWORD(std::min(sizeof buf, limite + 1 - texto.size()));
        DWORD n = 0;
        if (!ReadFile(h, buf, falta, &n, nullptr)) {
            erro = windows::erro_do_sistema(GetLastError());
            break;
        }
        if (n == 0) break;
        texto.append(buf, n);
    }
    CloseHandle(h);
    if (erro != 0) texto.clear();
    return erro;
}

int escreve_tudo(int fd, std::string_view texto) {
    for (std::size_t feito = 0; feito < texto.size();) {
        const int n = _write(fd, texto.data() + feito, unsigned(std::min<std::size_t>(texto.size() - feito, 1 << 30)));
        if (n < 0) return errno;
        feito += static_cast<std::size_t>(n);
    }
    return 0;
}

int fecha_descritor(int fd) { return _close(fd); }

std::FILE* fluxo_de(int fd) { return _fdopen(fd, "wb"); }

int renomeia(const std::string& de, const std::string& para) {
    // Unlike rename, MoveFileExW replaces an existing file.
    if (MoveFileExW(windows::largo(de).c_str(), windows::largo(para).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    return windows::erro_do_sistema(GetLastError());
}

}  // namespace sistema

}  // namespace quelna
