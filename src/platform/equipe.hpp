// A team of threads started once and kept: the calling thread and membros - 1 others run one
// function each, side by side, and the call returns when all of them have.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace quelna {

class Equipe {
public:
    // membros >= 1; 1 starts no thread and runs everything on the caller.
    explicit Equipe(int membros);
    ~Equipe();
    Equipe(const Equipe&) = delete;
    Equipe& operator=(const Equipe&) = delete;

    int membros() const { return membros_; }
    // How many calls the team has run.
    unsigned chamadas() const { return geracao_.load(std::memory_order_acquire); }

    // f(k) for every member k, 0 on the calling thread; returns when every f(k) has returned,
    // everything they wrote visible to the caller. Not to be called from inside an f.
    template <typename F>
    void executa(const F& f) {
        executa_([](const void* p, int k) { (*static_cast<const F*>(p))(k); }, &f);
    }

private:
    void executa_(void (*f)(const void*, int), const void* dados);
    void trabalha(int membro);

    int membros_;
    std::vector<std::thread> threads_;
    void (*f_)(const void*, int) = nullptr;
    const void* dados_ = nullptr;
    std::atomic<unsigned> geracao_{0};  // one more for each call; the last one ends the threads
    std::atomic<int> pendentes_{0};     // members of the current call still running
    bool fim_ = false;
    // A member that waited long for work sleeps on the variable rather than spin.
    std::mutex m_;
    std::condition_variable cv_;
    std::atomic<int> dormindo_{0};
};

// The processors of the machine (1 where the system does not say).
int nucleos();

// A hint to the processor that this thread is spinning on a value another one will change.
inline void pausa() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Spins until pronto() holds; after `giros` tries it yields the processor on each one, so that
// more threads than processors still advance. A wait that is often several microseconds long
// takes more tries, each with a pause, since a yield costs about that much.
template <typename F>
void espera_que(const F& pronto, int giros = 64) {
    for (int n = 0; !pronto(); ++n) {
        if (n < giros) pausa();
        else std::this_thread::yield();
    }
}

}  // namespace quelna
