// The program's kernels against the literal loops: the same bytes, on random systems (with
// couplings across row ends) and on the systems the discretization builds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include "../apoio.hpp"
#include "discretization/equacoes.hpp"
#include "input/caso.hpp"
#include "run/execucao.hpp"
#include "platform/equipe.hpp"
#include "vetor/faixas.hpp"
#include "vetor/traducao.hpp"
#include "sistemas.hpp"
#include "solvers/solvers.hpp"

namespace quelna {

using namespace teste;

namespace {

template <typename T>
bool mesmos_bytes(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0;
}


// 514 columns put the rows of a band of MSI's substitutions on the same cache sets, and its y
// takes gaps after each row there. The inner rows leave every count from 1 to 7 after the bands of
// eight of the point solvers' wavefront, on rows shorter and longer than a band is tall.
const std::pair<int, int> tamanhos[] = {{6, 1},   {1, 5},   {2, 6},   {3, 3},   {5, 4},  {4, 9},   {17, 11},
                                        {40, 33}, {9, 70},  {514, 5}, {12, 5},  {8, 12}, {10, 15}, {30, 16},
                                        {24, 27}, {6, 19}};

// Each test runs the fast forms at two lanes and then at eight where the processor has them.
class FastKernels : public ::testing::TestWithParam<Traducao> {
protected:
    ComTraducao rapida_{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(Formas, FastKernels, ::testing::Values(Traducao::par, Traducao::oito),
                         [](const auto& p) { return p.param == Traducao::oito ? "largos" : "basicos"; });

// The same call in the plain loops.
template <typename F>
void na_literal(F&& f) {
    const ComTraducao literal(Traducao::literal);
    f();
}

}  // namespace

// On one thread, and with teams of 2 and 3 threads (more than this machine may have processors)
// taking even these grids: Gauss-Seidel's groups of bands then go through the sweeps side by side.
TEST_P(FastKernels, PointAndLineSolversGiveTheLiteralBytesOnRandomSystems) {
    unsigned semente = 100;
    for (const int membros : {1, 2, 3})
    for (const auto& [nx, ny] : tamanhos)
        for (int metodo = 1; metodo <= 5; ++metodo)
            for (const int nit : {1, 3}) {
                SistemaDeTeste s = sistema_aleatorio(nx, ny, ++semente);
                SistemaDeTeste r = s;
                Trabalho ts, tr;
                ts.reserva(metodo, s.N);
                tr.reserva(metodo, r.N);
                const Controles k{nit, 1e-3, 1.3};
                {
                    Equipe equipe(membros);
                    const ComEquipe com(&equipe, false, 1);
                    resolve(metodo, s.visto(), k, s.x.data(), ts);
                }
                na_literal([&] { resolve(metodo, r.visto(), k, r.x.data(), tr); });
                EXPECT_TRUE(mesmos_bytes(s.x, r.x))
                    << "solver " << metodo << ", " << nx << " x " << ny << ", " << membros << " threads";
                if (metodo == 5) {
                    EXPECT_EQ(std::memcmp(ts.msi_L.data(), tr.msi_L.data(), ts.msi_L.size() * sizeof(FatorL)), 0);
                    EXPECT_EQ(std::memcmp(ts.msi_U.data(), tr.msi_U.data(), ts.msi_U.size() * sizeof(FatorU)), 0);
                }
            }
}

// A matrix given as fixed is factored once: later calls with the same bytes take the kept
// factors, which are byte for byte those of a fresh factorization, and give the literal
// solution; a matrix that differs in one bit, or a grid of other counts, is factored again.
TEST_P(FastKernels, KeptFactorsOfAFixedMatrixAreThoseOfAFreshFactorization) {
    unsigned semente = 900;
    for (const auto& [nx, ny] : tamanhos) {
        SistemaDeTeste s = sistema_aleatorio(nx, ny, ++semente);
        SistemaDeTeste r = s;
        Trabalho ts, tr;
        ts.reserva(5, s.N);
        tr.reserva(5, r.N);
        Controles k{3, 1e-3, 1.0, true};
        for (int chamada = 1; chamada <= 4; ++chamada) {
            if (chamada == 3) {
                // One bit of one coefficient, in both systems.
                std::uint64_t w;
                std::memcpy(&w, &s.a[static_cast<std::size_t>(s.N / 2 + 1)].ap, 8);
                w ^= 1;
                std::memcpy(&s.a[static_cast<std::size_t>(s.N / 2 + 1)].ap, &w, 8);
                r.a = s.a;
            }
            for (int P = 1; P <= s.N; ++P) s.bp[P] = r.bp[P] = std::sin(chamada * P);
            resolve(5, s.visto(), k, s.x.data(), ts);
            na_literal([&] { resolve(5, r.visto(), k, r.x.data(), tr); });
            EXPECT_TRUE(mesmos_bytes(s.x, r.x)) << nx << " x " << ny << ", chamada " << chamada;
            // A single column's factors depend on what the arrays held before: never kept.
            if (nx == 1) {
                EXPECT_EQ(ts.msi_fixa.fatoracoes, 0);
                continue;
            }
            EXPECT_EQ(ts.msi_fixa.fatoracoes, chamada < 3 ? 1 : 2) << nx << " x " << ny << ", chamada " << chamada;
            std::vector<FatorL> L(static_cast<std::size_t>(s.N) + 1);
            std::vector<FatorU> U(L.size());
            na_literal([&] { msi_fatores(s.visto(), L.data(), U.data()); });
            EXPECT_EQ(std::memcmp(ts.msi_fixa.L.data() + 1, L.data() + 1, s.N * sizeof(FatorL)), 0);
            EXPECT_EQ(std::memcmp(ts.msi_fixa.U.data() + 1, U.data() + 1, s.N * sizeof(FatorU)), 0);
        }
    }
    // The same bytes on a grid of other counts are another matrix.
    SistemaDeTeste s = sistema_aleatorio(6, 4, 1);
    Trabalho t;
    t.reserva(5, s.N);
    const Controles k{1, 1e-3, 1.0, true};
    resolve(5, s.visto(), k, s.x.data(), t);
    s.nx = 4, s.ny = 6;
    resolve(5, s.visto(), k, s.x.data(), t);
    EXPECT_EQ(t.msi_fixa.fatoracoes, 2);
}

// Where the cycle found the partner too costly, MSI keeps its residuals on the solving thread
// (the team runs no call), with the same bytes as with the partner and as the plain loops.
TEST_P(FastKernels, MsiKeepsItsResidualsOffATeamThatHasNoPartner) {
    for (const auto& [nx, ny] : {std::pair{20, 17}, std::pair{9, 31}}) {
        const SistemaDeTeste s = sistema_aleatorio(nx, ny, 4242);
        std::vector<double> x[3];
        unsigned chamadas[2] = {};
        for (int k = 0; k < 3; ++k) {
            SistemaDeTeste r = s;
            Trabalho t;
            t.reserva(5, r.N, nx);
            const Controles c{4, 0.0, 1.0};
            if (k == 2) {
                na_literal([&] { resolve(5, r.visto(), c, r.x.data(), t); });
            } else {
                Equipe equipe(2);
                const ComEquipe com(&equipe, false, 1, k == 0);
                resolve(5, r.visto(), c, r.x.data(), t);
                chamadas[k] = equipe.chamadas();
            }
            x[k] = r.x;
        }
        EXPECT_GE(chamadas[0], 1u) << nx << " x " << ny;
        EXPECT_EQ(chamadas[1], 0u) << nx << " x " << ny;
        EXPECT_TRUE(mesmos_bytes(x[0], x[2]) && mesmos_bytes(x[1], x[2])) << nx << " x " << ny;
    }
}

// The v equation's MSI call takes the factors u's call left. In the cycle its matrix is u's byte
// for byte, so those are the factors of a fresh factorization of it; on a random system they are
// taken only where the call before factored a matrix of the same grid of two columns or more.
TEST_P(FastKernels, TheVEquationTakesTheFactorsOfUsMatrixOnlyWhereTheyAreItsOwn) {
    for (const auto& trocas : {std::map<int, std::string>{{2, "13"}, {3, "9"}, {6, "3"}, {7, "5"}},
                               std::map<int, std::string>{{2, "9"}, {3, "14"}, {6, "3"}, {7, "5"}, {15, "0"}, {18, "1"}}}) {
        PastaTemporaria pasta;
        const CaseData caso = le_caso_texto(texto_caso(trocas), arquivo_caso);
        Campos c;
        prepara_campos(caso, c);
        Trabalho t;
        {
            ArquivoTexto l("l"), i("i"), r("r");
            ciclo(caso, c, t, l, i, r);
        }
        const std::string onde = std::to_string(caso.nx) + " x " + std::to_string(caso.ny);
        const Sistema s{caso.nx, caso.ny, caso.N, c.a.data(), c.bp.data()};
        const auto n = static_cast<std::size_t>(caso.N) + 1;
        coeficientes_uv(caso, c);
        termo_fonte_u(caso, c);
        contorno_u(caso, c);
        auto u = c.u;
        resolve(5, s, Controles{.nit = 3, .tol = 1e-3}, u.data(), t);
        const std::vector<FatorL> L_u(t.msi_L.begin(), t.msi_L.begin() + static_cast<std::ptrdiff_t>(n));
        const std::vector<FatorU> U_u(t.msi_U.begin(), t.msi_U.begin() + static_cast<std::ptrdiff_t>(n));
        termo_fonte_v(caso, c);
        contorno_v(caso, c);
        std::vector<FatorL> L_v(n);
        std::vector<FatorU> U_v(n);
        na_literal([&] { msi_fatores(s, L_v.data(), U_v.data()); });
        EXPECT_EQ(std::memcmp(L_u.data() + 1, L_v.data() + 1, caso.N * sizeof(FatorL)), 0) << onde;
        EXPECT_EQ(std::memcmp(U_u.data() + 1, U_v.data() + 1, caso.N * sizeof(FatorU)), 0) << onde;
        auto v = c.v, v_literal = c.v;
        resolve(5, s, Controles{.nit = 3, .tol = 1e-3, .matriz_anterior = true}, v.data(), t);
        Trabalho tr;
        na_literal([&] { resolve(5, s, Controles{.nit = 3, .tol = 1e-3}, v_literal.data(), tr); });
        EXPECT_TRUE(mesmos_bytes(v, v_literal)) << onde;
    }
    // Said to be the call before's matrix where the factors at hand are not its own: after another
    // grid, after the arrays were reserved again, and on a single column, whose factors depend on
    // what the arrays held before. Each call against the literal loops' same sequence.
    const Controles nova{.nit = 4, .tol = 1e-4}, anterior{.nit = 4, .tol = 1e-4, .matriz_anterior = true};
    for (const auto& [nx, ny] : tamanhos) {
        if (nx == ny) continue;
        SistemaDeTeste s = sistema_aleatorio(nx, ny, 70), outra = sistema_aleatorio(ny, nx, 71), mesma = s;
        SistemaDeTeste rs = s, routra = outra, rmesma = mesma;
        Trabalho t, tr;
        t.reserva(5, s.N);
        tr.reserva(5, s.N);
        const auto os_dois = [&](SistemaDeTeste& f, SistemaDeTeste& r, const Controles& k) {
            resolve(5, f.visto(), k, f.x.data(), t);
            na_literal([&] { resolve(5, r.visto(), k, r.x.data(), tr); });
            return mesmos_bytes(f.x, r.x);
        };
        const std::string onde = std::to_string(nx) + " x " + std::to_string(ny);
        EXPECT_TRUE(os_dois(s, rs, nova)) << onde;
        t.reserva(5, s.N);
        tr.reserva(5, s.N);
        EXPECT_TRUE(os_dois(s, rs, anterior)) << onde << ", reservada de novo";
        // The same matrix again with another right-hand side: taken on two columns or more.
        for (int P = 1; P <= mesma.N; ++P) mesma.bp[P] = rmesma.bp[P] = std::sin(3.0 * P);
        EXPECT_TRUE(os_dois(mesma, rmesma, anterior)) << onde << ", a mesma matriz";
        EXPECT_TRUE(os_dois(outra, routra, anterior)) << onde << ", outra malha";
    }
}

namespace {

// MSI on a fixed matrix, three calls with other right-hand sides, against the literal loops; the
// rows and factors found to repeat are checked volume by volume against those kept.
Repeticoes msi_fixa_como_a_literal(SistemaDeTeste s, const std::string& onde) {
    SistemaDeTeste r = s;
    Trabalho ts, tr;
    ts.reserva(5, s.N);
    tr.reserva(5, r.N);
    for (int chamada = 1; chamada <= 3; ++chamada) {
        for (int P = 1; P <= s.N; ++P) s.bp[P] = r.bp[P] = std::cos(chamada * P);
        const Controles k{chamada == 2 ? 3 : 8, chamada == 2 ? 0.0 : 1e-3, 1.0, true};
        resolve(5, s.visto(), k, s.x.data(), ts);
        na_literal([&] { resolve(5, r.visto(), k, r.x.data(), tr); });
        EXPECT_TRUE(mesmos_bytes(s.x, r.x)) << onde << ", chamada " << chamada;
    }
    const Repeticoes& g = ts.msi_fixa.iguais;
    const auto confere = [&](const auto& iguais, const auto& v) {
        for (int j = iguais.j0; j <= iguais.j1; ++j)
            for (int i = iguais.i0; i <= iguais.i1; ++i)
                EXPECT_EQ(std::memcmp(&v[static_cast<std::size_t>((j - 1) * s.nx + i)], &iguais.valor,
                                      sizeof iguais.valor), 0)
                    << onde << ", volume " << i << ", " << j;
    };
    confere(g.a, s.a);
    confere(g.L, ts.msi_fixa.L);
    confere(g.U, ts.msi_fixa.U);
    return g;
}

}  // namespace

// A fixed matrix whose rows are one row away from the walls, as a uniform grid's pressure
// correction has: its residual takes that row from registers where every volume has it, and the
// solution is the literal one. One bit of one row on the centre row cuts the run there; one off
// the centre row and column takes its row or its column out of the rectangle.
TEST_P(FastKernels, FixedMatrixWithRowsAllAlikeGivesTheLiteralBytes) {
    unsigned semente = 1300;
    for (const auto& [nx, ny] : {std::pair{11, 7}, {21, 13}, {40, 9}, {130, 17}, {9, 70}})
        for (const int caso : {0, 1, 2}) {
            SistemaDeTeste s = sistema_aleatorio(nx, ny, ++semente);
            const Linha comum{-0.75, -0.5, 3.25, -0.625, -0.875};
            for (int j = 2; j <= ny - 1; ++j)
                for (int i = 2; i <= nx - 1; ++i) s.a[static_cast<std::size_t>((j - 1) * nx + i)] = comum;
            const auto um_bit = [&](int i, int j) {
                std::uint64_t w;
                double& ap = s.a[static_cast<std::size_t>((j - 1) * nx + i)].ap;
                std::memcpy(&w, &ap, 8);
                w ^= 1;
                std::memcpy(&ap, &w, 8);
            };
            if (caso == 1) um_bit(nx - 2, (ny + 1) / 2);
            if (caso == 2) um_bit(2, 2);
            const std::string onde = std::to_string(nx) + " x " + std::to_string(ny) + ", caso " + std::to_string(caso);
            const Iguais<Linha> g = msi_fixa_como_a_literal(s, onde).a;
            EXPECT_EQ(std::memcmp(&g.valor, &comum, sizeof comum), 0);
            EXPECT_EQ(g.i1, caso == 1 ? nx - 3 : nx - 1) << onde;
            EXPECT_EQ(g.j1, ny - 1) << onde;
            if (caso == 2) {
                // Without column 2 or without row 2, whichever leaves more.
                const bool sem_coluna = (nx - 3) * (ny - 2) >= (nx - 2) * (ny - 3);
                EXPECT_EQ(g.i0, sem_coluna ? 3 : 2) << onde;
                EXPECT_EQ(g.j0, sem_coluna ? 2 : 3) << onde;
            } else {
                EXPECT_EQ(g.i0, 2);
                EXPECT_EQ(g.j0, 2);
            }
        }
}

// The pressure correction of a uniform grid, wider than tall and taller than wide: its factors
// settle to one value some dozens of volumes from the west and south walls, and the substitutions
// take them from registers there; at 512 volumes a row MSI's y also takes its gaps.
TEST_P(FastKernels, PressureCorrectionWithRepeatedFactorsGivesTheLiteralBytes) {
    for (const auto& [nx, ny] : {std::pair{"96", "72"}, {"72", "96"}, {"512", "96"}}) {
        PastaTemporaria pasta;
        const CaseData caso = le_caso_texto(texto_caso({{2, nx}, {3, ny}, {7, "5"}}), arquivo_caso);
        Campos c;
        prepara_campos(caso, c);
        coeficientes_plinha(caso, c);
        contorno_plinha(caso, c);
        SistemaDeTeste s = sistema_vazio(caso.nx, caso.ny);
        s.a = c.a;
        const std::string onde = std::string(nx) + " x " + ny;
        const Repeticoes g = msi_fixa_como_a_literal(s, onde);
        EXPECT_FALSE(g.a.vazio()) << onde;
        EXPECT_FALSE(g.L.vazio()) << onde;
        EXPECT_FALSE(g.U.vazio()) << onde;
        // Far enough from the walls for a band of rows to take them for many steps.
        EXPECT_GE((g.L.i1 - g.L.i0 + 1) * (g.L.j1 - g.L.j0 + 1), caso.N / 8) << onde;
        EXPECT_GE((g.U.i1 - g.U.i0 + 1) * (g.U.j1 - g.U.j0 + 1), caso.N / 8) << onde;
    }
}

// MSI's stop test when the residual's norm lies within rounding of the limit: a tolerance set
// from the norm after one correction puts the limit there, where only the sum in numbering order
// can decide; the fast form gives the literal bytes either way the test falls, on one thread and
// with the later residuals computed by a second member of a team of 2 or 3.
TEST_P(FastKernels, MsiStopsAsTheLiteralLoopsWhereTheNormMeetsTheLimit) {
    const auto norma = [](const SistemaDeTeste& s) {
        double soma = 0.0;
        for (int P = 1; P <= s.N; ++P) {
            double ax = s.a[P].ap * s.x[P];
            if (P - s.nx >= 1) ax += s.a[P].as * s.x[P - s.nx];
            if (P - 1 >= 1) ax += s.a[P].aw * s.x[P - 1];
            if (P + 1 <= s.N) ax += s.a[P].ae * s.x[P + 1];
            if (P + s.nx <= s.N) ax += s.a[P].an * s.x[P + s.nx];
            soma += (s.bp[P] - ax) * (s.bp[P] - ax);
        }
        return std::sqrt(soma);
    };
    for (const int membros : {1, 2, 3}) {
    Equipe equipe(membros);
    unsigned semente = 700;
    for (const auto& [nx, ny] : tamanhos) {
        const SistemaDeTeste s = sistema_aleatorio(nx, ny, ++semente);
        SistemaDeTeste uma = s;
        Trabalho t0;
        t0.reserva(5, s.N);
        na_literal([&] { resolve(5, uma.visto(), Controles{1, 0.0, 1.0}, uma.x.data(), t0); });
        const double proporcao = norma(uma) / norma(s);
        for (const double tol : {proporcao, std::nextafter(proporcao, 0.0), std::nextafter(proporcao, 1e300)}) {
            SistemaDeTeste r = s, l = s;
            Trabalho tr, tl;
            tr.reserva(5, s.N);
            tl.reserva(5, s.N);
            {
                const ComEquipe com(&equipe, false, 1);
                resolve(5, r.visto(), Controles{4, tol, 1.0}, r.x.data(), tr);
            }
            na_literal([&] { resolve(5, l.visto(), Controles{4, tol, 1.0}, l.x.data(), tl); });
            EXPECT_TRUE(mesmos_bytes(r.x, l.x)) << nx << " x " << ny << ", tol " << tol << ", " << membros << " threads";
        }
    }
    }
}

// From 2^17 volumes on, the forward substitution's bands ask for the next band's residual inputs
// as they go: their bytes are those of the literal loops too, with and without couplings across
// row ends (the bands done again in the plain order), over several corrections.
TEST_P(FastKernels, MsiOnAGridThatOutgrowsTheCachesGivesTheLiteralBytes) {
    constexpr int nx = 514, ny = 258;
    static_assert(nx * ny >= 1 << 17);
    unsigned semente = 2100;
    for (const bool pelas_pontas : {false, true}) {
        SistemaDeTeste s = sistema_aleatorio(nx, ny, ++semente);
        for (int P = 1; P <= s.N && !pelas_pontas; ++P) {
            Linha& r = s.a[static_cast<std::size_t>(P)];
            if ((P - 1) % nx == 0) r.aw = 0.0;
            if (P % nx == 0) r.ae = 0.0;
            r.ap = 0.5 - (r.as + r.aw + r.ae + r.an);
        }
        SistemaDeTeste l = s;
        Trabalho tr, tl;
        tr.reserva(5, s.N, nx);
        tl.reserva(5, s.N);
        const Controles k{4, 0.0, 1.0};
        na_literal([&] { resolve(5, l.visto(), k, l.x.data(), tl); });
        // On one thread, and with the later residuals on a second member of a team.
        for (const int membros : {1, 2}) {
            SistemaDeTeste r = s;
            Equipe equipe(membros);
            const ComEquipe com(&equipe);
            resolve(5, r.visto(), k, r.x.data(), tr);
            EXPECT_TRUE(mesmos_bytes(r.x, l.x))
                << (pelas_pontas ? "with" : "without") << " couplings across row ends, " << membros << " threads";
        }
    }
}

// MSI's bands on systems without couplings across row ends, as the discretization builds them, so
// that no band falls back to the plain order: for every count of rows left after the forward
// substitution's bands of 8 and the backward one's of 6, with rows wide enough for the bands'
// vector steps, the corrections and their residuals moving through windows of a few rows give
// the literal bytes, stopping on the count or on the tolerance, called twice on one workspace.
// 514 columns give y its gaps after each row.
TEST_P(FastKernels, MsiBandsGiveTheLiteralBytesForEveryCountOfRowsLeft) {
    // On one thread, and with the later residuals on the second member of a team of 3.
    for (const int membros : {1, 3}) {
    Equipe equipe(membros);
    unsigned semente = 1300;
    // With the east couplings across row ends kept (and the west ones not), no band falls back
    // either, and the south-east neighbour of a row's last volume, its own row's first, counts.
    for (const bool leste : {false, true})
    for (const int nx : {3, 16, 21, 514})
        for (int ny = 1; ny <= 24; ++ny) {
            SistemaDeTeste s = sistema_aleatorio(nx, ny, ++semente);
            for (int P = 1; P <= s.N; ++P) {
                Linha& r = s.a[static_cast<std::size_t>(P)];
                if ((P - 1) % nx == 0) r.aw = 0.0;
                if (P % nx == 0 && !leste) r.ae = 0.0;
                r.ap = 0.5 - (r.as + r.aw + r.ae + r.an);
            }
            for (const bool fixa : {false, true})
                for (const double tol : {0.0, 0.3}) {
                    SistemaDeTeste r = s, l = s;
                    Trabalho tr, tl;
                    tr.reserva(5, s.N, nx);
                    tl.reserva(5, s.N);
                    const Controles k{6, tol, 1.0, fixa};
                    for (int chamada = 1; chamada <= 2; ++chamada) {
                        // An entry of the work arrays read before it is written (the gaps after
                        // the rows of y included) spreads as NaN, even where a zero multiplies it;
                        // with the east couplings, a wrong entry read is a finite wrong value.
                        for (int v = 0; v < 4 && !leste; ++v) {
                            const std::size_t tamanho =
                                v == 1 ? tamanho_de_y(nx, ny) : static_cast<std::size_t>(s.N) + 1;
                            double* w = tr.vetor(v, tamanho);
                            std::fill(w, w + tamanho, std::numeric_limits<double>::quiet_NaN());
                        }
                        {
                            const ComEquipe com(&equipe, false, 1);
                            resolve(5, r.visto(), k, r.x.data(), tr);
                        }
                        na_literal([&] { resolve(5, l.visto(), k, l.x.data(), tl); });
                        EXPECT_TRUE(mesmos_bytes(r.x, l.x))
                            << nx << " x " << ny << (fixa ? ", fixed" : "") << (leste ? ", east" : "") << ", tol "
                            << tol << ", call " << chamada << ", " << membros << " threads";
                    }
                }
        }
    }
}

// The forward substitution's bands shared by two members of a team as a pipeline, each band
// some steps behind the one below: on teams of 1, 2 and 3 threads, the literal bytes, with the
// couplings across row ends that send the bands back to the plain order and without them, the
// y left by the call before being NaN.
TEST_P(FastKernels, ForwardSubstitutionSharedByTwoMembersGivesTheLiteralBytes) {
    unsigned semente = 2600;
    for (const int membros : {1, 2, 3}) {
        Equipe equipe(membros);
        for (const bool pelas_pontas : {false, true})
            for (const auto& [nx, ny] : {std::pair{64, 18}, {65, 33}, {100, 26}, {130, 61}, {514, 19}, {70, 9}}) {
                SistemaDeTeste s = sistema_aleatorio(nx, ny, ++semente);
                for (int P = 1; P <= s.N && !pelas_pontas; ++P) {
                    Linha& r = s.a[static_cast<std::size_t>(P)];
                    if ((P - 1) % nx == 0) r.aw = 0.0;
                    if (P % nx == 0) r.ae = 0.0;
                }
                const auto n = static_cast<std::size_t>(s.N) + 1;
                std::vector<FatorL> L(n);
                std::vector<FatorU> U(n);
                na_literal([&] { msi_fatores(s.visto(), L.data(), U.data()); });
                std::vector<double> y(n, std::numeric_limits<double>::quiet_NaN()), yl(y);
                {
                    const ComEquipe com(&equipe, false, 1);
                    msi_avanco(nx, ny, s.N, L.data(), s.bp.data(), y.data());
                }
                na_literal([&] { msi_avanco(nx, ny, s.N, L.data(), s.bp.data(), yl.data()); });
                EXPECT_TRUE(mesmos_bytes(y, yl)) << nx << " x " << ny << (pelas_pontas ? ", across row ends" : "")
                                                 << ", " << membros << " threads";
            }
    }
}

// On one thread, and with the residuals taken by rows on teams of 2 and 3 threads.
TEST_P(FastKernels, TheNormGivesTheLiteralSum) {
    for (const int membros : {1, 2, 3}) {
        unsigned semente = 500;
        for (const auto& [nx, ny] : tamanhos) {
            const SistemaDeTeste s = sistema_aleatorio(nx, ny, ++semente);
            double r = 0.25, q = 0.25;
            {
                Equipe equipe(membros);
                const ComEquipe com(&equipe, false, 1);
                norma(nx, ny, s.N, s.a.data(), s.bp.data(), s.x.data(), r);
            }
            literal::norma(nx, ny, s.N, s.a.data(), s.bp.data(), s.x.data(), q);
            EXPECT_EQ(std::memcmp(&r, &q, sizeof r), 0) << nx << " x " << ny << ", " << membros << " threads";
        }
    }
}

// The fields after a few outer iterations of a case with each solver, with the program's
// kernels and with the literal ones: every system the discretization builds passes through both.
TEST_P(FastKernels, WholeOuterIterationsGiveTheLiteralFields) {
    const std::map<int, std::string> casos[] = {
        {{2, "20"}, {3, "17"}, {6, "25"}},
        {{2, "24"}, {3, "24"}, {6, "15"}, {18, "1"}, {19, "1"}},
        {{2, "7"}, {3, "30"}, {6, "20"}, {8, "3"}, {15, "0"}},
        {{2, "1"}, {3, "1"}, {6, "10"}},
    };
    // On one thread, and with the loops of even these grids shared by teams of 2 and 3 threads
    // (more threads than this machine may have processors).
    for (const int membros : {1, 2, 3})
    for (const auto& base : casos)
        for (int metodo = 1; metodo <= 5; ++metodo) {
            PastaTemporaria pasta;
            auto trocas = base;
            trocas[7] = std::to_string(metodo);
            const CaseData caso = le_caso_texto(texto_caso(trocas), arquivo_caso);
            Campos rapido, literal;
            prepara_campos(caso, rapido);
            prepara_campos(caso, literal);
            ArquivoTexto l1("l1"), i1("i1"), r1("r1"), l2("l2"), i2("i2"), r2("r2");
            Trabalho t1, t2;
            {
                Equipe equipe(membros);
                const ComEquipe com(&equipe, false, 1);
                ciclo(caso, rapido, t1, l1, i1, r1);
            }
            na_literal([&] { ciclo(caso, literal, t2, l2, i2, r2); });
            for (auto* f : {&l1, &i1, &r1, &l2, &i2, &r2}) f->fecha();
            const std::string onde = "solver " + std::to_string(metodo) + ", " + std::to_string(caso.nx) + " x " +
                                     std::to_string(caso.ny) + ", " + std::to_string(membros) + " threads";
            EXPECT_EQ(le_arquivo("l1"), le_arquivo("l2")) << onde;
            EXPECT_EQ(le_arquivo("i1"), le_arquivo("i2")) << onde;
            for (const auto& [a, b] : {std::pair{&rapido.u, &literal.u}, {&rapido.v, &literal.v},
                                       {&rapido.p, &literal.p}, {&rapido.plinha, &literal.plinha},
                                       {&rapido.ue, &literal.ue}, {&rapido.vn, &literal.vn}, {&rapido.bp, &literal.bp}})
                EXPECT_TRUE(mesmos_bytes(*a, *b)) << onde;
        }
}

}  // namespace quelna

namespace quelna {

using namespace teste;

// The assembly and correction routines against their literal loops, on fields of mixed signs,
// on one thread and with their rows shared by 2 and 3 threads.
TEST_P(FastKernels, AssemblyAndCorrectionsGiveTheLiteralBytes) {
    PastaTemporaria pasta;
    const CaseData caso = le_caso_texto(texto_caso({{2, "13"}, {3, "9"}, {18, "1"}}), arquivo_caso);
    Campos base;
    prepara_campos(caso, base);
    std::mt19937 g(77);
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    for (Campo* f : {&base.u, &base.v, &base.p, &base.plinha, &base.ue, &base.vn, &base.u0, &base.v0, &base.ue0,
                     &base.vn0, &base.dc_u, &base.dc_v})
        for (auto& x : *f) x = d(g);
    base.ue[20] = 0.0;
    base.vn[21] = -0.0;
    using Rotina = void (*)(const CaseData&, Campos&);
    const std::pair<Rotina, Rotina> pares[] = {
        {&coeficientes_uv, &literal::coeficientes_uv},       {&termo_fonte_u, &literal::termo_fonte_u},
        {&termo_fonte_v, &literal::termo_fonte_v},           {&velocidades_face, &literal::velocidades_face},
        {&coeficientes_plinha, &literal::coeficientes_plinha},
        // The corrections have one loop each: on one thread it is their literal form.
        {&corrige_uv, [](const CaseData& k, Campos& c) { na_literal([&] { corrige_uv(k, c); }); }},
        {&corrige_face, [](const CaseData& k, Campos& c) { na_literal([&] { corrige_face(k, c); }); }},
        {&corrige_p, [](const CaseData& k, Campos& c) { na_literal([&] { corrige_p(k, c); }); }},
    };
    int k = 0;
    for (const int membros : {1, 2, 3})
    for (const auto& [programa, plana] : pares) {
        Campos a = base, b = base;
        Equipe equipe(membros);
        {
            const ComEquipe com(&equipe, false, 1);
            coeficientes_uv(caso, a);  // velocidades_face reads the momentum rows
            programa(caso, a);
        }
        coeficientes_uv(caso, b);
        plana(caso, b);
        ++k;
        EXPECT_EQ(std::memcmp(a.a.data(), b.a.data(), a.a.size() * sizeof(Linha)), 0) << k;
        for (const auto& [x, y] : {std::pair{&a.bp, &b.bp}, {&a.dc_u, &b.dc_u}, {&a.dc_v, &b.dc_v}, {&a.ue, &b.ue},
                                   {&a.vn, &b.vn}, {&a.u, &b.u}, {&a.v, &b.v}})
            EXPECT_TRUE(mesmos_bytes(*x, *y)) << k;
    }
}

}  // namespace quelna
