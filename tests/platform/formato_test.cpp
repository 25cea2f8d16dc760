#include "platform/formato.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quelna {

TEST(NumberLayouts, ScientificFieldsOfTheListing) {
    EXPECT_EQ(real_medio(0.001), "       1.000000000E-03");
    EXPECT_EQ(real_medio(-1.5), "      -1.500000000E+00");
    EXPECT_EQ(real_curto(0.25), "   2.500000E-01");
    EXPECT_EQ(real_longo(0.25), "   2.500000000000000E-01");
    EXPECT_EQ(real_curto(-0.0123), "  -1.230000E-02");
    EXPECT_EQ(real_curto(0.0), "   0.000000E+00");
    EXPECT_EQ(real_curto(1.0), "   1.000000E+00");
    // Rounding to the last printed digit, not truncation.
    EXPECT_EQ(real_curto(2.0 / 3.0), "   6.666667E-01");
    // An exponent of three digits widens the number inside the field, never the field.
    EXPECT_EQ(real_curto(-1e-300), " -1.000000E-300");
    EXPECT_EQ(real_longo(1e200).size(), 24u);
}

TEST(NumberLayouts, NonFiniteValuesAreReadableAndRightAligned) {
    EXPECT_EQ(real_curto(std::numeric_limits<double>::quiet_NaN()), std::string(12, ' ') + "NaN");
    EXPECT_EQ(real_curto(std::numeric_limits<double>::infinity()), std::string(7, ' ') + "Infinity");
    EXPECT_EQ(real_longo(-std::numeric_limits<double>::infinity()), std::string(15, ' ') + "-Infinity");
}

TEST(NumberLayouts, IntegersAndFixedPoint) {
    EXPECT_EQ(inteiro(40, 8), "      40");
    EXPECT_EQ(inteiro(-3, 3), " -3");
    EXPECT_EQ(inteiro(123456789, 8), "123456789");
    EXPECT_EQ(fixo(0.614, 14, 2), "          0.61");
    EXPECT_EQ(fixo(1234.5678, 14, 2), "       1234.57");
}

TEST(Texts, CutPadTrimAndColumns) {
    EXPECT_EQ(ajusta("cav", 5), "cav  ");
    EXPECT_EQ(ajusta("cavidade", 3), "cav");
    EXPECT_EQ(sem_brancos_finais("  cav  "), "  cav");
    EXPECT_EQ(sem_brancos("  cav  "), "cav");
    EXPECT_EQ(sem_brancos("    "), "");
    std::string l;
    na_coluna(l, 3, "ab");
    na_coluna(l, 8, "c");
    EXPECT_EQ(l, "  ab   c");
}

TEST(Texts, Latin1Conversion) {
    EXPECT_EQ(latin1("título é ç ã"), "t\xEDtulo \xE9 \xE7 \xE3");
    // Latin-1 bytes already converted pass unchanged.
    EXPECT_EQ(latin1("t\xEDtulo"), "t\xEDtulo");
    EXPECT_EQ(utf8_de_latin1("\xE9x"), "éx");
    EXPECT_TRUE(e_utf8_multibyte("ação"));
    EXPECT_FALSE(e_utf8_multibyte("acao"));
    EXPECT_FALSE(e_utf8_multibyte("a\xE7\xE3o"));
    EXPECT_FALSE(e_utf8_multibyte("fim\xC3"));
}

}  // namespace quelna
