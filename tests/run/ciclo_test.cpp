#include <gtest/gtest.h>

#include "../apoio.hpp"
#include "input/caso.hpp"
#include "platform/formato.hpp"
#include "run/execucao.hpp"

namespace quelna {

using namespace teste;

namespace {

struct Ciclo {
    CaseData caso;
    Campos c;
    EstadoCiclo e;
    std::vector<std::string> listagem, r_dat, iteracoes;
};

// Runs the cycle of a case in the current folder and returns what it wrote.
Ciclo roda_ciclo(const std::map<int, std::string>& trocas) {
    Ciclo r;
    r.caso = le_caso_texto(texto_caso(trocas), arquivo_caso);
    prepara_campos(r.caso, r.c);
    {
        ArquivoTexto l("lista"), it("it"), rd("r.dat");
        Trabalho t;
        r.e = ciclo(r.caso, r.c, t, l, it, rd);
        l.fecha();
        it.fecha();
        rd.fecha();
    }
    r.listagem = linhas_de(le_arquivo("lista"));
    r.r_dat = linhas_de(le_arquivo("r.dat"));
    r.iteracoes = linhas_de(le_arquivo("it"));
    return r;
}

std::vector<int> iteracoes_reportadas(const Ciclo& r) {
    std::vector<int> v;
    for (const auto& l : r.r_dat) v.push_back(std::stoi(l.substr(2, 8)));
    return v;
}

}  // namespace

TEST(OuterCycle, LinesOfTheListingAndTheIterationFile) {
    EXPECT_EQ(linha_de_residuo(1, 1.0), "         1   1.000000E+00");
    EXPECT_EQ(cabecalho_iteracoes(), latin1("Iteração   fluxo de massa em x=0.5   força                   u central"
                                             "               v central               p central"));
    Resultados r;
    r.fluxo_x05 = r.forca_uds2 = r.u_central = r.v_central = r.p_central = 0.25;
    const std::string quarto = "   2.500000000000000E-01";
    EXPECT_EQ(linha_de_iteracao(12, r), "      12  " + quarto + quarto + quarto + quarto + quarto);
    EXPECT_EQ(linha_de_iteracao(12, r).size(), 130u);
}

TEST(OuterCycle, ReportsTheFirstTheMultiplesOfFreqAndTheLast) {
    PastaTemporaria pasta;
    const Ciclo r = roda_ciclo({{6, "7"}, {17, "3"}});
    EXPECT_EQ(iteracoes_reportadas(r), (std::vector<int>{1, 3, 6, 7}));
    EXPECT_EQ(r.listagem, r.r_dat);
    EXPECT_EQ(r.iteracoes.size(), 4u);
    EXPECT_EQ(r.r_dat[0], "         1   1.000000E+00");
    EXPECT_EQ(r.e.iteracoes, 7);
    EXPECT_GT(r.e.residuo_1, 0.0);
}

TEST(OuterCycle, FreqOfZeroOrBeyondItmaxReportsOnlyTheEnds) {
    PastaTemporaria pasta;
    EXPECT_EQ(iteracoes_reportadas(roda_ciclo({{6, "5"}, {17, "0"}})), (std::vector<int>{1, 5}));
    EXPECT_EQ(iteracoes_reportadas(roda_ciclo({{6, "5"}, {17, "-2"}})), (std::vector<int>{1, 5}));
    EXPECT_EQ(iteracoes_reportadas(roda_ciclo({{6, "5"}, {17, "9"}})), (std::vector<int>{1, 5}));
    EXPECT_EQ(iteracoes_reportadas(roda_ciclo({{6, "1"}})), (std::vector<int>{1}));
}

TEST(OuterCycle, ToleranceOfOneEndsAfterTheFirstIteration) {
    PastaTemporaria pasta;
    const Ciclo r = roda_ciclo({{5, "1.0"}, {6, "50"}});
    EXPECT_EQ(r.e.iteracoes, 1);
    EXPECT_EQ(iteracoes_reportadas(r), std::vector<int>{1});
    // A converged iteration skips the time-level copy.
    EXPECT_NE(r.c.u0, r.c.u);
}

TEST(OuterCycle, AConvergedIterationIsReportedEvenBetweenMultiplesOfFreq) {
    PastaTemporaria pasta;
    const Ciclo r = roda_ciclo({{5, "0.5"}, {6, "500"}, {17, "1000"}});
    ASSERT_LT(r.e.iteracoes, 500);
    EXPECT_EQ(iteracoes_reportadas(r), (std::vector<int>{1, r.e.iteracoes}));
    EXPECT_LE(std::stod(r.r_dat.back().substr(10)), 0.5);
}

TEST(OuterCycle, NoIterationWithItmaxBelowOne) {
    PastaTemporaria pasta;
    const Ciclo r = roda_ciclo({{6, "0"}});
    EXPECT_EQ(r.e.iteracoes, 0);
    EXPECT_EQ(r.e.residuo_1, 0.0);
    EXPECT_TRUE(r.r_dat.empty());
    EXPECT_EQ(r.e.ultimos.forca_uds, 0.0);
}

TEST(OuterCycle, WithoutMassCycleThePressureCorrectionNeverMoves) {
    PastaTemporaria pasta;
    const Ciclo r = roda_ciclo({{6, "4"}, {8, "0"}});
    EXPECT_EQ(r.c.plinha, Campo(r.c.plinha.size(), 0.0));
    EXPECT_EQ(r.c.p, Campo(r.c.p.size(), 0.0));
    EXPECT_EQ(r.e.iteracoes, 4);
}

TEST(OuterCycle, AnUnknownSolverStillBuildsMeasuresAndReports) {
    PastaTemporaria pasta;
    const Ciclo r = roda_ciclo({{6, "3"}, {7, "0"}});
    EXPECT_EQ(iteracoes_reportadas(r), (std::vector<int>{1, 2, 3}));
    EXPECT_GT(r.e.residuo_1, 0.0);
}

TEST(OuterCycle, TheListingCarriesTheResidualTableAndTheFirstNorm) {
    PastaTemporaria pasta;
    escreve_arquivo(arquivo_caso, texto_caso({{6, "2"}}));
    ASSERT_EQ(roda_quelna(pasta.caminho()).estado, 0);
    const std::string lista = le_arquivo("teste");
    const std::string tabela = latin1(
        "\n\n  Iteração   Norma L1 dos resíduos / norma na iteração 1\n\n"
        "         1   1.000000E+00\n         2");
    EXPECT_NE(lista.find(tabela), std::string::npos);
    const auto pos = lista.find(latin1("\n     Norma L1 dos resíduos na iteração 1 ="));
    ASSERT_NE(pos, std::string::npos);
    EXPECT_EQ(lista.substr(pos - 1, 2), "\n\n");
    EXPECT_EQ(le_arquivo("teste.itn").substr(0, 9), latin1("Iteração "));
    EXPECT_EQ(linhas_de(le_arquivo("teste.itn")).size(), 3u);
}

}  // namespace quelna
