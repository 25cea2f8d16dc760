#include <iostream>

#include "input/caso.hpp"
#include "platform/comando.hpp"
#include "platform/formato.hpp"
#include "platform/sinais.hpp"
#include "run/execucao.hpp"

namespace quelna {

int principal(JanelaTexto& janela, const FonteDataHora& data, const Nucleos& nucleos) {
    janela.define_titulo(latin1(titulo_janela));

    CaseData caso;
    Campos c;
    try {
        le_dados(caso, c);
    } catch (const ErroCaso& e) {
        std::cerr << "quelna: " << e.what() << '\n';
        return saida_caso_invalido;
    } catch (const ErroArquivo& e) {
        std::cerr << "quelna: " << e.what() << '\n';
        return saida_erro_arquivo;
    }

    try {
        ArquivoTexto listagem(caso.nome_listagem);
        const Cabecalho cab = data_hora(data(), caso, listagem);
        lista_dados(caso, listagem);
        solucao(caso, c, listagem, cab, nucleos);
        listagem.fecha();
    } catch (const ErroArquivo& e) {
        std::cerr << "quelna: " << e.what() << '\n';
        return saida_erro_arquivo;
    }

    // The listing is shown last, complete, after every plot and the iteration file.
    const std::string comando = ajusta("notepad " + caso.nome_listagem, 70);
    const int estado = executar_comando(comando, static_cast<int>(comando.size()));
    (void)estado;
    janela.fecha_sem_perguntar();
    // An interrupted run wrote everything it had, and says it was interrupted.
    if (sinal_recebido() != 0) return 128 + sinal_recebido();
    return saida_ok;
}

}  // namespace quelna
