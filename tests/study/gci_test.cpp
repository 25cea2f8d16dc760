#include "study/gci.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace quelna::estudo {

TEST(GridConvergence, ManufacturedSecondOrderSequence) {
    // phi(h) = 0.7 + 3 h^2 on h = 1/16, 1/32, 1/64: p = 2 and the extrapolation gives 0.7.
    const auto phi = [](double h) { return 0.7 + 3.0 * h * h; };
    const Estimativa e = tres_malhas(phi(1.0 / 64), phi(1.0 / 32), phi(1.0 / 16), 2.0, 2.0);
    ASSERT_TRUE(e.valida);
    EXPECT_NEAR(e.p, 2.0, 1e-9);
    EXPECT_NEAR(e.extrapolado, 0.7, 1e-13);
    EXPECT_FALSE(e.oscilatoria);
}

TEST(GridConvergence, UnequalRatiosByHand) {
    // h = 1, 1.5, 2.25 (r21 = r32 = 1.5) and phi = 1 + h: e21 = 0.5, e32 = 0.75, p = ln(1.5)/ln(1.5) = 1;
    // the extrapolation (1.5 * 2 - 2.5) / 0.5 = 1, ea = 0.25, eext = 1, GCI = 1.25 * 0.25 / 0.5 = 0.625.
    const Estimativa e = tres_malhas(2.0, 2.5, 3.25, 1.5, 1.5);
    ASSERT_TRUE(e.valida);
    EXPECT_NEAR(e.p, 1.0, 1e-12);
    EXPECT_NEAR(e.extrapolado, 1.0, 1e-12);
    EXPECT_NEAR(e.ea, 0.25, 1e-15);
    EXPECT_NEAR(e.eext, 1.0, 1e-12);
    EXPECT_NEAR(e.gci, 0.625, 1e-12);
    // Different ratios need the iteration: phi = 1 + h^2 on h = 1, 2, 3 (r21 = 2, r32 = 1.5).
    const Estimativa f = tres_malhas(2.0, 5.0, 10.0, 2.0, 1.5);
    ASSERT_TRUE(f.valida);
    EXPECT_NEAR(f.p, 2.0, 1e-9);
    EXPECT_NEAR(f.extrapolado, 1.0, 1e-9);
}

TEST(GridConvergence, OscillatingAndDegenerateSequences) {
    const Estimativa o = tres_malhas(1.0, 1.1, 0.7, 2.0, 2.0);
    EXPECT_TRUE(o.oscilatoria);
    EXPECT_FALSE(tres_malhas(1.0, 1.0, 1.2, 2.0, 2.0).valida);  // e21 = 0
    EXPECT_FALSE(tres_malhas(1.0, 1.1, 1.1, 2.0, 2.0).valida);  // e32 = 0
}

TEST(GridConvergence, TwoGridsWithTheFormalOrder) {
    // phi = 0.7 + 3 h^2 on h = 1/32, 1/16 with p = 2: exact; GCI = 3 ea / 3.
    const Estimativa e = duas_malhas(0.7 + 3.0 / 1024, 0.7 + 3.0 / 256, 2.0, 2.0);
    ASSERT_TRUE(e.valida);
    EXPECT_NEAR(e.extrapolado, 0.7, 1e-14);
    EXPECT_NEAR(e.gci, e.ea, 1e-15);
}

}  // namespace quelna::estudo
