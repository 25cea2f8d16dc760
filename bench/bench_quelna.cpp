// Benchmarks of the hot kernels on the systems the discretization builds: the Ghia example
// (Re = 100, CDS) after a few outer iterations, at 64^2 to 1024^2 real volumes. Each kernel runs
// in the program's rendering and in the literal loops; the table at the end gives nanoseconds
// per volume per sweep and the ratio of the two, measured in the same run; and, where the
// machine has more than one processor (or QUELNA_THREADS asks for more than one), in the
// program's rendering on a team of threads, with its ratio to the program on one thread.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "discretization/equacoes.hpp"
#include "input/caso.hpp"
#include "platform/equipe.hpp"
#include "vetor/faixas.hpp"
#include "vetor/traducao.hpp"
#include "run/execucao.hpp"
#include "solvers/solvers.hpp"

namespace quelna {

namespace {

// A case in its fields after a few outer iterations, with its u and plinha systems.
struct Estado {
    CaseData caso;
    Campos c;
    std::vector<Linha> a_u, a_p;
    std::vector<double> bp_u, bp_p, u, plinha;
    std::vector<FatorL> L;
    std::vector<FatorU> U;
    Trabalho t;
};

CaseData caso_ghia(int n, int solver) {
    CaseData k;
    k.caso = "bench" + std::string(15, ' ');
    k.nx = n;
    k.ny = n;
    k.dt = 0.2;
    k.tolm = 1e-8;
    k.itmax = 5;
    k.solver = solver;
    k.nmassa = 1;
    k.tol_uv = 1e-2;
    k.tol_p = 1e-3;
    k.nit_uv = 2;
    k.nit_p = 5;
    k.w = 1.2;
    k.Re = 100;
    k.beta = 1;
    k.freq = 1000;
    k.problema = 2;
    k.malha = 8;
    deriva_malha(k);
    return k;
}

Estado& estado(int n) {
    static std::map<int, std::unique_ptr<Estado>> cache;
    auto& e = cache[n];
    if (e) return *e;
    e = std::make_unique<Estado>();
    e->caso = caso_ghia(n, 5);
    prepara_campos(e->caso, e->c);
    {
        ArquivoTexto l, i, r;  // not opened: what the cycle writes goes nowhere
        ciclo(e->caso, e->c, e->t, l, i, r);
    }
    Campos& c = e->c;
    coeficientes_uv(e->caso, c);
    termo_fonte_u(e->caso, c);
    contorno_u(e->caso, c);
    e->a_u = c.a;
    e->bp_u = c.bp;
    e->u = c.u;
    coeficientes_plinha(e->caso, c);
    contorno_plinha(e->caso, c);
    e->a_p = c.a;
    e->bp_p = c.bp;
    e->plinha = c.plinha;
    e->L = e->t.msi_L;
    e->U = e->t.msi_U;
    return *e;
}

void por_volume(benchmark::State& st, double volumes_por_chamada) {
    st.counters["ns_por_volume"] =
        benchmark::Counter(volumes_por_chamada * static_cast<double>(st.iterations()) * 1e-9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

constexpr int nit = 5;

// The side a kernel runs on: the program on one thread, the literal loops, or the program on the
// harness's team of threads.
enum Lado { lado_programa, lado_literal, lado_equipe };

Equipe& equipe_do_banco() {
    // A value the program would refuse gives one thread: the team side is then left out.
    static Equipe e(std::max(threads_da_execucao(std::getenv("QUELNA_THREADS")), 1));
    return e;
}

struct NoLado {
    explicit NoLado(int lado)
        : traducao_(lado == lado_literal ? Traducao::literal : traducao()),
          equipe_(lado == lado_equipe ? &equipe_do_banco() : nullptr) {}
    ComTraducao traducao_;
    ComEquipe equipe_;
};

void solver(benchmark::State& st, int metodo, int lado, bool plinha) {
    const NoLado no_lado(lado);
    Estado& e = estado(static_cast<int>(st.range(0)));
    const auto& a = plinha ? e.a_p : e.a_u;
    const auto& bp = plinha ? e.bp_p : e.bp_u;
    auto x = plinha ? e.plinha : e.u;
    const CaseData& k = e.caso;
    Trabalho t;
    t.reserva(metodo, k.N);
    for (auto _ : st) {
        resolve(metodo, Sistema{k.nx, k.ny, k.N, a.data(), bp.data()}, Controles{nit, 0.0, 1.2}, x.data(), t);
        benchmark::DoNotOptimize(x.data());
    }
    por_volume(st, static_cast<double>(k.N) * nit);
}

void msi_avanco_b(benchmark::State& st, int lado) {
    const NoLado no_lado(lado);
    Estado& e = estado(static_cast<int>(st.range(0)));
    const CaseData& k = e.caso;
    msi_fatores(Sistema{k.nx, k.ny, k.N, e.a_u.data(), e.bp_u.data()}, e.L.data(), e.U.data());
    std::vector<double> res(e.bp_u), y(res.size());
    for (auto _ : st) {
        msi_avanco(k.nx, k.ny, k.N, e.L.data(), res.data(), y.data());
        benchmark::DoNotOptimize(y.data());
    }
    por_volume(st, k.N);
}

void msi_correcoes(benchmark::State& st, int lado) {
    const NoLado no_lado(lado);
    Estado& e = estado(static_cast<int>(st.range(0)));
    const CaseData& k = e.caso;
    const Sistema s{k.nx, k.ny, k.N, e.a_u.data(), e.bp_u.data()};
    msi_fatores(s, e.L.data(), e.U.data());
    Trabalho t;
    t.reserva(5, k.N);
    auto x = e.u;
    for (auto _ : st) {
        quelna::msi_correcoes(s, e.L.data(), e.U.data(), x.data(), 0.0, nit, t);
        benchmark::DoNotOptimize(x.data());
    }
    por_volume(st, static_cast<double>(k.N) * nit);
}

// The corrections of the plinha system as the cycle runs them: its matrix given as fixed, so that
// after the first call (before the timing) the solver compares the matrix with the one it kept
// and takes the kept factors; the literal side runs the literal corrections with the same factors.
void msi_correcoes_fixa(benchmark::State& st, int lado) {
    Estado& e = estado(static_cast<int>(st.range(0)));
    const CaseData& k = e.caso;
    const Sistema s{k.nx, k.ny, k.N, e.a_p.data(), e.bp_p.data()};
    Trabalho t;
    t.reserva(5, k.N);
    auto x = e.plinha;
    const Controles c{nit, 0.0, 1.2, true};
    resolve(5, s, c, x.data(), t);
    const NoLado no_lado(lado);
    for (auto _ : st) {
        if (lado == lado_literal)
            quelna::msi_correcoes(s, t.msi_fixa.L.data(), t.msi_fixa.U.data(), x.data(), 0.0, nit, t);
        else
            resolve(5, s, c, x.data(), t);
        benchmark::DoNotOptimize(x.data());
    }
    por_volume(st, static_cast<double>(k.N) * nit);
}

// The memory traffic of one MSI correction and nothing else: its three passes over the same
// arrays, each reading what the pass reads and writing what it writes, with no arithmetic beyond
// a copy (the rows, bp and x into res; the L factors and res into y; the U factors and y into
// delta and x), at eight lanes. A rendering that keeps the three passes moves no less: where
// the arrays do not fit in the caches, this is the correction's floor.
// Reads the bytes of an array of doubles (rows and factors are doubles side by side), 256 at a
// time, and returns something of them so that the reads are not left out.
QUELNA_AVX512 double le(const void* p, std::size_t bytes) {
    using detalhe::carrega;
    using detalhe::oito;
    const double* d = static_cast<const double*>(p);
    oito s0{}, s1{}, s2{}, s3{};
    for (std::size_t i = 0; (i + 32) * sizeof(double) <= bytes; i += 32) {
        s0 += carrega<oito>(d + i);
        s1 += carrega<oito>(d + i + 8);
        s2 += carrega<oito>(d + i + 16);
        s3 += carrega<oito>(d + i + 24);
    }
    const oito s = (s0 + s1) + (s2 + s3);
    return s[0] + s[7];
}

QUELNA_AVX512 void soma(double* __restrict d, const double* __restrict a, const double* __restrict b, int N) {
    for (int P = 1; P <= N; ++P) d[P] = a[P] + b[P];
}

QUELNA_AVX512 void acumula(double* __restrict x, const double* __restrict d, int N) {
    for (int P = 1; P <= N; ++P) x[P] = x[P] + d[P];
}

QUELNA_AVX512 void fluxo(int N, const Linha* a, const double* bp, const FatorL* L, const FatorU* U,
                         double* __restrict res, double* __restrict y, double* __restrict delta, double* __restrict x,
                         double& lixo) {
    const auto n = static_cast<std::size_t>(N);
    lixo += le(a + 1, n * sizeof(Linha));
    soma(res, bp, x, N);
    lixo += le(L + 1, n * sizeof(FatorL));
    std::memcpy(y + 1, res + 1, n * sizeof(double));
    lixo += le(U + 1, n * sizeof(FatorU));
    std::memcpy(delta + 1, y + 1, n * sizeof(double));
    acumula(x, delta, N);
}

// The least any rendering of a correction can move: the matrix, bp and both factors read once,
// x read and written once, y written once and read once (a residual or a correction of a
// volume never needs to reach memory, but y must, since the two substitutions take it in
// opposite orders).
QUELNA_AVX512 void fluxo_minimo(int N, const Linha* a, const double* bp, const FatorL* L, const FatorU* U,
                                double* __restrict, double* __restrict y, double* __restrict, double* __restrict x,
                                double& lixo) {
    const auto n = static_cast<std::size_t>(N);
    lixo += le(a + 1, n * sizeof(Linha));
    lixo += le(L + 1, n * sizeof(FatorL));
    soma(y, bp, x, N);
    lixo += le(U + 1, n * sizeof(FatorU));
    acumula(x, y, N);
}

using Fluxo = void (*)(int, const Linha*, const double*, const FatorL*, const FatorU*, double*, double*, double*,
                       double*, double&);

void fluxo_da_correcao(benchmark::State& st, Fluxo f) {
    if (!__builtin_cpu_supports("avx512f")) return st.SkipWithError("sem AVX-512");
    Estado& e = estado(static_cast<int>(st.range(0)));
    const int N = e.caso.N;
    Trabalho t;
    t.reserva(5, N);
    const auto n = static_cast<std::size_t>(N) + 1;
    double* res = t.vetor(0, n);
    double* y = t.vetor(1, n);
    double* delta = t.vetor(2, n);
    auto x = e.u;
    double lixo = 0.0;
    for (auto _ : st) {
        for (int c = 0; c < nit; ++c) f(N, e.a_u.data(), e.bp_u.data(), e.L.data(), e.U.data(), res, y, delta, x.data(), lixo);
        benchmark::DoNotOptimize(lixo);
        benchmark::ClobberMemory();
    }
    por_volume(st, static_cast<double>(N) * nit);
}

void msi_fatores_b(benchmark::State& st, int lado) {
    const NoLado no_lado(lado);
    Estado& e = estado(static_cast<int>(st.range(0)));
    const CaseData& k = e.caso;
    for (auto _ : st) {
        msi_fatores(Sistema{k.nx, k.ny, k.N, e.a_u.data(), e.bp_u.data()}, e.L.data(), e.U.data());
        benchmark::DoNotOptimize(e.L.data());
    }
    por_volume(st, k.N);
}

void norma_b(benchmark::State& st, int lado) {
    const NoLado no_lado(lado);
    Estado& e = estado(static_cast<int>(st.range(0)));
    const CaseData& k = e.caso;
    for (auto _ : st) {
        double r = 0.0;
        norma(k.nx, k.ny, k.N, e.a_u.data(), e.bp_u.data(), e.u.data(), r);
        benchmark::DoNotOptimize(r);
    }
    por_volume(st, k.N);
}

void montagem(benchmark::State& st, void (*F)(const CaseData&, Campos&), int lado) {
    const NoLado no_lado(lado);
    Estado& e = estado(static_cast<int>(st.range(0)));
    Campos c = e.c;
    coeficientes_uv(e.caso, c);
    for (auto _ : st) {
        F(e.caso, c);
        benchmark::DoNotOptimize(c.a.data());
    }
    por_volume(st, e.caso.N);
}

void iteracao_externa(benchmark::State& st, int metodo, int lado) {
    const NoLado no_lado(lado);
    Estado& e = estado(static_cast<int>(st.range(0)));
    CaseData k = e.caso;
    k.solver = metodo;
    k.itmax = 1;
    Campos c = e.c;
    Trabalho t;
    t.reserva(metodo, k.N);
    ArquivoTexto l, i, r;  // not opened: what the cycle writes goes nowhere
    for (auto _ : st) {
        ciclo(k, c, t, l, i, r);
        benchmark::DoNotOptimize(c.u.data());
    }
    por_volume(st, k.N);
}

// The floor under any hand-over between two threads: a cache line's round trip between the
// team's first two members, each waiting for the other's last write before its own, timed per
// round trip (the table's "ns/volume" column is then ns per round trip).
void ida_e_volta(benchmark::State& st) {
    Equipe& e = equipe_do_banco();
    constexpr long voltas = 20000;
    alignas(64) std::atomic<long> bola{0};
    for (auto _ : st) {
        bola.store(0, std::memory_order_relaxed);
        e.executa([&](int k) {
            if (k > 1) return;
            for (long n = k; n < 2 * voltas; n += 2) {
                while (bola.load(std::memory_order_acquire) != n) {
                }
                bola.store(n + 1, std::memory_order_release);
            }
        });
    }
    por_volume(st, voltas);
}

void registra() {
    const char* nomes[] = {"", "jacobi", "gauss_seidel", "sor", "adi", "msi"};
    const auto tamanhos = [](benchmark::internal::Benchmark* b) {
        for (const int n : {64, 128, 256, 512, 1024}) b->Arg(n);
        b->Unit(benchmark::kMicrosecond);
    };
    // Each kernel in the program's rendering, in the literal one and on the team, so that the
    // sides of a ratio run close together in time: on a shared machine the neighbours' load drifts.
    const bool com_equipe = equipe_do_banco().membros() > 1;
    const auto lados = [&](const std::string& nome, const auto& registra_lado) {
        for (const int lado : {lado_programa, lado_literal, lado_equipe}) {
            if (lado == lado_equipe && !com_equipe) continue;
            const char* sufixo = lado == lado_programa ? "/programa" : lado == lado_literal ? "/literal" : "/equipe";
            tamanhos(registra_lado((nome + sufixo).c_str(), lado));
        }
    };
    for (int m = 1; m <= 5; ++m)
        for (const bool p : {false, true})
            lados(std::string(nomes[m]) + (p ? "_plinha" : "_u"), [&](const char* n, int lado) {
                return benchmark::RegisterBenchmark(n, solver, m, lado, p);
            });
    const std::pair<const char*, void (*)(benchmark::State&, int)> msi_e_norma[] = {
        {"msi_avanco", msi_avanco_b},           {"msi_correcoes", msi_correcoes},
        {"msi_correcoes_fixa", msi_correcoes_fixa}, {"msi_fatores", msi_fatores_b},
        {"norma", norma_b}};
    for (const auto& [nome, f] : msi_e_norma)
        lados(nome, [&](const char* n, int lado) { return benchmark::RegisterBenchmark(n, f, lado); });
    for (const int m : {2, 5})
        lados(std::string("iteracao_externa_") + nomes[m], [&](const char* n, int lado) {
            return benchmark::RegisterBenchmark(n, iteracao_externa, m, lado);
        });
    using Rotina = void (*)(const CaseData&, Campos&);
    const std::pair<const char*, Rotina> rotinas[] = {
        {"coeficientes_uv", &coeficientes_uv},       {"termo_fonte_u", &termo_fonte_u},
        {"termo_fonte_v", &termo_fonte_v},           {"velocidades_face", &velocidades_face},
        {"coeficientes_plinha", &coeficientes_plinha},
        // The corrections have one rendering, their plain loops: the literal side is the same
        // loop, and the team side shares the rows of all but corrige_p.
        {"corrige_p", &corrige_p},                   {"corrige_uv", &corrige_uv},
        {"corrige_face", &corrige_face},
    };
    for (const auto& [nome, rotina] : rotinas)
        lados(nome, [&, rotina = rotina](const char* n, int l) {
            return benchmark::RegisterBenchmark(n, montagem, rotina, l);
        });
    // What writing the pressure-correction rows and sources costs at the least: a memset of the
    // same arrays, the floor under coeficientes_plinha (40 + 8 bytes per volume).
    tamanhos(benchmark::RegisterBenchmark("memset_a_bp", montagem, [](const CaseData&, Campos& c) {
        std::memset(static_cast<void*>(c.a.data()), 0, c.a.size() * sizeof(Linha));
        std::memset(c.bp.data(), 0, c.bp.size() * sizeof(double));
    }, lado_programa));
    // The memory floors under msi_correcoes: its three passes, and the least any rendering moves.
    tamanhos(benchmark::RegisterBenchmark("fluxo_da_correcao", fluxo_da_correcao, &fluxo));
    tamanhos(benchmark::RegisterBenchmark("fluxo_minimo_da_correcao", fluxo_da_correcao, &fluxo_minimo));
    if (com_equipe) benchmark::RegisterBenchmark("ida_e_volta_entre_threads/2", ida_e_volta)->Unit(benchmark::kMicrosecond);
    tamanhos(benchmark::RegisterBenchmark("contorno_u", montagem, &contorno_u, lado_programa));
    tamanhos(benchmark::RegisterBenchmark("contorno_plinha", montagem, &contorno_plinha, lado_programa));
}

// Collects ns per volume of every run and prints the program / literal table at the end.
class Tabela : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        // With --benchmark_repetitions the table keeps the fastest repetition of each: on a
        // shared machine the others measure the neighbours as well.
        for (const auto& r : runs) {
            if (r.run_type == Run::RT_Aggregate) continue;
            const auto it = r.counters.find("ns_por_volume");
            if (it == r.counters.end()) continue;
            const auto [pos, novo] = valores_.emplace(r.benchmark_name(), it->second.value);
            if (!novo && it->second.value < pos->second) pos->second = it->second.value;
        }
    }
    void imprime() const {
        razoes("programa", "literal", "| kernel | volumes | program (ns/volume) | literal loops (ns/volume) | ratio |");
        const std::string equipe = "| kernel | volumes | " + std::to_string(equipe_do_banco().membros()) +
                                   " threads (ns/volume) | 1 thread (ns/volume) | ratio |";
        razoes("equipe", "programa", equipe.c_str());
        std::printf("\n| kernel (program only) | volumes | ns/volume |\n|---|---|---|\n");
        for (const auto& [nome, v] : valores_)
            if (nome.find("/programa/") == std::string::npos && nome.find("/literal/") == std::string::npos &&
                nome.find("/equipe/") == std::string::npos) {
                const auto barra = nome.rfind('/');
                if (nome.rfind("ida_e_volta", 0) == 0)
                    std::printf("| %s | 2 threads | %.2f ns per round trip |\n", nome.substr(0, barra).c_str(), v);
                else
                    std::printf("| %s | %s^2 | %.2f |\n", nome.substr(0, barra).c_str(), nome.substr(barra + 1).c_str(), v);
            }
    }

private:
    // The table of the runs on side `lado` against the same kernel and size on side `base`,
    // printed only if there is one.
    void razoes(const std::string& lado, const std::string& base, const char* cabeca) const {
        bool impressa = false;
        for (const auto& [nome, v] : valores_) {
            const auto barra = nome.find("/" + lado + "/");
            if (barra == std::string::npos) continue;
            const std::string kernel = nome.substr(0, barra), n = nome.substr(barra + lado.size() + 2);
            const auto outro = valores_.find(kernel + "/" + base + "/" + n);
            if (outro == valores_.end()) continue;
            if (!impressa) std::printf("\n%s\n|---|---|---|---|---|\n", cabeca);
            impressa = true;
            std::printf("| %s | %s^2 | %.2f | %.2f | %.2f |\n", kernel.c_str(), n.c_str(), v, outro->second,
                        v / outro->second);
        }
    }

    // Kernel names first, then the sizes in increasing order.
    struct Ordem {
        bool operator()(const std::string& a, const std::string& b) const {
            const auto ia = a.rfind('/'), ib = b.rfind('/');
            const std::string ka = a.substr(0, ia), kb = b.substr(0, ib);
            if (ka != kb) return ka < kb;
            return std::stoi(a.substr(ia + 1)) < std::stoi(b.substr(ib + 1));
        }
    };
    std::map<std::string, double, Ordem> valores_;
};

}  // namespace

}  // namespace quelna

int main(int argc, char** argv) {
    quelna::registra();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    quelna::Tabela tabela;
    benchmark::RunSpecifiedBenchmarks(&tabela);
    tabela.imprime();
    benchmark::Shutdown();
    return 0;
}
