#include "study/execucao.hpp"


#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "platform/arquivo.hpp"
#include "platform/comando.hpp"
#include "platform/processo.hpp"

namespace quelna::estudo {

namespace {

int nucleos(int pedido) {
    if (pedido > 0) return pedido;
    const unsigned n = std::thread::hardware_concurrency();
    return n > 0 ? static_cast<int>(n) : 1;
}

// quelna in the grid's folder, with no terminal to show a viewer on, its messages in quelna.log there.
int inicia(const std::string& pasta, const std::string& quelna) {
    return inicia_programa({quelna}, {pasta + "/quelna.log", pasta, true});
}

std::vector<int> local(const std::vector<std::string>& pastas, const OpcoesExecucao& o) {
    std::vector<int> estados(pastas.size(), -1);
    std::map<int, std::size_t> rodando;
    std::size_t proxima = 0;
    const auto limite = static_cast<std::size_t>(nucleos(o.tarefas));
    while (proxima < pastas.size() || !rodando.empty()) {
        while (proxima < pastas.size() && rodando.size() < limite) {
            const int pid = inicia(pastas[proxima], o.quelna);
            if (pid > 0) rodando[pid] = proxima;
            ++proxima;
        }
        if (rodando.empty()) continue;
        int estado = -1;
        const int pid = espera_algum_programa(estado);
        if (pid < 0) break;
        const auto it = rodando.find(pid);
        if (it == rodando.end()) continue;
        estados[it->second] = estado;
        rodando.erase(it);
    }
    return estados;
}

// Single quotes for a POSIX shell.
std::string aspas(const std::string& s) {
    std::string r = "'";
    for (const char c : s) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return r + "'";
}

std::string pasta_mae(const std::string& p) { return p.substr(0, p.rfind('/')); }
std::string nome_base(const std::string& p) { return p.substr(p.rfind('/') + 1); }

// GNU Parallel. Locally each job runs in its folder; over ssh each folder travels as a tar
// archive with the executable beside it, and its results come back the same way.
std::vector<int> parallel(const std::vector<std::string>& pastas, const OpcoesExecucao& o) {
    std::vector<int> estados(pastas.size(), -1);
    if (pastas.empty()) return estados;
    const std::string raiz = pasta_mae(pastas.front());
    const std::string joblog = raiz + "/parallel.joblog";
    std::vector<std::string> argv = {"parallel", "--will-cite", "--jobs", std::to_string(nucleos(o.tarefas)),
                                     "--joblog", joblog, "--halt", "never"};
    if (o.hosts.empty()) {
        argv.push_back("cd {} && exec " + aspas(o.quelna) + " </dev/null >quelna.log 2>&1");
        argv.push_back(":::");
        for (const auto& p : pastas) argv.push_back(p);
    } else {
        std::string logins;
        for (const auto& h : o.hosts) logins += (logins.empty() ? "" : ",") + h;
        for (const auto& p : pastas)
            executa_programa({"tar", "-C", raiz, "-cf", p + ".tar", nome_base(p)});
        // "/./" marks where the path that travels begins: the archives and the executable land in
        // the remote working folder, the archives come back beside their folders.
        const std::string exe = o.quelna.substr(0, o.quelna.rfind('/')) + "/./" + nome_base(o.quelna);
        argv.insert(argv.end(), {"--sshlogin", logins, "--workdir", "quelna-estudo-" + std::to_string(numero_do_processo()),
                                 "--basefile", exe, "--transferfile", "{}.tar", "--return", "{}.tar", "--cleanup",
                                 "tar -xf {/}.tar && (cd {/} && ../" + nome_base(o.quelna) +
                                     " </dev/null >quelna.log 2>&1); s=$?; tar -cf {/}.tar {/}; rm -rf {/}; exit $s"});
        // "/./" marks where the path that travels begins.
        argv.push_back(":::");
        for (const auto& p : pastas) argv.push_back(raiz + "/./" + nome_base(p));
    }
    executa_programa(argv, raiz + "/parallel.log");
    if (!o.hosts.empty())
        for (const auto& p : pastas) {
            executa_programa({"tar", "-C", raiz, "-xf", p + ".tar"});
            unlink((p + ".tar").c_str());
        }
    // The job log: a heading, then Seq Host Starttime JobRuntime Send Receive Exitval Signal Command.
    std::ifstream log(joblog);
    std::string linha;
    std::getline(log, linha);
    while (std::getline(log, linha)) {
        std::istringstream in(linha);
        std::string campo;
        std::vector<std::string> campos;
        while (std::getline(in, campo, '\t')) campos.push_back(campo);
        if (campos.size() < 8) continue;
        const std::size_t seq = std::stoul(campos[0]);
        const int sinal = std::stoi(campos[7]);
        if (seq >= 1 && seq <= pastas.size()) estados[seq - 1] = sinal ? 128 + sinal : std::stoi(campos[6]);
    }
    return estados;
}

// A Slurm job array, one task per folder, waited for with sbatch --wait; each task's status is
// what its listing shows (the array's own status only says whether all went well).
std::vector<int> slurm(const std::vector<std::string>& pastas, const OpcoesExecucao& o) {
    std::vector<int> estados(pastas.size(), -1);
    if (pastas.empty()) return estados;
    const std::string raiz = pasta_mae(pastas.front());
    const std::string script = raiz + "/quelna-estudo.sbatch";
    {
        std::ostringstream s;
        s << "#!/bin/bash\n#SBATCH --job-name=quelna-estudo\n#SBATCH --array=0-" << pastas.size() - 1
          << "\n#SBATCH --output=" << raiz << "/slurm-%A_%a.out\n#SBATCH --ntasks=1\npastas=(";
        for (const auto& p : pastas) s << " " << aspas(p);
        s << " )\ncd \"${pastas[$SLURM_ARRAY_TASK_ID]}\" || exit 1\n" << aspas(o.quelna)
          << " </dev/null >quelna.log 2>&1\necho $? > estado.slurm\n";
        grava_arquivo(script, s.str());
    }
    executa_programa({"sbatch", "--wait", "--quiet", script}, raiz + "/sbatch.log");
    for (std::size_t k = 0; k < pastas.size(); ++k) {
        std::ifstream e(pastas[k] + "/estado.slurm");
        int v = -1;
        if (e >> v) estados[k] = v;
    }
    return estados;
}

}  // namespace

std::vector<int> roda_casos(const std::vector<std::string>& pastas, const OpcoesExecucao& o) {
    switch (o.motor) {
    case Motor::parallel: return parallel(pastas, o);
    case Motor::slurm: return slurm(pastas, o);
    case Motor::local: break;
    }
    return local(pastas, o);
}

}  // namespace quelna::estudo
