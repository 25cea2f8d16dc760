// quelna with the literal loops in place of the fast kernels: the same run, for comparing the
// listings and the times of the two renderings.
#include "platform/janela.hpp"
#include "platform/sinais.hpp"
#include "referencia/referencia.hpp"
#include "run/execucao.hpp"

int main() {
    using namespace quelna;
    instala_interrupcao();
    JanelaTexto janela;
    INITIALSETTINGS(janela);
    return principal(janela, agora_local, referencia::nucleos());
}
