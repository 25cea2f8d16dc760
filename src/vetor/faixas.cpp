#include "vetor/faixas.hpp"

#include <atomic>

namespace quelna {

namespace {

std::atomic<Equipe*> atual{nullptr};
std::atomic<bool> a_provar{false};
std::atomic<long> minimo{volumes_para_dividir};
std::atomic<bool> parceiro{true};

}  // namespace

ComEquipe::ComEquipe(Equipe* e, bool provar, long menor, bool com_parceiro)
    : antes_(atual.exchange(e, std::memory_order_relaxed)),
      a_provar_antes_(a_provar.exchange(provar, std::memory_order_relaxed)),
      minimo_antes_(minimo.exchange(menor, std::memory_order_relaxed)),
      parceiro_antes_(parceiro.exchange(com_parceiro, std::memory_order_relaxed)) {}

ComEquipe::~ComEquipe() {
    atual.store(antes_, std::memory_order_relaxed);
    a_provar.store(a_provar_antes_, std::memory_order_relaxed);
    minimo.store(minimo_antes_, std::memory_order_relaxed);
    parceiro.store(parceiro_antes_, std::memory_order_relaxed);
}

Equipe* equipe_atual() { return atual.load(std::memory_order_relaxed); }

bool equipe_a_provar() { return a_provar.load(std::memory_order_relaxed); }

long minimo_para_dividir() { return minimo.load(std::memory_order_relaxed); }

bool parceiro_permitido() { return parceiro.load(std::memory_order_relaxed); }

}  // namespace quelna
