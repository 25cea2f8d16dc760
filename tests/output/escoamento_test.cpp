#include "output/escoamento.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "../apoio.hpp"
#include "../discretization/malha_pequena.hpp"
#include "platform/formato.hpp"
#include "study/escoamento.hpp"

namespace quelna {

using namespace teste;

namespace {

// A case of 6 x 4 real volumes (dx = 1/6, dy = 1/4): an x quantity taken for a y one shows.
struct Malha64 {
    CaseData caso = caso_pequeno(6, 4);
    Campos c = campos_de(caso);
    int P(int i, int j) const { return (j - 1) * caso.nx + i; }
};

}  // namespace

// With u = a y and v = b x (1 - x) at every face, dv/dx - du/dy = b (1 - 2x) - a at every node:
// the central differences inside, and the one-sided ones on the walls (v = 0 on the side walls,
// u = 0 on the bottom, u = a on the lid), are exact for such fields.
TEST(NodeFields, VorticityOfAShearAndAParabolaIsExactAtEveryNode) {
    Malha64 m;
    const double a = 0.7, b = 1.3;
    m.caso.Uplaca = a;
    for (int j = 1; j <= m.caso.ny; ++j)
        for (int i = 1; i <= m.caso.nx; ++i) {
            const double xc = (i - 1.5) * m.caso.dx, yc = (j - 1.5) * m.caso.dy;
            m.c.ue[m.P(i, j)] = a * yc;
            m.c.vn[m.P(i, j)] = b * xc * (1 - xc);
        }
    m.c.psi.assign(m.caso.N + 1, 0.0);
    const CamposNos n = campos_nos(m.caso, m.c);
    ASSERT_EQ(n.na, 6);
    ASSERT_EQ(n.nb, 4);
    ASSERT_EQ(n.vorticidade.size(), 7u * 5u);
    for (int nb = 0; nb <= 4; ++nb)
        for (int na = 0; na <= 6; ++na) {
            const double x = na / 6.0;
            EXPECT_NEAR(n.vorticidade[n.k(na, nb)], b * (1 - 2 * x) - a, 1e-12) << na << "," << nb;
        }
}

// psi at a node is that of the volume whose north-east corner it is; the walls are 0.
TEST(NodeFields, PsiAtTheNodesIsThatOfTheVolumeCornersAndZeroOnTheWalls) {
    Malha64 m;
    m.c.psi.assign(m.caso.N + 1, 0.0);
    for (int j = 1; j <= m.caso.ny; ++j)
        for (int i = 1; i <= m.caso.nx; ++i) m.c.psi[m.P(i, j)] = 100 * i + j;
    const CamposNos n = campos_nos(m.caso, m.c);
    EXPECT_EQ(n.psi[n.k(1, 1)], 202);  // north-east corner of volume (2, 2)
    EXPECT_EQ(n.psi[n.k(5, 3)], 604);
    EXPECT_EQ(n.psi[n.k(2, 3)], 304);
    for (int a = 0; a <= 6; ++a) {
        EXPECT_EQ(n.psi[n.k(a, 0)], 0) << a;
        EXPECT_EQ(n.psi[n.k(a, 4)], 0) << a;
    }
    for (int b = 0; b <= 4; ++b) {
        EXPECT_EQ(n.psi[n.k(0, b)], 0) << b;
        EXPECT_EQ(n.psi[n.k(6, b)], 0) << b;
    }
}

// A quadratic bowl between the nodes is found exactly, on a grid that is not square; two corner
// eddies of the other sign are found in their corners, and none where psi has no positive peak.
TEST(Vortices, CentresBetweenTheNodesFromTheQuadraticFit) {
    CamposNos n;
    n.na = 20, n.nb = 12;
    n.dx = 1.0 / 20, n.dy = 1.0 / 12;
    n.psi.assign(21 * 13, 0.0);
    n.vorticidade.assign(21 * 13, 0.0);
    const double x0 = 0.613, y0 = 0.702;
    const auto bowl = [&](double x, double y) {
        const double dx = x - x0, dy = y - y0;
        return -0.1 + 0.3 * dx * dx + 0.2 * dy * dy + 0.1 * dx * dy;
    };
    const auto bump = [](double x, double y, double xc, double yc, double h) {
        const double dx = x - xc, dy = y - yc;
        return h * (1 - 40 * dx * dx - 60 * dy * dy);
    };
    for (int b = 1; b < n.nb; ++b)
        for (int a = 1; a < n.na; ++a) {
            const double x = a * n.dx, y = b * n.dy;
            double f = std::min(bowl(x, y), 0.0);
            if (x < 0.35 && y < 0.4) f = bump(x, y, 0.165, 0.205, 1e-5);
            if (x > 0.75 && y < 0.3) f = bump(x, y, 0.88, 0.14, 2e-3);
            n.psi[n.k(a, b)] = f;
        }
    const auto v = vortices(n);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[0].nome, "primario");
    EXPECT_NEAR(v[0].x, x0, 1e-12);
    EXPECT_NEAR(v[0].y, y0, 1e-12);
    EXPECT_NEAR(v[0].psi, -0.1, 1e-14);
    EXPECT_EQ(v[1].nome, "inferior_esquerdo");
    EXPECT_NEAR(v[1].x, 0.165, 1e-12);
    EXPECT_NEAR(v[1].y, 0.205, 1e-12);
    EXPECT_NEAR(v[1].psi, 1e-5, 1e-18);
    EXPECT_EQ(v[2].nome, "inferior_direito");
    EXPECT_NEAR(v[2].x, 0.88, 1e-12);
    EXPECT_NEAR(v[2].y, 0.14, 1e-12);
    // At rest there is no vortex at all.
    std::fill(n.psi.begin(), n.psi.end(), 0.0);
    EXPECT_TRUE(vortices(n).empty());
}

// Where the 3 x 3 quadratic has no maximum (an eddy over a node or two), the centre is the peak
// node itself, with its value: neither one parabola that curves up nor a cross term that leaves
// the quadratic indefinite carries it off.
TEST(Vortices, AnUnresolvedPeakIsItsNode) {
    CamposNos n;
    n.na = 4, n.nb = 4;
    n.dx = n.dy = 0.25;
    n.psi.assign(25, 0.0);
    n.psi[n.k(2, 2)] = 1.0;
    n.psi[n.k(1, 2)] = 0.5, n.psi[n.k(3, 2)] = 0.7;  // curves down in x
    n.psi[n.k(2, 1)] = 0.9, n.psi[n.k(2, 3)] = 1.2;  // up in y
    Extremo e = ajusta_extremo(n, n.psi, 2, 2, true);
    EXPECT_EQ(e.da, 0.0);
    EXPECT_EQ(e.db, 0.0);
    EXPECT_EQ(e.valor, 1.0);
    // Down in both directions, with a cross term that leaves the quadratic without a maximum.
    n.psi[n.k(2, 3)] = 0.8;
    n.psi[n.k(3, 3)] = 2.4;
    e = ajusta_extremo(n, n.psi, 2, 2, true);
    EXPECT_EQ(e.da, 0.0);
    EXPECT_EQ(e.valor, 1.0);
    // Without the cross term it is a maximum, found between the nodes: fa = 0.1, faa = -0.8.
    n.psi[n.k(3, 3)] = 0.0;
    e = ajusta_extremo(n, n.psi, 2, 2, true);
    EXPECT_NEAR(e.da, 0.125, 1e-15);
    EXPECT_NEAR(e.db, -0.05 / 0.3, 1e-15);
    EXPECT_GT(e.valor, 1.0);
}

TEST(FlowFiles, PsiAndVortexLayouts) {
    PastaTemporaria pasta;
    CamposNos n;
    n.na = 2, n.nb = 1;
    n.dx = 0.5, n.dy = 1.0;
    n.psi = {0, 0, 0, 0, 0, 0};
    n.psi[n.k(1, 0)] = -0.25;
    grava_psi(n, "p.dat");
    EXPECT_EQ(le_arquivo("p.dat"),
              "   0.000000E+00   0.000000E+00   0.000000000000000E+00\n"
              "   0.000000E+00   1.000000E+00   0.000000000000000E+00\n"
              "\n"
              "   5.000000E-01   0.000000E+00  -2.500000000000000E-01\n"
              "   5.000000E-01   1.000000E+00   0.000000000000000E+00\n"
              "\n"
              "   1.000000E+00   0.000000E+00   0.000000000000000E+00\n"
              "   1.000000E+00   1.000000E+00   0.000000000000000E+00\n"
              "\n");
    grava_vortices({{"primario", 0.5, 0.75, -0.1}, {"inferior_direito", 0.875, 0.0625, 1.5e-5}}, "v.dat");
    EXPECT_EQ(le_arquivo("v.dat"), latin1("# vórtice") + std::string(10, ' ') + "x" + std::string(23, ' ') + "y" +
                                       std::string(23, ' ') + "psi\n"
                                       "primario             5.000000000000000E-01   7.500000000000000E-01  "
                                       "-1.000000000000000E-01\n"
                                       "inferior_direito     8.750000000000000E-01   6.250000000000000E-02   "
                                       "1.500000000000000E-05\n");
    // The study reads them back by name.
    const auto valores = estudo::le_vortices(le_arquivo("v.dat"));
    ASSERT_EQ(valores.size(), 6u);
    EXPECT_EQ(valores[0].nome, "psi_primario");
    EXPECT_EQ(valores[0].valor, -0.1);
    EXPECT_EQ(valores[4].nome, "x_inferior_direito");
    EXPECT_EQ(valores[4].valor, 0.875);
}

// The fields file of a Shih case, 3 x 2 volumes: its frame, and every array back bit for bit.
TEST(FlowFiles, FieldsFileFrameAndArraysBackExactly) {
    PastaTemporaria pasta;
    CaseData caso = caso_pequeno(3, 2, 0.1, 100.0, 1);
    Campos c = campos_de(caso);
    const auto P = [&](int i, int j) { return (j - 1) * caso.nx + i; };
    for (int j = 1; j <= caso.ny; ++j)
        for (int i = 1; i <= caso.nx; ++i) {
            c.u[P(i, j)] = i + 0.1 * j;
            c.v[P(i, j)] = -i * j;
            c.p[P(i, j)] = 10.0 * j + i;
            c.uex[P(i, j)] = i;
            c.vex[P(i, j)] = 0.5;
            c.pex[P(i, j)] = j;
        }
    c.psi.assign(caso.N + 1, 0.0);
    c.psi[P(2, 2)] = -0.03;  // the one interior node of 3 x 2 volumes is (1, 1)
    c.psi[P(3, 2)] = -0.01;  // (2, 1)
    const CamposNos nos = campos_nos(caso, c);
    grava_campos_vtk(caso, c, nos, "s.vti");
    EXPECT_FALSE(existe("s.vti.tmp"));
    const std::string texto = le_arquivo("s.vti");
    EXPECT_EQ(texto.substr(0, texto.find("<PointData")),
              "<?xml version=\"1.0\"?>\n"
              "<VTKFile type=\"ImageData\" version=\"1.0\" byte_order=\"LittleEndian\" header_type=\"UInt64\">\n"
              "  <ImageData WholeExtent=\"0 3 0 2 0 0\" Origin=\"0 0 0\" Spacing=\"0.33333333333333331 0.5 1\">\n"
              "    <Piece Extent=\"0 3 0 2 0 0\">\n      ");
    const auto a = estudo::le_campos_vtk(texto);
    const std::vector<std::string> nomes = {"erro_p", "erro_u", "erro_v", "p", "p_bruta", "p_exata", "psi",
                                            "u",      "u_exata", "v",     "v_exata", "vorticidade"};
    std::vector<std::string> lidos;
    for (const auto& [nome, v] : a) lidos.push_back(nome);
    EXPECT_EQ(lidos, nomes);
    // Cells row by row from the south-west; p relative to its mean, 16.5 for p = 10 j + i.
    EXPECT_EQ(a.at("u"), (std::vector<double>{2.2, 3.2, 4.2, 2.3, 3.3, 4.3}));
    EXPECT_EQ(a.at("p_bruta"), (std::vector<double>{22, 23, 24, 32, 33, 34}));
    EXPECT_EQ(a.at("p"), (std::vector<double>{-6, -5, -4, 4, 5, 6}));
    EXPECT_EQ(a.at("p_exata"), (std::vector<double>{-0.5, -0.5, -0.5, 0.5, 0.5, 0.5}));
    EXPECT_EQ(a.at("erro_p"), (std::vector<double>{-5.5, -4.5, -3.5, 3.5, 4.5, 5.5}));
    EXPECT_EQ(a.at("erro_v")[4], -3 * 3 - 0.5);  // volume (3, 3)
    ASSERT_EQ(a.at("psi").size(), 12u);
    EXPECT_EQ(a.at("psi")[4 + 1], -0.03);
    EXPECT_EQ(a.at("psi")[4 + 2], -0.01);
    EXPECT_EQ(a.at("vorticidade"), nos.vorticidade);
    // A Ghia case has no exact fields.
    caso.problema = 2;
    grava_campos_vtk(caso, c, nos, "g.vti");
    EXPECT_EQ(estudo::le_campos_vtk(le_arquivo("g.vti")).size(), 6u);
}

TEST(FlowFiles, Base64BothWays) {
    EXPECT_EQ(base64(""), "");
    EXPECT_EQ(base64("f"), "Zg==");
    EXPECT_EQ(base64("fo"), "Zm8=");
    EXPECT_EQ(base64("foob"), "Zm9vYg==");
    EXPECT_EQ(base64("foobar"), "Zm9vYmFy");
    std::string b;
    EXPECT_TRUE(de_base64("Zm9v\nYmE=", b));
    EXPECT_EQ(b, "fooba");
    EXPECT_FALSE(de_base64("Zm9vY", b));
    EXPECT_FALSE(de_base64("Zg==Zg==", b));
}

}  // namespace quelna
