// quelna-estudo: one command for a grid-convergence study of a quelna case.
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "input/caso.hpp"
#include "platform/arquivo.hpp"
#include "platform/processo.hpp"
#include "platform/sinais.hpp"
#include "study/estudo.hpp"

namespace fs = std::filesystem;

namespace {

const char* const uso =
    "uso: quelna-estudo [--saida PASTA] [--motor local|parallel|slurm] [--tarefas N] [--hosts H1,H2]\n"
    "                   [--quelna PROGRAMA] [--valor NOME=VALOR[@N1,N2...]]... PASTA_DO_CASO N1 N2 [N3 ...]\n";

void ajuda() {
    std::cout << "quelna-estudo - estudo de convergência de malha de um caso do quelna.\n\n"
              << uso
              << "\nCria uma pasta por malha (N volumes reais em cada direção) em PASTA (padrão: estudo), com o\n"
                 "arquivo de dados do caso e os roteiros de gráfico, roda o quelna em cada uma, lê de volta os\n"
                 "valores da listagem e estima o erro de discretização de cada valor: com as três malhas mais\n"
                 "finas, ordem aparente, valor extrapolado e GCI; com duas, extrapolação de Richardson com a\n"
                 "ordem formal. Compara com a solução analítica (Shih) ou com Ghia et al. (Re = 100, 400, 1000),\n"
                 "e os perfis de cada malha nas estações da referência. Diz o que cada malha fez (convergiu, parou\n"
                 "em itmax, divergiu); uma malha que divergiu ou falhou não entra em nenhuma estimativa.\n"
                 "Grava estudo.md, estudo.csv, erro.png, perfis_u.png e perfis_v.png.\n\n"
                 "  --motor local     os casos rodam nesta máquina, tantos ao mesmo tempo quantos os núcleos (padrão)\n"
                 "  --motor parallel  os casos rodam pelo GNU Parallel; com --hosts, por ssh nessas máquinas\n"
                 "  --motor slurm     os casos rodam como um job array do Slurm (sbatch --wait)\n"
                 "  --tarefas N       casos ao mesmo tempo (local e parallel)\n"
                 "  --quelna P        o programa quelna (padrão: o que está ao lado deste, ou o do PATH)\n"
                 "  --valor NOME=V@N  troca um valor do arquivo de dados (pelo nome: dt, itmax, nit_p, ...) nas\n"
                 "                    malhas N dadas (sem @, em todas); por exemplo --valor nit_p=300@256,512\n\n"
                 "Saída: 0 todas as malhas rodaram; 1 alguma malha falhou (o relatório traz o que há); 2 uso errado,\n"
                 "caso inválido, malha repetida ou pasta que o estudo não criou (nada é apagado).\n";
}

std::string quelna_padrao() {
    // quelna beside this program (with the same extension: ".exe" on Windows), or on PATH.
    const std::string este = quelna::caminho_do_executavel();
    if (!este.empty()) {
        const fs::path ao_lado = fs::path(este).parent_path() / ("quelna" + fs::path(este).extension().string());
        if (fs::exists(ao_lado)) return ao_lado.string();
    }
    const std::string no_path = quelna::procura_no_path("quelna");
    return no_path.empty() ? "quelna" : no_path;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace quelna::estudo;
    quelna::protege_saidas_padrao();
    OpcoesExecucao opcoes;
    std::string saida = "estudo", pasta;
    std::vector<int> tamanhos;
    std::vector<ValorDoCaso> valores;
    const auto erro = [](const std::string& m) {
        std::cerr << "quelna-estudo: " << m << '\n' << uso;
        return 2;
    };
    for (int k = 1; k < argc; ++k) {
        const std::string a = argv[k];
        const auto valor = [&]() -> const char* { return k + 1 < argc ? argv[++k] : nullptr; };
        if (a == "--help") {
            ajuda();
            return 0;
        } else if (a == "--saida" || a == "--motor" || a == "--tarefas" || a == "--hosts" || a == "--quelna" ||
                   a == "--valor") {
            const char* v = valor();
            if (!v) return erro("falta o valor de " + a);
            if (a == "--valor") {
                try {
                    valores.push_back(le_valor_do_caso(v));
                } catch (const std::invalid_argument& e) {
                    return erro(e.what());
                }
            } else if (a == "--saida") {
                saida = v;
            } else if (a == "--motor") {
                const std::string m = v;
                if (m == "local") opcoes.motor = Motor::local;
                else if (m == "parallel") opcoes.motor = Motor::parallel;
                else if (m == "slurm") opcoes.motor = Motor::slurm;
                else return erro("motor desconhecido: " + m);
            } else if (a == "--tarefas") {
                char* fim = nullptr;
                const long n = std::strtol(v, &fim, 10);
                if (*fim != '\0' || n < 1 || n > 4096) return erro("número de tarefas inválido: " + std::string(v));
                opcoes.tarefas = static_cast<int>(n);
            } else if (a == "--hosts") {
                std::string h = v;
                for (std::size_t ini = 0; ini <= h.size();) {
                    const auto fim = h.find(',', ini);
                    if (fim != ini) opcoes.hosts.push_back(h.substr(ini, fim - ini));
                    if (fim == std::string::npos) break;
                    ini = fim + 1;
                }
            } else {
                opcoes.quelna = fs::absolute(v).string();
            }
        } else if (pasta.empty()) {
            pasta = a;
        } else {
            char* fim = nullptr;
            const long n = std::strtol(a.c_str(), &fim, 10);
            if (*fim != '\0' || n < 1 || n > 100000) return erro("tamanho de malha inválido: " + a);
            tamanhos.push_back(static_cast<int>(n));
        }
    }
    if (pasta.empty() || tamanhos.size() < 2) return erro("dê a pasta do caso e pelo menos duas malhas");
    if (opcoes.quelna.empty()) opcoes.quelna = quelna_padrao();
    try {
        // One study at a time in a folder: a second one would delete the grids of the first.
        std::filesystem::create_directories(saida);
        const quelna::Trava trava(saida + "/.quelna-estudo.trava");
        if (!trava.obtida()) {
            std::cerr << "quelna-estudo: outro estudo está em andamento na pasta \"" << saida
                      << "\"; espere que ele termine ou escolha outra --saida\n";
            return 2;
        }
        Estudo e = faz_estudo(pasta, tamanhos, saida, opcoes, valores);
        for (const auto& a : e.avisos) std::cerr << "quelna-estudo: " << a << '\n';
        const std::string raiz = fs::absolute(saida).lexically_normal().string();
        const std::vector<std::string> figuras = escreve_relatorio(e, raiz);
        std::string arquivos = "estudo.csv";
        for (const auto& f : figuras) arquivos += ", " + f;
        std::cout << "relatório em " << raiz << "/estudo.md (e " << arquivos << ")\n";
        if (figuras.empty()) std::cerr << "quelna-estudo: o gnuplot não desenhou nenhuma figura (está instalado?)\n";
        return e.avisos.empty() ? 0 : 1;
    } catch (const quelna::ErroCaso& e) {
        std::cerr << "quelna-estudo: " << e.what() << '\n';
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "quelna-estudo: " << e.what() << '\n';
        return 2;
    }
}
