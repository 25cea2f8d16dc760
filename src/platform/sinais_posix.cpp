#include "platform/sinais.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace quelna {

namespace {

volatile std::sig_atomic_t recebido = 0;

extern "C" void ao_sinal(int sinal) {
    if (recebido != 0) {
        // The second signal: the default action, at once.
        std::signal(sinal, SIG_DFL);
        std::raise(sinal);
        return;
    }
    recebido = sinal;
}

}  // namespace

void instala_interrupcao() {
    struct sigaction acao {};
    acao.sa_handler = ao_sinal;
    sigemptyset(&acao.sa_mask);
    acao.sa_flags = SA_RESTART;
    sigaction(SIGINT, &acao, nullptr);
    sigaction(SIGTERM, &acao, nullptr);
}

int sinal_recebido() { return recebido; }

void protege_saidas_padrao() {
    for (int fd = 0; fd <= 2; ++fd)
        if (fcntl(fd, F_GETFD) < 0 && errno == EBADF) {
            // open takes the lowest free number: this one.
            const int nulo = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
            if (nulo >= 0 && nulo != fd) close(nulo);
        }
    std::signal(SIGPIPE, SIG_IGN);
    // A file that reaches the size limit of the process (ulimit -f) then fails its write, and
    // the run names it, instead of ending without a word.
    std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace quelna
