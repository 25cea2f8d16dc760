#include <gtest/gtest.h>

#include "../apoio.hpp"
#include "input/caso.hpp"
#include "input/shih.hpp"
#include "solvers/solvers.hpp"

namespace quelna {

using namespace teste;

namespace {

CaseData caso_com(const std::map<int, std::string>& trocas) {
    return le_caso_texto(texto_caso(trocas), arquivo_caso);
}

}  // namespace

TEST(CaseSetUp, ArraysAreReservedZeroedAndThePreviousLevelCopied) {
    PastaTemporaria pasta;
    const CaseData caso = caso_com({{2, "3"}, {3, "2"}});
    Campos c;
    prepara_campos(caso, c);
    ASSERT_EQ(caso.N, 20);
    for (const Campo* f : {&c.u, &c.v, &c.p, &c.plinha, &c.ue, &c.vn, &c.dc_u, &c.dc_v, &c.fonte_v, &c.bp})
        EXPECT_EQ(*f, Campo(21, 0.0));
    EXPECT_EQ(c.a.size(), 21u);
    EXPECT_TRUE(c.psi.empty());    // reserved after the cycle
    EXPECT_FALSE(existe("ucex.dat"));  // Ghia from rest: no exact solution

    // Only MSI has factors: the solver's workspace holds them, one per volume.
    Trabalho gs, msi;
    gs.reserva(caso.solver, caso.N);
    EXPECT_TRUE(gs.msi_L.empty());
    const CaseData com_msi = caso_com({{7, "5"}});
    msi.reserva(com_msi.solver, com_msi.N);
    EXPECT_EQ(msi.msi_L.size(), 37u);
    EXPECT_EQ(msi.msi_U.size(), 37u);
}

TEST(CaseSetUp, GhiaFromTheShihFieldsHasNoBodyForce) {
    PastaTemporaria pasta;
    const CaseData caso = caso_com({{18, "2"}, {19, "1"}});
    Campos c;
    prepara_campos(caso, c);
    EXPECT_TRUE(existe("ucex.dat"));
    EXPECT_TRUE(existe("vcex.dat"));
    EXPECT_EQ(c.fonte_v, Campo(c.fonte_v.size(), 0.0));
    EXPECT_EQ(c.u, c.uex);
    EXPECT_EQ(c.v, c.vex);
    EXPECT_EQ(c.p, c.pex);
    EXPECT_EQ(c.u0, c.u);
    EXPECT_EQ(c.v0, c.v);
    EXPECT_EQ(c.ue0, c.ue);
    EXPECT_EQ(c.vn0, c.vn);
    // The interior faces carry the exact velocities: x_e = 0.25, y = 0.125 with 4 x 4 volumes.
    EXPECT_DOUBLE_EQ(c.ue[1 * 6 + 2], shih::u(0.25, 0.125));
}

TEST(CaseSetUp, ShihFromRestComputesTheExactFieldsButStartsFromZero) {
    PastaTemporaria pasta;
    Campos c;
    prepara_campos(caso_com({{18, "1"}, {19, "0"}}), c);
    EXPECT_TRUE(existe("ucex.dat"));
    EXPECT_EQ(c.u, Campo(c.u.size(), 0.0));
    EXPECT_EQ(c.ue, Campo(c.ue.size(), 0.0));
    EXPECT_NE(c.fonte_v, Campo(c.fonte_v.size(), 0.0));
}

}  // namespace quelna
