// Which way of using the run's threads the outer iterations take, chosen by timing them. Every
// way computes the same bits; only the time differs, and it differs with the machine: on cores
// close together each shared loop and MSI's residuals on a second member gain, on cores far apart
// (a virtual machine's processors may move apart during a run) the rows crossing between them
// cost more than the work shared.
#pragma once

#include <array>

#include "platform/equipe.hpp"

namespace quelna {

// The ways, from the most shared to the least: the team with MSI's later residuals on a second
// member, the team with them kept on the solving thread, one thread.
enum class Arranjo { equipe, equipe_sem_parceiro, um_thread };

struct Escolha {
    Equipe* equipe;  // the team the loops take, or none
    bool parceiro;   // MSI may give its later residuals to a second member
};

// The ways worth trying: for a team the user did not ask for (the machine's processors, by
// default), one thread among them; for a solver that hands work to a partner (MSI), the team
// without it; for a grid whose loops are too small to share, none but the first. In every 256
// outer iterations from the second, each way tried runs eight, in the order A B C C B A A B C ...
// (A B B A ... for two), so that a trend in the iterations' cost weighs on all alike; until the
// next trial the iterations take the least shared way unless a more shared one took 5 % less
// time than it, and so on up the list.
class ProvaDaEquipe {
public:
    ProvaDaEquipe(Equipe* equipe, bool a_provar, bool com_parceiro, bool divide);

    Escolha para(int it) const;
    void mede(int it, double segundos);
    // The way taken outside the trials.
    Arranjo escolhido() const { return arranjos_[escolhido_]; }
    // The way iteration it takes (in a trial or not).
    Arranjo arranjo(int it) const;

    static constexpr int intervalo = 256, por_arranjo = 8;

private:
    // The place of iteration it in its trial, or -1 outside the trials.
    int posicao(int it) const;
    int indice(int k) const;

    Equipe* equipe_;
    std::array<Arranjo, 3> arranjos_{};
    int n_ = 1;
    int escolhido_ = 0;
    std::array<double, 3> tempo_{};
};

}  // namespace quelna
