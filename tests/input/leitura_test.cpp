#include <gtest/gtest.h>

#include <climits>

#include "../apoio.hpp"
#include "input/caso.hpp"

namespace quelna {

using teste::texto_caso;

namespace {

CaseData le(const std::map<int, std::string>& trocas) { return le_caso_texto(texto_caso(trocas), arquivo_caso); }

}  // namespace

TEST(CaseFile, ReadsTheValuesAndDerivesTheGrid) {
    const CaseData c = le({{2, "40   , remark after a comma"}, {3, "  20 remark"}});
    EXPECT_EQ(c.caso, "teste               ");
    EXPECT_EQ(c.nx, 42);
    EXPECT_EQ(c.ny, 22);
    EXPECT_EQ(c.N, 42 * 22);
    EXPECT_DOUBLE_EQ(c.dx, 0.025);
    EXPECT_DOUBLE_EQ(c.dy, 0.05);
    EXPECT_DOUBLE_EQ(c.mi, 0.01);
    EXPECT_EQ(c.itmax, 3);
    EXPECT_EQ(c.nit_p, 5);
    EXPECT_EQ(c.titulo, "Cavidade de teste" + std::string(33, ' '));
    EXPECT_EQ(c.Lx, 1.0);
    EXPECT_EQ(c.Uplaca, 1.0);
    EXPECT_EQ(c.nome_listagem, "teste");
    EXPECT_EQ(c.nome_iteracoes, "teste.itn");
}

TEST(CaseFile, RealsWithOrWithoutPointAndExponent) {
    const std::pair<const char*, double> casos[] = {
        {"100", 100.0}, {"0.001", 0.001}, {"1e-3", 1e-3}, {"1.0d-3", 1e-3}, {"1.0D-3", 1e-3}, {"2E2", 200.0},
        {".5", 0.5},    {"5.", 5.0},      {"-1.5e+1", -15.0}, {"+3", 3.0}, {"1e-400", 0.0},
    };
    for (const auto& [texto, valor] : casos) EXPECT_EQ(le({{9, texto}}).tol_uv, valor) << texto;
}

TEST(CaseFile, QuotedAndBareTexts) {
    EXPECT_EQ(le({{21, "'Cavidade  com brancos'  resto"}}).titulo, "Cavidade  com brancos" + std::string(29, ' '));
    EXPECT_EQ(le({{21, "\"entre aspas\""}}).titulo.substr(0, 12), "entre aspas ");
    EXPECT_EQ(le({{21, "'it''s'"}}).titulo.substr(0, 5), "it's ");
    // A bare text keeps only its first word.
    EXPECT_EQ(le({{21, "Cavidade de teste"}}).titulo, "Cavidade" + std::string(42, ' '));
    EXPECT_EQ(le({{1, "cav,x"}}).caso, "cav" + std::string(17, ' '));
    EXPECT_EQ(le({{1, "cav/x"}}).caso, "cav" + std::string(17, ' '));
    // Cut at the field's length.
    EXPECT_EQ(le({{1, "'123456789012345678901234'"}}).caso, "12345678901234567890");
    EXPECT_EQ(le({{21, "'" + std::string(60, 'a') + "'"}}).titulo, std::string(50, 'a'));
    // Leading blanks inside the quotes belong to the name: the listing keeps them, the
    // iteration file does not.
    const CaseData c = le({{1, "'  cav'"}});
    EXPECT_EQ(c.nome_listagem, "  cav");
    EXPECT_EQ(c.nome_iteracoes, "cav.itn");
}

TEST(CaseFile, WindowsLineEndsByteOrderMarkAndUtf8Texts) {
    std::string texto = texto_caso({{21, "'Título é'"}});
    std::string crlf;
    for (const char ch : texto) {
        if (ch == '\n') crlf += '\r';
        crlf += ch;
    }
    const CaseData c = le_caso_texto("\xEF\xBB\xBF" + crlf, arquivo_caso);
    EXPECT_EQ(c.caso, "teste" + std::string(15, ' '));
    EXPECT_EQ(c.nx, 6);
    EXPECT_EQ(c.titulo, "T\xEDtulo \xE9" + std::string(42, ' '));
    // A Latin-1 file stays Latin-1.
    EXPECT_EQ(le({{21, "'T\xEDtulo'"}}).titulo.substr(0, 7), "T\xEDtulo ");
    // A UTF-8 case name names its files in UTF-8.
    EXPECT_EQ(le({{1, "'cavidade_é'"}}).nome_listagem, "cavidade_é");
}

TEST(CaseFile, ValuesWhoseBehaviourIsDefinedStayAccepted) {
    const CaseData c = le({{6, "0"}, {7, "9"}, {8, "-1"}, {9, "-1e-3"}, {17, "0"}, {18, "7"}});
    EXPECT_EQ(c.itmax, 0);
    EXPECT_EQ(c.solver, 9);
    EXPECT_EQ(c.nmassa, -1);
    EXPECT_EQ(c.freq, 0);
    EXPECT_EQ(c.problema, 7);
}

struct CasoInvalido {
    std::string nome;
    std::string conteudo;
    std::string linha;  // what the message must name
    std::string valor;
};

void PrintTo(const CasoInvalido& c, std::ostream* os) { *os << c.nome; }

class CaseFileErrors : public testing::TestWithParam<CasoInvalido> {};

TEST_P(CaseFileErrors, NameTheFileTheLineAndTheValue) {
    const auto& p = GetParam();
    try {
        le_caso_texto(p.conteudo, arquivo_caso);
        FAIL() << "aceitou " << p.nome;
    } catch (const ErroCaso& e) {
        const std::string msg = e.what();
        EXPECT_NE(msg.find(arquivo_caso), std::string::npos) << msg;
        EXPECT_NE(msg.find(p.linha), std::string::npos) << msg;
        EXPECT_NE(msg.find(p.valor), std::string::npos) << msg;
    }
}

std::string sem_linhas_apos(int n) {
    const auto l = teste::linhas_de(texto_caso());
    std::string s;
    for (int k = 0; k < n; ++k) s += l[static_cast<std::size_t>(k)] + "\n";
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CaseFileErrors,
    testing::Values(
        CasoInvalido{"vazio", "", "linha 1 (caso)", "termina"},
        CasoInvalido{"20 linhas", sem_linhas_apos(20), "linha 21 (titulo)", "termina na linha 20"},
        CasoInvalido{"palavra", texto_caso({{2, "quarenta"}}), "linha 2 (nx)", "\"quarenta\""},
        CasoInvalido{"ponto", texto_caso({{6, "40.5"}}), "linha 6 (itmax)", "\"40.5\""},
        CasoInvalido{"grande", texto_caso({{14, "1e400"}}), "linha 14 (Re)", "\"1e400\""},
        CasoInvalido{"nan", texto_caso({{5, "nan"}}), "linha 5 (tolm)", "\"nan\""},
        CasoInvalido{"expoente", texto_caso({{4, "1e"}}), "linha 4 (dt)", "\"1e\""},
        CasoInvalido{"inteiro 33 bits", texto_caso({{11, "2147483648"}}), "linha 11 (nit_uv)", "2147483648"},
        CasoInvalido{"aspas", texto_caso({{21, "'sem fim"}}), "linha 21 (titulo)", "aspas"},
        CasoInvalido{"linha vazia", texto_caso({{7, "   "}}), "linha 7 (solver)", "sem valor"},
        CasoInvalido{"caso vazio", texto_caso({{1, "'   '"}}), "linha 1 (caso)", "vazio"},
        CasoInvalido{"controle", texto_caso({{1, std::string("'a\x01") + "b'"}}), "linha 1 (caso)", "controle"},
        CasoInvalido{"nx zero", texto_caso({{2, "0"}}), "linha 2 (nx)", "0 volumes"},
        CasoInvalido{"ny negativo", texto_caso({{3, "-4"}}), "linha 3 (ny)", "-4 volumes"},
        CasoInvalido{"dt zero", texto_caso({{4, "0.0"}}), "linha 4 (dt)", "valor 0"},
        CasoInvalido{"dt negativo", texto_caso({{4, "-0.1"}}), "linha 4 (dt)", "valor -0.1"},
        CasoInvalido{"Re zero", texto_caso({{14, "0"}}), "linha 14 (Re)", "valor 0"},
        CasoInvalido{"malha zero", texto_caso({{20, "0"}}), "linha 20 (malha)", "0"},
        CasoInvalido{"N acima de 32 bits", texto_caso({{2, "70000"}, {3, "70000"}}), "linha 3 (ny)", "70000 x 70000"},
        CasoInvalido{"memoria", texto_caso({{2, "40000"}, {3, "40000"}}), "linha 3 (ny)", "GiB"},
        CasoInvalido{"binario", std::string("\x7F" "ELF\x02\x01\x01\0\0\0", 10) + std::string(100, '\0'),
                     "linha 1 (caso)", "caso"},
        // A byte-order mark before bytes that are not UTF-8: they are Latin-1, and the NUL that
        // a lenient decoder would have swallowed into a character stays a control character.
        CasoInvalido{"marca sem utf8", "\xEF\xBB\xBF" + texto_caso({{1, std::string("'a\xC3\0b'", 6)}}),
                     "linha 1 (caso)", "controle"},
        CasoInvalido{"barra", texto_caso({{1, "'../fora'"}}), "linha 1 (caso)", "tem uma barra"},
        CasoInvalido{"Re minusculo", texto_caso({{14, "1e-310"}}), "linha 14 (Re)", "viscosidade 1/Re"}),
    [](const testing::TestParamInfo<CasoInvalido>& i) {
        std::string n;
        for (const char ch : i.param.nome) n += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        return n;
    });

TEST(CaseFile, AMissingFileIsReportedAndNotCreated) {
    teste::PastaTemporaria pasta;
    try {
        le_caso(arquivo_caso);
        FAIL();
    } catch (const ErroCaso& e) {
        EXPECT_NE(std::string(e.what()).find("Quelna_1p3.ent"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("não encontrado"), std::string::npos);
    }
    EXPECT_FALSE(teste::existe(arquivo_caso));
}

}  // namespace quelna
