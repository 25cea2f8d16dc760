#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../apoio.hpp"
#include "platform/arquivo.hpp"
#include "platform/formato.hpp"
#include "study/estudo.hpp"

namespace quelna::estudo {

using namespace teste;

namespace {

struct Saida {
    int estado = -1;
    std::string texto;
};

// Runs quelna-estudo with the given arguments in the current folder.
Saida roda_estudo(const std::vector<std::string>& args) {
    const auto aspas = [](const std::string& a) {
        std::string s = "'";
        for (const char c : a) s += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return s + "'";
    };
    std::string linha = aspas(QUELNA_ESTUDO_EXE);
    for (const auto& a : args) linha += " " + aspas(a);
    linha += " </dev/null >saida.txt 2>&1";
    const int st = std::system(linha.c_str());
    return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, le_arquivo("saida.txt")};
}

// The row of a value in the CSV, split at the commas.
std::vector<std::string> linha_csv(const std::string& csv, const std::string& nome) {
    for (const auto& l : linhas_de(csv))
        if (l.rfind(nome + ",", 0) == 0) {
            std::vector<std::string> campos;
            std::istringstream in(l);
            for (std::string c; std::getline(in, c, ',');) campos.push_back(c);
            return campos;
        }
    return {};
}

bool tem_programa(const char* nome) {
    return std::system((std::string("command -v ") + nome + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

TEST(StudyListing, ReadsTheResultsPsiAndTheValuesOfInterest) {
    const std::string texto = latin1(
        "     valor mínimo da função de corrente =  -1.000000000000000E-01\n\n\n"
        "     velocidade u de interesse em x = 0.5\n\n"
        "   u                       y\n"
        "  -2.000000000000000E-01   2.500000000000000E-01\n"
        "   3.000000000000000E-01   7.500000000000000E-01\n\n\n"
        "     velocidade v de interesse em y = 0.5\n\n"
        "   x                       v\n"
        "   5.000000000000000E-01   4.000000000000000E-02\n\n\n"
        "     velocidade u central (m/s) =  -2.500000000000000E-01\n\n"
        "          0.61 = tempo de processamento (s)\n");
    const ValoresDaListagem v = le_listagem(texto);
    EXPECT_TRUE(v.completa);
    ASSERT_EQ(v.valores.size(), 5u);
    EXPECT_EQ(v.valores[0].nome, "u_central");
    EXPECT_EQ(v.valores[0].valor, -0.25);
    EXPECT_EQ(v.valores[1].nome, "psi_min");
    EXPECT_EQ(v.valores[2].nome, "u(y=0.25)");
    EXPECT_EQ(v.valores[2].valor, -0.2);
    EXPECT_EQ(v.valores[3].nome, "u(y=0.75)");
    EXPECT_EQ(v.valores[4].nome, "v(x=0.5)");
    EXPECT_EQ(v.valores[4].valor, 0.04);
    EXPECT_FALSE(le_listagem("     DADOS\n").completa);
}

TEST(StudyCaseFiles, OnlyTheGridSizesChange) {
    const std::string texto = "'cav'   caso\r\n40      nx: volumes\r\n  40,remark\r\n0.2\r\n";
    EXPECT_EQ(com_malha(texto, 128), "'cav'   caso\r\n128      nx: volumes\r\n  128,remark\r\n0.2\r\n");
}

TEST(StudyReferences, ExactShihValuesAndGhiaPoints) {
    EXPECT_EQ(referencia("u_central", 1, 100).valor, -0.25);
    EXPECT_EQ(referencia("psi_min", 1, 100).valor, -0.125);
    EXPECT_DOUBLE_EQ(referencia("u(y=0.25)", 1, 100).valor, 8 * 0.0625 * (4 * 0.015625 - 0.5));
    const Referencia centro = referencia("u_central", 2, 100);
    EXPECT_TRUE(centro.existe);
    EXPECT_EQ(centro.valor, -0.20581);
    EXPECT_FALSE(centro.interpolada);
    // Between Ghia's stations there is no reference: the profiles are compared at the stations.
    EXPECT_FALSE(referencia("u(y=0.25)", 2, 1000).existe);
    EXPECT_EQ(referencia("u(y=0.2813)", 2, 1000).valor, -0.27805);
    EXPECT_FALSE(referencia("u(y=1)", 2, 100).existe);
    EXPECT_FALSE(referencia("v(x=0)", 1, 100).existe);
    EXPECT_EQ(referencia("psi_min", 2, 1000).valor, -0.117929);
    EXPECT_FALSE(referencia("u_central", 2, 3200).existe);
    EXPECT_FALSE(referencia("p_central", 1, 100).existe);
}

TEST(StudyReferences, TheEmbeddedGhiaTablesAreThePublishedOnes) {
    for (const auto& [arquivo, e_u] : {std::pair{"ghia_u.tsv", true}, {"ghia_v.tsv", false}}) {
        std::ifstream f(pasta_refdata() + "/" + arquivo);
        std::string cabeca;
        while (std::getline(f, cabeca) && cabeca[0] == '#') {
        }
        int lidos = 0;
        for (std::string l; std::getline(f, l);) {
            std::istringstream in(l);
            double pos = 0, re100 = 0, re400 = 0, re1000 = 0;
            in >> pos >> re100 >> re400 >> re1000;
            const double esperado[] = {re100, re400, re1000};
            for (int k = 0; k < 3; ++k) {
                const auto& t = tabelas_ghia()[static_cast<std::size_t>(k)];
                bool achou = false;
                for (const auto& [p, v] : e_u ? t.u : t.v)
                    if (p == pos) achou = v == esperado[k];
                EXPECT_TRUE(achou) << arquivo << " " << pos << " Re " << t.Re;
            }
            ++lidos;
        }
        EXPECT_EQ(lidos, 17);
    }
}

TEST(Study, ShihOn16To64ConvergesWithSecondOrder) {
    PastaTemporaria pasta;
    const Saida s = roda_estudo({"--saida", "e", pasta_casos() + "/shih", "16", "32", "64"});
    ASSERT_EQ(s.estado, 0) << s.texto;
    const std::string csv = le_arquivo("e/estudo.csv");
    // valor,N=16,N=32,N=64,p,extrapolado,...
    const auto u = linha_csv(csv, "u_central");
    ASSERT_GE(u.size(), 6u) << csv;
    const double p = std::stod(u[4]), extrapolado = std::stod(u[5]), fina = std::stod(u[3]);
    EXPECT_NEAR(p, 2.0, 0.15);
    EXPECT_LT(std::fabs(extrapolado + 0.25), std::fabs(fina + 0.25));
    // The profiles against the exact solution at its stations: second order too.
    for (const char* perfil : {"perfil_u_max", "perfil_u_rms", "perfil_v_max", "perfil_v_rms"}) {
        const auto erro = linha_csv(csv, perfil);
        ASSERT_GE(erro.size(), 5u) << perfil;
        EXPECT_NEAR(std::stod(erro[4]), 2.0, 0.25) << perfil;
        EXPECT_LT(std::stod(erro[3]), std::stod(erro[2])) << perfil;
    }
    // The norms of the error over the whole field, from each grid's fields file: second order.
    for (const char* f : {"u", "v", "p"})
        for (const char* norma : {"L1", "L2"}) {
            const auto erro = linha_csv(csv, std::string("norma_") + f + "_" + norma);
            ASSERT_GE(erro.size(), 5u) << f << norma;
            EXPECT_NEAR(std::stod(erro[4]), 2.0, 0.2) << f << norma;
        }
    // The primary vortex and the profile extrema, extrapolated, closer to the exact values than
    // the finest grid: psi = -1/8 at (1/2, 1/sqrt 2), u(1/2, y) least at y = 1/sqrt 6.
    for (const auto& [nome, exato] : std::vector<std::pair<std::string, double>>{
             {"psi_primario", -0.125}, {"y_primario", std::sqrt(0.5)}, {"u_min", -2.0 / (3.0 * std::sqrt(6.0))},
             {"y(u_min)", 1.0 / std::sqrt(6.0)}, {"v_max", std::sqrt(3.0) / 6.0}, {"x(v_max)", 0.5 - 0.5 / std::sqrt(3.0)}}) {
        const auto l = linha_csv(csv, nome);
        ASSERT_GE(l.size(), 9u) << nome;
        EXPECT_NEAR(std::stod(l[8]), exato, 1e-12) << nome << ": a referência";
        EXPECT_LT(std::fabs(std::stod(l[5]) - exato), std::fabs(std::stod(l[3]) - exato)) << nome;
    }
    EXPECT_NE(le_arquivo("e/estudo.md").find("| u_central |"), std::string::npos);
    if (tem_programa("gnuplot")) {
        for (const char* png : {"e/erro.png", "e/perfis_u.png", "e/perfis_v.png", "e/normas.png"})
            EXPECT_EQ(le_arquivo(png).substr(0, 4), "\x89PNG") << png;
    }
    // The error picture: log-log over h with the grids on the x axis, the slopes in the legend,
    // lines of slope 1 and 2, and a distinct colour and point type for each value.
    const std::string gp = le_arquivo("e/erro.gnu");
    for (const char* parte : {"set logscale xy", "set xtics ('1/16' 0.0625, '1/32' 0.03125, '1/64' 0.015625)",
                              "title 'psi_min - extrapolado (inclinação ", "title 'psi_min - referência (inclinação ",
                              "title 'perfil de u, erro máximo - referência (inclinação ", "title 'inclinação 1'",
                              "title 'inclinação 2'", "set format y '10^{%L}'", "set key outside"})
        EXPECT_NE(gp.find(parte), std::string::npos) << parte;

    // The same study through GNU Parallel gives the same table.
    if (!tem_programa("parallel")) GTEST_SKIP() << "GNU Parallel ausente";
    const Saida p2 = roda_estudo({"--saida", "p", "--motor", "parallel", pasta_casos() + "/shih", "16", "32", "64"});
    ASSERT_EQ(p2.estado, 0) << p2.texto << le_arquivo("p/parallel.log");
    EXPECT_EQ(sem_linhas_que_comecam(le_arquivo("p/estudo.csv"), "segundos,"), sem_linhas_que_comecam(csv, "segundos,"));
}

TEST(Study, GridsThatCannotBeUsedAreNamedAndTheRestReported) {
    PastaTemporaria pasta;
    const Saida s = roda_estudo({"--saida", "e", pasta_casos() + "/shih", "8", "12", "16"});
    EXPECT_EQ(s.estado, 1);
    EXPECT_NE(s.texto.find("a malha 12 não é múltipla da malha-base 8"), std::string::npos) << s.texto;
    EXPECT_NE(le_arquivo("e/estudo.md").find("aviso: a malha 12"), std::string::npos);
    // Two grids left: Richardson with the formal order.
    EXPECT_NE(le_arquivo("e/estudo.md").find("Com duas malhas"), std::string::npos);

    escreve_arquivo("falha", "#!/bin/sh\nexit 3\n");
    chmod("falha", 0755);
    const Saida f = roda_estudo({"--saida", "f", "--quelna", "falha", pasta_casos() + "/shih", "8", "16"});
    EXPECT_EQ(f.estado, 1);
    EXPECT_NE(f.texto.find("a malha 16 falhou (saída 3"), std::string::npos) << f.texto;

    // An engine that is not installed: every grid is named, none pretends to have run.
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", pasta.caminho().c_str(), 1);
    const Saida motor = roda_estudo({"--saida", "m", "--motor", "slurm", pasta_casos() + "/shih", "8", "16"});
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(motor.estado, 1);
    EXPECT_NE(motor.texto.find("a malha 8 não rodou: o quelna ou o motor de execução (Slurm)"), std::string::npos)
        << motor.texto;

    const Saida sem = roda_estudo({"--saida", "s", "pasta-que-nao-existe", "8", "16"});
    EXPECT_EQ(sem.estado, 2);
    EXPECT_NE(sem.texto.find("pasta-que-nao-existe/Quelna_1p3.ent"), std::string::npos) << sem.texto;
    EXPECT_EQ(roda_estudo({pasta_casos() + "/shih", "8"}).estado, 2);
    EXPECT_EQ(roda_estudo({"--motor", "nuvem", pasta_casos() + "/shih", "8", "16"}).estado, 2);
}

TEST(HostileStudy, NothingItDidNotMakeIsDeleted) {
    PastaTemporaria pasta;
    // A user's folder where a grid folder would go.
    std::filesystem::create_directories("e/malha_16");
    escreve_arquivo("e/malha_16/tese.tex", "capítulo 1\n");
    Saida s = roda_estudo({"--saida", "e", pasta_casos() + "/shih", "8", "16"});
    EXPECT_EQ(s.estado, 2);
    EXPECT_NE(s.texto.find("malha_16\" já existe e não foi criada pelo quelna-estudo; nada foi apagado"),
              std::string::npos)
        << s.texto;
    EXPECT_EQ(le_arquivo("e/malha_16/tese.tex"), "capítulo 1\n");
    EXPECT_FALSE(existe("e/malha_8"));
    // Its own folders, marked, are replaced by the next study.
    ASSERT_EQ(roda_estudo({"--saida", "f", pasta_casos() + "/shih", "8", "16"}).estado, 0);
    escreve_arquivo("f/malha_8/velho", "");
    s = roda_estudo({"--saida", "f", pasta_casos() + "/shih", "8", "16"});
    EXPECT_EQ(s.estado, 0) << s.texto;
    EXPECT_FALSE(existe("f/malha_8/velho"));
    // A case folder inside a folder the study would recreate.
    s = roda_estudo({"--saida", "f", "f/malha_8", "8", "16"});
    EXPECT_EQ(s.estado, 2);
    EXPECT_NE(s.texto.find("a pasta do caso está dentro de"), std::string::npos) << s.texto;
    EXPECT_TRUE(existe("f/malha_8/Quelna_1p3.ent"));
    EXPECT_TRUE(existe("f/malha_8/shih_32"));
}

TEST(HostileStudy, OneStudyAtATimeInAFolderAndEachGridOnce) {
    PastaTemporaria pasta;
    std::filesystem::create_directories("e");
    {
        const Trava outro("e/.quelna-estudo.trava");
        ASSERT_TRUE(outro.obtida());
        const Saida s = roda_estudo({"--saida", "e", pasta_casos() + "/shih", "8", "16"});
        EXPECT_EQ(s.estado, 2);
        EXPECT_NE(s.texto.find("outro estudo está em andamento na pasta \"e\""), std::string::npos) << s.texto;
        EXPECT_FALSE(existe("e/malha_8"));
    }
    const Saida s = roda_estudo({"--saida", "e", pasta_casos() + "/shih", "8", "16", "8"});
    EXPECT_EQ(s.estado, 2);
    EXPECT_NE(s.texto.find("a malha 8 foi dada mais de uma vez"), std::string::npos) << s.texto;
    EXPECT_FALSE(existe("e/malha_8"));
}

TEST(HostileStudy, CaseNamesOutsideTheFolderAreRefused) {
    PastaTemporaria pasta;
    copia_caso("shih", "caso");
    auto l = linhas_de(le_arquivo("caso/Quelna_1p3.ent"));
    for (const char* nome : {"'../fora'", "'r.dat'"}) {
        l[0] = nome;
        std::string t;
        for (const auto& x : l) t += x + "\n";
        escreve_arquivo("caso/Quelna_1p3.ent", t);
        const Saida s = roda_estudo({"--saida", "e", "caso", "8", "16"});
        EXPECT_EQ(s.estado, 2) << nome;
        EXPECT_NE(s.texto.find("Quelna_1p3.ent, linha 1 (caso)"), std::string::npos) << s.texto;
        EXPECT_FALSE(existe("e/malha_8"));
        EXPECT_FALSE(existe("e/fora"));
    }
}

TEST(Study, WithoutGnuplotTheReportNamesNoPicture) {
    PastaTemporaria pasta;
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", pasta.caminho().c_str(), 1);
    const Saida s = roda_estudo({"--saida", "e", pasta_casos() + "/shih", "8", "16"});
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(s.estado, 0) << s.texto;
    EXPECT_NE(s.texto.find("/e/estudo.md (e estudo.csv)\n"), std::string::npos) << s.texto;
    EXPECT_NE(s.texto.find("quelna-estudo: o gnuplot não desenhou nenhuma figura"), std::string::npos) << s.texto;
    EXPECT_EQ(le_arquivo("e/estudo.md").find(".png"), std::string::npos);
}

TEST(HostileStudy, OutputPathsReachThePlotterAsNames) {
    if (!tem_programa("gnuplot")) GTEST_SKIP() << "gnuplot ausente";
    PastaTemporaria pasta;
    for (const char* saida : {"x'; system('touch PWNG'); print '", "out 'q'"}) {
        const Saida s = roda_estudo({"--saida", saida, pasta_casos() + "/shih", "8", "16"});
        EXPECT_EQ(s.estado, 0) << s.texto;
        for (const char* png : {"/erro.png", "/perfis_u.png", "/perfis_v.png"})
            EXPECT_EQ(le_arquivo(saida + std::string(png)).substr(0, 4), "\x89PNG") << saida << png;
        EXPECT_EQ(le_arquivo(saida + std::string("/gnuplot.log")), "") << saida;
    }
    EXPECT_FALSE(existe("PWNG"));
    EXPECT_EQ(arquivos_da_pasta("."), (std::vector<std::string>{"out 'q'", "saida.txt", "x'; system('touch PWNG'); print '"}));
}

TEST(StudyOutcomes, EachGridSaysWhatItDidAndOnlyUsableGridsAreExtrapolated) {
    PastaTemporaria pasta;
    // 16 diverges (SOR over-relaxed with a huge time step), 24 stops at itmax far above tolm.
    const Saida s = roda_estudo({"--saida", "e", "--valor", "dt=1e6@16", "--valor", "solver=3@16", "--valor", "w=1.9@16",
                                 "--valor", "itmax=30@24", pasta_casos() + "/ghia_re100", "8", "16", "24"});
    EXPECT_EQ(s.estado, 1) << s.texto;
    EXPECT_NE(s.texto.find("a malha 16 divergiu na iteração"), std::string::npos) << s.texto;
    const std::string md = le_arquivo("e/estudo.md"), csv = le_arquivo("e/estudo.csv");
    EXPECT_NE(md.find("| 8 | convergiu | "), std::string::npos) << md;
    EXPECT_NE(md.find("| 16 | divergiu | "), std::string::npos);
    EXPECT_NE(md.find("| 24 | parou em itmax | 30 | "), std::string::npos);
    const auto desfecho = linha_csv(csv, "desfecho");
    EXPECT_EQ(std::vector<std::string>(desfecho.begin(), desfecho.begin() + 4),
              (std::vector<std::string>{"desfecho", "convergiu", "divergiu", "parou em itmax"}));
    EXPECT_EQ(linha_csv(csv, "iteracoes")[3], "30");
    // The diverged grid has no value; the estimate comes from 8 and 24 with the formal order,
    // marked as using a grid that stopped at itmax.
    const auto psi = linha_csv(csv, "psi_min");
    ASSERT_GE(psi.size(), 6u);
    EXPECT_EQ(psi[2], "—");
    EXPECT_EQ(psi[4], "2");
    EXPECT_EQ(psi.back(), "24");
    EXPECT_NE(md.find("(itmax) | "), std::string::npos);
    EXPECT_NE(md.find("o erro de iteração dela pode ser do tamanho do erro de discretização"), std::string::npos);
    // Ghia's primary vortex is the reference of psi_min.
    EXPECT_EQ(psi[8], "-0.103423");
    EXPECT_NE(md.find("Ghia et al. (1982), Re = 100, tabela V"), std::string::npos);
}

TEST(StudyOutcomes, CaseValuesForSomeGridsAreCheckedBeforeAnythingRuns) {
    PastaTemporaria pasta;
    for (const auto& [valor, mensagem] : {std::pair{"tolm", "escreva NOME=VALOR"}, std::pair{"nx=8", "nx e ny"},
                                          std::pair{"velocidade=2", "não é um valor do arquivo de dados"},
                                          std::pair{"dt=rapido@16", "linha 4 (dt)"}, std::pair{"dt=0.1@x", "não é uma malha"}}) {
        const Saida s = roda_estudo({"--saida", "e", "--valor", valor, pasta_casos() + "/shih", "8", "16"});
        EXPECT_EQ(s.estado, 2) << valor;
        EXPECT_NE(s.texto.find(mensagem), std::string::npos) << s.texto;
        EXPECT_FALSE(existe("e/malha_8")) << valor;
    }
    EXPECT_EQ(com_valores("0.2   dt: remark\n'caso antigo' nome\n", {{1, "1e-3"}, {2, "'novo'"}}),
              "1e-3   dt: remark\n'novo' nome\n");
}

TEST(StudyReferences, WallsOddGridsAndMisprintsAreNotComparedAsIfTheyWereResults) {
    PastaTemporaria pasta;
    // With malha equal to the grid, the values of interest reach the lid (y = 1).
    Saida s = roda_estudo({"--saida", "w", "--valor", "malha=16", pasta_casos() + "/ghia_re100", "16", "32"});
    ASSERT_EQ(s.estado, 0) << s.texto;
    auto tampa = linha_csv(le_arquivo("w/estudo.csv"), "u(y=1)");
    ASSERT_GE(tampa.size(), 8u);
    EXPECT_EQ(tampa[7], "");  // no reference on the lid
    EXPECT_EQ(linha_csv(le_arquivo("w/estudo.csv"), "u(y=0.5)")[7], "-0.20581");
    // Odd grids: the report names the offset of their centre lines.
    s = roda_estudo({"--saida", "i", "--valor", "malha=3", pasta_casos() + "/ghia_re100", "9", "15"});
    ASSERT_EQ(s.estado, 0) << s.texto;
    EXPECT_NE(le_arquivo("i/estudo.md").find("A malha 9 tem um número ímpar de volumes: os perfis e os valores das "
                                             "linhas centrais ficam meio volume antes do centro, em x = 0.444444"),
              std::string::npos);
    // At Re = 400 the misprinted v of Ghia's Table II is left out and named.
    s = roda_estudo({"--saida", "m", "--valor", "Re=400", pasta_casos() + "/ghia_re100", "8", "16"});
    ASSERT_EQ(s.estado, 0) << s.texto;
    EXPECT_NE(le_arquivo("m/estudo.md").find("Deixada de fora das comparações: v = -0.23827 em x = 0.9063"),
              std::string::npos);
    const auto estacoes = estacoes_do_perfil(false, 2, 400);
    EXPECT_EQ(estacoes.size(), 14u);  // 17 stations less the two walls and the misprint
    for (const auto& [x, v] : estacoes) EXPECT_NE(x, 0.9063);
}

// The extremum of a profile from the parabola through its extreme value and the two beside it,
// with unequal spacings as at a wall; and the three norms of an error worked by hand.
TEST(StudyFlow, ProfileExtremaAndErrorNorms) {
    const auto f = [](double x) { return 3.0 * (x - 0.37) * (x - 0.37) - 0.2; };
    const std::vector<std::pair<double, double>> perfil = {{0.0, 0.0}, {0.05, f(0.05)}, {0.3, f(0.3)},
                                                           {0.45, f(0.45)}, {1.0, 1.0}};
    const estudo::ExtremoDoPerfil e = estudo::extremo_do_perfil(perfil, false);
    ASSERT_TRUE(e.existe);
    EXPECT_NEAR(e.posicao, 0.37, 1e-14);
    EXPECT_NEAR(e.valor, -0.2, 1e-14);
    // An extreme value at an end is no extremum.
    EXPECT_FALSE(estudo::extremo_do_perfil(perfil, true).existe);
    const estudo::Normas n = estudo::normas({0.5, -2.0, 1.0, 0.5});
    EXPECT_EQ(n.maximo, 2.0);
    EXPECT_EQ(n.l1, 1.0);
    EXPECT_EQ(n.l2, std::sqrt(5.5 / 4));
    EXPECT_TRUE(std::isnan(estudo::normas({0.1, NAN}).l2));
}

TEST(StudyReferences, ProfilesAreInterpolatedByACubicThroughTheFourNearestValues) {
    // A cubic is reproduced exactly, between any four of its values, at the ends too.
    const auto f = [](double x) { return 2 * x * x * x - x * x + 0.5 * x - 3; };
    std::vector<std::pair<double, double>> perfil;
    for (const double x : {0.0, 0.1, 0.25, 0.4, 0.6, 0.85, 1.0}) perfil.push_back({x, f(x)});
    for (const double x : {0.0, 0.05, 0.3, 0.5, 0.9, 1.0}) EXPECT_NEAR(interpola_perfil(perfil, x), f(x), 1e-13) << x;
    // Fewer than four values: the line between the two around the point.
    EXPECT_DOUBLE_EQ(interpola_perfil({{0.0, 1.0}, {1.0, 3.0}}, 0.25), 1.5);
}

}  // namespace quelna::estudo
