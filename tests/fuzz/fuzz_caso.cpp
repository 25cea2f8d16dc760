// libFuzzer target: the case reader on any bytes and, for the cases it accepts on tiny grids,
// a whole run with the iteration limit capped, in a folder of its own and under the case's own
// names. What it checks beyond "no crash": the listing and the iteration file land in that
// folder under the names the case gives, no other file appears, and the title line of every
// plot script is one gnuplot string that holds the title exactly.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "input/caso.hpp"
#include "input/cabecalho.hpp"
#include "output/saidas.hpp"
#include "platform/arquivo.hpp"
#include "platform/formato.hpp"
#include "run/execucao.hpp"

namespace fs = std::filesystem;

namespace {

bool pasta_pronta = false;

void exige(bool condicao) {
    if (!condicao) std::abort();
}

// A folder of its own holding plot scripts of the kept lengths, with no plotter and no editor
// within reach, so that a run rewrites the scripts but starts no program.
void entra_em_pasta_temporaria() {
    if (pasta_pronta) return;
    const char* tmp = std::getenv("TMPDIR");
    std::string modelo = std::string(tmp && *tmp ? tmp : "/tmp") + "/quelna-fuzz-XXXXXX";
    if (!mkdtemp(modelo.data()) || chdir(modelo.c_str()) != 0) std::abort();
    for (const quelna::Roteiro& r : quelna::roteiros) {
        quelna::ArquivoTexto f(r.nome);
        for (int k = 0; k < r.mantidas; ++k) f.linha("# linha mantida");
        f.fecha();
    }
    setenv("PATH", modelo.c_str(), 1);
    unsetenv("VISUAL");
    unsetenv("EDITOR");
    pasta_pronta = true;
}

// The text of one gnuplot string at the start of `s` (in apostrophes, which then hold none,
// or in quotation marks with backslash escapes), and what follows it.
bool le_string_gnuplot(std::string_view s, std::string& texto, std::string_view& resto) {
    texto.clear();
    if (s.empty()) return false;
    if (s[0] == '\'') {
        const auto fim = s.find('\'', 1);
        if (fim == std::string_view::npos) return false;
        texto = s.substr(1, fim - 1);
        resto = s.substr(fim + 1);
        return true;
    }
    if (s[0] != '"') return false;
    for (std::size_t k = 1; k < s.size(); ++k) {
        if (s[k] == '"') {
            resto = s.substr(k + 1);
            return true;
        }
        if (s[k] == '\\') {
            if (++k == s.size() || (s[k] != '\\' && s[k] != '"')) return false;
        }
        texto += s[k];
    }
    return false;
}

// The scripts this run rewrote: the residual plot and the profiles of its problem kind.
void confere_titulos(const std::string& titulo_grafico, int problema) {
    using namespace quelna;
    std::string esperado = sem_brancos_finais(titulo_grafico);
    if (!esperado.empty() && esperado.back() == '\'') esperado.pop_back();
    const bool shih = problema == 1;
    for (const Roteiro& r : {roteiro_r, shih ? roteiro_u_shih : roteiro_u_ghia, shih ? roteiro_v_shih : roteiro_v_ghia}) {
        std::string roteiro;
        exige(le_arquivo_comum(r.nome, 1 << 20, roteiro) == 0);
        const auto ini = roteiro.find("set title ");
        exige(ini != std::string::npos);
        const auto fim = roteiro.find('\n', ini);
        std::string_view linha(roteiro.data() + ini + 10, fim - ini - 10), resto;
        std::string texto;
        exige(le_string_gnuplot(linha, texto, resto));
        exige(texto == esperado);
        exige(resto.find_first_not_of(' ') == std::string_view::npos);
        exige(roteiro.substr(fim) == "\nreplot\n");
    }
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
    try {
        confere_nomes(caso, arquivos_da_execucao());
    } catch (const ErroCaso&) {
        return 0;
    }
    // An accepted name is a plain file name.
    exige(caso.nome_listagem.find('/') == std::string::npos && caso.nome_listagem != "." &&
          caso.nome_listagem != "..");
    caso.itmax = caso.itmax > 3 ? 3 : caso.itmax;
    if (caso.nit_uv > 20) caso.nit_uv = 20;
    if (caso.nit_p > 20) caso.nit_p = 20;
    if (caso.nmassa > 5) caso.nmassa = 5;

    std::set<std::string> antes;
    for (const auto& e : fs::directory_iterator(".")) antes.insert(e.path().filename().string());
    bool gravou = true;
    try {
        Campos c;
        prepara_campos(caso, c);
        ArquivoTexto listagem(caso.nome_listagem);
        const Cabecalho cab = data_hora(DataHora{2026, 12, 8, 14, 5, 9}, caso, listagem);
        lista_dados(caso, listagem);
        Trabalho t;
        solucao(caso, c, t, listagem, cab);
        listagem.fecha();
        confere_titulos(cab.titulo_grafico, caso.problema);
    } catch (const ErroArquivo&) {
        gravou = false;  // a name the file system does not take (too long, say)
    }
    if (gravou) {
        exige(fs::is_regular_file(caso.nome_listagem) && fs::is_regular_file(caso.nome_iteracoes) &&
              fs::is_regular_file(caso.nome_campos));
        // Nothing but the run's own files and the three it names (no temporary one left).
        const std::vector<std::string> da_execucao = arquivos_da_execucao();
        for (const auto& e : fs::directory_iterator(".")) {
            const std::string nome = e.path().filename().string();
            exige(antes.count(nome) || nome == caso.nome_listagem || nome == caso.nome_iteracoes ||
                  nome == caso.nome_campos || std::find(da_execucao.begin(), da_execucao.end(), nome) != da_execucao.end());
        }
    }
    // The next input starts from the scripts and data files alone.
    std::error_code ec;
    fs::remove(caso.nome_listagem, ec);
    fs::remove(caso.nome_iteracoes, ec);
    fs::remove(caso.nome_campos, ec);
    return 0;
}
