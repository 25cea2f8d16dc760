#include "run/norma.hpp"

#include <gtest/gtest.h>

#include "../solvers/sistemas.hpp"

namespace quelna {

using namespace teste;

TEST(ResidualNorm, ExactSolutionAddsZeroAndEveryRowCounts) {
    SistemaDeTeste s = sistema_vazio(3, 3);
    for (int P = 1; P <= s.N; ++P) s.bp[P] = s.x[P] = P;
    double r = 0.0;
    norma(s.nx, s.ny, s.N, s.a.data(), s.bp.data(), s.x.data(), r);
    EXPECT_EQ(r, 0.0);
    // A residual in a corner (fictitious) row counts like any other.
    s.bp[1] = 3.0;
    s.bp[5] = 5.0 + 0.5;
    norma(s.nx, s.ny, s.N, s.a.data(), s.bp.data(), s.x.data(), r);
    EXPECT_EQ(r, 2.5);
    // The caller alone resets the sum.
    norma(s.nx, s.ny, s.N, s.a.data(), s.bp.data(), s.x.data(), r);
    EXPECT_EQ(r, 5.0);
}

TEST(ResidualNorm, RowEndCouplingsCountAndOutsideTermsDoNot) {
    SistemaDeTeste s = sistema_vazio(2, 2);
    s.x = {0.0, 1.0, 2.0, 4.0, 8.0};
    s.bp = {0.0, 1.0, 2.0, 4.0, 8.0};
    s.a[2].ae = 1.0;   // x(3) across the row end: residual 4
    s.a[3].aw = -1.0;  // x(2): residual -2
    s.a[1].as = 1e300;  // outside: left out
    s.a[4].an = 1e300;
    double r = 0.0;
    norma(s.nx, s.ny, s.N, s.a.data(), s.bp.data(), s.x.data(), r);
    EXPECT_EQ(r, 6.0);
}

}  // namespace quelna
