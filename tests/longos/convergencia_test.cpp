// Whole runs converged to tight tolerances: the published Ghia profiles and the orders of
// accuracy against the exact Shih solution.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "../apoio.hpp"
#include "input/caso.hpp"
#include "input/shih.hpp"
#include "run/execucao.hpp"

namespace quelna {

using namespace teste;

namespace {

struct Convergido {
    CaseData caso;
    Campos c;
    EstadoCiclo e;
};

Convergido converge(const std::map<int, std::string>& trocas) {
    PastaTemporaria pasta;
    Convergido r;
    r.caso = le_caso_texto(texto_caso(trocas), arquivo_caso);
    prepara_campos(r.caso, r.c);
    ArquivoTexto l("listagem"), it("iteracoes"), rd("r.dat");
    Trabalho t;
    r.e = ciclo(r.caso, r.c, t, l, it, rd);
    return r;
}

// u along x = 0.5 (the east faces of column nx/2 at the row centres, 0 and 1 at the walls),
// linearly interpolated at y.
double u_centro(const Convergido& r, double y) {
    const CaseData& k = r.caso;
    const int ic = k.nx / 2;
    std::vector<std::pair<double, double>> perfil{{0.0, 0.0}};
    for (int j = 2; j <= k.ny - 1; ++j) perfil.emplace_back((j - 1.5) * k.dy, r.c.ue[(j - 1) * k.nx + ic]);
    perfil.emplace_back(1.0, 1.0);
    for (std::size_t m = 1; m < perfil.size(); ++m)
        if (y <= perfil[m].first) {
            const auto [y0, u0] = perfil[m - 1];
            const auto [y1, u1] = perfil[m];
            return u0 + (u1 - u0) * (y - y0) / (y1 - y0);
        }
    return 1.0;
}

double v_centro(const Convergido& r, double x) {
    const CaseData& k = r.caso;
    const int jc = k.ny / 2;
    std::vector<std::pair<double, double>> perfil{{0.0, 0.0}};
    for (int i = 2; i <= k.nx - 1; ++i) perfil.emplace_back((i - 1.5) * k.dx, r.c.vn[(jc - 1) * k.nx + i]);
    perfil.emplace_back(1.0, 0.0);
    for (std::size_t m = 1; m < perfil.size(); ++m)
        if (x <= perfil[m].first) {
            const auto [x0, v0] = perfil[m - 1];
            const auto [x1, v1] = perfil[m];
            return v0 + (v1 - v0) * (x - x0) / (x1 - x0);
        }
    return 0.0;
}

// The 15 interior points of a Ghia table (position, value at Re = 100).
std::vector<std::pair<double, double>> ghia(const std::string& arquivo) {
    std::ifstream f(pasta_refdata() + "/" + arquivo + ".tsv");
    std::vector<std::pair<double, double>> pontos;
    for (std::string linha; std::getline(f, linha);) {
        if (linha.empty() || linha[0] == '#' || !std::isdigit(static_cast<unsigned char>(linha[0]))) continue;
        std::istringstream in(linha);
        double pos = 0, valor = 0;
        in >> pos >> valor;
        if (pos > 0.0 && pos < 1.0) pontos.emplace_back(pos, valor);
    }
    return pontos;
}

void compara_com_ghia(const std::map<int, std::string>& parametros, const char* nome) {
    std::map<int, std::string> trocas = {{2, "64"}, {3, "64"}, {4, "0.2"}, {5, "1e-8"}, {6, "20000"},
                                         {11, "2"}, {12, "5"},  {14, "100"}, {15, "1"}};
    for (const auto& [k, v] : parametros) trocas[k] = v;
    const Convergido r = converge(trocas);
    ASSERT_LT(r.e.iteracoes, 20000) << nome << " não convergiu";
    const auto gu = ghia("ghia_u"), gv = ghia("ghia_v");
    ASSERT_EQ(gu.size(), 15u);
    ASSERT_EQ(gv.size(), 15u);
    double eu = 0, ev = 0;
    for (const auto& [y, u] : gu) eu = std::max(eu, std::fabs(u_centro(r, y) - u));
    for (const auto& [x, v] : gv) ev = std::max(ev, std::fabs(v_centro(r, x) - v));
    EXPECT_LE(eu, 0.005) << nome;
    EXPECT_LE(ev, 0.012) << nome;
    std::printf("%s: %d iterações, erro máximo u %.5f, v %.5f\n", nome, r.e.iteracoes, eu, ev);
}

struct ErrosShih {
    double perfil, central;
};

ErrosShih erros_shih(int n, const char* beta) {
    const std::string s = std::to_string(n);
    const Convergido r = converge({{2, s}, {3, s}, {4, "0.2"}, {5, "1e-8"}, {6, "20000"}, {11, "2"}, {12, "10"},
                                   {14, "100"}, {15, beta}, {18, "1"}});
    EXPECT_LT(r.e.iteracoes, 20000);
    const CaseData& k = r.caso;
    double perfil = 0;
    for (int j = 2; j <= k.ny - 1; ++j)
        perfil = std::max(perfil, std::fabs(r.c.ue[(j - 1) * k.nx + k.nx / 2] - shih::u(0.5, (j - 1.5) * k.dy)));
    return {perfil, std::fabs(r.e.ultimos.u_central + 0.25)};
}

}  // namespace

TEST(GhiaProblem, GaussSeidelMatchesThePublishedProfilesAtRe100) { compara_com_ghia({{7, "2"}}, "Gauss-Seidel"); }

TEST(GhiaProblem, JacobiMatchesThePublishedProfilesAtRe100) {
    compara_com_ghia({{7, "1"}, {11, "4"}, {12, "20"}}, "Jacobi");
}

TEST(GhiaProblem, SorMatchesThePublishedProfilesAtRe100) { compara_com_ghia({{7, "3"}, {13, "1.2"}}, "SOR"); }

TEST(ShihProblem, SecondOrderWithCentralDifferences) {
    const ErrosShih e16 = erros_shih(16, "1"), e32 = erros_shih(32, "1"), e64 = erros_shih(64, "1");
    const double p1 = std::log2(e16.perfil / e32.perfil), p2 = std::log2(e32.perfil / e64.perfil);
    const double q1 = std::log2(e16.central / e32.central), q2 = std::log2(e32.central / e64.central);
    std::printf("CDS: perfil %.3e %.3e %.3e ordens %.3f %.3f; u_central %.3e %.3e %.3e ordens %.3f %.3f\n", e16.perfil,
                e32.perfil, e64.perfil, p1, p2, e16.central, e32.central, e64.central, q1, q2);
    EXPECT_GE(p1, 1.75);
    EXPECT_GE(p2, 1.75);
    for (const double q : {q1, q2}) {
        EXPECT_GE(q, 1.9);
        EXPECT_LE(q, 2.15);
    }
}

TEST(ShihProblem, FirstOrderWithUpwindDifferences) {
    const ErrosShih e16 = erros_shih(16, "0"), e32 = erros_shih(32, "0"), e64 = erros_shih(64, "0");
    const double ordens[] = {std::log2(e16.perfil / e32.perfil), std::log2(e32.perfil / e64.perfil),
                             std::log2(e16.central / e32.central), std::log2(e32.central / e64.central)};
    std::printf("UDS: ordens do perfil %.3f %.3f, de u_central %.3f %.3f\n", ordens[0], ordens[1], ordens[2], ordens[3]);
    for (const double p : ordens) {
        EXPECT_GE(p, 0.75);
        EXPECT_LE(p, 1.2);
    }
}

}  // namespace quelna

namespace quelna {

namespace {

// The largest difference between the centre-line profiles of two converged runs.
double diferenca_de_perfis(const Convergido& a, const Convergido& b) {
    const CaseData& k = a.caso;
    double d = 0;
    for (int j = 1; j <= k.ny; ++j) {
        const int P = (j - 1) * k.nx + k.nx / 2;
        d = std::max(d, std::fabs(a.c.ue[P] - b.c.ue[P]));
    }
    for (int i = 1; i <= k.nx; ++i) {
        const int P = (k.ny / 2 - 1) * k.nx + i;
        d = std::max(d, std::fabs(a.c.vn[P] - b.c.vn[P]));
    }
    return d;
}

}  // namespace

TEST(LineSolvers, AdiAndMsiConvergeToThePointSolversProfiles) {
    const std::map<int, std::string> ghia = {{2, "64"}, {3, "64"}, {4, "0.2"}, {5, "1e-8"}, {6, "20000"},
                                             {11, "2"}, {12, "5"},  {14, "100"}, {15, "1"}};
    const std::map<int, std::string> shih = {{2, "32"}, {3, "32"}, {4, "0.2"}, {5, "1e-8"}, {6, "20000"},
                                             {11, "2"}, {12, "10"}, {14, "100"}, {15, "1"}, {18, "1"}};
    for (const auto& base : {ghia, shih}) {
        auto com = [&](const char* solver) {
            auto t = base;
            t[7] = solver;
            return converge(t);
        };
        const Convergido gs = com("2"), adi = com("4"), msi = com("5");
        ASSERT_LT(adi.e.iteracoes, 20000);
        ASSERT_LT(msi.e.iteracoes, 20000);
        const double d_adi = diferenca_de_perfis(gs, adi), d_msi = diferenca_de_perfis(gs, msi);
        std::printf("problema %d: iterações GS %d, ADI %d, MSI %d; diferença dos perfis ADI %.2e, MSI %.2e\n",
                    gs.caso.problema, gs.e.iteracoes, adi.e.iteracoes, msi.e.iteracoes, d_adi, d_msi);
        EXPECT_LT(d_adi, 1e-6);
        EXPECT_LT(d_msi, 1e-6);
    }
}

}  // namespace quelna
