#include "output/saidas.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "../apoio.hpp"
#include "../discretization/malha_pequena.hpp"
#include "platform/formato.hpp"
#include "run/resultados.hpp"

namespace quelna {

using namespace teste;

namespace {

template <typename F>
std::string listagem_de(F escreve) {
    {
        ArquivoTexto f("lista");
        escreve(f);
        f.fecha();
    }
    return le_arquivo("lista");
}

}  // namespace

TEST(Profiles, UOnTheVerticalCentreLineOf40Volumes) {
    PastaTemporaria pasta;
    const CaseData caso = caso_pequeno(40, 40);
    Campos c = campos_de(caso);
    for (int j = 1; j <= caso.ny; ++j) c.ue[(j - 1) * caso.nx + 21] = 0.01 * j;  // column 21: the face at x = 0.5
    const std::string texto = listagem_de([&](ArquivoTexto& f) { perfil_u(caso, c, f, ""); });
    const auto linhas = linhas_de(texto);
    ASSERT_EQ(linhas.size(), 5u + 42u);
    EXPECT_EQ(linhas[0], "");
    EXPECT_EQ(linhas[1], "");
    EXPECT_EQ(linhas[2], "     velocidade ue nodal em x = 0.5");
    EXPECT_EQ(linhas[3], "");
    EXPECT_EQ(linhas[4], "   ue             y");
    EXPECT_EQ(linhas[5], "   0.000000E+00   0.000000E+00");
    EXPECT_EQ(linhas[6], "   2.000000E-02   1.250000E-02");
    EXPECT_EQ(linhas[45], "   4.100000E-01   9.875000E-01");
    EXPECT_EQ(linhas[46], "   1.000000E+00   1.000000E+00");
    // The data file holds the same lines.
    const auto dados = linhas_de(le_arquivo("u.dat"));
    EXPECT_EQ(std::vector<std::string>(linhas.begin() + 5, linhas.end()), dados);
}

TEST(Profiles, VOnTheHorizontalCentreLine) {
    PastaTemporaria pasta;
    const CaseData caso = caso_pequeno(4, 6);
    Campos c = campos_de(caso);
    for (int i = 1; i <= caso.nx; ++i) c.vn[(4 - 1) * caso.nx + i] = -0.5 * i;  // row jc = 8 div 2
    const auto linhas = linhas_de(listagem_de([&](ArquivoTexto& f) { perfil_v(caso, c, f, ""); }));
    ASSERT_EQ(linhas.size(), 5u + 6u);
    EXPECT_EQ(linhas[2], "     velocidade vn nodal em y = 0.5");
    EXPECT_EQ(linhas[4], "   x              vn");
    EXPECT_EQ(linhas[5], "   0.000000E+00   0.000000E+00");
    EXPECT_EQ(linhas[6], "   1.250000E-01  -1.000000E+00");
    EXPECT_EQ(linhas[10], "   1.000000E+00   0.000000E+00");
    EXPECT_EQ(linhas_de(le_arquivo("v.dat")).size(), 6u);
}

TEST(ValuesOfInterest, BaseGridOf8On40And30Volumes) {
    PastaTemporaria pasta;
    const CaseData c40 = [] { auto c = caso_pequeno(40, 40); c.malha = 8; return c; }();
    Campos f40 = campos_de(c40);
    for (int j = 1; j <= c40.ny; ++j) f40.ue[(j - 1) * c40.nx + 21] = j;
    const auto l40 = linhas_de(listagem_de([&](ArquivoTexto& f) { u_interesse(c40, f40, f); }));
    ASSERT_EQ(l40.size(), 5u + 7u);
    EXPECT_EQ(l40[2], "     velocidade u de interesse em x = 0.5");
    EXPECT_EQ(l40[4], "   u                       y");
    // s = 5: rows j = 6, 11, ..., 36; the mean of the faces of rows j and j+1 at y = (j-1) dy.
    EXPECT_EQ(l40[5], "   6.500000000000000E+00   1.250000000000000E-01");
    EXPECT_EQ(l40[11], "   3.650000000000000E+01   8.750000000000000E-01");

    const CaseData c30 = [] { auto c = caso_pequeno(30, 30); c.malha = 8; return c; }();
    Campos f30 = campos_de(c30);
    const auto l30 = linhas_de(listagem_de([&](ArquivoTexto& f) { v_interesse(c30, f30, f); }));
    ASSERT_EQ(l30.size(), 5u + 9u);  // s = 3: x = 0.1, 0.2, ..., 0.9
    EXPECT_EQ(l30[4], "   x                       v");
    EXPECT_EQ(l30[5].substr(0, 24), "   1.000000000000000E-01");
    EXPECT_EQ(l30[13].substr(0, 24), "   9.000000000000000E-01");

    const CaseData grosso = [] { auto c = caso_pequeno(4, 4); c.malha = 5; return c; }();
    Campos fg = campos_de(grosso);
    EXPECT_EQ(linhas_de(listagem_de([&](ArquivoTexto& f) { u_interesse(grosso, fg, f); })).size(), 5u);
}

TEST(FieldTables, PartsOfAtMostEightColumns) {
    PastaTemporaria pasta;
    const auto partes = [](int nx, int ny) {
        Campo v(static_cast<std::size_t>(nx * ny) + 1);
        for (int P = 1; P <= nx * ny; ++P) v[P] = P;
        return linhas_de(listagem_de([&](ArquivoTexto& f) { lista_campo(v, ny, nx, nx * ny, f); }));
    };
    const auto l5 = partes(5, 3);
    ASSERT_EQ(l5.size(), 2u + 3u);
    EXPECT_EQ(l5[0], "");
    EXPECT_EQ(l5[1], "  parte   1");
    EXPECT_EQ(l5[2], "   1.000000E+00   2.000000E+00   3.000000E+00   4.000000E+00   5.000000E+00");
    EXPECT_EQ(l5[4].substr(0, 15), "   1.100000E+01");
    EXPECT_EQ(partes(8, 2).size(), 4u);
    const auto l9 = partes(9, 2);
    ASSERT_EQ(l9.size(), 8u);
    EXPECT_EQ(l9[5], "  parte   2");
    EXPECT_EQ(l9[6], "   9.000000E+00");
    EXPECT_EQ(l9[7], "   1.800000E+01");
    const auto l42 = partes(42, 3);
    ASSERT_EQ(l42.size(), 6u * 5u);
    EXPECT_EQ(l42[26], "  parte   6");
    EXPECT_EQ(l42[27], "   4.100000E+01   4.200000E+01");
    EXPECT_EQ(l42[2].size(), 120u);
}

TEST(FieldTables, TheBlockOfEightFields) {
    PastaTemporaria pasta;
    const CaseData caso = caso_pequeno(1, 1);
    Campos c = campos_de(caso);
    c.psi.assign(10, 0.0);
    const std::string texto = listagem_de([&](ArquivoTexto& f) { lista_campos(caso, c, f); });
    const std::string inicio = "\n\n          *** campos ***\n\n          na horizontal: contorno oeste para leste\n\n"
                               "          na vertical  : contorno sul   para norte\n\n\n" +
                               std::string(30, ' ') + "velocidades u\n\n  parte   1\n";
    EXPECT_EQ(texto.substr(0, inicio.size()), inicio);
    std::size_t pos = 0;
    for (const char* t : {"velocidades u", "velocidades v", "velocidades ue", "velocidades vn", "pressões",
                          "variações de pressão", "fontes de plinha", "função de corrente"}) {
        pos = texto.find(std::string(30, ' ') + latin1(t) + "\n", pos);
        EXPECT_NE(pos, std::string::npos) << t;
    }
}

TEST(Results, AtRestOnTheGhiaProblem) {
    const CaseData caso = caso_pequeno(20, 20);
    Campos c = campos_de(caso);
    const Resultados r = resultados(caso, c);
    const double mi = caso.mi, dx = caso.dx, dy = caso.dy;
    EXPECT_DOUBLE_EQ(r.forca_uds, 2 * mi * dx * 20 / dy);
    EXPECT_DOUBLE_EQ(r.forca_uds2, 8 * mi * dx * 20 / (3 * dy));
    EXPECT_DOUBLE_EQ(r.dudy_uds, 2 / dy);
    EXPECT_DOUBLE_EQ(r.dudy_uds2, 8 / (3 * dy));
    EXPECT_EQ(r.fluxo_x05, 0.0);
    EXPECT_EQ(r.fluxo_vn, 0.0);
    EXPECT_EQ(r.u_central, 0.0);
    EXPECT_DOUBLE_EQ(tamanho_medio(caso), 0.05);
    funcao_corrente(caso, c);
    EXPECT_EQ(psi_min(caso, c), 0.0);
}

TEST(Results, FluxesStreamFunctionAndCentreValues) {
    const CaseData caso = caso_pequeno(4, 4);
    Campos c = campos_de(caso);
    const int nx = caso.nx;
    const auto P = [nx](int i, int j) { return (j - 1) * nx + i; };
    // ic = jc = 3: the faces on x = 0.5 and y = 0.5.
    c.ue[P(3, 2)] = -0.2;
    c.ue[P(3, 3)] = 0.4;
    c.ue[P(3, 4)] = 0.6;
    c.vn[P(2, 3)] = 0.3;
    c.vn[P(3, 3)] = -0.1;
    c.vn[P(4, 3)] = 0.5;
    const Resultados r = resultados(caso, c);
    EXPECT_DOUBLE_EQ(r.fluxo_x05, 0.25 * (0.4 + 0.6));  // the negative part is left out
    EXPECT_DOUBLE_EQ(r.fluxo_vn, 0.25 * (0.3 - 0.1));    // both signs
    EXPECT_DOUBLE_EQ(r.u_central, 0.5 * (0.4 + 0.6));
    EXPECT_DOUBLE_EQ(r.v_central, 0.5 * (-0.1 + 0.5));
    funcao_corrente(caso, c);
    EXPECT_DOUBLE_EQ(c.psi[P(3, 2)], -0.05);
    EXPECT_DOUBLE_EQ(c.psi[P(3, 4)], 0.2);
    EXPECT_DOUBLE_EQ(psi_min(caso, c), -0.05);
}

TEST(Results, TheBlockOfTheListing) {
    PastaTemporaria pasta;
    const CaseData caso = caso_pequeno(20, 20);
    Resultados r;
    r.u_central = -0.25;
    const std::string texto = listagem_de([&](ArquivoTexto& f) {
        lista_psi_min(-0.1, f);
        lista_resultados(caso, r, -0.1, f);
    });
    const auto l = linhas_de(texto);
    ASSERT_EQ(l.size(), 2u + 2u + 19u);
    EXPECT_EQ(l[1], latin1("     valor mínimo da função de corrente =   -1.000000000000000E-01"));
    EXPECT_EQ(l[2], "");
    EXPECT_EQ(l[3], "");
    EXPECT_EQ(l[4], latin1("     tamanho médio dos volumes de controle =   5.000000000000000E-02"));
    EXPECT_EQ(l[5], "");
    EXPECT_EQ(l[6], "     fluxo de massa total com ue e psi (kg/s) =   1.000000000000000E-01");
    EXPECT_EQ(l[12], "     velocidade u central (m/s) =  -2.500000000000000E-01");
    EXPECT_EQ(l[22], "     fluxo de massa com vn em y=0.5 e x[0;0.5] (kg/s) =   0.000000000000000E+00");
}

TEST(PlotScripts, TitleLineStaysAValidGnuplotString) {
    const std::string curto = "Cavidade (8/12/2026)'" + std::string(41, ' ');
    EXPECT_EQ(linha_de_titulo(curto), "set title '" + curto);
    // gnuplot misreads doubled apostrophes at the start of a string or in a row: a title with
    // apostrophes goes in quotation marks.
    EXPECT_EQ(linha_de_titulo("it's (8/12/2026)'" + std::string(45, ' ')),
              "set title \"it's (8/12/2026)\"" + std::string(45, ' '));
    EXPECT_EQ(linha_de_titulo("'Ghia'' \\\"c\" (8/12/2026)'"), "set title \"'Ghia'' \\\\\\\"c\\\" (8/12/2026)\"");
    // A title cut at 62 characters lost its closing apostrophe: the string is closed all the same.
    const std::string cortado = std::string(50, 'a') + " (8/12/2026)";
    EXPECT_EQ(linha_de_titulo(cortado), "set title '" + cortado + "'");
}

TEST(PlotScripts, KeptLinesThenTheTitleAndReplot) {
    PastaTemporaria pasta;
    const std::string titulo = "T (8/12/2026)'" + std::string(48, ' ');
    escreve_arquivo("r.gnu", "1\n2\n3\n4\n5\n6\nvelho titulo\nreplot\nmais uma\n");
    EXPECT_TRUE(reescreve_e_plota(roteiro_r, titulo));
    EXPECT_EQ(le_arquivo("r.gnu"), "1\n2\n3\n4\n5\n6\nset title '" + titulo + "\nreplot\n");
    // Exactly the kept lines, the last without its line end.
    escreve_arquivo("r.gnu", "1\n2\n3\n4\n5\n6");
    EXPECT_TRUE(reescreve_e_plota(roteiro_r, titulo));
    EXPECT_EQ(le_arquivo("r.gnu"), "1\n2\n3\n4\n5\n6\nset title '" + titulo + "\nreplot\n");
    EXPECT_FALSE(existe("r.gnu.tmp"));
}

TEST(PlotScripts, MissingOrShortScriptsAreLeftAloneAndSkipped) {
    PastaTemporaria pasta;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(reescreve_e_plota(roteiro_u_ghia, "t'"));
    const std::string falta = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(existe("u_Ghia.gnu"));
    EXPECT_NE(falta.find("u_Ghia.gnu"), std::string::npos);
    EXPECT_NE(falta.find("não encontrado"), std::string::npos);

    escreve_arquivo("v_Ghia.gnu", "1\n2\n3\n");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(reescreve_e_plota(roteiro_v_ghia, "t'"));
    const std::string curto = testing::internal::GetCapturedStderr();
    EXPECT_EQ(le_arquivo("v_Ghia.gnu"), "1\n2\n3\n");
    EXPECT_NE(curto.find("v_Ghia.gnu"), std::string::npos);
    EXPECT_NE(curto.find("3 linhas"), std::string::npos);
}

}  // namespace quelna
