#include "run/prova_da_equipe.hpp"

namespace quelna {

ProvaDaEquipe::ProvaDaEquipe(Equipe* equipe, bool a_provar, bool com_parceiro, bool divide) : equipe_(equipe) {
    arranjos_[0] = Arranjo::equipe;
    if (equipe == nullptr || equipe->membros() < 2 || !divide) return;
    if (com_parceiro) arranjos_[n_++] = Arranjo::equipe_sem_parceiro;
    if (a_provar) arranjos_[n_++] = Arranjo::um_thread;
}

int ProvaDaEquipe::posicao(int it) const {
    if (n_ < 2 || it < 2) return -1;
    const int k = (it - 2) % intervalo;
    return k < por_arranjo * n_ ? k : -1;
}

// Forwards, then backwards through the ways: A B C C B A ...
int ProvaDaEquipe::indice(int k) const {
    const int q = k % (2 * n_);
    return q < n_ ? q : 2 * n_ - 1 - q;
}

Arranjo ProvaDaEquipe::arranjo(int it) const {
    const int k = posicao(it);
    return arranjos_[k < 0 ? escolhido_ : indice(k)];
}

Escolha ProvaDaEquipe::para(int it) const {
    switch (arranjo(it)) {
    case Arranjo::equipe: return {equipe_, true};
    case Arranjo::equipe_sem_parceiro: return {equipe_, false};
    case Arranjo::um_thread: break;
    }
    return {nullptr, true};
}

void ProvaDaEquipe::mede(int it, double segundos) {
    const int k = posicao(it);
    if (k < 0) return;
    if (k == 0) tempo_ = {};
    tempo_[indice(k)] += segundos;
    if (k < por_arranjo * n_ - 1) return;
    int e = n_ - 1;
    for (int i = n_ - 2; i >= 0; --i)
        if (tempo_[i] < 0.95 * tempo_[e]) e = i;
    escolhido_ = e;
}

}  // namespace quelna
