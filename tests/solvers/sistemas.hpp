// Small five-point systems for the solver tests.
#pragma once

#include <random>
#include <vector>

#include "solvers/solvers.hpp"
#include "vetor/sistema.hpp"

namespace quelna::teste {

// A system the test owns, with its unknown.
struct SistemaDeTeste {
    int nx = 0, ny = 0, N = 0;
    std::vector<Linha> a;
    std::vector<double> bp, x;
    // The view a solver takes.
    Sistema visto() const { return Sistema{nx, ny, N, a.data(), bp.data()}; }
};

inline SistemaDeTeste sistema_vazio(int nx, int ny) {
    SistemaDeTeste s;
    s.nx = nx;
    s.ny = ny;
    s.N = nx * ny;
    s.a.assign(static_cast<std::size_t>(s.N) + 1, Linha{0, 0, 1, 0, 0});
    s.bp.assign(static_cast<std::size_t>(s.N) + 1, 0.0);
    s.x.assign(static_cast<std::size_t>(s.N) + 1, 0.0);
    return s;
}

// A diagonally dominant system with random couplings everywhere, those across row ends
// included, and none toward volumes outside 1..N.
inline SistemaDeTeste sistema_aleatorio(int nx, int ny, unsigned semente) {
    SistemaDeTeste s = sistema_vazio(nx, ny);
    std::mt19937 g(semente);
    std::uniform_real_distribution<double> d(-1.0, 0.0), b(-1.0, 1.0);
    for (int P = 1; P <= s.N; ++P) {
        Linha& r = s.a[static_cast<std::size_t>(P)];
        r.as = P - nx >= 1 ? d(g) : 0.0;
        r.aw = P - 1 >= 1 ? d(g) : 0.0;
        r.ae = P + 1 <= s.N ? d(g) : 0.0;
        r.an = P + nx <= s.N ? d(g) : 0.0;
        r.ap = 0.5 - (r.as + r.aw + r.ae + r.an);
        s.bp[static_cast<std::size_t>(P)] = b(g);
        s.x[static_cast<std::size_t>(P)] = b(g);
    }
    return s;
}

// The workspace of the tests' solver calls: each solver takes in it what it needs.
inline Trabalho& trabalho() {
    static Trabalho t;
    return t;
}

// A x - bp at row P (band rule).
inline double residuo_linha(const SistemaDeTeste& s, const std::vector<double>& x, int P) {
    const Linha& r = s.a[static_cast<std::size_t>(P)];
    double t = r.ap * x[static_cast<std::size_t>(P)] - s.bp[static_cast<std::size_t>(P)];
    if (P - s.nx >= 1) t += r.as * x[static_cast<std::size_t>(P - s.nx)];
    if (P - 1 >= 1) t += r.aw * x[static_cast<std::size_t>(P - 1)];
    if (P + 1 <= s.N) t += r.ae * x[static_cast<std::size_t>(P + 1)];
    if (P + s.nx <= s.N) t += r.an * x[static_cast<std::size_t>(P + s.nx)];
    return t;
}

}  // namespace quelna::teste
