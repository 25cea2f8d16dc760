// The team of threads: each member runs once per call and what it wrote is seen when the call
// returns, members asleep after a long pause are woken, and teams start and end cleanly with
// more threads than processors.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/equipe.hpp"

namespace quelna {

TEST(Team, EachMemberRunsOncePerCallAndItsWritesAreSeenByTheCaller) {
    for (const int m : {1, 2, 3, 5}) {
        Equipe e(m);
        ASSERT_EQ(e.membros(), m);
        // Plain integers: only the team's hand-over orders the members' writes before the reads.
        std::vector<long> soma(m, 0), chamadas(m, 0);
        long conferidas = 0;
        for (int k = 1; k <= 5000; ++k) {
            e.executa([&](int q) {
                soma[q] += q + 1;
                ++chamadas[q];
            });
            bool certo = true;
            for (int q = 0; q < m; ++q) certo = certo && chamadas[q] == k;
            conferidas += certo;
        }
        EXPECT_EQ(conferidas, 5000) << m;
        for (int q = 0; q < m; ++q) EXPECT_EQ(soma[q], 5000L * (q + 1)) << m << " " << q;
    }
    EXPECT_EQ(Equipe(0).membros(), 1);
}

TEST(Team, MembersAsleepAfterALongPauseAreWokenAndTeamsEndCleanly) {
    Equipe e(3);
    std::vector<int> v(3, 0);
    for (int r = 1; r <= 3; ++r) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // long enough for the members to sleep
        e.executa([&](int q) { ++v[q]; });
        EXPECT_EQ(v, std::vector<int>(3, r));
    }
    // Started and ended at once, or after one call: no member is left waiting.
    for (int k = 0; k < 200; ++k) {
        Equipe f(3);
        int n = 0;
        if (k % 2 == 1) f.executa([&](int q) { if (q == 0) ++n; });
        EXPECT_EQ(n, k % 2);
    }
}

}  // namespace quelna
