#include "platform/equipe.hpp"

#include <chrono>

namespace quelna {

namespace {

// How long a member spins for its next call before it sleeps: longer than the gaps between the
// calls of one outer iteration (a solver's sweeps on one thread), so that a member is awake when
// the next call comes, since waking a thread costs tens of microseconds; short enough that the
// core is soon free once the calls stop.
constexpr auto espera_acordado = std::chrono::milliseconds(20);

}  // namespace

int nucleos() {
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : static_cast<int>(n);
}

Equipe::Equipe(int membros) : membros_(membros < 1 ? 1 : membros) {
    threads_.reserve(membros_ - 1);
    for (int k = 1; k < membros_; ++k) threads_.emplace_back([this, k] { trabalha(k); });
}

Equipe::~Equipe() {
    if (threads_.empty()) return;
    fim_ = true;
    {
        const std::lock_guard<std::mutex> trava(m_);
        geracao_.fetch_add(1, std::memory_order_seq_cst);
    }
    cv_.notify_all();
    for (std::thread& t : threads_) t.join();
}

void Equipe::executa_(void (*f)(const void*, int), const void* dados) {
    if (threads_.empty()) {
        f(dados, 0);
        return;
    }
    f_ = f;
    dados_ = dados;
    pendentes_.store(membros_ - 1, std::memory_order_relaxed);
    // The new generation publishes f_ and dados_; a member that may be asleep is woken under the
    // lock, so that it cannot miss it between its test and its wait.
    geracao_.fetch_add(1, std::memory_order_seq_cst);
    if (dormindo_.load(std::memory_order_seq_cst) > 0) {
        { const std::lock_guard<std::mutex> trava(m_); }
        cv_.notify_all();
    }
    f(dados, 0);
    for (int giros = 0; pendentes_.load(std::memory_order_acquire) != 0; ++giros) {
        // More threads than processors: the members still running need this core.
        if (giros < 4000) pausa();
        else std::this_thread::yield();
    }
}

void Equipe::trabalha(int membro) {
    unsigned vista = 0;
    for (;;) {
        unsigned g = geracao_.load(std::memory_order_acquire);
        if (g == vista) {
            const auto inicio = std::chrono::steady_clock::now();
            for (int giros = 1; (g = geracao_.load(std::memory_order_acquire)) == vista; ++giros) {
                if (giros % 256 != 0) {
                    pausa();
                    continue;
                }
                if (std::chrono::steady_clock::now() - inicio < espera_acordado) {
                    std::this_thread::yield();
                    continue;
                }
                std::unique_lock<std::mutex> trava(m_);
                dormindo_.fetch_add(1, std::memory_order_seq_cst);
                cv_.wait(trava, [&] { return geracao_.load(std::memory_order_seq_cst) != vista; });
                dormindo_.fetch_sub(1, std::memory_order_relaxed);
            }
        }
        vista = g;
        if (fim_) return;
        f_(dados_, membro);
        pendentes_.fetch_sub(1, std::memory_order_release);
    }
}

}  // namespace quelna
