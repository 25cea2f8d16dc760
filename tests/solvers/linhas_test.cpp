// ADI and MSI against independent truths: a direct tridiagonal solve, the product of the MSI
// factors, and exact solutions of decoupled systems.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "sistemas.hpp"
#include "solvers/solvers.hpp"

namespace quelna {

using namespace teste;

namespace {

// Direct solve of a tridiagonal system (sub l, diagonal d, super u) by Gaussian elimination.
std::vector<double> tridiagonal(std::vector<double> l, std::vector<double> d, std::vector<double> u,
                                std::vector<double> b) {
    const std::size_t n = d.size();
    for (std::size_t k = 1; k < n; ++k) {
        const double m = l[k] / d[k - 1];
        d[k] -= m * u[k - 1];
        b[k] -= m * b[k - 1];
    }
    std::vector<double> x(n);
    x[n - 1] = b[n - 1] / d[n - 1];
    for (std::size_t k = n - 1; k-- > 0;) x[k] = (b[k] - u[k] * x[k + 1]) / d[k];
    return x;
}

// Zeroes the couplings of a system in one direction, and those across the lines' ends.
SistemaDeTeste so_linhas(int nx, int ny, unsigned semente, bool em_x) {
    SistemaDeTeste s = sistema_aleatorio(nx, ny, semente);
    for (int P = 1; P <= s.N; ++P) {
        const int i = (P - 1) % nx + 1, j = (P - 1) / nx + 1;
        Linha& r = s.a[P];
        if (em_x) {
            r.as = r.an = 0.0;
            if (i == 1) r.aw = 0.0;
            if (i == nx) r.ae = 0.0;
        } else {
            r.aw = r.ae = 0.0;
            if (j == 1) r.as = 0.0;
            if (j == ny) r.an = 0.0;
        }
    }
    return s;
}

double norma2(const SistemaDeTeste& s, const std::vector<double>& x) {
    double t = 0;
    for (int P = 1; P <= s.N; ++P) t += residuo_linha(s, x, P) * residuo_linha(s, x, P);
    return std::sqrt(t);
}

}  // namespace

TEST(Adi, RowsOnlyAreSolvedExactlyByOneDoubleSweep) {
    const int nx = 7, ny = 4;
    SistemaDeTeste s = so_linhas(nx, ny, 11, true);
    adi(s.visto(), Controles{1}, s.x.data(), trabalho());
    for (int j = 1; j <= ny; ++j) {
        std::vector<double> l, d, u, b;
        for (int i = 1; i <= nx; ++i) {
            const Linha& r = s.a[(j - 1) * nx + i];
            l.push_back(r.aw), d.push_back(r.ap), u.push_back(r.ae), b.push_back(s.bp[(j - 1) * nx + i]);
        }
        const auto x = tridiagonal(l, d, u, b);
        for (int i = 1; i <= nx; ++i) EXPECT_NEAR(s.x[(j - 1) * nx + i], x[i - 1], 1e-13);
    }
}

TEST(Adi, ColumnsOnlyAreSolvedExactlyByOneDoubleSweep) {
    const int nx = 5, ny = 6;
    SistemaDeTeste s = so_linhas(nx, ny, 12, false);
    adi(s.visto(), Controles{1}, s.x.data(), trabalho());
    for (int i = 1; i <= nx; ++i) {
        std::vector<double> l, d, u, b;
        for (int j = 1; j <= ny; ++j) {
            const Linha& r = s.a[(j - 1) * nx + i];
            l.push_back(r.as), d.push_back(r.ap), u.push_back(r.an), b.push_back(s.bp[(j - 1) * nx + i]);
        }
        const auto x = tridiagonal(l, d, u, b);
        for (int j = 1; j <= ny; ++j) EXPECT_NEAR(s.x[(j - 1) * nx + i], x[j - 1], 1e-13);
    }
}

TEST(Adi, NoSweepAndConvergenceOnACoupledSystem) {
    // Coupled both ways, with no couplings across the ends of rows or columns, as the
    // discretization builds them.
    SistemaDeTeste s = sistema_aleatorio(6, 5, 13);
    for (int P = 1; P <= s.N; ++P) {
        const int i = (P - 1) % s.nx + 1, j = (P - 1) / s.nx + 1;
        if (i == 1) s.a[P].aw = 0.0;
        if (i == s.nx) s.a[P].ae = 0.0;
        if (j == 1) s.a[P].as = 0.0;
        if (j == s.ny) s.a[P].an = 0.0;
    }
    const auto x0 = s.x;
    adi(s.visto(), Controles{0}, s.x.data(), trabalho());
    EXPECT_EQ(s.x, x0);
    adi(s.visto(), Controles{1}, s.x.data(), trabalho());
    EXPECT_GT(norma2(s, s.x), 1e-6);  // coupled both ways: not exact after one double sweep
    adi(s.visto(), Controles{200}, s.x.data(), trabalho());
    EXPECT_LT(norma2(s, s.x), 1e-12);
}

TEST(Adi, TheRowRecurrenceRunsOnAcrossRowEndsByHand) {
    // Two rows of two volumes, coupled only along the chain 1-2-3-4 (volume 2 east to volume 3).
    SistemaDeTeste s = sistema_vazio(2, 2);
    s.a[1] = Linha{0, 0, 2, -1, 0};
    s.a[2] = Linha{0, -1, 2, -1, 0};
    s.a[3] = Linha{0, -1, 2, -1, 0};
    s.a[4] = Linha{0, -1, 2, 0, 0};
    s.bp = {0, 1, 0, 0, 1};
    adi(s.visto(), Controles{1}, s.x.data(), trabalho());
    // Row sweep: pt = 1/2, 2/3, 3/4, 0 and qt = 1/2, 1/3, 1/4, 1 along the whole chain; each row
    // is back-substituted from its own east end: x = 2/3, 1/3, 1, 1.
    // Column sweep (no south/north couplings): x(P) = (bp - aw x(P-1) - ae x(P+1)) / ap with the
    // row sweep's values: 2/3, 5/6, 2/3, 1.
    EXPECT_DOUBLE_EQ(s.x[1], 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(s.x[2], 5.0 / 6.0);
    EXPECT_DOUBLE_EQ(s.x[3], 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(s.x[4], 1.0);
}

TEST(Msi, TheFactorsReproduceTheMatrixPlusTheCancelledTerms) {
    const int nx = 6, ny = 5;
    SistemaDeTeste s = sistema_aleatorio(nx, ny, 21);
    std::vector<FatorL> L(static_cast<std::size_t>(s.N) + 1);
    std::vector<FatorU> U(static_cast<std::size_t>(s.N) + 1);
    msi_fatores(s.visto(), L.data(), U.data());
    const int N = s.N;
    const auto dentro = [N](int Q) { return Q >= 1 && Q <= N; };
    // Dense L and U from the stored diagonals.
    std::vector<std::vector<double>> Ld(N + 1, std::vector<double>(N + 1, 0.0)), Ud = Ld;
    for (int P = 1; P <= N; ++P) {
        Ld[P][P] = L[P].e;
        if (dentro(P - 1)) Ld[P][P - 1] = L[P].d;
        if (dentro(P - nx + 1)) Ld[P][P - nx + 1] = L[P].c;
        if (dentro(P - nx)) Ld[P][P - nx] = L[P].b;
        Ud[P][P] = 1.0;
        if (dentro(P + 1)) Ud[P][P + 1] = U[P].f;
        if (dentro(P + nx - 1)) Ud[P][P + nx - 1] = U[P].g;
        if (dentro(P + nx)) Ud[P][P + nx] = U[P].h;
    }
    for (int P = 1; P <= N; ++P) {
        const int i = (P - 1) % nx + 1, j = (P - 1) / nx + 1;
        const double alfa = (i >= 2 && i <= nx - 1 && j >= 2 && j <= ny - 1) ? 0.5 : 0.0;
        const double r1 = dentro(P - nx + 1) ? L[P].c * U[P - nx + 1].f : 0.0;
        const double r2 = dentro(P - 1) ? L[P].d * U[P - 1].g : 0.0;
        // Expected row P of L*U: A plus r1 and r2 at their own columns and the partial cancellation
        // of both on the neighbours: r1 (z(P-nx+2) - a z(P-nx) - 2a z(P+1) + 2a z(P)) and
        // r2 (z(P+nx-2) - 2a z(P-1) - a z(P+nx) + 2a z(P)).
        std::vector<double> esperado(N + 1, 0.0);
        const Linha& r = s.a[P];
        const auto soma = [&](int Q, double v) {
            if (dentro(Q)) esperado[Q] += v;
        };
        soma(P - nx, r.as - alfa * r1);
        soma(P - 1, r.aw - 2 * alfa * r2);
        soma(P, r.ap + 2 * alfa * r1 + 2 * alfa * r2);
        soma(P + 1, r.ae - 2 * alfa * r1);
        soma(P + nx, r.an - alfa * r2);
        soma(P - nx + 2, r1);
        soma(P + nx - 2, r2);
        for (int Q = 1; Q <= N; ++Q) {
            double lu = 0.0;
            for (int k = 1; k <= N; ++k) lu += Ld[P][k] * Ud[k][Q];
            EXPECT_NEAR(lu, esperado[Q], 1e-12) << "linha " << P << " coluna " << Q;
        }
    }
}

TEST(Msi, UncoupledRowsAreSolvedByTheFirstCorrection) {
    const int nx = 7, ny = 4;
    SistemaDeTeste s = so_linhas(nx, ny, 22, true);
    std::vector<FatorL> L(static_cast<std::size_t>(s.N) + 1);
    std::vector<FatorU> U(static_cast<std::size_t>(s.N) + 1);
    msi_fatores(s.visto(), L.data(), U.data());
    for (int P = 1; P <= s.N; ++P) {
        EXPECT_EQ(L[P].b, 0.0);
        EXPECT_EQ(L[P].c, 0.0);
        EXPECT_EQ(U[P].g, 0.0);
        EXPECT_EQ(U[P].h, 0.0);
    }
    msi_correcoes(s.visto(), L.data(), U.data(), s.x.data(), 0.0, 1, trabalho());
    EXPECT_LT(norma2(s, s.x), 1e-13);
}

TEST(Msi, ToleranceIterationLimitAndExactStart) {
    SistemaDeTeste s = sistema_aleatorio(8, 8, 23);
    std::vector<FatorL> L(static_cast<std::size_t>(s.N) + 1);
    std::vector<FatorU> U(static_cast<std::size_t>(s.N) + 1);
    const double s0 = norma2(s, s.x);

    SistemaDeTeste um = s;
    resolve(5, um.visto(), Controles{1, 0.0, 1.0}, um.x.data(), trabalho());
    const double apos_um = norma2(um, um.x);
    EXPECT_LT(apos_um, s0);

    // nit <= 0 makes one correction, like nit = 1.
    SistemaDeTeste zero = s;
    resolve(5, zero.visto(), Controles{0, 0.0, 1.0}, zero.x.data(), trabalho());
    EXPECT_EQ(zero.x, um.x);

    // A tolerance of 1e-6 on a convergent system stops once the residual fell by that factor.
    SistemaDeTeste tol = s;
    resolve(5, tol.visto(), Controles{1000, 1e-6, 1.0}, tol.x.data(), trabalho());
    EXPECT_LE(norma2(tol, tol.x), 1e-6 * s0 * 1.0001);
    EXPECT_GT(norma2(tol, tol.x), 1e-14);

    // An exact start makes one correction of zero and leaves x unchanged.
    SistemaDeTeste exato = so_linhas(5, 5, 24, true);
    for (int P = 1; P <= exato.N; ++P) exato.x[P] = 0.0;
    std::fill(exato.bp.begin(), exato.bp.end(), 0.0);
    resolve(5, exato.visto(), Controles{10, 0.5, 1.0}, exato.x.data(), trabalho());
    EXPECT_EQ(exato.x, std::vector<double>(exato.x.size(), 0.0));
}

TEST(Msi, ANormThatIsNotANumberEndsTheIteration) {
    SistemaDeTeste s = sistema_aleatorio(4, 4, 25);
    s.bp[5] = std::numeric_limits<double>::quiet_NaN();
    std::vector<FatorL> L(static_cast<std::size_t>(s.N) + 1);
    std::vector<FatorU> U(static_cast<std::size_t>(s.N) + 1);
    // With tol = 0 only the count or a NaN norm can end it; a count of 10^9 would take minutes.
    resolve(5, s.visto(), Controles{1000000000, 0.0, 1.0}, s.x.data(), trabalho());
    EXPECT_TRUE(std::isnan(s.x[5]));
}

}  // namespace quelna
