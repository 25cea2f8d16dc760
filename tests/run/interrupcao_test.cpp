// Interrupting a real run: the cycle ends at the end of the current iteration and every
// output is written for the fields the run has.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "../apoio.hpp"
#include "input/caso.hpp"
#include "platform/formato.hpp"

namespace quelna {

using namespace teste;

namespace {

// Waits until the run has reported at least `linhas` residual lines.
bool espera_linhas(const std::string& arquivo, std::size_t linhas) {
    for (int k = 0; k < 600; ++k) {
        if (existe(arquivo) && linhas_de(le_arquivo(arquivo)).size() >= linhas) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// A case that would run for minutes: tolm = 0 never converges. freq = 1 reports every
// iteration, so that the listing's last residual line is the iteration that was cut short.
std::string caso_longo() {
    return texto_caso({{1, "'longo'"}, {2, "48"}, {3, "48"}, {5, "0"}, {6, "100000000"}, {17, "1"}});
}

}  // namespace

TEST(Interruption, SigintEndsTheCycleAndWritesEverything) {
    PastaTemporaria pasta;
    escreve_arquivo(arquivo_caso, caso_longo());
    const int pid = inicia_quelna(pasta.caminho());
    ASSERT_TRUE(espera_linhas("longo.itn", 3));
    kill(pid, SIGINT);
    EXPECT_EQ(espera(pid), 130) << le_arquivo("erro.txt");
    const std::string lista = le_arquivo("longo");
    EXPECT_NE(lista.find(latin1("     valor mínimo da função de corrente =")), std::string::npos);
    EXPECT_NE(lista.find(latin1("fluxo de massa com vn em y=0.5 e x[0;0.5] (kg/s) =")), std::string::npos);
    EXPECT_NE(lista.find(" = tempo de processamento (s)\n"), std::string::npos);
    // The last reported iteration is the one the signal cut short: the same in the listing,
    // r.dat and the iteration file.
    const auto r = linhas_de(le_arquivo("r.dat"));
    const auto it = linhas_de(le_arquivo("longo.itn"));
    ASSERT_GE(r.size(), 2u);
    EXPECT_EQ(it.size(), r.size() + 1);
    EXPECT_EQ(r.back().substr(2, 8), it.back().substr(0, 8));
    EXPECT_NE(lista.find(r.back() + "\n\n" + latin1("     Norma L1 dos resíduos na iteração 1 =")), std::string::npos);
    EXPECT_EQ(linhas_de(le_arquivo("u.dat")).size(), 50u);
}

TEST(Interruption, SigtermGives143) {
    PastaTemporaria pasta;
    escreve_arquivo(arquivo_caso, caso_longo());
    const int pid = inicia_quelna(pasta.caminho());
    ASSERT_TRUE(espera_linhas("longo.itn", 2));
    kill(pid, SIGTERM);
    EXPECT_EQ(espera(pid), 143);
    EXPECT_NE(le_arquivo("longo").find("tempo de processamento"), std::string::npos);
}

TEST(Interruption, ASecondSignalStopsAtOnce) {
    PastaTemporaria pasta;
    // A grid whose one iteration takes long enough for both signals to fall inside it.
    escreve_arquivo(arquivo_caso, texto_caso({{1, "'longo'"}, {2, "400"}, {3, "400"}, {5, "0"}, {6, "1000000"},
                                              {7, "1"}, {12, "2000"}}));
    const int pid = inicia_quelna(pasta.caminho());
    ASSERT_TRUE(espera_linhas("longo.itn", 2));
    kill(pid, SIGINT);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto antes = std::chrono::steady_clock::now();
    kill(pid, SIGINT);
    EXPECT_EQ(espera(pid), 128 + SIGINT);
    EXPECT_LT(std::chrono::steady_clock::now() - antes, std::chrono::seconds(5));
}

}  // namespace quelna
