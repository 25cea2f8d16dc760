#include "platform/comando.hpp"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <utility>

#include "../apoio.hpp"
#include "platform/arquivo.hpp"
#include "platform/janela.hpp"

namespace quelna {

using namespace teste;

namespace {

// A program that records its arguments, one per line, in args.txt and exits with status 3.
void cria_gravador(const std::string& nome) {
    escreve_arquivo(nome, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > args.txt\nexit 3\n");
    chmod(nome.c_str(), 0755);
}

int roda(const std::string& linha) { return executar_comando(linha, static_cast<int>(linha.size())); }

}  // namespace

TEST(OutsidePrograms, RunsTheProgramAndReturnsItsStatus) {
    PastaTemporaria pasta;
    cria_gravador("grava");
    EXPECT_EQ(roda("./grava arquivo.txt      "), 3);  // trailing blanks removed
    EXPECT_EQ(le_arquivo("args.txt"), "arquivo.txt\n");
    EXPECT_EQ(roda("true"), 0);
    EXPECT_EQ(roda("false"), 1);
}

TEST(OutsidePrograms, TheRestOfTheLineIsOneVerbatimArgumentAndNoShellSeesIt) {
    PastaTemporaria pasta;
    cria_gravador("grava");
    EXPECT_EQ(roda("./grava x; touch invadido; $(touch invadido2) `touch invadido3`"), 3);
    EXPECT_EQ(le_arquivo("args.txt"), "x; touch invadido; $(touch invadido2) `touch invadido3`\n");
    EXPECT_FALSE(existe("invadido"));
    EXPECT_FALSE(existe("invadido2"));
    EXPECT_FALSE(existe("invadido3"));
    // Leading blanks of the argument are part of it (a case name may start with blanks).
    EXPECT_EQ(roda("./grava   cav"), 3);
    EXPECT_EQ(le_arquivo("args.txt"), "  cav\n");
}

TEST(OutsidePrograms, OverlongLinesAndMissingProgramsGiveMinusOne) {
    PastaTemporaria pasta;
    cria_gravador("grava");
    const std::string longa = "./grava " + std::string(1017, 'x');  // 1025 characters
    EXPECT_EQ(roda(longa), -1);
    EXPECT_FALSE(existe("args.txt"));
    const std::string limite = "./grava " + std::string(1016, 'x') + "   ";  // 1024 once trimmed
    EXPECT_EQ(roda(limite), 3);
    EXPECT_EQ(roda("programa-que-nao-existe-em-lugar-algum arg"), -1);
    EXPECT_EQ(roda(""), -1);
    // Only the first `comprimento` characters are the command.
    EXPECT_EQ(executar_comando("./grava abcdef", 11), 3);
    EXPECT_EQ(le_arquivo("args.txt"), "abc\n");
}

TEST(OutsidePrograms, TheViewerDoesNothingWithoutATerminal) {
    // The tests run with no terminal on standard input, as a batch run does.
    PastaTemporaria pasta;
    cria_gravador("editor");
    setenv("EDITOR", (pasta.caminho() + "/editor").c_str(), 1);
    EXPECT_EQ(roda("notepad lista.txt"), 0);
    unsetenv("EDITOR");
    EXPECT_FALSE(existe("args.txt"));
}

TEST(OutsidePrograms, ThePlotterLeavesAPngBesideTheScript) {
    if (std::system("command -v gnuplot >/dev/null 2>&1") != 0) GTEST_SKIP() << "gnuplot ausente";
    PastaTemporaria pasta;
    escreve_arquivo("d.dat", "0 0\n1 1\n");
    escreve_arquivo("r.gnu", "plot 'd.dat' using 1:2 with lines\nset title 'teste'\nreplot\n");
    EXPECT_EQ(roda("wgnuplot r.gnu"), 0);
    const std::string png = le_arquivo("r.png");
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    // A log with nothing in it is not kept; one with gnuplot's complaints is.
    EXPECT_FALSE(existe("r.log"));
    escreve_arquivo("r.gnu", "plot 'nao-existe.dat'\n");
    roda("wgnuplot r.gnu");
    EXPECT_NE(le_arquivo("r.log").find("nao-existe.dat"), std::string::npos);
}

TEST(OutsidePrograms, WithoutGnuplotThePlotGivesMinusOne) {
    PastaTemporaria pasta;
    const char* antes = std::getenv("PATH");
    const std::string path = antes ? antes : "";
    setenv("PATH", pasta.caminho().c_str(), 1);
    escreve_arquivo("r.gnu", "plot x\n");
    EXPECT_EQ(roda("wgnuplot r.gnu"), -1);
    setenv("PATH", path.c_str(), 1);
    EXPECT_FALSE(existe("r.png"));
}

TEST(WindowHost, InitialSettingsKeepThePlacementOfTheFirstRequestAndTheKindOfTheLast) {
    JanelaTexto host;
    EXPECT_TRUE(INITIALSETTINGS(host));
    EXPECT_EQ(host.posicao().x, 100);
    EXPECT_EQ(host.posicao().y, 20);
    EXPECT_EQ(host.posicao().largura, 600);
    EXPECT_EQ(host.posicao().altura, 400);
    EXPECT_EQ(host.tipo(), 1);
    EXPECT_FALSE(host.fecha_ao_terminar_sem_perguntar());
}

TEST(TextFiles, AWriteErrorSurfacesWhenTheFileIsClosed) {
    // A size limit on the files of this process makes the write past it fail, as a full disk would.
    PastaTemporaria pasta;
    rlimit antes {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &antes), 0);
    const auto sinal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = antes;
    limite.rlim_cur = 10000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
    ArquivoTexto f("cheio");
    f.linha(std::string(100000, 'x'));
    std::string erro;
    try {
        f.fecha();
    } catch (const ErroArquivo& e) {
        erro = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &antes);
    std::signal(SIGXFSZ, sinal);
    EXPECT_NE(erro.find("\"cheio\": arquivo grande demais"), std::string::npos) << erro;
}

TEST(TextFiles, OnlyRegularFilesAreWrittenNeverThroughALink) {
    PastaTemporaria pasta;
    escreve_arquivo("alvo", "do usuário\n");
    ASSERT_EQ(symlink("alvo", "link"), 0);
    ASSERT_EQ(mkfifo("fifo", 0644), 0);
    for (const auto& [nome, motivo] : {std::pair{"link", "é um link simbólico"}, std::pair{"fifo", "não é um arquivo comum"},
                                       std::pair{"/dev/null", "não é um arquivo comum"}}) {
        try {
            ArquivoTexto f(nome);
            ADD_FAILURE() << nome;
        } catch (const ErroArquivo& e) {
            EXPECT_NE(std::string(e.what()).find(std::string("\"") + nome + "\": " + motivo), std::string::npos)
                << e.what();
        }
    }
    EXPECT_EQ(le_arquivo("alvo"), "do usuário\n");
    // Reading: a FIFO is refused at once rather than waited on, a file past the bound too.
    std::string texto;
    EXPECT_EQ(le_arquivo_comum("fifo", 100, texto), ENXIO);
    escreve_arquivo("grande", std::string(101, 'x'));
    EXPECT_EQ(le_arquivo_comum("grande", 100, texto), EFBIG);
    EXPECT_EQ(le_arquivo_comum("grande", 101, texto), 0);
    EXPECT_EQ(texto.size(), 101u);
    EXPECT_EQ(le_arquivo_comum("link", 100, texto), 0);
    EXPECT_EQ(le_arquivo_comum("link", 100, texto, false), ELOOP);
    EXPECT_EQ(le_arquivo_comum("/dev/zero", 100, texto), ENXIO);
}

TEST(TextFiles, AFileThatCannotBeCreatedIsNamed) {
    PastaTemporaria pasta;
    try {
        ArquivoTexto f("pasta-que-nao-existe/lista");
        FAIL();
    } catch (const ErroArquivo& e) {
        EXPECT_NE(std::string(e.what()).find("pasta-que-nao-existe/lista"), std::string::npos);
    }
}

}  // namespace quelna
