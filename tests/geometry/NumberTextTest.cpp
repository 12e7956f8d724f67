// The fast conversions must give, bit for bit, what atof and atoi give, but
// for integers too large for an int, which read as 0 on every host.
#include "geometry/NumberText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {
uint64_t bitsOf(double value)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void expectSameAsLibrary(const std::string& token)
{
    EXPECT_EQ(bitsOf(tokenToDouble(token)), bitsOf(std::atof(token.c_str())))
        << "'" << token << "': " << tokenToDouble(token) << " against " << std::atof(token.c_str());
    const long wide = std::strtol(token.c_str(), nullptr, 10);
    const int expected = wide < INT_MIN || wide > INT_MAX ? 0 : std::atoi(token.c_str());
    EXPECT_EQ(tokenToInt(token), expected) << "'" << token << "'";
}

// Random text from the characters numbers are made of, with a few that
// stop them.
std::string randomNumberText(std::mt19937& random)
{
    static const char alphabet[] = "0123456789000999.-+eExXpPinfaINFAN/\"#";
    std::uniform_int_distribution<int> length(0, 30);
    std::uniform_int_distribution<int> pick(0, sizeof alphabet - 2);
    std::string text;
    for (int i = length(random); i > 0; --i) {
        text += alphabet[pick(random)];
    }
    return text;
}
}

TEST(NumberText, OddTokensConvertAsTheCLibraryDoes)
{
    // a table of odd tokens, kept as laid out by hand
    // clang-format off
    const std::vector<std::string> tokens = {
        "", "-", "+", ".", "-.", "e5", ".e5", "0", "-0", "+0", "0.", ".5", "-.5", "5.", "1e", "1e+", "1e-",
        "1e2", "1E2", "-2.5E-1", "1e-2x", "1.5.5", "1//2", "12abc", "0x1A", "-0X1p3", "0x", "inf", "-INF",
        "infinity", "nan", "NaN(123)", "-nan", "1e308", "1e309", "-1e400", "1e-307",
        "2.2250738585072011e-308", "4.9e-324", "2e-324", "1e-400", "0.000000000000000000000000000000000001",
        "123456789012345678901234567890", "0.1000000000000000055511151231257827021181583404541015625",
        "9007199254740993", "179769313486231580793728971405303415079934132710037826936173778980444968292764"
        "750946649017977587207096330286416692887910946555547851940402630657488671505820681908902000708383676"
        "273854845817711531764475730270069855571366959622842914819860834936475292719074168444365510704342711"
        "559699508093042880177904174497791.9999999999",
        "2147483647", "2147483648", "-2147483648", "-2147483649", "999999999", "1000000000", "4294967297",
        "99999999999999999999", "0000000001", "-000000000012", "+12", " 12", "\"12\"", "12\"3 4\"",
    };
    // clang-format on
    for (const std::string& token : tokens) {
        expectSameAsLibrary(token);
    }
}

TEST(NumberText, RandomNumberTextConvertsAsTheCLibraryDoes)
{
    std::mt19937 random(20240611);
    for (int i = 0; i < 200000; ++i) {
        expectSameAsLibrary(randomNumberText(random));
    }
}

TEST(NumberText, PrintedDoublesConvertAsTheCLibraryDoes)
{
    std::mt19937_64 random(7);
    char text[64];
    for (int i = 0; i < 100000; ++i) {
        const uint64_t bits = random();
        double value = 0.0;
        std::memcpy(&value, &bits, sizeof value);
        std::snprintf(text, sizeof text, i % 2 == 0 ? "%.17g" : "%.6f", value);
        expectSameAsLibrary(text);
    }
}
