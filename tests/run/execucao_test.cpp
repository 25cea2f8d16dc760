// Whole runs of the executable on the example cases, shrunk to a few iterations.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <regex>

#include "../apoio.hpp"
#include "platform/formato.hpp"

namespace quelna {

using namespace teste;

namespace {

// Copies an example case into the current folder with some lines of its case file replaced.
void prepara_exemplo(const std::string& caso, const std::map<int, std::string>& trocas) {
    copia_caso(caso, ".");
    auto linhas = linhas_de(le_arquivo("Quelna_1p3.ent"));
    for (const auto& [n, t] : trocas) linhas[static_cast<std::size_t>(n - 1)] = t;
    std::string s;
    for (const auto& l : linhas) s += l + "\n";
    escreve_arquivo("Quelna_1p3.ent", s);
}

bool e_png(const std::string& nome) {
    const std::string png = le_arquivo(nome);
    return png.size() > 100 && png.substr(0, 8) == "\x89PNG\r\n\x1a\n" && png.find("IEND") != std::string::npos;
}

bool tem_gnuplot() { return std::system("command -v gnuplot >/dev/null 2>&1") == 0; }

}  // namespace

TEST(WholeRun, TheListingBlocksComeInOrder) {
    PastaTemporaria pasta;
    prepara_exemplo("ghia_re100", {{2, "16"}, {3, "16"}, {6, "20"}, {16, "1"}, {17, "5"}});
    const auto r = roda_quelna(pasta.caminho());
    ASSERT_EQ(r.estado, 0) << r.erro;
    EXPECT_EQ(r.erro, "");
    const std::string lista = le_arquivo("ghia_re100");
    std::size_t pos = 0;
    for (const char* marca : {"     Dia = ", "     DADOS", "  Iteração   Norma L1", "        20   ",
                              "     Norma L1 dos resíduos na iteração 1 =", "     velocidade ue nodal em x = 0.5",
                              "     velocidade vn nodal em y = 0.5", "*** campos ***", "velocidades u\n",
                              "função de corrente\n", "     valor mínimo da função de corrente =",
                              "     velocidade u de interesse em x = 0.5", "     velocidade v de interesse em y = 0.5",
                              "     tamanho médio dos volumes de controle =",
                              "     fluxo de massa com vn em y=0.5 e x[0;0.5] (kg/s) =",
                              " = tempo de processamento (s)\n"}) {
        const auto achou = lista.find(latin1(marca), pos);
        ASSERT_NE(achou, std::string::npos) << marca;
        pos = achou;
    }
    EXPECT_TRUE(std::regex_search(lista, std::regex("\n\n\n +[0-9]+\\.[0-9]{2} = tempo de processamento \\(s\\)\n$")));
    EXPECT_EQ(linhas_de(le_arquivo("u.dat")).size(), 18u);
    EXPECT_EQ(linhas_de(le_arquivo("v.dat")).size(), 18u);
    // The plot scripts got the run's title line and nothing after "replot".
    const auto script = linhas_de(le_arquivo("u_Ghia.gnu"));
    ASSERT_EQ(script.size(), 11u);
    EXPECT_EQ(script[9].substr(0, 46), "set title 'Cavidade de Ghia, Re = 100, 64 x 64");
    EXPECT_EQ(script[10], "replot");
}

TEST(WholeRun, PicturesOfTheGhiaAndShihExamples) {
    if (!tem_gnuplot()) GTEST_SKIP() << "gnuplot ausente";
    {
        PastaTemporaria pasta;
        prepara_exemplo("ghia_re100", {{2, "16"}, {3, "16"}, {6, "30"}});
        ASSERT_EQ(roda_quelna(pasta.caminho()).estado, 0);
        for (const char* png : {"r.png", "u_Ghia.png", "v_Ghia.png"}) EXPECT_TRUE(e_png(png)) << png;
        EXPECT_FALSE(existe("u_Shih.png"));
    }
    {
        PastaTemporaria pasta;
        prepara_exemplo("shih", {{2, "8"}, {3, "8"}, {6, "30"}});
        ASSERT_EQ(roda_quelna(pasta.caminho()).estado, 0);
        for (const char* png : {"r.png", "u_Shih.png", "v_Shih.png"}) EXPECT_TRUE(e_png(png)) << png;
        EXPECT_TRUE(existe("ucex.dat"));
    }
}

TEST(WholeRun, ATitleWithApostrophesAndSixtyCharactersStillGivesPictures) {
    if (!tem_gnuplot()) GTEST_SKIP() << "gnuplot ausente";
    PastaTemporaria pasta;
    prepara_exemplo("ghia_re100", {{2, "8"}, {3, "8"}, {6, "5"}, {21, "'d''Alembert''s cavity, " + std::string(36, 'x') + "'"}});
    ASSERT_EQ(roda_quelna(pasta.caminho()).estado, 0);
    EXPECT_TRUE(e_png("u_Ghia.png"));
    EXPECT_TRUE(e_png("v_Ghia.png"));
    EXPECT_EQ(le_arquivo("u_Ghia.log").find("rror"), std::string::npos) << le_arquivo("u_Ghia.log");
    const auto script = linhas_de(le_arquivo("u_Ghia.gnu"));
    EXPECT_EQ(script[9].substr(0, 19), "set title \"d'Alembe");
    EXPECT_EQ(script[9].back(), '"');
}

TEST(WholeRun, AMissingOrShortScriptCostsOnlyItsPlot) {
    PastaTemporaria pasta;
    prepara_exemplo("ghia_re100", {{2, "8"}, {3, "8"}, {6, "5"}});
    unlink("u_Ghia.gnu");
    escreve_arquivo("r.gnu", "set logscale y\n");
    const auto r = roda_quelna(pasta.caminho());
    EXPECT_EQ(r.estado, 0);
    EXPECT_NE(r.erro.find("\"u_Ghia.gnu\""), std::string::npos) << r.erro;
    EXPECT_NE(r.erro.find("\"r.gnu\" tem 1 linhas"), std::string::npos) << r.erro;
    EXPECT_EQ(std::count(r.erro.begin(), r.erro.end(), '\n'), 2);
    EXPECT_FALSE(existe("u_Ghia.gnu"));
    EXPECT_EQ(le_arquivo("r.gnu"), "set logscale y\n");
    const std::string lista = le_arquivo("ghia_re100");
    EXPECT_NE(lista.find(latin1("fluxo de massa com vn")), std::string::npos);
    EXPECT_NE(lista.find("tempo de processamento"), std::string::npos);
}

TEST(WholeRun, WithoutIterationsTheResultsComeFromTheInitialFields) {
    PastaTemporaria pasta;
    prepara_exemplo("ghia_re100", {{2, "8"}, {3, "8"}, {6, "0"}, {19, "1"}});
    ASSERT_EQ(roda_quelna(pasta.caminho()).estado, 0);
    const std::string lista = le_arquivo("ghia_re100");
    EXPECT_NE(lista.find(latin1("na iteração 1 =   0.000000E+00")), std::string::npos);
    EXPECT_NE(lista.find(latin1("força da placa com uP e UDS (N) =   0.000000000000000E+00")), std::string::npos);
    // psi comes from the initial (Shih) face velocities.
    EXPECT_EQ(lista.find(latin1("valor mínimo da função de corrente =   0.000000000000000E+00")), std::string::npos);
    EXPECT_EQ(linhas_de(le_arquivo("r.dat")).size(), 0u);
}

TEST(WholeRun, AWriteFailureIsNamedAndTheRunFails) {
    PastaTemporaria pasta;
    prepara_exemplo("ghia_re100", {{2, "8"}, {3, "8"}, {6, "3"}, {16, "1"}});
    // The field tables make the listing the first file to pass a limit of 8 KiB.
    const auto r = roda_quelna(pasta.caminho(), {}, [] {
        rlimit limite {8192, 8192};
        setrlimit(RLIMIT_FSIZE, &limite);
    });
    EXPECT_EQ(r.estado, 1);
    EXPECT_NE(r.erro.find("\"ghia_re100\": arquivo grande demais"), std::string::npos) << r.erro;
}

TEST(WholeRun, OnATerminalTheRunEndsWithItsVerdict) {
    PastaTemporaria pasta;
    prepara_exemplo("ghia_re100", {{2, "8"}, {3, "8"}, {5, "1e-3"}, {6, "400"}});
    auto r = roda_quelna_no_terminal(pasta.caminho(), {{"EDITOR", ""}, {"VISUAL", ""}});
    EXPECT_EQ(r.estado, 0);
    const std::string it = linhas_de(le_arquivo("r.dat")).back().substr(0, 10);
    EXPECT_TRUE(std::regex_search(r.erro, std::regex("quelna: convergiu na iteração " + std::to_string(std::stoi(it)) +
                                                     ": resíduo [0-9.]+E-0[34] <= tolm 1.000000E-03, [0-9]+\\.[0-9]{2} s\r\n")))
        << r.erro;
    prepara_exemplo("ghia_re100", {{2, "8"}, {3, "8"}, {6, "7"}});
    r = roda_quelna_no_terminal(pasta.caminho(), {{"EDITOR", ""}, {"VISUAL", ""}});
    EXPECT_EQ(r.estado, 0);
    EXPECT_TRUE(std::regex_search(
        r.erro, std::regex("quelna: parou em itmax = 7 com resíduo [0-9.]+E-0[0-9] \\(tolm 1.000000E-08\\), [0-9.]+ s")))
        << r.erro;
    // A batch run says nothing.
    EXPECT_EQ(roda_quelna(pasta.caminho()).erro, "");
}

TEST(WholeRun, WithoutGnuplotOneLineSaysSoAndNoLogIsLeft) {
    PastaTemporaria pasta;
    prepara_exemplo("ghia_re100", {{2, "8"}, {3, "8"}, {6, "5"}});
    const auto r = roda_quelna(pasta.caminho(), {}, [&] { setenv("PATH", pasta.caminho().c_str(), 1); });
    EXPECT_EQ(r.estado, 0);
    EXPECT_EQ(r.erro, "quelna: o gnuplot não foi encontrado; a execução segue sem figuras\n");
    for (const auto& nome : arquivos_da_pasta(pasta.caminho()))
        EXPECT_TRUE(nome.size() < 4 || (nome.substr(nome.size() - 4) != ".png" && nome.substr(nome.size() - 4) != ".log"))
            << nome;
}

TEST(WholeRun, WithADisplayButNoWindowsNoLogIsLeftBehind) {
    if (!tem_gnuplot()) GTEST_SKIP() << "gnuplot ausente";
    PastaTemporaria pasta;
    prepara_exemplo("ghia_re100", {{2, "8"}, {3, "8"}, {6, "5"}});
    // A user at a terminal with a display the plotter cannot open (gnuplot without windows, or
    // no X server there): the window's complaints go nowhere, the pictures are made.
    const auto r = roda_quelna_no_terminal(pasta.caminho(), {{"DISPLAY", ":97"}, {"EDITOR", ""}, {"VISUAL", ""}});
    EXPECT_EQ(r.estado, 0) << r.erro;
    for (const char* png : {"r.png", "u_Ghia.png", "v_Ghia.png"}) EXPECT_TRUE(e_png(png)) << png;
    for (const auto& nome : arquivos_da_pasta(pasta.caminho())) EXPECT_EQ(nome.find(".log"), std::string::npos) << nome;
}

}  // namespace quelna
