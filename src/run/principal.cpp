#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <new>

#include "input/caso.hpp"
#include "input/shih.hpp"
#include "output/escoamento.hpp"
#include "output/saidas.hpp"
#include "platform/comando.hpp"
#include "platform/equipe.hpp"
#include "platform/formato.hpp"
#include "platform/sinais.hpp"
#include "run/execucao.hpp"
#include "solvers/solvers.hpp"
#include "vetor/faixas.hpp"

namespace quelna {

std::vector<std::string> arquivos_da_execucao() {
    std::vector<std::string> nomes = {arquivo_caso, arquivo_ucex,     arquivo_vcex, arquivo_r,   arquivo_u,
                                      arquivo_v,    arquivo_psi,      arquivo_vortices, "ghia_u.dat", "ghia_v.dat"};
    std::vector<Roteiro> todos(std::begin(roteiros), std::end(roteiros));
    todos.push_back(roteiro_psi);
    for (const Roteiro& r : todos) {
        nomes.push_back(r.nome);
        nomes.push_back(temporario_de(r.nome));
        for (const auto& saida : saidas_do_plotador(r.nome)) nomes.push_back(saida);
    }
    return nomes;
}

int threads_da_execucao(const char* valor) {
    if (valor == nullptr) return std::min(nucleos(), maximo_de_threads);
    const std::string v = valor;
    if (v.empty() || v.size() > 3 || v.find_first_not_of("0123456789") != std::string::npos) return 0;
    const int n = std::stoi(v);
    return n >= 1 && n <= maximo_de_threads ? n : 0;
}

int principal(JanelaTexto& janela, const FonteDataHora& data) {
    janela.define_titulo(latin1(titulo_janela));
    const char* pedido = std::getenv("QUELNA_THREADS");
    const int threads = threads_da_execucao(pedido);
    if (threads == 0) {
        std::cerr << "quelna: QUELNA_THREADS=\"" << pedido << "\" não é um número de threads: dê um inteiro de 1 a "
                  << maximo_de_threads << '\n';
        return saida_caso_invalido;
    }

    CaseData caso;
    Campos c;
    Trabalho trabalho;
    try {
        le_dados(caso, c, arquivos_da_execucao());
        // The solver's workspace is taken now, so that a grid it does not fit fails before the
        // listing is written rather than in the first iteration.
        trabalho.reserva(caso.solver, caso.N, caso.nx);
    } catch (const ErroCaso& e) {
        std::cerr << "quelna: " << e.what() << '\n';
        return saida_caso_invalido;
    } catch (const ErroArquivo& e) {
        std::cerr << "quelna: " << e.what() << '\n';
        return saida_erro_arquivo;
    } catch (const std::bad_alloc&) {
        std::cerr << "quelna: não há memória para preparar o caso\n";
        return saida_caso_invalido;
    }

    // Started once and kept for the whole run; the split loops take it. A team the user did not
    // ask for is kept only where it gains.
    Equipe equipe(threads);
    const ComEquipe com_equipe(&equipe, pedido == nullptr);
    Desfecho desfecho = Desfecho::itmax;
    try {
        ArquivoTexto listagem(caso.nome_listagem);
        const Cabecalho cab = data_hora(data(), caso, listagem);
        lista_dados(caso, listagem);
        // What was written before the cycle stays written, whatever ends the run later.
        listagem.descarrega();
        desfecho = solucao(caso, c, trabalho, listagem, cab).desfecho;
        listagem.fecha();
    } catch (const ErroArquivo& e) {
        std::cerr << "quelna: " << e.what() << '\n';
        return saida_erro_arquivo;
    } catch (const std::bad_alloc&) {
        std::cerr << "quelna: a memória acabou durante a execução; a listagem \"" << caso.nome_listagem
                  << "\" tem o que foi gravado até então\n";
        return saida_caso_invalido;
    }

    // The listing is shown last, complete, after every plot and the iteration file.
    // Padded to 70 characters, never cut: a name of many-byte characters may be longer.
    const std::string visor = "notepad " + caso.nome_listagem;
    const std::string comando = ajusta(visor, std::max<std::size_t>(70, visor.size()));
    const int estado = executar_comando(comando, static_cast<int>(comando.size()));
    (void)estado;
    janela.fecha_sem_perguntar();
    // A diverged or interrupted run wrote everything it had, and says how it ended.
    if (desfecho == Desfecho::divergiu) return saida_divergiu;
    if (sinal_recebido() != 0) return 128 + sinal_recebido();
    return saida_ok;
}

}  // namespace quelna
