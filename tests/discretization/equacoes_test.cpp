#include "discretization/equacoes.hpp"

#include <gtest/gtest.h>

#include "malha_pequena.hpp"

namespace quelna {

using teste::caso_pequeno;
using teste::campos_de;

// dx = dy = 0.5, dt = 0.1, mi = 0.01: diffusion conductances 0.01, transient term 2.5.
TEST(MomentumCoefficients, RowAtRestAndWithAnUpstreamWestFace) {
    const CaseData caso = caso_pequeno(2, 2);
    Campos c = campos_de(caso);
    coeficientes_uv(caso, c);
    for (const int P : {6, 7, 10, 11}) {
        EXPECT_DOUBLE_EQ(c.a[P].as, -0.01);
        EXPECT_DOUBLE_EQ(c.a[P].aw, -0.01);
        EXPECT_DOUBLE_EQ(c.a[P].ae, -0.01);
        EXPECT_DOUBLE_EQ(c.a[P].an, -0.01);
        EXPECT_DOUBLE_EQ(c.a[P].ap, 2.54);
    }
    // Volume 7 (i = 3, j = 2): its west face is the east face of volume 6.
    c.ue[6] = 1.0;
    coeficientes_uv(caso, c);
    EXPECT_DOUBLE_EQ(c.a[7].aw, -0.51);
    EXPECT_DOUBLE_EQ(c.a[7].ae, -0.01);
    EXPECT_DOUBLE_EQ(c.a[7].as, -0.01);
    EXPECT_DOUBLE_EQ(c.a[7].an, -0.01);
    EXPECT_DOUBLE_EQ(c.a[7].ap, 3.04);
    // The downstream volume 6 sees the same face as its east face and gets none of the flux.
    EXPECT_DOUBLE_EQ(c.a[6].ae, -0.01);
    c.ue[6] = -1.0;
    coeficientes_uv(caso, c);
    EXPECT_DOUBLE_EQ(c.a[7].aw, -0.01);
    EXPECT_DOUBLE_EQ(c.a[7].ap, 2.54);
}

TEST(MomentumCoefficients, FromRestOnlyTheLidDrivesTheUSystem) {
    const CaseData caso = caso_pequeno(3, 2);
    Campos c = campos_de(caso);
    coeficientes_uv(caso, c);
    termo_fonte_u(caso, c);
    contorno_u(caso, c);
    const int nx = caso.nx;
    for (int P = 1; P <= caso.N; ++P) {
        const int i = (P - 1) % nx + 1, j = (P - 1) / nx + 1;
        const bool tampa = j == caso.ny && i >= 2 && i <= nx - 1;
        EXPECT_EQ(c.bp[P], tampa ? 2.0 : 0.0) << P;
        if (i >= 2 && i <= nx - 1 && j >= 2 && j <= caso.ny - 1) {
            EXPECT_EQ(c.dc_u[P], 0.0);
        }
    }
    // The wall equations: the mean of a fictitious value and its inward neighbour is the wall's.
    EXPECT_EQ(c.a[1].ap, 1.0);
    EXPECT_EQ(c.a[1].ae, 1.0);     // west column, corner included
    EXPECT_EQ(c.a[nx].aw, 1.0);    // east column
    EXPECT_EQ(c.a[2].an, 1.0);     // south row
    EXPECT_EQ(c.a[caso.N - 1].as, 1.0);  // lid row
    termo_fonte_v(caso, c);
    contorno_v(caso, c);
    EXPECT_EQ(c.bp[caso.N - 1], 0.0);
}

TEST(MomentumCoefficients, ShihLidVelocityVariesAlongTheLid) {
    CaseData caso = caso_pequeno(2, 2, 0.1, 100.0, 1);
    Campos c = campos_de(caso);
    c.uex[14] = 0.3;
    c.uex[15] = 0.7;
    contorno_u(caso, c);
    EXPECT_DOUBLE_EQ(c.bp[14], 0.6);
    EXPECT_DOUBLE_EQ(c.bp[15], 1.4);
}

TEST(MomentumCoefficients, DeferredCorrectionIsUdsMinusCdsOutflow) {
    // One real volume with uniform east-moving faces: UDS takes the upstream value, CDS the mean.
    const CaseData caso = caso_pequeno(3, 3);
    Campos c = campos_de(caso);
    const int P = 2 * caso.nx + 3;  // the centre volume (3, 3)
    c.ue[P - 1] = 1.0;
    c.ue[P] = 1.0;
    c.u[P - 1] = 1.0;
    c.u[P] = 2.0;
    c.u[P + 1] = 4.0;
    c.u0[P] = 0.0;
    termo_fonte_u(caso, c);
    // Outflow east: UDS 2, CDS 3; inflow west: UDS 1, CDS 1.5; times Fe = Fw = dy = 1/3.
    const double uds = (2.0 - 1.0) / 3.0, cds = (3.0 - 1.5) / 3.0;
    EXPECT_NEAR(c.dc_u[P], uds - cds, 1e-15);
    EXPECT_NEAR(c.bp[P], caso.beta * c.dc_u[P], 1e-15);
}

TEST(FaceVelocities, TheWorkedExample) {
    const CaseData caso = caso_pequeno(2, 2);
    Campos c = campos_de(caso);
    coeficientes_uv(caso, c);
    c.ue0[6] = 1.0;
    c.p[7] = 0.1;
    velocidades_face(caso, c);
    // A = 5.08, ue = (5.0 - 0.1) / 5.08
    EXPECT_NEAR(c.ue[6], 0.96456692913385827, 1e-15);
    // Only column 2 has an interior east face with 2 real columns; the walls keep 0.
    for (int P = 1; P <= caso.N; ++P)
        if (P != 6) {
            EXPECT_EQ(c.ue[P], 0.0) << P;
        }
}

TEST(FaceVelocities, ZeroFieldsGiveZeroAndABodyForceAloneMovesVn) {
    CaseData caso = caso_pequeno(3, 3);
    Campos c = campos_de(caso);
    coeficientes_uv(caso, c);
    velocidades_face(caso, c);
    EXPECT_EQ(c.ue, Campo(c.ue.size(), 0.0));
    EXPECT_EQ(c.vn, Campo(c.vn.size(), 0.0));
    std::fill(c.fonte_v.begin(), c.fonte_v.end(), 1.0);
    velocidades_face(caso, c);
    EXPECT_LT(c.vn[caso.nx + 2], 0.0);
    EXPECT_EQ(c.ue, Campo(c.ue.size(), 0.0));
}

TEST(PressureCorrection, RowsWallsAndCorners) {
    const CaseData caso = caso_pequeno(2, 2);
    Campos c = campos_de(caso);
    coeficientes_plinha(caso, c);
    EXPECT_DOUBLE_EQ(c.a[6].aw, -0.1);
    EXPECT_DOUBLE_EQ(c.a[6].as, -0.1);
    EXPECT_DOUBLE_EQ(c.a[6].ap, 0.4);
    contorno_plinha(caso, c);
    // Every real volume of a 2 x 2 grid is a corner: it loses both couplings across its walls.
    EXPECT_EQ(c.a[6].aw, 0.0);
    EXPECT_EQ(c.a[6].as, 0.0);
    EXPECT_DOUBLE_EQ(c.a[6].ae, -0.1);
    EXPECT_DOUBLE_EQ(c.a[6].an, -0.1);
    EXPECT_DOUBLE_EQ(c.a[6].ap, 0.4);
    EXPECT_EQ(c.a[11].ae, 0.0);
    EXPECT_EQ(c.a[11].an, 0.0);
    // First pass of a run: each fictitious value equals its inward neighbour.
    EXPECT_EQ(c.a[5].ae, -1.0);
    EXPECT_EQ(c.bp[5], 0.0);
}

TEST(PressureCorrection, ExtrapolatedBoundaryRightHandSides) {
    const CaseData caso = caso_pequeno(3, 3);
    Campos c = campos_de(caso);
    for (int P = 1; P <= caso.N; ++P) c.plinha[P] = P * P;
    coeficientes_plinha(caso, c);
    contorno_plinha(caso, c);
    const int nx = caso.nx;
    EXPECT_EQ(c.bp[nx + 1], (nx + 2.0) * (nx + 2) - (nx + 3.0) * (nx + 3));          // west: x'(P+1) - x'(P+2)
    EXPECT_EQ(c.bp[2 * nx], (2 * nx - 1.0) * (2 * nx - 1) - (2 * nx - 2.0) * (2 * nx - 2));  // east
    EXPECT_EQ(c.bp[3], (3.0 + nx) * (3 + nx) - (3.0 + 2 * nx) * (3 + 2 * nx));           // south
}

TEST(PressureCorrection, MassConservingFacesChangeNothing) {
    const CaseData caso = caso_pequeno(3, 3);
    Campos c = campos_de(caso);
    // A closed circulation through four interior faces conserves mass in every volume.
    const int nx = caso.nx;
    const auto P = [nx](int i, int j) { return (j - 1) * nx + i; };
    c.ue[P(2, 2)] = 1.0;
    c.vn[P(3, 2)] = 1.0;
    c.ue[P(2, 3)] = -1.0;
    c.vn[P(2, 2)] = -1.0;
    coeficientes_plinha(caso, c);
    for (int j = 2; j <= caso.ny - 1; ++j)
        for (int i = 2; i <= nx - 1; ++i) EXPECT_EQ(c.bp[P(i, j)], 0.0) << i << "," << j;
    const Campos antes = c;
    corrige_p(caso, c);
    corrige_uv(caso, c);
    corrige_face(caso, c);
    EXPECT_EQ(c.p, antes.p);
    EXPECT_EQ(c.ue, antes.ue);
    EXPECT_EQ(c.vn, antes.vn);
}

TEST(PressureCorrection, CorrectionsAndWallValues) {
    const CaseData caso = caso_pequeno(3, 3);
    Campos c = campos_de(caso);
    const int nx = caso.nx;
    for (int P = 1; P <= caso.N; ++P) c.plinha[P] = 0.5 * P;
    corrige_p(caso, c);
    // p is linear in P inside, so every extrapolation continues the same line.
    for (int P = 1; P <= caso.N; ++P) EXPECT_DOUBLE_EQ(c.p[P], 0.5 * P) << P;
    corrige_uv(caso, c);
    // u(P) -= (plinha(P+1) - plinha(P-1)) * 0.5 * dt / dx = 1.0 * 0.5 * 0.1 * 3 = 0.15
    EXPECT_DOUBLE_EQ(c.u[nx + 2], -0.15);
    EXPECT_DOUBLE_EQ(c.v[nx + 2], -0.15 * nx);
    EXPECT_DOUBLE_EQ(c.u[nx + 1], 0.15);                        // west mirror
    EXPECT_DOUBLE_EQ(c.u[caso.N - 2], 2.0 - c.u[caso.N - 2 - nx]);  // lid: 2U minus the row below
    corrige_face(caso, c);
    EXPECT_DOUBLE_EQ(c.ue[nx + 2], -0.5 * 0.1 * 3);
    EXPECT_EQ(c.ue[nx + 1], 0.0);  // wall faces stay closed
    EXPECT_EQ(c.ue[nx + 4], 0.0);
}

}  // namespace quelna

namespace quelna {

using teste::caso_pequeno;
using teste::campos_de;

// On 2 x 4 real volumes (dx = 0.5, dy = 0.25, dt = 0.1, mi = 0.01) every x quantity differs from
// its y counterpart: the conductances are Dx = mi*dy/dx = 0.005 and Dy = mi*dx/dy = 0.02, the
// transient term dx*dy/dt = 1.25. Volume 10 (i = 2, j = 3; nx = 4) is the one worked by hand.
TEST(NonSquareGrid, MomentumRowAndSourcesWorkedByHand) {
    const CaseData caso = caso_pequeno(2, 4);
    ASSERT_EQ(caso.nx, 4);
    ASSERT_EQ(caso.ny, 6);
    Campos c = campos_de(caso);
    const int P = 10;
    c.ue[P - 1] = 1.0;   // west face: flow from the west, the west neighbour upstream
    c.ue[P] = -2.0;      // east face: flow from the east
    c.vn[P - 4] = 0.4;   // south face: flow from the south
    c.vn[P] = 0.8;       // north face: flow out to the north
    coeficientes_uv(caso, c);
    // aw = -(Dx + Fw), Fw = dy*1; ae = -(Dx - Fe), Fe = dy*(-2); as = -(Dy + Fs), Fs = dx*0.4; an = -Dy.
    EXPECT_NEAR(c.a[P].aw, -0.255, 1e-15);
    EXPECT_NEAR(c.a[P].ae, -0.505, 1e-15);
    EXPECT_NEAR(c.a[P].as, -0.22, 1e-15);
    EXPECT_NEAR(c.a[P].an, -0.02, 1e-15);
    EXPECT_NEAR(c.a[P].ap, 1.25 + 0.255 + 0.505 + 0.22 + 0.02, 1e-14);

    // uP = 1, uE = 3, uW = 0, uN = 2, uS = -1: the deferred correction
    // Fe*(-0.5)*(1 - 3) - Fw*0.5*(0 - 1) + Fn*0.5*(1 - 2) - Fs*0.5*(-1 - 1) = -0.5 + 0.125 - 0.2 + 0.2.
    c.u[P] = 1.0, c.u[P + 1] = 3.0, c.u[P - 1] = 0.0, c.u[P + 4] = 2.0, c.u[P - 4] = -1.0;
    c.u0[P] = 0.3;
    c.p[P + 1] = 2.0, c.p[P - 1] = 1.0;
    CaseData com_cds = caso;
    com_cds.beta = 1.0;
    termo_fonte_u(com_cds, c);
    EXPECT_NEAR(c.dc_u[P], -0.375, 1e-15);
    // dx*dy*u0/dt + dc - 0.5*dy*(pE - pW) = 0.375 - 0.375 - 0.125
    EXPECT_NEAR(c.bp[P], -0.125, 1e-14);
    // v: the pressure acts on the north and south faces, of length dx.
    c.v0[P] = 0.3;
    c.p[P + 4] = 5.0, c.p[P - 4] = 1.0;
    termo_fonte_v(caso, c);  // beta = 0
    EXPECT_NEAR(c.bp[P], 0.375 - 0.25 * 4.0, 1e-14);
}

TEST(NonSquareGrid, FaceVelocitiesAndCorrectionsWorkedByHand) {
    const CaseData caso = caso_pequeno(2, 4);
    Campos c = campos_de(caso);
    coeficientes_uv(caso, c);  // at rest: ap = 1.25 + 2*0.005 + 2*0.02 = 1.3 in every real row
    EXPECT_NEAR(c.a[10].ap, 1.3, 1e-15);
    const int P = 10;
    c.ue0[P] = 1.0, c.vn0[P] = 1.0;
    c.p[P + 1] = 0.1;  // east neighbour
    c.p[P + 4] = 0.1;  // north neighbour
    velocidades_face(caso, c);
    // ue = (2*dx*dy*ue0/dt - 2*dy*(pE - pP)) / (ap(P) + ap(E)) = (2.5 - 0.05) / 2.6
    EXPECT_NEAR(c.ue[P], 2.45 / 2.6, 1e-15);
    // vn = (2*dx*dy*vn0/dt - 2*dx*(pN - pP)) / (ap(P) + ap(N)) = (2.5 - 0.1) / 2.6
    EXPECT_NEAR(c.vn[P], 2.4 / 2.6, 1e-15);

    // A pressure correction plinha = 2 i + 10 j: its differences are 2 across a column and 10
    // across a row.
    for (int j = 1; j <= caso.ny; ++j)
        for (int i = 1; i <= caso.nx; ++i) c.plinha[(j - 1) * caso.nx + i] = 2.0 * i + 10.0 * j;
    c.u[P] = 0.0, c.v[P] = 0.0;
    const double ue_antes = c.ue[P], vn_antes = c.vn[P];
    corrige_uv(caso, c);
    // u -= (p'E - p'W) * 0.5*dt/dx = 4 * 0.1; v -= (p'N - p'S) * 0.5*dt/dy = 20 * 0.2
    EXPECT_NEAR(c.u[P], -0.4, 1e-15);
    EXPECT_NEAR(c.v[P], -4.0, 1e-14);
    corrige_face(caso, c);
    // ue -= (p'E - p'P) * dt/dx = 2 * 0.2; vn -= (p'N - p'P) * dt/dy = 10 * 0.4
    EXPECT_NEAR(c.ue[P], ue_antes - 0.4, 1e-15);
    EXPECT_NEAR(c.vn[P], vn_antes - 4.0, 1e-14);
}

}  // namespace quelna
