#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <utility>

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
    const auto outro = roda_quelna(pasta.caminho(), {"--caso"});
    EXPECT_EQ(outro.estado, 2);
    EXPECT_NE(outro.erro.find("uso: quelna"), std::string::npos);
    EXPECT_NE(outro.erro.find("--caso"), std::string::npos);
    const auto sem_pasta = roda_quelna(pasta.caminho(), {"caso.ent"});
    EXPECT_EQ(sem_pasta.estado, 2);
    EXPECT_EQ(sem_pasta.erro, "quelna: não foi possível entrar na pasta \"caso.ent\": pasta inexistente\n");
    EXPECT_EQ(roda_quelna(pasta.caminho(), {"a", "b"}).estado, 2);
    EXPECT_EQ(arquivos_da_pasta(pasta.caminho()), std::vector<std::string>{});
}

TEST(Program, TheCaseOfAnotherFolderRunsThere) {
    PastaTemporaria pasta;
    mkdir("caso", 0755);
    escreve_arquivo("caso/Quelna_1p3.ent", texto_caso({{1, "'cav'"}}));
    const auto r = roda_quelna(pasta.caminho(), {"caso"});
    EXPECT_EQ(r.estado, 0) << r.erro;
    EXPECT_TRUE(existe("caso/cav"));
    EXPECT_TRUE(existe("caso/r.dat"));
    EXPECT_EQ(arquivos_da_pasta(pasta.caminho()), std::vector<std::string>{"caso"});
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
    const auto l = linhas_de(texto_caso());
    std::string vinte;
    for (int k = 0; k < 20; ++k) vinte += l[static_cast<std::size_t>(k)] + "\n";
    std::string binario(4096, '\0');
    for (std::size_t k = 0; k < binario.size(); ++k) binario[k] = static_cast<char>((k * 131 + 7) % 256);
    const std::pair<std::string, std::string> casos[] = {
        {"", "linha 1 (caso)"},
        {vinte, "linha 21 (titulo)"},
        {texto_caso({{2, "quarenta"}}), "linha 2 (nx)"},
        {texto_caso({{6, "40.5"}}), "linha 6 (itmax)"},
        {texto_caso({{14, "1e400"}}), "linha 14 (Re)"},
        {texto_caso({{5, "nan"}}), "linha 5 (tolm)"},
        {texto_caso({{21, "'aberto"}}), "linha 21 (titulo)"},
        {texto_caso({{3, std::string(100 * 1024, '7')}}), "linha 3 (ny)"},
        {binario, "linha 1 (caso)"},
        {texto_caso({{2, "0"}}), "linha 2 (nx)"},
        {texto_caso({{3, "-5"}}), "linha 3 (ny)"},
        {texto_caso({{4, "0"}}), "linha 4 (dt)"},
        {texto_caso({{14, "0"}}), "linha 14 (Re)"},
        {texto_caso({{20, "0"}}), "linha 20 (malha)"},
        {texto_caso({{18, "1"}, {2, "60000"}, {3, "60000"}}), "linha 3 (ny)"},
    };
    for (const auto& [texto, linha] : casos) {
        PastaTemporaria pasta;
        escreve_arquivo(arquivo_caso, texto);
        const auto r = roda_quelna(pasta.caminho());
        EXPECT_EQ(r.estado, 2) << linha;
        EXPECT_NE(r.erro.find("Quelna_1p3.ent, " + linha), std::string::npos) << r.erro;
        EXPECT_EQ(std::count(r.erro.begin(), r.erro.end(), '\n'), 1) << r.erro;
        EXPECT_LT(r.erro.size(), 300u);
        EXPECT_EQ(arquivos_da_pasta(pasta.caminho()), std::vector<std::string>{arquivo_caso}) << linha;
    }
}

TEST(Program, ADivergingRunStopsThereSaysSoAndPrintsNotANumber) {
    PastaTemporaria pasta;
    escreve_arquivo(arquivo_caso, texto_caso({{1, "'div'"}, {2, "8"}, {3, "8"}, {4, "1e6"}, {6, "60"}, {7, "3"},
                                              {13, "1.9"}, {14, "1e5"}, {17, "10"}}));
    const auto r = roda_quelna(pasta.caminho());
    EXPECT_EQ(r.estado, 3);
    // The first iteration whose residual sum is not a number is the last, reported as such.
    const auto residuos = linhas_de(le_arquivo("r.dat"));
    ASSERT_GE(residuos.size(), 2u);
    const std::string ultima = residuos.back();
    EXPECT_EQ(ultima.substr(10), "            NaN");
    for (std::size_t k = 0; k + 1 < residuos.size(); ++k) EXPECT_EQ(residuos[k].find("NaN"), std::string::npos);
    const int it = std::stoi(ultima.substr(0, 10));
    EXPECT_LT(it, 60);
    // One line says so (the others name the plot scripts this folder lacks).
    const auto mensagens = linhas_de(r.erro);
    ASSERT_FALSE(mensagens.empty());
    const std::string linha = mensagens.front();
    EXPECT_EQ(linha, "quelna: a solução divergiu na iteração " + std::to_string(it) +
                         " (resíduo NaN); os resultados gravados são os campos dessa iteração, " +
                         linha.substr(linha.rfind(", ") + 2));
    EXPECT_EQ(r.erro.find("divergiu", r.erro.find("divergiu") + 1), std::string::npos);
    const std::string lista = le_arquivo("div");
    EXPECT_NE(lista.find(ultima + "\n"), std::string::npos);
    EXPECT_NE(lista.find("     velocidade u central (m/s) =                     NaN\n"), std::string::npos);
    EXPECT_NE(lista.find(latin1("     valor mínimo da função de corrente = ") + real_longo(std::nan("")) + "\n"),
              std::string::npos);
    EXPECT_EQ(linhas_de(le_arquivo("div.itn")).back().substr(0, 8), ultima.substr(2, 8));
    EXPECT_NE(lista.find(" = tempo de processamento (s)"), std::string::npos);
}

TEST(Program, AMissingCaseFileIsReportedNotCreated) {
    PastaTemporaria pasta;
    const auto r = roda_quelna(pasta.caminho());
    EXPECT_EQ(r.estado, 2);
    EXPECT_NE(r.erro.find("Quelna_1p3.ent"), std::string::npos);
    EXPECT_EQ(arquivos_da_pasta(pasta.caminho()), std::vector<std::string>{});
}

TEST(Program, AListingThatCannotBeCreatedIsNamedBeforeAnythingIsWritten) {
    PastaTemporaria pasta;
    mkdir("cav", 0755);  // a folder in the listing's place
    escreve_arquivo(arquivo_caso, texto_caso({{1, "'cav'"}}));
    const auto r = roda_quelna(pasta.caminho());
    EXPECT_EQ(r.estado, 2);
    EXPECT_NE(r.erro.find("\"cav\": há uma pasta com esse nome"), std::string::npos) << r.erro;
    EXPECT_EQ(arquivos_da_pasta(pasta.caminho()), (std::vector<std::string>{arquivo_caso, "cav"}));
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

namespace quelna {

using namespace teste;

TEST(Program, DataFilesThatCannotBeWrittenAreNamed) {
    // The iteration file is named by the case and checked before anything is written.
    for (const auto& [nome, estado] : {std::pair{"r.dat", 1}, std::pair{"teste.itn", 2}, std::pair{"v.dat", 1}}) {
        PastaTemporaria pasta;
        mkdir(nome, 0755);
        escreve_arquivo(arquivo_caso, texto_caso());
        const auto r = roda_quelna(pasta.caminho());
        EXPECT_EQ(r.estado, estado) << nome;
        EXPECT_NE(r.erro.find(std::string("\"") + nome + "\""), std::string::npos) << r.erro;
    }
}

TEST(Program, AReadOnlyFolderIsReported) {
    if (geteuid() == 0) GTEST_SKIP() << "root escreve em qualquer pasta";
    PastaTemporaria pasta;
    escreve_arquivo(arquivo_caso, texto_caso());
    chmod(pasta.caminho().c_str(), 0555);
    const auto r = roda_quelna(pasta.caminho());
    chmod(pasta.caminho().c_str(), 0755);
    EXPECT_EQ(r.estado, 1);
    EXPECT_NE(r.erro.find("permissão negada"), std::string::npos) << r.erro;
}

}  // namespace quelna
