#include "input/shih.hpp"

#include <gtest/gtest.h>

#include "../apoio.hpp"
#include "../discretization/malha_pequena.hpp"

namespace quelna {

using namespace teste;

TEST(ShihProblem, CentreValues) {
    EXPECT_DOUBLE_EQ(shih::u(0.5, 0.5), -0.25);
    EXPECT_DOUBLE_EQ(shih::v(0.5, 0.5), 0.0);
    EXPECT_DOUBLE_EQ(shih::u(0.5, 1.0), 1.0);  // the lid speed at the centre of the lid
    for (const double s : {0.0, 0.3, 1.0}) {
        EXPECT_DOUBLE_EQ(shih::u(0.0, s), 0.0);
        EXPECT_DOUBLE_EQ(shih::u(s, 0.0), 0.0);
        EXPECT_DOUBLE_EQ(shih::v(s, 1.0), 0.0);
        EXPECT_DOUBLE_EQ(shih::v(1.0, s), 0.0);
    }
}

// The exact fields with the body force satisfy the steady equations that the discretization
// solves: continuity, u.grad(u) = -dp/dx + mi lap(u), u.grad(v) = -dp/dy + mi lap(v) - B.
TEST(ShihProblem, ExactFieldsSatisfyTheSteadyEquations) {
    const double mi = 0.01, h = 1e-4;
    for (const double x : {0.13, 0.5, 0.71})
        for (const double y : {0.22, 0.5, 0.87}) {
            const auto d = [&](auto f, double dx, double dy) {
                return (f(x + dx, y + dy) - f(x - dx, y - dy)) / (2 * h);
            };
            const auto lap = [&](auto f) {
                return (f(x + h, y) + f(x - h, y) + f(x, y + h) + f(x, y - h) - 4 * f(x, y)) / (h * h);
            };
            const auto U = [](double a, double b) { return shih::u(a, b); };
            const auto V = [](double a, double b) { return shih::v(a, b); };
            const auto Pr = [mi](double a, double b) { return shih::p(a, b, mi); };
            const double u = U(x, y), v = V(x, y);
            EXPECT_NEAR(d(U, h, 0) + d(V, 0, h), 0.0, 1e-6);
            EXPECT_NEAR(u * d(U, h, 0) + v * d(U, 0, h) + d(Pr, h, 0) - mi * lap(U), 0.0, 1e-5) << x << " " << y;
            EXPECT_NEAR(u * d(V, h, 0) + v * d(V, 0, h) + d(Pr, 0, h) - mi * lap(V) + shih::fonte(x, y, mi), 0.0, 1e-5)
                << x << " " << y;
        }
}

TEST(ShihProblem, ExactProfileFilesOnTwoByTwoVolumes) {
    PastaTemporaria pasta;
    const CaseData caso = caso_pequeno(2, 2, 0.1, 100.0, 1);
    Campos c = campos_de(caso);
    analitica_shih(caso, c);
    const auto u = linhas_de(le_arquivo("ucex.dat"));
    ASSERT_EQ(u.size(), 4u);
    EXPECT_EQ(u[0], "   0.000000E+00   0.000000E+00");
    EXPECT_EQ(u[1].substr(15), "   2.500000E-01");
    EXPECT_EQ(u[2].substr(15), "   7.500000E-01");
    EXPECT_EQ(u[3], "   1.000000E+00   1.000000E+00");
    const auto v = linhas_de(le_arquivo("vcex.dat"));
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0], "   0.000000E+00   0.000000E+00");
    EXPECT_EQ(v[1].substr(0, 15), "   2.500000E-01");
    EXPECT_EQ(v[3], "   1.000000E+00   0.000000E+00");
    // Fictitious volumes carry the wall values: the lid row holds 16 f(x).
    EXPECT_DOUBLE_EQ(c.uex[3 * 4 + 2], shih::u(0.25, 1.0));
    EXPECT_EQ(c.uex[1], 0.0);
}

TEST(ShihProblem, FacesLeaveTheWallFacesClosed) {
    const CaseData caso = caso_pequeno(2, 2, 0.1, 100.0, 1);
    Campos c = campos_de(caso);
    faces_shih(caso, c);
    // Columns 1 and nx-1 are the walls; with 2 real columns only column 2 has an interior face.
    for (int j = 1; j <= caso.ny; ++j) {
        EXPECT_EQ(c.ue[(j - 1) * 4 + 1], 0.0);
        EXPECT_EQ(c.ue[(j - 1) * 4 + 3], 0.0);
    }
    EXPECT_DOUBLE_EQ(c.ue[4 + 2], shih::u(0.5, 0.25));
    EXPECT_DOUBLE_EQ(c.vn[4 + 2], shih::v(0.25, 0.5));
    EXPECT_EQ(c.vn[2 * 4 + 2], 0.0);  // the lid face
}

}  // namespace quelna
