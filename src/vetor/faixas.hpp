// The loops without a recurrence, shared by rows among the run's team of threads. Each volume's
// value comes from the same formula whichever thread computes it, so the split changes no bit;
// the loops whose order matters (the solvers' sweeps, the sums of the norms) stay on one thread.
#pragma once

#include "platform/equipe.hpp"
#include "vetor/traducao.hpp"

namespace quelna {

// The team the split loops take while the object lives (a run starts one and keeps it), then
// the one before it; without one, or in the literal rendering, every loop runs on the calling
// thread. Like the rendering,
// it decides how the kernels run, never what they compute.
// Below this many volumes a loop stays on one thread: handing it out and waiting for it back
// costs more than the work saved.
inline constexpr long volumes_para_dividir = 8192;

// a_provar marks a team the user did not ask for (the machine's processors, by default): the
// outer cycle tries it against one thread and keeps it only where it gains. minimo is the
// smallest loop shared (the tests share the loops of tiny grids). parceiro lets a solver give a
// second member work that trails its own sweep row by row (MSI's later residuals): each row it
// hands over crosses between the cores twice, which only cores close together repay.
class ComEquipe {
public:
    explicit ComEquipe(Equipe* e, bool a_provar = false, long minimo = volumes_para_dividir, bool parceiro = true);
    ~ComEquipe();
    ComEquipe(const ComEquipe&) = delete;
    ComEquipe& operator=(const ComEquipe&) = delete;

private:
    Equipe* antes_;
    bool a_provar_antes_;
    long minimo_antes_;
    bool parceiro_antes_;
};

Equipe* equipe_atual();
bool equipe_a_provar();
long minimo_para_dividir();
bool parceiro_permitido();

// Whether por_linhas shares this many rows of nx volumes among a team now.
inline bool por_linhas_divide(int linhas, int nx) {
    const Equipe* e = equipe_atual();
    return e != nullptr && e->membros() > 1 && traducao() != Traducao::literal && linhas >= 1 &&
           static_cast<long>(linhas) * nx >= minimo_para_dividir();
}

// corpo(ja, jb) for contiguous bands of the rows j0..j1 (ja..jb inclusive, empty where the team
// has more members than rows), one per member of the team, or corpo(j0, j1) on this thread for
// a small loop (nx volumes per row).
template <typename Corpo>
void por_linhas(int j0, int j1, int nx, const Corpo& corpo) {
    const int linhas = j1 - j0 + 1;
    if (!por_linhas_divide(linhas, nx)) {
        if (linhas > 0) corpo(j0, j1);
        return;
    }
    Equipe* e = equipe_atual();
    const int m = e->membros();
    e->executa([&](int k) {
        const int ja = j0 + static_cast<int>(static_cast<long>(linhas) * k / m);
        const int jb = j0 + static_cast<int>(static_cast<long>(linhas) * (k + 1) / m) - 1;
        corpo(ja, jb);
    });
}

// A kernel over the rows j0..j1 whose fast form is one lane body corpo(lanes, a..., ja, jb):
// the plain loop whole, or the body at two or eight lanes over bands of rows.
template <typename Literal, typename Corpo, typename... A>
void na_traducao_por_linhas(int j0, int j1, int nx, Literal&& literal, const Corpo& corpo, A&... a) {
    const Traducao t = traducao();
    if (t == Traducao::literal) return literal(a...);
    por_linhas(j0, j1, nx, [&](int ja, int jb) {
        if (t == Traducao::oito) detalhe::com_oito(corpo, a..., ja, jb);
        else detalhe::com_par(corpo, a..., ja, jb);
    });
}

}  // namespace quelna
