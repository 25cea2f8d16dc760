// Running the cases of a study: a pool of processes on this machine, GNU Parallel (locally or
// over ssh) or a Slurm job array.
#pragma once

#include <string>
#include <vector>

namespace quelna::estudo {

enum class Motor { local, parallel, slurm };

struct OpcoesExecucao {
    Motor motor = Motor::local;
    int tarefas = 0;                   // cases at once (0: the machine's cores)
    std::vector<std::string> hosts;    // GNU Parallel over ssh: hosts for --sshlogin
    std::string quelna;                // the executable (absolute path)
};

// Runs quelna in each folder (absolute paths), standard output and error to quelna.log there.
// Returns the exit status of each run, -1 where it could not be started.
std::vector<int> roda_casos(const std::vector<std::string>& pastas, const OpcoesExecucao& o);

}  // namespace quelna::estudo
