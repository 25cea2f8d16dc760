// libFuzzer target: the case reader on any bytes and, for the cases it accepts on tiny grids,
// a whole run with the iteration limit capped.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <string_view>

#include "input/caso.hpp"
#include "input/cabecalho.hpp"
#include "platform/arquivo.hpp"
#include "run/execucao.hpp"

namespace {

bool pasta_pronta = false;

// A folder of its own holding plot scripts of the kept lengths, with no plotter and no editor
// within reach, so that a run rewrites the scripts but starts no program.
void entra_em_pasta_temporaria() {
    if (pasta_pronta) return;
    char modelo[] = "/tmp/quelna-fuzz-XXXXXX";
    if (!mkdtemp(modelo) || chdir(modelo) != 0) std::abort();
    const std::pair<const char*, int> roteiros[] = {
        {"r.gnu", 6}, {"u_Ghia.gnu", 9}, {"v_Ghia.gnu", 8}, {"u_Shih.gnu", 7}, {"v_Shih.gnu", 6}};
    for (const auto& [nome, linhas] : roteiros) {
        quelna::ArquivoTexto f(nome);
        for (int k = 0; k < linhas; ++k) f.linha("# linha mantida");
        f.fecha();
    }
    setenv("PATH", modelo, 1);
    unsetenv("VISUAL");
    unsetenv("EDITOR");
    pasta_pronta = true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    using namespace quelna;
    const std::string_view texto(reinterpret_cast<const char*>(dados), tamanho);
    CaseData caso;
    try {
        caso = le_caso_texto(texto, arquivo_caso);
    } catch (const ErroCaso&) {
        return 0;
    }
    if (caso.N > 12 * 12) return 0;
    entra_em_pasta_temporaria();
    caso.itmax = caso.itmax > 3 ? 3 : caso.itmax;
    if (caso.nit_uv > 20) caso.nit_uv = 20;
    if (caso.nit_p > 20) caso.nit_p = 20;
    if (caso.nmassa > 5) caso.nmassa = 5;
    caso.nome_listagem = "listagem";
    caso.nome_iteracoes = "iteracoes.itn";
    try {
        Campos c;
        prepara_campos(caso, c);
        ArquivoTexto listagem("listagem");
        const Cabecalho cab = data_hora(DataHora{2026, 12, 8, 14, 5, 9}, caso, listagem);
        lista_dados(caso, listagem);
        solucao(caso, c, listagem, cab);
        listagem.fecha();
    } catch (const ErroArquivo&) {
    }
    return 0;
}
