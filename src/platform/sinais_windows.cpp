// Interruption on Windows: Ctrl-C, Ctrl-Break and the closing of the console window end the
// cycle as SIGINT does elsewhere; a second Ctrl-C ends the program at once.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <csignal>
#include <cstdio>

#include "platform/sinais.hpp"

namespace quelna {

namespace {

volatile LONG recebido = 0;

BOOL WINAPI ao_evento(DWORD evento) {
    const bool fechando = evento == CTRL_CLOSE_EVENT || evento == CTRL_LOGOFF_EVENT || evento == CTRL_SHUTDOWN_EVENT;
    if (InterlockedCompareExchange(&recebido, SIGINT, 0) != 0 && !fechando) ExitProcess(128 + SIGINT);
    if (fechando) {
        // The system ends the process a few seconds after this returns: the run has them to
        // finish its iteration and write what it has, and ends before then on its own.
        Sleep(10000);
    }
    return TRUE;
}

}  // namespace

void instala_interrupcao() { SetConsoleCtrlHandler(ao_evento, TRUE); }

int sinal_recebido() { return static_cast<int>(recebido); }

void protege_saidas_padrao() {
    // A closed standard stream is opened on NUL, so that no file the run opens takes its place.
    for (int fd = 0; fd <= 2; ++fd)
        if (_get_osfhandle(fd) == -1 || _get_osfhandle(fd) == -2) {
            const int nulo = _open("NUL", fd == 0 ? _O_RDONLY : _O_WRONLY);
            if (nulo >= 0 && nulo != fd) {
                _dup2(nulo, fd);
                _close(nulo);
            }
        }
    // The messages are UTF-8; a console shows them as such, and its escapes for the progress line.
    SetConsoleOutputCP(CP_UTF8);
    DWORD modo = 0;
    const HANDLE erro = GetStdHandle(STD_ERROR_HANDLE);
    if (GetConsoleMode(erro, &modo)) SetConsoleMode(erro, modo | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

}  // namespace quelna
