#include "input/cabecalho.hpp"

#include <gtest/gtest.h>

#include "../apoio.hpp"
#include "input/caso.hpp"
#include "platform/formato.hpp"

namespace quelna {

using namespace teste;

namespace {

// The listing text that data_hora writes for a date, and its composed texts.
std::pair<std::string, Cabecalho> cabecalho_em(const DataHora& d, const std::string& titulo_linha) {
    PastaTemporaria pasta;
    const CaseData caso = le_caso_texto(texto_caso({{21, titulo_linha}}), arquivo_caso);
    Cabecalho h;
    {
        ArquivoTexto f("lista");
        h = data_hora(d, caso, f);
        f.fecha();
    }
    return {le_arquivo("lista"), h};
}

}  // namespace

TEST(ListingHeader, DateLineAndPlotTitle) {
    const auto [texto, h] = cabecalho_em({2026, 12, 8, 14, 5, 9}, "'Cavidade'");
    EXPECT_EQ(h.dia, "(8/12/2026) ");
    EXPECT_EQ(h.hora, "14:5:9  ");
    EXPECT_EQ(texto, "\n     Dia = (8/12/2026)      Hora = 14:5:9  \n");
    EXPECT_EQ(h.titulo_grafico, "Cavidade (8/12/2026)'" + std::string(41, ' '));
}

TEST(ListingHeader, NumbersWithoutLeadingZeros) {
    const auto [texto, h] = cabecalho_em({2026, 3, 1, 9, 5, 3}, "'x'");
    EXPECT_EQ(h.dia, "(1/3/2026)  ");
    EXPECT_EQ(h.hora, "9:5:3   ");
}

TEST(ListingHeader, BlankAndLongTitles) {
    EXPECT_EQ(cabecalho_em({2026, 12, 8, 0, 0, 0}, "' '").second.titulo_grafico,
              " (8/12/2026)'" + std::string(49, ' '));
    // With a date of 11 characters a title of 49 just fits; one of 50 is cut at 62 and loses
    // its closing apostrophe.
    EXPECT_EQ(cabecalho_em({2026, 12, 8, 0, 0, 0}, "'" + std::string(49, 'a') + "'").second.titulo_grafico,
              std::string(49, 'a') + " (8/12/2026)'");
    const std::string longo(50, 'a');
    EXPECT_EQ(cabecalho_em({2026, 12, 8, 0, 0, 0}, "'" + longo + "'").second.titulo_grafico,
              longo + " (8/12/2026)");
}

TEST(ListingHeader, CaseEchoExactToTheByte) {
    PastaTemporaria pasta;
    const CaseData caso = le_caso_texto(texto_caso({{2, "40"}, {3, "30"}, {4, "0.001"}, {13, "-1.5"}}), arquivo_caso);
    {
        ArquivoTexto f("lista");
        lista_dados(caso, f);
        f.fecha();
    }
    const std::string esperado = latin1(
        "\n"
        "título = Cavidade de teste                                 \n"
        "\n"
        "     DADOS\n"
        "\n"
        "teste                  = nome do experimento numérico\n"
        "\n"
        "      40               = número de volumes reais na direção X\n"
        "      30               = número de volumes reais na direção Y\n"
        "    1200               = número total de volumes reais\n"
        "\n"
        "       1.000000000E-03 = incremento de tempo (s)\n"
        "       1.000000000E-08 = tolerância sobre as iterações externas (norma L1 adim.)\n"
        "       3               = número máximo de iterações externas\n"
        "\n"
        "       2               = solver: 1=Jacobi; 2=Gauss-Seidel; 3=SOR; 4=ADI; 5=MSI\n"
        "       1               = número máximo de iterações no ciclo da massa\n"
        "       1.000000000E-02 = tolerância no MSI para u,v\n"
        "       1.000000000E-03 = tolerância no MSI para plinha\n"
        "       2               = número máximo de iterações internas para u,v\n"
        "       5               = número máximo de iterações internas para plinha\n"
        "      -1.500000000E+00 = coeficiente de relaxação do SOR\n"
        "\n"
        "       1.000000000E+00 = comprimento do domínio na direção X\n"
        "       1.000000000E+00 = comprimento do domínio na direção Y\n"
        "       2.500000000E-02 = comprimento dos volumes na direção X\n"
        "       3.333333333E-02 = comprimento dos volumes na direção Y\n"
        "\n"
        "       1.000000000E+02 = número de Reynolds\n"
        "       1.000000000E-02 = viscosidade absoluta (Pa.s)\n"
        "\n"
        "       1.000000000E+00 = função de interpolação: 0=UDS; 1=CDS\n"
        "\n"
        "       2               tipo de problema: 1=Shih; 2=Ghia\n"
        "\n"
        "       0               tipo da condição inicial: 0=nulo; 1=solução analítica de Shih\n"
        "\n"
        "       2               = malha-base para u e v de interesse\n");
    EXPECT_EQ(le_arquivo("lista"), esperado);
}

}  // namespace quelna
