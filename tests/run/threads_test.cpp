// Whole runs on one, two and three threads (three on any machine: more threads than processors
// must change nothing), and with the team the program picks by itself, write the same bytes; a
// QUELNA_THREADS that is no number of threads stops the run before it writes anything.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "../apoio.hpp"
#include "input/caso.hpp"
#include "run/execucao.hpp"

namespace quelna {

using namespace teste;

namespace {

// The listing without its date and its processing time.
std::string sem_relogio(const std::string& listagem) {
    std::string r;
    for (const std::string& l : linhas_de(listagem))
        if (l.find("     Dia = ") != 0 && l.find(" = tempo de processamento (s)") == std::string::npos) r += l + "\n";
    return r;
}

Resultado roda_com_threads(const std::string& pasta, const char* threads) {
    return roda_quelna(pasta, {}, [threads] {
        if (threads == nullptr) unsetenv("QUELNA_THREADS");
        else setenv("QUELNA_THREADS", threads, 1);
    });
}

}  // namespace

TEST(Threads, WholeRunsOnOneTwoAndThreeThreadsWriteTheSameBytes) {
    // Grids large enough for the loops and the sweeps to be shared, not square, by MSI, SOR and
    // Gauss-Seidel, for Ghia (CDS) and Shih (UDS).
    const std::map<int, std::string> casos[] = {
        {{1, "'fios'"}, {2, "120"}, {3, "90"}, {6, "12"}, {7, "5"}, {17, "4"}},
        {{1, "'fios'"}, {2, "96"}, {3, "110"}, {6, "10"}, {7, "3"}, {15, "0"}, {17, "3"}, {18, "1"}},
        {{1, "'fios'"}, {2, "100"}, {3, "84"}, {6, "10"}, {7, "2"}, {17, "3"}},
    };
    const char* nomes[] = {"fios", "fios.itn", "r.dat", "u.dat", "v.dat", "fios.vti", "psi.dat", "vortices.dat"};
    for (const auto& trocas : casos) {
        PastaTemporaria raiz;
        std::map<std::string, std::string> primeiro;
        for (const char* threads : {"1", "2", "3", static_cast<const char*>(nullptr)}) {
            const std::string pasta = raiz.caminho() + "/t" + (threads ? threads : "auto");
            std::filesystem::create_directory(pasta);
            escreve_arquivo(pasta + "/" + arquivo_caso, texto_caso(trocas));
            const Resultado r = roda_com_threads(pasta, threads);
            ASSERT_EQ(r.estado, 0) << r.erro;
            for (const std::string n : nomes) {
                std::string bytes = le_arquivo(pasta + "/" + n);
                if (n == "fios") bytes = sem_relogio(bytes);
                ASSERT_FALSE(bytes.empty()) << n;
                if (primeiro.count(n) == 0) primeiro[n] = bytes;
                else EXPECT_TRUE(bytes == primeiro[n]) << n << " with QUELNA_THREADS=" << (threads ? threads : "(unset)");
            }
        }
    }
}

TEST(Threads, AValueThatIsNoNumberOfThreadsIsRefusedBeforeAnythingIsWritten) {
    EXPECT_EQ(threads_da_execucao("1"), 1);
    EXPECT_EQ(threads_da_execucao("007"), 7);
    EXPECT_EQ(threads_da_execucao("256"), 256);
    EXPECT_GE(threads_da_execucao(nullptr), 1);
    for (const char* v : {"0", "257", "-2", "2.5", " 2", "dois", "", "99999999999"}) EXPECT_EQ(threads_da_execucao(v), 0) << v;

    PastaTemporaria pasta;
    escreve_arquivo(pasta.caminho() + "/" + arquivo_caso, texto_caso());
    const Resultado r = roda_com_threads(pasta.caminho(), "dois");
    EXPECT_EQ(r.estado, saida_caso_invalido);
    EXPECT_NE(r.erro.find("QUELNA_THREADS=\"dois\""), std::string::npos) << r.erro;
    EXPECT_NE(r.erro.find("de 1 a 256"), std::string::npos) << r.erro;
    EXPECT_EQ(arquivos_da_pasta(pasta.caminho()), std::vector<std::string>{arquivo_caso});
}

}  // namespace quelna
