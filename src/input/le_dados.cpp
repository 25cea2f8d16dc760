#include <algorithm>
#include <cerrno>
#include <new>
#include <utility>

#include "input/caso.hpp"
#include "input/shih.hpp"
#include "platform/arquivo.hpp"
#include "platform/comando.hpp"

namespace quelna {

void prepara_campos(const CaseData& caso, Campos& c) {
    try {
        reserva_campos(caso, c);
    } catch (const std::bad_alloc&) {
        throw ErroCaso(std::string(arquivo_caso) + ", linhas 2 e 3 (nx, ny): não há memória para " +
                       std::to_string(caso.nx - 2) + " x " + std::to_string(caso.ny - 2) + " volumes");
    }
    // The zero fill of u, v, p, plinha, ue, vn, dc_u, dc_v and fonte_v comes with the reservation.

    if (caso.problema == 1 || caso.inicial == 1) analitica_shih(caso, c);
    // The Ghia problem has no body force, even when it starts from the Shih fields.
    if (caso.problema == 2) std::fill(c.fonte_v.begin(), c.fonte_v.end(), 0.0);
    if (caso.inicial == 1) {
        faces_shih(caso, c);
        c.u = c.uex;
        c.v = c.vex;
        c.p = c.pex;
    }
    // The previous time level starts equal to the initial fields.
    c.u0 = c.u;
    c.v0 = c.v;
    c.ue0 = c.ue;
    c.vn0 = c.vn;
}

namespace {

// How each of the two files named by the case begins when an earlier run wrote it.
constexpr std::string_view inicio_da_listagem = "\n     Dia = ";
constexpr std::string_view inicio_das_iteracoes = "Itera";

}  // namespace

void confere_nome_reservado(const CaseData& caso, const std::vector<std::string>& da_execucao) {
    for (const std::string* nome : {&caso.nome_listagem, &caso.nome_iteracoes})
        if (std::find(da_execucao.begin(), da_execucao.end(), *nome) != da_execucao.end())
            throw ErroCaso(std::string(arquivo_caso) + ", linha 1 (caso): \"" + *nome +
                           "\" é o nome de um arquivo que a execução lê ou grava; escolha outro");
}

void confere_nomes(const CaseData& caso, const std::vector<std::string>& da_execucao) {
    confere_nome_reservado(caso, da_execucao);
    const std::string onde = std::string(arquivo_caso) + ", linha 1 (caso): ";
    const std::pair<const std::string*, std::string_view> nomes[] = {{&caso.nome_listagem, inicio_da_listagem},
                                                                      {&caso.nome_iteracoes, inicio_das_iteracoes}};
    for (const auto& [nome, inicio] : nomes) {
        std::string comeco;
        const int erro = le_inicio_do_arquivo(*nome, inicio.size(), comeco);
        if (erro == ENOENT) continue;
        if (erro != 0)
            throw ErroCaso(onde + "\"" + *nome + "\": " + motivo_do_sistema(erro) +
                           "; a execução grava a listagem e as iterações só em arquivos comuns");
        if (!comeco.empty() && comeco != inicio)
            throw ErroCaso(onde + "já existe \"" + *nome + "\" e não foi gravado pelo quelna; ele não foi "
                           "substituído (escolha outro nome ou apague-o)");
    }
    // The fields file is written under a temporary name and renamed over the old one.
    for (const std::string& nome : {caso.nome_campos, temporario_de(caso.nome_campos)})
        if (const int erro = confere_para_gravar(nome); erro != 0)
            throw ErroCaso(onde + "\"" + nome + "\": " + motivo_do_sistema(erro) +
                           "; a execução grava o arquivo de campos só em arquivos comuns");
}

void le_dados(CaseData& caso, Campos& c, const std::vector<std::string>& da_execucao) {
    const std::string comando = std::string("notepad ") + arquivo_caso;
    const int estado = executar_comando(comando, static_cast<int>(comando.size()));
    (void)estado;  // the viewer's outcome never stops the run
    caso = le_caso(arquivo_caso);
    confere_nomes(caso, da_execucao);
    prepara_campos(caso, c);
}

}  // namespace quelna
