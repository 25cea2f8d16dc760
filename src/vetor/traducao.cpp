#include "vetor/traducao.hpp"

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

std::atomic<Traducao> escolhida{std::getenv("QUELNA_SEM_AVX512") == nullptr ? Traducao::oito : Traducao::par};

}  // namespace

Traducao traducao() {
    static const bool tem = processador_tem_avx512();
    const Traducao t = escolhida.load(std::memory_order_relaxed);
    return t == Traducao::oito && !tem ? Traducao::par : t;
}

void escolhe_traducao(Traducao t) { escolhida.store(t, std::memory_order_relaxed); }

bool tem_prefetchw() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool tem = __builtin_cpu_supports("prfchw");
    return tem;
#else
    return false;
#endif
}

}  // namespace quelna
