#include "vetor/traducao.hpp"

#include <atomic>
#include <cstdlib>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

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
    // Bit 8 of ECX in the extended leaf 0x80000001 (the compilers' feature names for it differ).
    static const bool tem = [] {
        unsigned a = 0, b = 0, c = 0, d = 0;
        return __get_cpuid(0x80000001u, &a, &b, &c, &d) != 0 && (c & (1u << 8)) != 0;
    }();
    return tem;
#else
    return false;
#endif
}

}  // namespace quelna
