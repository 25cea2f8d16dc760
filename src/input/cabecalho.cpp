#include "input/cabecalho.hpp"

#include "platform/formato.hpp"

namespace quelna {

Cabecalho data_hora(const DataHora& agora, const CaseData& caso, ArquivoTexto& listagem) {
    Cabecalho h;
    const auto t = [](int n) { return std::to_string(n); };
    h.dia = ajusta("(" + t(agora.dia) + "/" + t(agora.mes) + "/" + t(agora.ano) + ")", 12);
    h.hora = ajusta(t(agora.hora) + ":" + t(agora.minuto) + ":" + t(agora.segundo), 8);
    listagem.vazia();
    listagem.linha("     Dia = " + h.dia + "     Hora = " + h.hora);
    h.titulo_grafico = ajusta(sem_brancos_finais(caso.titulo) + " " + sem_brancos_finais(h.dia) + "'", 62);
    return h;
}

void lista_dados(const CaseData& caso, ArquivoTexto& listagem) {
    // Every value field is 20 or 22 columns wide, so that the "=" of a label falls in column 24.
    const auto i = [&](long long valor, const char* rotulo) {
        listagem.linha(inteiro(valor, 8) + std::string(12, ' ') + latin1(rotulo));
    };
    const auto r = [&](double valor, const char* rotulo) { listagem.linha(real_medio(valor) + latin1(rotulo)); };
    const long long reais_x = caso.nx - 2, reais_y = caso.ny - 2;

    listagem.vazia();
    listagem.linha(latin1("título = ") + caso.titulo);
    listagem.vazia();
    listagem.linha("     DADOS");
    listagem.vazia();
    listagem.linha(caso.caso + latin1("   = nome do experimento numérico"));
    listagem.vazia();
    i(reais_x, "   = número de volumes reais na direção X");
    i(reais_y, "   = número de volumes reais na direção Y");
    i(reais_x * reais_y, "   = número total de volumes reais");
    listagem.vazia();
    r(caso.dt, " = incremento de tempo (s)");
    r(caso.tolm, " = tolerância sobre as iterações externas (norma L1 adim.)");
    i(caso.itmax, "   = número máximo de iterações externas");
    listagem.vazia();
    i(caso.solver, "   = solver: 1=Jacobi; 2=Gauss-Seidel; 3=SOR; 4=ADI; 5=MSI");
    i(caso.nmassa, "   = número máximo de iterações no ciclo da massa");
    r(caso.tol_uv, " = tolerância no MSI para u,v");
    r(caso.tol_p, " = tolerância no MSI para plinha");
    i(caso.nit_uv, "   = número máximo de iterações internas para u,v");
    i(caso.nit_p, "   = número máximo de iterações internas para plinha");
    r(caso.w, " = coeficiente de relaxação do SOR");
    listagem.vazia();
    r(caso.Lx, " = comprimento do domínio na direção X");
    r(caso.Ly, " = comprimento do domínio na direção Y");
    r(caso.dx, " = comprimento dos volumes na direção X");
    r(caso.dy, " = comprimento dos volumes na direção Y");
    listagem.vazia();
    r(caso.Re, " = número de Reynolds");
    r(caso.mi, " = viscosidade absoluta (Pa.s)");
    listagem.vazia();
    r(caso.beta, " = função de interpolação: 0=UDS; 1=CDS");
    listagem.vazia();
    i(caso.problema, "   tipo de problema: 1=Shih; 2=Ghia");
    listagem.vazia();
    i(caso.inicial, "   tipo da condição inicial: 0=nulo; 1=solução analítica de Shih");
    listagem.vazia();
    i(caso.malha, "   = malha-base para u e v de interesse");
}

}  // namespace quelna
