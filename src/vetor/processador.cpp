#include "vetor/processador.hpp"

#include <atomic>
#include <cstdlib>

namespace quelna {

namespace {

bool processador_tem_avx512() {
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("avx512f");
#else
    return false;
#endif
}

std::atomic<bool> permitido{std::getenv("QUELNA_SEM_AVX512") == nullptr};

}  // namespace

bool usa_avx512() {
    static const bool tem = processador_tem_avx512();
    return tem && permitido.load(std::memory_order_relaxed);
}

void permite_avx512(bool sim) { permitido.store(sim, std::memory_order_relaxed); }

}  // namespace quelna
