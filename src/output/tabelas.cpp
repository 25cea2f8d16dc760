#include <algorithm>

#include "output/saidas.hpp"
#include "platform/formato.hpp"

namespace quelna {

void lista_campo(const Campo& valores, int linhas, int colunas, int ultimo, ArquivoTexto& listagem) {
    int k = 1, c = 1, m = colunas >= 8 ? 8 : colunas;
    for (;;) {
        listagem.vazia();
        listagem.linha("  parte " + inteiro(k, 3));
        int escrito = 0;
        for (int j = 1; j <= linhas; ++j) {
            std::string linha;
            for (int P = (j - 1) * colunas + c; P <= (j - 1) * colunas + c + m - 1; ++P) {
                linha += real_curto(valores[static_cast<std::size_t>(P)]);
                escrito = P;
            }
            listagem.linha(linha);
        }
        if (colunas < 8 || escrito == ultimo) return;
        c += 8;
        m = std::min(8, colunas - c + 1);
        ++k;
    }
}

void lista_campos(const CaseData& caso, const Campos& c, ArquivoTexto& listagem) {
    listagem.vazia();
    listagem.vazia();
    listagem.linha("          *** campos ***");
    listagem.vazia();
    listagem.linha("          na horizontal: contorno oeste para leste");
    listagem.vazia();
    listagem.linha("          na vertical  : contorno sul   para norte");
    const std::pair<const char*, const Campo*> tabelas[] = {
        {"velocidades u", &c.u},         {"velocidades v", &c.v},
        {"velocidades ue", &c.ue},       {"velocidades vn", &c.vn},
        {"pressões", &c.p},              {"variações de pressão", &c.plinha},
        {"fontes de plinha", &c.bp},     {"função de corrente", &c.psi},
    };
    for (const auto& [titulo, campo] : tabelas) {
        listagem.vazia();
        listagem.vazia();
        listagem.linha(std::string(30, ' ') + latin1(titulo));
        lista_campo(*campo, caso.ny, caso.nx, caso.N, listagem);
    }
}

}  // namespace quelna
