// The study's job engines for real: GNU Parallel over ssh to a server started here on
// 127.0.0.1, and a Slurm job array on a single-host Slurm started here. Each gives the table
// of the local pool.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "../apoio.hpp"

namespace quelna::estudo {

using namespace teste;

namespace {

std::string servicos() { return std::string(QUELNA_FONTES) + "/tests/study/servicos"; }

bool tem(const char* programa) { return access(programa, X_OK) == 0; }

// Output of a shell command, and whether it succeeded.
std::pair<bool, std::string> saida_de(const std::string& comando) {
    std::string texto;
    FILE* p = popen(comando.c_str(), "r");
    if (!p) return {false, {}};
    char buf[512];
    while (fgets(buf, sizeof buf, p)) texto += buf;
    const int st = pclose(p);
    while (!texto.empty() && texto.back() == '\n') texto.pop_back();
    return {st == 0, texto};
}

int roda(const std::string& linha) { return std::system((linha + " </dev/null >saida.txt 2>&1").c_str()); }

std::string estudo(const std::string& extra, const std::string& saida) {
    const std::string linha = std::string("'") + QUELNA_ESTUDO_EXE + "' --saida " + saida + " " + extra + " '" +
                              pasta_casos() + "/shih' 8 16 32";
    EXPECT_EQ(roda(linha), 0) << le_arquivo("saida.txt");
    // The seconds of each grid depend on the engine and the machine; everything else may not.
    return sem_linhas_que_comecam(le_arquivo(saida + "/estudo.csv"), "segundos,");
}

// Stops a service started by one of the scripts, whatever the test's outcome.
struct Servico {
    std::string script, pasta;
    ~Servico() { std::system((script + " para '" + pasta + "' >/dev/null 2>&1").c_str()); }
};

}  // namespace

TEST(StudyEngines, GnuParallelOverSshToThisMachine) {
    if (!tem("/usr/sbin/sshd") || std::system("command -v parallel rsync >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "sshd, GNU Parallel ou rsync ausentes";
    PastaTemporaria pasta;
    const std::string local = estudo("", "local");
    ASSERT_FALSE(local.empty());
    Servico ssh{servicos() + "/ssh.sh", pasta.caminho() + "/sshd"};
    const int porta = 20000 + getpid() % 20000;
    const auto [ok, comando] = saida_de(ssh.script + " inicia '" + ssh.pasta + "' " + std::to_string(porta));
    ASSERT_TRUE(ok) << comando << le_arquivo(ssh.pasta + "/sshd.log");
    EXPECT_EQ(estudo("--motor parallel --hosts '" + comando + "'", "ssh"), local) << le_arquivo("ssh/parallel.log");
    EXPECT_FALSE(existe("ssh/malha_8.tar"));
}

TEST(StudyEngines, SlurmJobArrayOnASingleHostSlurm) {
    if (!tem("/usr/sbin/slurmctld") || !tem("/usr/sbin/munged")) GTEST_SKIP() << "Slurm ou munge ausentes";
    PastaTemporaria pasta;
    const std::string local = estudo("", "local");
    Servico slurm{servicos() + "/slurm.sh", pasta.caminho() + "/slurm"};
    const auto [ok, conf] = saida_de(slurm.script + " inicia '" + slurm.pasta + "'");
    ASSERT_TRUE(ok) << conf << le_arquivo(slurm.pasta + "/log/slurmctld.log") << le_arquivo(slurm.pasta + "/log/slurmd.log");
    setenv("SLURM_CONF", conf.c_str(), 1);
    const std::string via_slurm = estudo("--motor slurm", "slurm_saida");
    unsetenv("SLURM_CONF");
    EXPECT_EQ(via_slurm, local) << le_arquivo("slurm_saida/sbatch.log");
    EXPECT_TRUE(existe("slurm_saida/quelna-estudo.sbatch"));
}

}  // namespace quelna::estudo
