// Reading values out of hand-edited lines: numbers, blanks, letter case, UTF-8 lengths.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <optional>
#include <string>

#include "core/base/text_scan.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

// The number a hand-edited line begins with: scores may carry an exponent, settings not;
// what is no number reads as none, and no line can make a value that breaks an order.
TEST(TextScan, LeadingNumbersAsTablesAndSettingsReadThem) {
    constexpr double kMax = std::numeric_limits<double>::max();
    const struct {
        std::string line;
        std::optional<double> withExponent, decimal;
    } cases[] = {
        {" \t-7abc", -7, -7},
        {"+.5", 0.5, 0.5},
        {"12.", 12, 12},
        {"1.5e3 points", 1500, 1.5},
        {"2E-1", 0.2, 2},
        {"2e", 2, 2},
        {"3e+", 3, 3},
        {"1e400", kMax, 1},
        {"-1e400", std::numeric_limits<double>::lowest(), -1},
        {std::string(400, '9'), kMax, kMax},
        {"", std::nullopt, std::nullopt},
        {"   ", std::nullopt, std::nullopt},
        {".", std::nullopt, std::nullopt},
        {"-", std::nullopt, std::nullopt},
        {"+-5", std::nullopt, std::nullopt},
        {"inf", std::nullopt, std::nullopt},
        {"nan", std::nullopt, std::nullopt},
        {"x1", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LeadingNumber(c.line, NumberForm::WithExponent), c.withExponent) << c.line;
        EXPECT_EQ(LeadingNumber(c.line, NumberForm::Decimal), c.decimal) << c.line;
    }
    EXPECT_FALSE(std::signbit(*LeadingNumber("-0", NumberForm::WithExponent)));  // no "-0"
    EXPECT_FALSE(std::signbit(*LeadingNumber("-0.0", NumberForm::Decimal)));

    // Whole numbers round halves to even, and read no exponent.
    EXPECT_EQ(LeadingWholeNumber("2.5"), 2);
    EXPECT_EQ(LeadingWholeNumber("3.5"), 4);
    EXPECT_EQ(LeadingWholeNumber("-2.5"), -2);
    EXPECT_EQ(LeadingWholeNumber(" 9.9e2"), 10);
    EXPECT_EQ(LeadingWholeNumber("e2"), std::nullopt);
}

// The window toolkit sets the program's locale from the desktop's, where the decimal point
// may be a comma; the files always have a point.
TEST(TextScan, NumbersReadTheSameWhereTheDecimalPointIsAComma) {
    const testing::TempFolder dir;
    std::ofstream(dir.File("comma")) << "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\n"
                                        "grouping 3;3\nEND LC_NUMERIC\n";
    // The other categories are left out on purpose: localedef warns and still writes it.
    const std::string make = "localedef -c -i " + dir.File("comma") + " -f UTF-8 " +
                             dir.File("comma.UTF-8") + " 2>/dev/null";
    [[maybe_unused]] const int made = std::system(make.c_str());
    setenv("LOCPATH", dir.path.c_str(), 1);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "comma.UTF-8"), nullptr) << "localedef made no locale";
    ASSERT_EQ(std::strtod("1.5", nullptr), 1.0);  // the locale really reads a comma
    const std::optional<double> score = LeadingNumber("12.5e1", NumberForm::WithExponent);
    const std::optional<double> speed = LeadingWholeNumber("2.5");
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
    EXPECT_EQ(score, 125);
    EXPECT_EQ(speed, 2);
}

TEST(TextScan, TrimCaseAndUtf8Lengths) {
    EXPECT_EQ(Trim(" \t a b \t"), "a b");
    EXPECT_EQ(Trim(" \t "), "");
    EXPECT_EQ(Trim("x"), "x");
    EXPECT_TRUE(SameIgnoringCase("TRUE", "true"));
    EXPECT_FALSE(SameIgnoringCase("True ", "True"));
    EXPECT_FALSE(SameIgnoringCase("Trux", "True"));
    std::string lengths;
    for (const unsigned char lead : {0x41, 0x7F, 0x80, 0xBF, 0xC0, 0xD0, 0xDF, 0xE0, 0xEF, 0xF0})
        lengths += std::to_string(Utf8SequenceLength(lead));
    EXPECT_EQ(lengths, "1111222334");
}

}  // namespace
}  // namespace vorblin
