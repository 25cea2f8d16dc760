// The trial of the ways to use the run's threads: which iterations try which way, and which way
// the others take, from timings given by hand.
#include "run/prova_da_equipe.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace quelna {
namespace {

constexpr Arranjo A = Arranjo::equipe, B = Arranjo::equipe_sem_parceiro, C = Arranjo::um_thread;

std::string letras(const ProvaDaEquipe& p, int de, int ate) {
    std::string s;
    for (int it = de; it <= ate; ++it) s += p.arranjo(it) == A ? 'A' : p.arranjo(it) == B ? 'B' : 'C';
    return s;
}

// Runs the iterations de..ate, each taking the time given for its way.
void mede(ProvaDaEquipe& p, int de, int ate, const std::map<Arranjo, double>& tempo) {
    for (int it = de; it <= ate; ++it) p.mede(it, tempo.at(p.arranjo(it)));
}

}  // namespace

TEST(TeamTrial, EachWayTriedRunsEightIterationsForwardsAndBackwardsEvery256) {
    Equipe e(2);
    ProvaDaEquipe tres(&e, true, true, true);
    EXPECT_EQ(letras(tres, 1, 1), "A");  // before any trial: the whole team
    EXPECT_EQ(letras(tres, 2, 25), "ABCCBAABCCBAABCCBAABCCBA");
    mede(tres, 1, 25, {{A, 1.0}, {B, 1.0}, {C, 1.0}});
    EXPECT_EQ(letras(tres, 26, 257), std::string(232, 'C'));  // no way gained: one thread
    EXPECT_EQ(letras(tres, 258, 281), letras(tres, 2, 25));

    // A team the user asked for is not tried against one thread; a solver without a partner has
    // no way without one.
    ProvaDaEquipe pedida(&e, false, true, true), sem_parceiro(&e, true, false, true);
    EXPECT_EQ(letras(pedida, 2, 17), "ABBAABBAABBAABBA");
    EXPECT_EQ(letras(sem_parceiro, 2, 17), "ACCAACCAACCAACCA");
    EXPECT_EQ(letras(sem_parceiro, 18, 20), "AAA");

    // Nothing to try: a team the user asked for with a solver without partner, one member, or a
    // grid whose loops are too small to share.
    Equipe um(1);
    for (const ProvaDaEquipe& p :
         {ProvaDaEquipe(&e, false, false, true), ProvaDaEquipe(&um, true, true, true), ProvaDaEquipe(&e, true, true, false),
          ProvaDaEquipe(nullptr, true, true, true)})
        EXPECT_EQ(letras(p, 1, 300), std::string(300, 'A'));
}

TEST(TeamTrial, AMoreSharedWayIsTakenOnlyWhereItTookFivePerCentLess) {
    Equipe e(2);
    const struct {
        double a, b, c;
        Arranjo escolhido;
    } casos[] = {
        {1.25, 1.05, 1.00, C},  // cores far apart: every shared way loses
        {0.90, 0.96, 1.00, A},  // the team gains, and the partner too
        {0.90, 0.80, 1.00, B},  // the team gains, the partner costs
        {0.93, 0.90, 1.00, B},  // the partner 7 % under one thread, but not 5 % under the way without it
        {0.86, 0.90, 1.00, B},
        {0.85, 0.90, 1.00, A},
    };
    for (const auto& k : casos) {
        ProvaDaEquipe p(&e, true, true, true);
        mede(p, 1, 25, {{A, k.a}, {B, k.b}, {C, k.c}});
        EXPECT_EQ(p.escolhido(), k.escolhido) << k.a << " " << k.b << " " << k.c;
        EXPECT_EQ(p.arranjo(100), k.escolhido);
    }

    // Each trial decides afresh, from its own timings alone.
    ProvaDaEquipe p(&e, true, true, true);
    mede(p, 1, 257, {{A, 0.5}, {B, 1.0}, {C, 1.0}});
    EXPECT_EQ(p.arranjo(257), A);
    mede(p, 258, 281, {{A, 2.0}, {B, 0.5}, {C, 1.0}});
    EXPECT_EQ(p.arranjo(282), B);

    // What each way hands to the loops.
    const Escolha a = p.para(282);
    EXPECT_EQ(a.equipe, &e);
    EXPECT_FALSE(a.parceiro);
    mede(p, 514, 537, {{A, 1.0}, {B, 1.0}, {C, 0.5}});
    EXPECT_EQ(p.para(538).equipe, nullptr);
    mede(p, 770, 793, {{A, 0.1}, {B, 1.0}, {C, 1.0}});
    EXPECT_EQ(p.para(794).equipe, &e);
    EXPECT_TRUE(p.para(794).parceiro);
}

}  // namespace quelna
