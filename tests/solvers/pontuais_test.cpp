#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "sistemas.hpp"
#include "solvers/solvers.hpp"

namespace quelna {

using namespace teste;

TEST(PointSolvers, NoSweepLeavesTheUnknownUnchanged) {
    SistemaDeTeste s = sistema_aleatorio(4, 5, 1);
    const auto x0 = s.x;
    jacobi(s.visto(), Controles{0}, s.x.data(), trabalho());
    gauss_seidel(s.visto(), Controles{-1}, s.x.data(), trabalho());
    sor(s.visto(), Controles{0, 0.0, 1.5}, s.x.data(), trabalho());
    EXPECT_EQ(s.x, x0);
    sor(s.visto(), Controles{3, 0.0, 0.0}, s.x.data(), trabalho());  // w = 0 relaxes back
    EXPECT_EQ(s.x, x0);
}

TEST(PointSolvers, OneJacobiSweepFromZeroGivesBpOverAp) {
    SistemaDeTeste s = sistema_aleatorio(4, 5, 2);
    std::fill(s.x.begin(), s.x.end(), 0.0);
    jacobi(s.visto(), Controles{1}, s.x.data(), trabalho());
    for (int P = 1; P <= s.N; ++P) EXPECT_EQ(s.x[P], s.bp[P] / s.a[P].ap);
}

TEST(PointSolvers, SorWithUnitRelaxationIsGaussSeidel) {
    SistemaDeTeste s = sistema_aleatorio(5, 6, 3);
    auto x = s.x;
    gauss_seidel(s.visto(), Controles{4}, s.x.data(), trabalho());
    sor(s.visto(), Controles{4, 0.0, 1.0}, x.data(), trabalho());
    // (x - x_ant)*1 + x_ant is x up to the rounding of the subtraction and the addition.
    for (int P = 1; P <= s.N; ++P) EXPECT_NEAR(s.x[P], x[P], 1e-15) << P;
}

TEST(PointSolvers, AllConvergeOnADiagonallyDominantSystem) {
    for (int metodo = 1; metodo <= 3; ++metodo) {
        SistemaDeTeste s = sistema_aleatorio(6, 7, 4);
        resolve(metodo, s.visto(), Controles{400, 0.0, 1.1}, s.x.data(), trabalho());
        for (int P = 1; P <= s.N; ++P) EXPECT_NEAR(residuo_linha(s, s.x, P), 0.0, 1e-12) << metodo << " " << P;
    }
}

TEST(PointSolvers, AWallEquationTakesItsNeighbourAsItStandsWhenVisited) {
    // x(1) + x(2) = 0 in a row of two volumes; x(2) = 1 fixed by its own equation.
    SistemaDeTeste s = sistema_vazio(2, 2);
    s.a[1] = Linha{0, 0, 1, 1, 0};
    s.bp[2] = 1.0;
    jacobi(s.visto(), Controles{1}, s.x.data(), trabalho());
    EXPECT_EQ(s.x[1], 0.0);  // the east value of before the sweep
    EXPECT_EQ(s.x[2], 1.0);
    std::fill(s.x.begin(), s.x.end(), 0.0);
    gauss_seidel(s.visto(), Controles{1}, s.x.data(), trabalho());
    EXPECT_EQ(s.x[1], 0.0);  // volume 1 is visited before volume 2
    s.a[2] = Linha{0, 1, 1, 0, 0};
    s.bp[2] = 0.0;
    s.bp[1] = 3.0;
    s.a[1] = Linha{0, 0, 1, 0, 0};
    gauss_seidel(s.visto(), Controles{1}, s.x.data(), trabalho());
    EXPECT_EQ(s.x[2], -3.0);  // volume 2 sees the new value of volume 1
}

TEST(PointSolvers, GaussSeidelVisitsTheInnerRowsColumnByColumn) {
    // nx = 2, ny = 4: the order is 1 2 | 3 5 | 4 6 | 7 8. Volume 5 (column 1, row 3) is coupled to
    // volume 4, the last of the row below, which its column is visited before.
    SistemaDeTeste s = sistema_vazio(2, 4);
    std::fill(s.bp.begin() + 1, s.bp.end(), 1.0);
    s.a[5].aw = -1.0;
    gauss_seidel(s.visto(), Controles{1}, s.x.data(), trabalho());
    EXPECT_EQ(s.x[4], 1.0);
    EXPECT_EQ(s.x[5], 1.0);  // a row-by-row sweep would give 2
    // And volume 4 (column 2, row 2) coupled east to volume 5 sees its new value.
    SistemaDeTeste t = sistema_vazio(2, 4);
    std::fill(t.bp.begin() + 1, t.bp.end(), 1.0);
    t.a[4].ae = -1.0;
    gauss_seidel(t.visto(), Controles{1}, t.x.data(), trabalho());
    EXPECT_EQ(t.x[4], 2.0);  // a row-by-row sweep would give 1
}

TEST(PointSolvers, TermsOutsideTheGridAreLeftOutAndRowEndsCouple) {
    SistemaDeTeste s = sistema_vazio(2, 2);
    const double veneno = std::numeric_limits<double>::quiet_NaN();
    s.a[1].as = veneno;  // no volume south of row 1
    s.a[1].aw = veneno;
    s.a[4].ae = veneno;  // no volume east of N
    s.a[4].an = veneno;
    s.a[2].ae = -1.0;    // the east end of row 1 couples with the first volume of row 2
    s.x[3] = 5.0;
    jacobi(s.visto(), Controles{1}, s.x.data(), trabalho());
    EXPECT_EQ(s.x[2], 5.0);
    EXPECT_FALSE(std::isnan(s.x[1]));
    EXPECT_FALSE(std::isnan(s.x[4]));
    gauss_seidel(s.visto(), Controles{1}, s.x.data(), trabalho());
    sor(s.visto(), Controles{1, 0.0, 1.3}, s.x.data(), trabalho());
    for (int P = 1; P <= 4; ++P) EXPECT_FALSE(std::isnan(s.x[P]));
}

TEST(PointSolvers, AnUnknownSolverRunsNone) {
    SistemaDeTeste s = sistema_aleatorio(3, 3, 5);
    const auto x0 = s.x;
    for (const int metodo : {0, 6, -1}) {
        resolve(metodo, s.visto(), Controles{5, 0.1, 1.0}, s.x.data(), trabalho());
        EXPECT_EQ(s.x, x0);
    }
}

}  // namespace quelna
