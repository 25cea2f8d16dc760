// How much memory a run may take.
#pragma once

namespace quelna {

struct Memoria {
    double bytes = 0.0;          // 0 when unknown
    bool pelo_limite = false;    // the process's limit (ulimit -v), not the machine, sets it
};

// The smaller of the machine's memory and the process's address-space limit.
Memoria memoria_disponivel();

}  // namespace quelna
