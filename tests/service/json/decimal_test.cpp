#include "service/json/decimal.h"
#include "service/json/runtimeerror.h"

#include <gtest/gtest.h>

namespace kivo::json {
namespace {

int conversionError(std::string_view text) {
    try {
        Decimal::FromText(text);
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(Decimal, ConvertsTextExactly) {
    EXPECT_EQ(Decimal::FromText("-1.50").toString(), "-1.5");
    EXPECT_EQ(Decimal::FromText("-1.50").scale(), 2);
    EXPECT_EQ(Decimal::FromText("1e3").toString(), "1000");
    EXPECT_EQ(Decimal::FromText("+5").toString(), "5");
    EXPECT_EQ(Decimal::FromText(".5").toString(), "0.5");
    EXPECT_EQ(Decimal::FromText("5.").toString(), "5");
    EXPECT_EQ(Decimal::FromText("0.1").toString(), "0.1");
    EXPECT_EQ(Decimal::FromText("-0").toString(), "0");
    EXPECT_EQ(Decimal::FromText("12345678901234567890").toString(), "12345678901234567890");
    EXPECT_EQ(Decimal::FromText("-79228162514264337593543950335").toString(), "-79228162514264337593543950335");
    EXPECT_EQ(Decimal::FromText("7.9228162514264337593543950335").toString(), "7.9228162514264337593543950335");
    EXPECT_EQ(Decimal::FromText("1E-28").toString(), "0.0000000000000000000000000001");
    EXPECT_EQ(Decimal::FromText("123.456e-2").toString(), "1.23456");
    EXPECT_EQ(Decimal::FromText("0.000e5").toString(), "0");
}

TEST(Decimal, RoundsHalfToEvenBeyondTwentyEightPlaces) {
    EXPECT_EQ(Decimal::FromText("0.00000000000000000000000000015").toString(), "0.0000000000000000000000000002");
    EXPECT_EQ(Decimal::FromText("0.00000000000000000000000000025").toString(), "0.0000000000000000000000000002");
    EXPECT_EQ(Decimal::FromText("0.000000000000000000000000000251").toString(), "0.0000000000000000000000000003");
    EXPECT_EQ(Decimal::FromText("1e-29").toString(), "0");
    EXPECT_EQ(Decimal::FromText("6e-29").toString(), "0.0000000000000000000000000001");
    // Thirty significant digits do not fit 96 bits: the last one is rounded away.
    EXPECT_EQ(Decimal::FromText("1.23456789012345678901234567891").toString(), "1.2345678901234567890123456789");
}

TEST(Decimal, RejectsMalformedTextAndOverflow) {
    for (const char* bad : {"", "+", "-", "+-1", "1.2.3", "e5", ".", "1e", "1e+", "1-", "--1", "1ee2"}) {
        EXPECT_EQ(conversionError(bad), 13) << bad;
    }
    for (const char* big : {"79228162514264337593543950336", "1e29", "8e28", "1e1000000000000"}) {
        EXPECT_EQ(conversionError(big), 6) << big;
    }
    EXPECT_EQ(conversionError("1e-1000000000000"), 0);
}

TEST(Decimal, ComparesByValue) {
    EXPECT_EQ(Decimal::FromText("1.50"), Decimal::FromText("1.5"));
    EXPECT_EQ(Decimal::FromText("-0.00"), Decimal(0));
    EXPECT_EQ(Decimal::FromText("100"), Decimal::FromText("1e2"));
    EXPECT_FALSE(Decimal::FromText("-1") == Decimal(1));
    EXPECT_FALSE(Decimal::FromText("0.1") == Decimal::FromText("0.01"));
}

} // namespace
} // namespace kivo::json
