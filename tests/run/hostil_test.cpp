// Case folders from someone else, through the real executable: no file outside the folder, no
// command, nothing of the user's lost, no hang and no silent end.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "../apoio.hpp"
#include "input/caso.hpp"
#include "platform/formato.hpp"
#include "run/execucao.hpp"

namespace quelna {

using namespace teste;

namespace {

// A run that hangs ends by SIGALRM (exit 142) and fails the test instead of holding the suite.
void com_prazo() { alarm(30); }

// The small Ghia example with some lines of its case file replaced.
void prepara(const std::map<int, std::string>& trocas) {
    copia_caso("ghia_re100", ".");
    std::map<int, std::string> t = {{2, "8"}, {3, "8"}, {6, "5"}};
    for (const auto& [n, l] : trocas) t[n] = l;
    escreve_arquivo(arquivo_caso, texto_caso(t));
}

bool so_o_caso_e_os_roteiros(const std::string& pasta) {
    for (const auto& nome : arquivos_da_pasta(pasta))
        if (nome != arquivo_caso && nome != "esperado" && nome.find(".gnu") == std::string::npos &&
            nome.rfind("ghia_", 0) != 0)
            return false;
    return true;
}

}  // namespace

TEST(HostileCase, NamesThatAreNotPlainFileNamesAreRefused) {
    PastaTemporaria pasta;
    std::filesystem::create_directory("sub");
    std::filesystem::remove("/tmp/quelna-fora");
    for (const char* nome : {"'/tmp/quelna-fora'", "'../fora'", "'../../fora'", "'a/b'", "'..'", "'.'", "'a\\b'"}) {
        std::filesystem::current_path(pasta.caminho() + "/sub");
        prepara({{1, nome}});
        const auto r = roda_quelna(".", {}, com_prazo);
        EXPECT_EQ(r.estado, 2) << nome;
        EXPECT_NE(r.erro.find("Quelna_1p3.ent, linha 1 (caso)"), std::string::npos) << r.erro;
        EXPECT_TRUE(so_o_caso_e_os_roteiros(".")) << nome;
    }
    EXPECT_FALSE(existe("/tmp/quelna-fora"));
    EXPECT_EQ(arquivos_da_pasta(pasta.caminho()), std::vector<std::string>{"sub"});
}

TEST(HostileCase, TheFilesOfTheRunCannotBeItsListing) {
    const std::vector<std::string> da_execucao = arquivos_da_execucao();
    for (const char* nome : {"Quelna_1p3.ent", "r.dat", "u.dat", "v.dat", "ucex.dat", "vcex.dat", "r.gnu",
                             "u_Ghia.gnu", "v_Shih.gnu", "r.gnu.tmp", "r.log", "u_Ghia.png", "v_Shih.log",
                             "ghia_u.dat", "ghia_v.dat", "psi.dat", "vortices.dat", "psi.gnu", "psi.png"}) {
        EXPECT_NE(std::find(da_execucao.begin(), da_execucao.end(), nome), da_execucao.end()) << nome;
        PastaTemporaria pasta;
        prepara({{1, std::string("'") + nome + "'"}});
        const std::string antes = le_arquivo(nome);
        const auto r = roda_quelna(pasta.caminho(), {}, com_prazo);
        EXPECT_EQ(r.estado, 2) << nome;
        EXPECT_NE(r.erro.find(std::string("\"") + nome + "\" é o nome de um arquivo que a execução"), std::string::npos)
            << r.erro;
        EXPECT_EQ(le_arquivo(nome), antes) << nome;
        EXPECT_TRUE(so_o_caso_e_os_roteiros(pasta.caminho())) << nome;
    }
}

TEST(HostileCase, AUserFileIsNotReplacedButAnEarlierListingIs) {
    PastaTemporaria pasta;
    prepara({{1, "'notas'"}});
    escreve_arquivo("notas", "minhas notas\n");
    auto r = roda_quelna(pasta.caminho(), {}, com_prazo);
    EXPECT_EQ(r.estado, 2);
    EXPECT_NE(r.erro.find("já existe \"notas\" e não foi gravado pelo quelna"), std::string::npos) << r.erro;
    EXPECT_EQ(le_arquivo("notas"), "minhas notas\n");
    EXPECT_FALSE(existe("notas.itn"));
    // An earlier run's listing and iteration file are the run's own: replaced.
    std::filesystem::remove("notas");
    ASSERT_EQ(roda_quelna(pasta.caminho(), {}, com_prazo).estado, 0);
    r = roda_quelna(pasta.caminho(), {}, com_prazo);
    EXPECT_EQ(r.estado, 0) << r.erro;
    EXPECT_EQ(le_arquivo("notas").substr(0, 12), "\n     Dia = ");
}

TEST(HostileCase, TheViewerTakesTheNameForAFileNeverForAnOption) {
    PastaTemporaria pasta;
    prepara({{1, "'+!touch PWNED'"}});
    escreve_arquivo("editor", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> argumentos; done\n");
    chmod("editor", 0755);
    // The viewer runs only for a user at a terminal: the run gets one.
    const auto r = roda_quelna_no_terminal(pasta.caminho(), {{"EDITOR", pasta.caminho() + "/editor"}, {"VISUAL", ""}});
    EXPECT_EQ(r.estado, 0);
    EXPECT_EQ(le_arquivo("argumentos"), "./Quelna_1p3.ent\n./+!touch PWNED.itn\n./+!touch PWNED\n");
    EXPECT_FALSE(existe("PWNED"));
    EXPECT_TRUE(existe("+!touch PWNED"));
}

TEST(HostileCase, AClosedStandardErrorNeitherEndsTheRunNorEntersTheListing) {
    // Without r.gnu the run has a warning to give.
    for (const bool pipe_fechado : {true, false}) {
        PastaTemporaria pasta;
        prepara({});
        std::filesystem::remove("r.gnu");
        const auto r = roda_quelna(pasta.caminho(), {}, [pipe_fechado] {
            com_prazo();
            if (pipe_fechado) {
                int fd[2];
                if (pipe(fd) == 0) {
                    close(fd[0]);
                    dup2(fd[1], 2);
                    close(fd[1]);
                }
            } else {
                close(2);
            }
        });
        EXPECT_EQ(r.estado, 0) << (pipe_fechado ? "pipe" : "fechado");
        const std::string lista = le_arquivo("teste");
        EXPECT_EQ(lista.find("quelna:"), std::string::npos);
        EXPECT_NE(lista.find(" = tempo de processamento (s)"), std::string::npos);
        EXPECT_EQ(linhas_de(le_arquivo("u.dat")).size(), 10u);
    }
}

TEST(HostileCase, InputsTooLargeForMemoryAreRefused) {
    {
        PastaTemporaria pasta;
        ASSERT_EQ(symlink("/dev/zero", arquivo_caso), 0);
        const auto r = roda_quelna(pasta.caminho(), {}, com_prazo);
        EXPECT_EQ(r.estado, 2);
        EXPECT_NE(r.erro.find("Quelna_1p3.ent: não foi possível ler o arquivo de dados: não é um arquivo comum"),
                  std::string::npos)
            << r.erro;
    }
    {
        PastaTemporaria pasta;
        escreve_arquivo(arquivo_caso, texto_caso() + std::string(2 << 20, '\n'));
        const auto r = roda_quelna(pasta.caminho(), {}, com_prazo);
        EXPECT_EQ(r.estado, 2);
        EXPECT_NE(r.erro.find("Quelna_1p3.ent: tem mais de 1 MiB"), std::string::npos) << r.erro;
    }
    {
        // A plot script past the bound is not one: no plot, a warning, the run goes on.
        PastaTemporaria pasta;
        prepara({});
        escreve_arquivo("r.gnu", std::string(2 << 20, '#'));
        const auto r = roda_quelna(pasta.caminho(), {}, com_prazo);
        EXPECT_EQ(r.estado, 0);
        EXPECT_NE(r.erro.find("\"r.gnu\" não pôde ser lido: arquivo grande demais"), std::string::npos) << r.erro;
    }
#if !defined(__SANITIZE_ADDRESS__)
    // A grid whose fields and MSI work arrays do not fit under the process's address-space limit
    // (the address sanitizer cannot start under such a limit).
    PastaTemporaria pasta;
    escreve_arquivo(arquivo_caso, texto_caso({{2, "3000"}, {3, "3000"}, {7, "5"}}));
    const auto r = roda_quelna(pasta.caminho(), {}, [] {
        com_prazo();
        rlimit limite {1ul << 30, 1ul << 30};
        setrlimit(RLIMIT_AS, &limite);
    });
    EXPECT_EQ(r.estado, 2);
    EXPECT_NE(r.erro.find("linha 3 (ny): 3000 x 3000 volumes precisam de 3.0 GiB de memória; o limite de memória do "
                          "processo é 1.0 GiB"),
              std::string::npos)
        << r.erro;
    EXPECT_EQ(arquivos_da_pasta(pasta.caminho()), std::vector<std::string>{arquivo_caso});
#endif
}

TEST(HostileCase, OnlyRegularFilesAreOpenedNeverThroughALink) {
    {
        // A FIFO in the listing's place: refused at once, before anything is written.
        PastaTemporaria pasta;
        prepara({});
        ASSERT_EQ(mkfifo("teste", 0644), 0);
        const auto r = roda_quelna(pasta.caminho(), {}, com_prazo);
        EXPECT_EQ(r.estado, 2);
        EXPECT_NE(r.erro.find("\"teste\": não é um arquivo comum"), std::string::npos) << r.erro;
        EXPECT_FALSE(existe("r.dat"));
    }
    {
        // A FIFO or a link for a plot script: that plot is not made, the run goes on.
        PastaTemporaria pasta;
        prepara({});
        std::filesystem::remove("r.gnu");
        ASSERT_EQ(mkfifo("r.gnu", 0644), 0);
        std::filesystem::rename("u_Ghia.gnu", "u_Ghia.real");
        ASSERT_EQ(symlink("u_Ghia.real", "u_Ghia.gnu"), 0);
        const auto r = roda_quelna(pasta.caminho(), {}, com_prazo);
        EXPECT_EQ(r.estado, 0);
        EXPECT_NE(r.erro.find("\"r.gnu\" não pôde ser lido: não é um arquivo comum"), std::string::npos) << r.erro;
        EXPECT_NE(r.erro.find("\"u_Ghia.gnu\" não pôde ser lido: é um link simbólico"), std::string::npos) << r.erro;
        EXPECT_TRUE(std::filesystem::is_symlink("u_Ghia.gnu"));
        EXPECT_NE(le_arquivo("teste").find(" = tempo de processamento (s)"), std::string::npos);
    }
    {
        // A folder or a link where the fields file or its temporary copy goes: refused before anything is written.
        PastaTemporaria pasta;
        prepara({});
        std::filesystem::create_directory("teste.vti");
        auto r = roda_quelna(pasta.caminho(), {}, com_prazo);
        EXPECT_EQ(r.estado, 2);
        EXPECT_NE(r.erro.find("\"teste.vti\": há uma pasta com esse nome"), std::string::npos) << r.erro;
        EXPECT_FALSE(existe("r.dat"));
        std::filesystem::remove("teste.vti");
        ASSERT_EQ(symlink("/tmp/quelna-fora", "teste.vti.tmp"), 0);
        r = roda_quelna(pasta.caminho(), {}, com_prazo);
        EXPECT_EQ(r.estado, 2);
        EXPECT_NE(r.erro.find("\"teste.vti.tmp\": é um link simbólico"), std::string::npos) << r.erro;
        EXPECT_FALSE(existe("/tmp/quelna-fora"));
    }
    {
        // A link in the place of a data file, a picture or the listing: nothing goes through it.
        PastaTemporaria pasta;
        prepara({});
        escreve_arquivo("alvo", "do usuário\n");
        ASSERT_EQ(symlink("alvo", "v_Ghia.png"), 0);
        ASSERT_EQ(symlink("alvo", "r.dat"), 0);
        auto r = roda_quelna(pasta.caminho(), {}, com_prazo);
        EXPECT_EQ(r.estado, 1);
        EXPECT_NE(r.erro.find("\"r.dat\": é um link simbólico"), std::string::npos) << r.erro;
        std::filesystem::remove("r.dat");
        r = roda_quelna(pasta.caminho(), {}, com_prazo);
        EXPECT_EQ(r.estado, 0);
        EXPECT_NE(r.erro.find("\"v_Ghia.gnu\" não foi usado: \"v_Ghia.png\" é um link simbólico"), std::string::npos)
            << r.erro;
        ASSERT_EQ(symlink("alvo", "lista"), 0);
        escreve_arquivo(arquivo_caso, texto_caso({{1, "'lista'"}, {2, "8"}, {3, "8"}}));
        r = roda_quelna(pasta.caminho(), {}, com_prazo);
        EXPECT_EQ(r.estado, 2);
        EXPECT_NE(r.erro.find("\"lista\": é um link simbólico"), std::string::npos) << r.erro;
        EXPECT_EQ(le_arquivo("alvo"), "do usuário\n");
    }
}

TEST(HostileCase, ASecondSignalKeepsWhatWasWrittenBeforeTheCycle) {
    PastaTemporaria pasta;
    // Jacobi with many inner sweeps: the first outer iteration lasts seconds, and the signals
    // come inside it, before the cycle has reported anything.
    escreve_arquivo(arquivo_caso, texto_caso({{2, "64"}, {3, "64"}, {6, "5"}, {7, "1"}, {12, "40000"}}));
    const int pid = inicia_quelna(pasta.caminho());
    // The iteration file's heading is written when the cycle starts.
    for (int k = 0; k < 500 && le_arquivo("teste.itn").empty(); ++k)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    kill(pid, SIGTERM);
    // Two signals sent at once would arrive as one.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    kill(pid, SIGTERM);
    EXPECT_EQ(espera(pid), 128 + SIGTERM);
    EXPECT_EQ(le_arquivo("r.dat"), "");
    const std::string lista = le_arquivo("teste");
    EXPECT_EQ(lista.substr(0, 12), "\n     Dia = ");
    EXPECT_NE(lista.find(latin1("   = número máximo de iterações externas")), std::string::npos);
    EXPECT_NE(lista.find(latin1("   = malha-base para u e v de interesse")), std::string::npos);
    EXPECT_NE(le_arquivo("teste.itn").find(latin1("Iteração")), std::string::npos);
}

TEST(HostileCase, TitlesWithApostrophesReachThePlotterIntact) {
    if (std::system("command -v gnuplot >/dev/null 2>&1") != 0) GTEST_SKIP() << "gnuplot ausente";
    for (const char* titulo : {"'''Ghia'' cavity'", "'a''''b'", "'fim'''", "'barra \\ e \"aspas\"'"}) {
        PastaTemporaria pasta;
        prepara({{21, titulo}});
        const auto r = roda_quelna(pasta.caminho(), {}, com_prazo);
        EXPECT_EQ(r.estado, 0) << titulo;
        for (const char* log : {"r.log", "u_Ghia.log", "v_Ghia.log"}) EXPECT_EQ(le_arquivo(log), "") << titulo << log;
        for (const char* png : {"r.png", "u_Ghia.png", "v_Ghia.png"}) EXPECT_TRUE(existe(png)) << titulo << png;
    }
}

TEST(HostileCase, ReynoldsNumbersWhoseViscosityOverflowsAreRefused) {
    for (const char* re : {"1e-310", "4e-309"}) {
        PastaTemporaria pasta;
        escreve_arquivo(arquivo_caso, texto_caso({{14, re}}));
        const auto r = roda_quelna(pasta.caminho(), {}, com_prazo);
        EXPECT_EQ(r.estado, 2) << re;
        EXPECT_NE(r.erro.find("linha 14 (Re)"), std::string::npos) << r.erro;
        EXPECT_EQ(arquivos_da_pasta(pasta.caminho()), std::vector<std::string>{arquivo_caso});
    }
    PastaTemporaria pasta;
    escreve_arquivo(arquivo_caso, texto_caso({{4, "1e-310"}}));
    const auto r = roda_quelna(pasta.caminho(), {}, com_prazo);
    EXPECT_EQ(r.estado, 2);
    EXPECT_NE(r.erro.find("linha 4 (dt)"), std::string::npos) << r.erro;
}

TEST(HostileCase, AUtf8NameKeepsCharactersBeyondLatin1) {
    PastaTemporaria pasta;
    // 20 characters: the euro sign and the accents count one each.
    escreve_arquivo(arquivo_caso, texto_caso({{1, "'custo € ação 1234567890'"}, {21, "'Cavidade çã'"}}));
    const auto r = roda_quelna(pasta.caminho(), {}, com_prazo);
    EXPECT_EQ(r.estado, 0) << r.erro;
    EXPECT_TRUE(existe("custo € ação 1234567")) << testing::PrintToString(arquivos_da_pasta("."));
    EXPECT_TRUE(existe("custo € ação 1234567.itn"));
    // The listing is Latin-1: there the euro sign, which Latin-1 lacks, stands as '?'.
    EXPECT_NE(le_arquivo("custo € ação 1234567").find(latin1("custo ? ação 1234567   = nome do experimento")),
              std::string::npos);
}

}  // namespace quelna
