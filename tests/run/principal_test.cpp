#include <gtest/gtest.h>
#include <sys/stat.h>

#include "../apoio.hpp"
#include "input/caso.hpp"
#include "platform/formato.hpp"

namespace quelna {

using namespace teste;

TEST(Program, HelpVersionAndUnknownArguments) {
    PastaTemporaria pasta;
    const auto ajuda = roda_quelna(pasta.caminho(), {"--help"});
    EXPECT_EQ(ajuda.estado, 0);
    EXPECT_NE(ajuda.saida.find("uso: quelna"), std::string::npos);
    const auto versao = roda_quelna(pasta.caminho(), {"--version"});
    EXPECT_EQ(versao.estado, 0);
    EXPECT_EQ(versao.saida, "quelna 1.3\n");
    const auto outro = roda_quelna(pasta.caminho(), {"caso.ent"});
    EXPECT_EQ(outro.estado, 2);
    EXPECT_NE(outro.erro.find("uso: quelna"), std::string::npos);
    EXPECT_NE(outro.erro.find("caso.ent"), std::string::npos);
    EXPECT_EQ(arquivos_da_pasta(pasta.caminho()), std::vector<std::string>{});
}

TEST(Program, ARunWritesTheListingNamedByTheCase) {
    PastaTemporaria pasta;
    escreve_arquivo(arquivo_caso, texto_caso({{1, "'cav'   "}}));
    const auto r = roda_quelna(pasta.caminho());
    EXPECT_EQ(r.estado, 0) << r.erro;
    const std::string lista = le_arquivo("cav");
    EXPECT_EQ(lista.rfind("\n     Dia = (", 0), 0u);
    EXPECT_NE(lista.find("     DADOS\n"), std::string::npos);
    EXPECT_NE(lista.find(latin1(" = tempo de processamento (s)\n")), std::string::npos);
    EXPECT_TRUE(existe("cav.itn"));
    EXPECT_TRUE(existe("r.dat"));
}

TEST(Program, TwoRunsLeaveOnlyTheSecondListing) {
    PastaTemporaria pasta;
    escreve_arquivo(arquivo_caso, texto_caso({{6, "5"}}));
    ASSERT_EQ(roda_quelna(pasta.caminho()).estado, 0);
    const std::string primeira = le_arquivo("teste");
    escreve_arquivo(arquivo_caso, texto_caso({{6, "1"}}));
    ASSERT_EQ(roda_quelna(pasta.caminho()).estado, 0);
    const std::string segunda = le_arquivo("teste");
    EXPECT_LT(segunda.size(), primeira.size());
    EXPECT_EQ(segunda.find("         5   "), std::string::npos);
}

TEST(Program, BadCaseFilesStopBeforeAnythingIsWritten) {
    const std::pair<std::string, std::string> casos[] = {
        {texto_caso({{2, "0"}}), "linha 2 (nx)"},
        {texto_caso({{6, "40.5"}}), "linha 6 (itmax)"},
        {texto_caso({{4, "0"}}), "linha 4 (dt)"},
        {texto_caso({{14, "0"}}), "linha 14 (Re)"},
        {texto_caso({{20, "0"}}), "linha 20 (malha)"},
        {texto_caso({{21, "'aberto"}}), "linha 21 (titulo)"},
        {texto_caso({{18, "1"}, {2, "60000"}, {3, "60000"}}), "linha 3 (ny)"},
    };
    for (const auto& [texto, linha] : casos) {
        PastaTemporaria pasta;
        escreve_arquivo(arquivo_caso, texto);
        const auto r = roda_quelna(pasta.caminho());
        EXPECT_EQ(r.estado, 2) << linha;
        EXPECT_NE(r.erro.find("Quelna_1p3.ent, " + linha), std::string::npos) << r.erro;
        EXPECT_EQ(std::count(r.erro.begin(), r.erro.end(), '\n'), 1) << r.erro;
        EXPECT_EQ(arquivos_da_pasta(pasta.caminho()), std::vector<std::string>{arquivo_caso}) << linha;
    }
}

TEST(Program, AMissingCaseFileIsReportedNotCreated) {
    PastaTemporaria pasta;
    const auto r = roda_quelna(pasta.caminho());
    EXPECT_EQ(r.estado, 2);
    EXPECT_NE(r.erro.find("Quelna_1p3.ent"), std::string::npos);
    EXPECT_EQ(arquivos_da_pasta(pasta.caminho()), std::vector<std::string>{});
}

TEST(Program, AListingThatCannotBeCreatedIsNamedAndTheRunFails) {
    PastaTemporaria pasta;
    mkdir("cav", 0755);  // a folder in the listing's place
    escreve_arquivo(arquivo_caso, texto_caso({{1, "'cav'"}}));
    const auto r = roda_quelna(pasta.caminho());
    EXPECT_EQ(r.estado, 1);
    EXPECT_NE(r.erro.find("\"cav\""), std::string::npos) << r.erro;
}

TEST(Program, AHostileCaseNameOnlyNamesFiles) {
    PastaTemporaria pasta;
    escreve_arquivo(arquivo_caso, texto_caso({{1, "'x; touch invadido'"}}));
    const auto r = roda_quelna(pasta.caminho());
    EXPECT_EQ(r.estado, 0) << r.erro;
    EXPECT_TRUE(existe("x; touch invadido"));
    EXPECT_TRUE(existe("x; touch invadido.itn"));
    EXPECT_FALSE(existe("invadido"));
}

}  // namespace quelna
