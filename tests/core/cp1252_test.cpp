#include "core/cp1252.h"

#include <gtest/gtest.h>

using namespace quendal;

TEST(Cp1252, RoundTripsEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(cp1252::fromUtf8(cp1252::toUtf8(all)), all);
}

TEST(Cp1252, MapsGermanLettersAndTheEuro) {
    EXPECT_EQ(cp1252::fromUtf8("Grün €"), std::string("Gr\xFCn \x80"));
    EXPECT_EQ(cp1252::toUtf8("Gr\xFCn \x80"), "Grün €");
}

TEST(Cp1252, ReplacesWhatItCannotHoldAndKeepsTheRest) {
    EXPECT_FALSE(cp1252::representable("Zoë 日本"));
    EXPECT_EQ(cp1252::fromUtf8("Zoë 日本"), std::string("Zo\xEB ??"));
    EXPECT_EQ(cp1252::fromUtf8(std::string("a\xFF" "b")), "a?b"); // invalid UTF-8
}

TEST(Cp1252, CountsAndCutsCharactersNotBytes) {
    EXPECT_EQ(cp1252::length("Grün"), 4u);
    EXPECT_EQ(cp1252::left("Grün und Rot", 3), "Grü");
    EXPECT_EQ(cp1252::left("ab", 10), "ab");
}
