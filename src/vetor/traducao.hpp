// Which rendering of the hot kernels runs: the plain loop of each routine, its readable
// definition, or the fast form built on the lanes, two of them (SSE2, every x86-64) or eight
// (AVX-512, where the processor has it). All three give the same bytes; the choice is made here
// alone, and each kernel asks for it through na_traducao or literal_ou.
#pragma once

#include <utility>

#include "vetor/vetor.hpp"

namespace quelna {

enum class Traducao { literal, par, oito };

// The rendering the kernels take now: the one chosen by escolhe_traducao, except that the eight
// lanes need the processor's AVX-512F and are not taken when QUELNA_SEM_AVX512 is set.
Traducao traducao();

// literal makes every kernel run its plain loop (quelna_literal, the identity tests), par its
// two-lane form, oito gives the choice back to the processor (the default).
void escolhe_traducao(Traducao t);

// Whether the processor asks for a line to be written (prefetchw) as well as to be read.
bool tem_prefetchw();

// The rendering t for as long as the object lives, then the one before it (the tests and the
// benchmarks take each rendering in turn).
class ComTraducao {
public:
    explicit ComTraducao(Traducao t) : antes_(traducao()) { escolhe_traducao(t); }
    ~ComTraducao() { escolhe_traducao(antes_); }
    ComTraducao(const ComTraducao&) = delete;
    ComTraducao& operator=(const ComTraducao&) = delete;

private:
    Traducao antes_;
};

namespace detalhe {

// The body built for each width of register: inlined into a function compiled for that width,
// so that its vectors never cross a call.
template <typename Corpo, typename... A>
decltype(auto) com_par(const Corpo& corpo, A&&... a) {
    return corpo(Lanes<par>{}, std::forward<A>(a)...);
}

template <typename Corpo, typename... A>
QUELNA_AVX512 decltype(auto) com_oito(const Corpo& corpo, A&&... a) {
    return corpo(Lanes<oito>{}, std::forward<A>(a)...);
}

}  // namespace detalhe

// A lane body, corpo(Lanes<V>{}, a...), written for any lane type and marked always_inline, at
// two lanes or at eight: for the parts of a fast form that the lanes take.
template <typename Corpo, typename... A>
decltype(auto) nas_larguras(const Corpo& corpo, A&&... a) {
    if (traducao() == Traducao::oito) return detalhe::com_oito(corpo, std::forward<A>(a)...);
    return detalhe::com_par(corpo, std::forward<A>(a)...);
}

// A kernel whose fast form is one lane body: the plain loop, or the body at two or at eight lanes.
template <typename Literal, typename Corpo, typename... A>
decltype(auto) na_traducao(Literal&& literal, const Corpo& corpo, A&&... a) {
    if (traducao() == Traducao::literal) return literal(std::forward<A>(a)...);
    return nas_larguras(corpo, std::forward<A>(a)...);
}

// A kernel with one fast form whatever the width (a wavefront, a band of recurrences).
template <typename Literal, typename Rapido, typename... A>
decltype(auto) literal_ou(Literal&& literal, Rapido&& rapido, A&&... a) {
    if (traducao() == Traducao::literal) return literal(std::forward<A>(a)...);
    return rapido(std::forward<A>(a)...);
}

}  // namespace quelna
