#include <cerrno>
#include <cstdio>
#include <iostream>
#include <vector>

#include "output/saidas.hpp"
#include "platform/comando.hpp"
#include "platform/formato.hpp"

namespace quelna {

std::string linha_de_titulo(const std::string& titulo_grafico) {
    // The composed title ends with its closing apostrophe and blanks, unless a long title cut
    // it away; either way the string that reaches gnuplot is closed.
    std::string conteudo = sem_brancos_finais(titulo_grafico);
    std::string depois;
    if (!conteudo.empty() && conteudo.back() == '\'') {
        conteudo.pop_back();
        depois = std::string(titulo_grafico.size() - conteudo.size() - 1, ' ');
    }
    return "set title " + aspas_gnuplot(conteudo) + depois;
}

bool reescreve_e_plota(const Roteiro& roteiro, const std::string& titulo_grafico) {
    const std::string script = roteiro.nome;
    const int mantidas = roteiro.mantidas;
    const auto aviso = [&](const std::string& motivo) {
        std::cerr << "quelna: roteiro de gráfico \"" << script << "\" " << motivo << "; o gráfico não foi feito\n";
        return false;
    };
    // The script is read, never through a link: it is replaced below, and a link would be lost.
    std::string texto;
    const int erro = le_arquivo_comum(script, limite_de_leitura, texto, false);
    if (erro == ENOENT) return roteiro.opcional ? false : aviso("não encontrado");
    if (erro != 0) return aviso("não pôde ser lido: " + motivo_do_sistema(erro));
    // What the plotter writes beside it is an output too: only regular files are replaced.
    const std::string temporario = temporario_de(script);
    std::vector<std::string> saidas = saidas_do_plotador(script);
    saidas.push_back(temporario);
    for (const auto& saida : saidas)
        if (const int e = confere_para_gravar(saida); e != 0)
            return aviso("não foi usado: \"" + saida + "\" " + motivo_do_sistema(e));

    std::string mantido;
    int lidas = 0;
    for (std::size_t ini = 0; lidas < mantidas && ini < texto.size(); ++lidas) {
        auto fim = texto.find('\n', ini);
        if (fim == std::string::npos) fim = texto.size();
        mantido.append(texto, ini, fim - ini).push_back('\n');
        ini = fim + 1;
    }
    if (lidas < mantidas)
        return aviso("tem " + std::to_string(lidas) + " linhas, menos que as " + std::to_string(mantidas) +
                     " que o programa mantém; ficou como estava");

    ArquivoTexto out(temporario);
    mantido.pop_back();  // the last line end comes with linha()
    out.linha(mantido);
    out.linha(linha_de_titulo(titulo_grafico));
    out.linha("replot");
    out.fecha_substituindo(script);

    const std::string comando = "wgnuplot " + script;
    const int estado = executar_comando(comando, static_cast<int>(comando.size()));
    // A missing plotter does not stop the run, and is named once.
    static bool sem_plotador = false;
    if (estado == -1 && !sem_plotador) {
        std::cerr << "quelna: o gnuplot não foi encontrado; a execução segue sem figuras\n";
        sem_plotador = true;
    }
    return true;
}

void grafico_r(const std::string& titulo_grafico) { reescreve_e_plota(roteiro_r, titulo_grafico); }

void perfil_u(const CaseData& caso, const Campos& c, ArquivoTexto& listagem, const std::string& titulo_grafico) {
    const int nx = caso.nx, ny = caso.ny;
    ArquivoTexto dados(arquivo_u);
    listagem.vazia();
    listagem.vazia();
    listagem.linha("     velocidade ue nodal em x = 0.5");
    listagem.vazia();
    std::string cabeca;
    na_coluna(cabeca, 4, "ue");
    na_coluna(cabeca, 19, "y");
    listagem.linha(cabeca);
    // The east face of column ic lies on x = 0.5 when the real columns are even in number.
    const int ic = nx / 2;
    for (int j = 1; j <= ny; ++j) {
        double valor = c.ue[(j - 1) * nx + ic];
        double y = (j - 2) * caso.dy + 0.5 * caso.dy;
        if (j == 1) valor = 0.0, y = 0.0;
        if (j == ny) valor = caso.Uplaca, y = caso.Ly;
        const std::string linha = real_curto(valor) + real_curto(y);
        listagem.linha(linha);
        dados.linha(linha);
    }
    dados.fecha();
    reescreve_e_plota(caso.problema == 1 ? roteiro_u_shih : roteiro_u_ghia, titulo_grafico);
}

void perfil_v(const CaseData& caso, const Campos& c, ArquivoTexto& listagem, const std::string& titulo_grafico) {
    const int nx = caso.nx;
    ArquivoTexto dados(arquivo_v);
    listagem.vazia();
    listagem.vazia();
    listagem.linha("     velocidade vn nodal em y = 0.5");
    listagem.vazia();
    std::string cabeca;
    na_coluna(cabeca, 4, "x");
    na_coluna(cabeca, 19, "vn");
    listagem.linha(cabeca);
    const int jc = caso.ny / 2;
    for (int i = 1; i <= nx; ++i) {
        double valor = c.vn[(jc - 1) * nx + i];
        double x = (i - 2) * caso.dx + 0.5 * caso.dx;
        if (i == 1) valor = 0.0, x = 0.0;
        if (i == nx) valor = 0.0, x = caso.Lx;
        const std::string linha = real_curto(x) + real_curto(valor);
        listagem.linha(linha);
        dados.linha(linha);
    }
    dados.fecha();
    reescreve_e_plota(caso.problema == 1 ? roteiro_v_shih : roteiro_v_ghia, titulo_grafico);
}

namespace {

void cabecalho_interesse(ArquivoTexto& listagem, const char* titulo, const char* primeira, const char* segunda) {
    listagem.vazia();
    listagem.vazia();
    listagem.linha(std::string("     ") + titulo);
    listagem.vazia();
    std::string cabeca;
    na_coluna(cabeca, 4, primeira);
    na_coluna(cabeca, 28, segunda);
    listagem.linha(cabeca);
}

}  // namespace

// On a grid whose real volumes are a multiple of malha the values fall on the interior nodes
// of a malha x malha grid, the same points on every such grid.
void u_interesse(const CaseData& caso, const Campos& c, ArquivoTexto& listagem) {
    const int nx = caso.nx, ny = caso.ny;
    cabecalho_interesse(listagem, "velocidade u de interesse em x = 0.5", "u", "y");
    if (caso.malha > ny - 2) return;
    const int s = (ny - 2) / caso.malha, ic = nx / 2;
    for (int j = 2; j <= ny - s; ++j) {
        if ((j - 1) % s != 0) continue;
        const int P = (j - 1) * nx + ic;
        // The mean of the two east faces below and above the corner at the top of row j.
        const double valor = 0.5 * (c.ue[P] + c.ue[P + nx]);
        listagem.linha(real_longo(valor) + real_longo((j - 1) * caso.dy));
    }
}

void v_interesse(const CaseData& caso, const Campos& c, ArquivoTexto& listagem) {
    const int nx = caso.nx, ny = caso.ny;
    cabecalho_interesse(listagem, "velocidade v de interesse em y = 0.5", "x", "v");
    if (caso.malha > nx - 2) return;
    const int s = (nx - 2) / caso.malha, jc = ny / 2;
    for (int i = 2; i <= nx - s; ++i) {
        if ((i - 1) % s != 0) continue;
        const int P = (jc - 1) * nx + i;
        const double valor = 0.5 * (c.vn[P] + c.vn[P + 1]);
        listagem.linha(real_longo((i - 1) * caso.dx) + real_longo(valor));
    }
}

}  // namespace quelna
