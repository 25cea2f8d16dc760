#include "platform/sinais.hpp"

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

}  // namespace quelna
