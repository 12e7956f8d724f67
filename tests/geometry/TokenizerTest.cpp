// The Tokenizer's rules for splitting a line the loader's fast path leaves.
#include "geometry/Tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
constexpr char lineDelimiters[] = {'\n', ' '};
constexpr char faceTokens[] = {'\n', ' ', '/'};

std::vector<std::string> allTokens(std::string_view text, const char* delimiters, int count)
{
    Tokenizer tokenizer;
    tokenizer.setText(text);
    std::vector<std::string> tokens;
    std::string_view token;
    while (tokenizer.nextToken(&token, delimiters, count)) {
        tokens.emplace_back(token);
    }
    return tokens;
}
}

TEST(Tokenizer, SetTextEndsAtTheFirstNul)
{
    Tokenizer tokenizer;
    tokenizer.setText(std::string_view("a b\0c d\n", 8));
    std::string_view token;
    ASSERT_TRUE(tokenizer.nextToken(&token, nullptr, 0));
    ASSERT_TRUE(tokenizer.nextToken(&token, nullptr, 0));
    EXPECT_EQ(token, "b");
    EXPECT_FALSE(tokenizer.nextToken(&token, nullptr, 0));
}

TEST(Tokenizer, DelimiterRunsCountAsOneAndFailureLeavesTheTokenAlone)
{
    EXPECT_EQ(allTokens("f 1//2  3/4/5", faceTokens, 3),
              (std::vector<std::string>{"f", "1", "2", "3", "4", "5"}));
    Tokenizer tokenizer;
    tokenizer.setText("vt 0.5");
    std::string_view token;
    ASSERT_TRUE(tokenizer.nextToken(&token, lineDelimiters, 2));
    ASSERT_TRUE(tokenizer.nextToken(&token, lineDelimiters, 2));
    EXPECT_FALSE(tokenizer.nextToken(&token, lineDelimiters, 2));
    EXPECT_EQ(token, "0.5");
}

TEST(Tokenizer, OneCharacterTextYieldsNoToken)
{
    EXPECT_TRUE(allTokens("v", lineDelimiters, 2).empty());
    EXPECT_TRUE(allTokens("v", nullptr, 0).empty());
    EXPECT_EQ(allTokens("v ", lineDelimiters, 2), (std::vector<std::string>{"v"}));
}

TEST(Tokenizer, DefaultClassesSkipSpacesControlAndHighBytes)
{
    EXPECT_EQ(allTokens("\r\n \t\x80vn\x7F"
                        "1 2",
                        nullptr, 0),
              (std::vector<std::string>{"vn", "1", "2"}));
    // under a delimiter list only the listed characters delimit
    EXPECT_EQ(allTokens("a\tb\x80 c", lineDelimiters, 2), (std::vector<std::string>{"a\tb\x80", "c"}));
}

TEST(Tokenizer, QuotesGroupAcrossDelimitersAndStayInTheToken)
{
    EXPECT_EQ(allTokens("a \"b c\" d", lineDelimiters, 2), (std::vector<std::string>{"a", "\"b c\"", "d"}));
    EXPECT_EQ(allTokens("x1\"2 3\"4 5", lineDelimiters, 2), (std::vector<std::string>{"x1\"2 3\"4", "5"}));
    EXPECT_EQ(allTokens("a \"b c d", lineDelimiters, 2), (std::vector<std::string>{"a", "\"b c d"}));
}

TEST(Tokenizer, NullOutMovesTheCursorsOnly)
{
    Tokenizer tokenizer;
    tokenizer.setText("f 1/2/3");
    std::string_view token;
    ASSERT_TRUE(tokenizer.nextToken(nullptr, nullptr, 0));
    ASSERT_TRUE(tokenizer.nextToken(&token, faceTokens, 3));
    EXPECT_EQ(token, "1");
}
