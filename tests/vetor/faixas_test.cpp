// The rows of a split loop: each row once, in contiguous bands one per member, and the loop on
// the calling thread alone where it is small, there is no team, or the rendering is literal.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "vetor/faixas.hpp"

namespace quelna {

namespace {

struct Faixa {
    int ja, jb;
    std::thread::id quem;
};

std::vector<Faixa> faixas_de(int j0, int j1, int nx) {
    std::vector<Faixa> f(8, Faixa{0, -1, {}});
    por_linhas(j0, j1, nx, [&](int ja, int jb) {
        // Each call writes its own slot: the band's first row tells it, and empty bands write none.
        if (ja > jb) return;
        f[static_cast<std::size_t>(ja - j0)] = Faixa{ja, jb, std::this_thread::get_id()};
    });
    std::vector<Faixa> r;
    for (const Faixa& x : f)
        if (x.jb >= x.ja) r.push_back(x);
    return r;
}

}  // namespace

TEST(SplitRows, EachRowOnceInContiguousBandsOnePerMember) {
    Equipe e(3);
    const ComEquipe com(&e, false, 1);
    // 2..7: six rows in bands of two, on three threads.
    const auto f = faixas_de(2, 7, 5);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[0].ja, 2);
    for (std::size_t k = 0; k < f.size(); ++k) {
        EXPECT_EQ(f[k].jb - f[k].ja, 1);
        if (k > 0) {
            EXPECT_EQ(f[k].ja, f[k - 1].jb + 1);
        }
    }
    EXPECT_EQ(f[2].jb, 7);
    EXPECT_EQ(f[0].quem, std::this_thread::get_id());
    EXPECT_NE(f[1].quem, f[0].quem);
    EXPECT_NE(f[2].quem, f[1].quem);
    // Fewer rows than members: the rows still go once each.
    const auto g = faixas_de(2, 3, 5);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[0].ja, 2);
    EXPECT_EQ(g[0].jb, 2);
    EXPECT_EQ(g[1].ja, 3);
    EXPECT_EQ(g[1].jb, 3);
}

TEST(SplitRows, ASmallLoopNoTeamOrTheLiteralRenderingStayOnTheCaller) {
    Equipe e(2);
    const auto inteiro_aqui = [](const std::vector<Faixa>& f, int j0, int j1) {
        return f.size() == 1 && f[0].ja == j0 && f[0].jb == j1 && f[0].quem == std::this_thread::get_id();
    };
    {
        const ComEquipe com(&e);  // 6 rows of 100 volumes: under the size worth sharing
        EXPECT_TRUE(inteiro_aqui(faixas_de(2, 7, 100), 2, 7));
        EXPECT_EQ(faixas_de(2, 7, 100000).size(), 2u);
    }
    EXPECT_TRUE(inteiro_aqui(faixas_de(2, 7, 100000), 2, 7));  // no team
    const ComEquipe com(&e, false, 1);
    const ComTraducao literal(Traducao::literal);
    EXPECT_TRUE(inteiro_aqui(faixas_de(2, 7, 100000), 2, 7));
}

}  // namespace quelna
