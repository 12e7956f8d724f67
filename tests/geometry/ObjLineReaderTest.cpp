// ObjLineReader against the line loop of the rules as written (the literal
// tokenizer's nextLine and nextToken): the same lines for text in memory
// and for a file read in chunks of any size, however the chunks cut it.
#include "geometry/ObjLineReader.h"
#include "harness/ObjOracle.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {
std::vector<std::string> linesInMemory(const std::string& text)
{
    ObjLineReader reader(text);
    return allLines(reader);
}

// Texts where the rules' corners lie: every line end, blank and indented
// lines, quotes that run on, NUL, and stray bytes outside printable ASCII.
std::string randomText(std::mt19937& random)
{
    static const std::vector<std::string> pieces = {
        "v 1 2 3", "vn",   "f 1/2/3", " ",
        "  ",      "\n",   "\r\n",    "\r",
        "\t",      "\"",   "\" \"",   "x",
        "\x7F",    "\x80", "\xFF",    std::string(1, '\0'),
        "a b",     "#c",   "\n\n",    "  \"q r\n s\" t\n",
    };
    std::string text;
    for (int i = static_cast<int>(random() % 40); i > 0; --i) {
        text += pieces[random() % pieces.size()];
    }
    return text;
}
}

TEST(ObjLineReader, EveryByteOutsidePrintableAsciiEndsALine)
{
    for (const char* end : {"\t", "\r", "\n", "\x7F", "\x80", "\xFF", "\x01"}) {
        const std::string text = std::string("ab") + end + "cd\n";
        EXPECT_EQ(linesInMemory(text), (std::vector<std::string>{"ab", "cd"})) << int(end[0]);
    }
}

TEST(ObjLineReader, ReadingStopsWhereTheRulesStopIt)
{
    // one line and no line end: not a line
    EXPECT_TRUE(linesInMemory("v 1 2 3").empty());
    EXPECT_EQ(linesInMemory("v 1 2 3\n"), (std::vector<std::string>{"v 1 2 3"}));
    // no line character at the very start
    EXPECT_TRUE(linesInMemory("\nv 1 2 3\n").empty());
    // a last line whose first token runs to the end of the text
    EXPECT_EQ(linesInMemory("v 1\nvn"), (std::vector<std::string>{"v 1"}));
    EXPECT_EQ(linesInMemory("v 1\nvn 2"), (std::vector<std::string>{"v 1", "vn 2"}));
    // an unclosed quote starting a line's first token runs to the end
    EXPECT_EQ(linesInMemory("v 1\n\"a\nb\nc\n"), (std::vector<std::string>{"v 1"}));
    EXPECT_EQ(linesInMemory("v 1\n\"a\" b\nc d\n"), (std::vector<std::string>{"v 1", "\"a\" b", "c d"}));
    EXPECT_EQ(linesInMemory("v 1\n\"a\nb\" c\nd e\n"), (std::vector<std::string>{"v 1", "\"a"}));
    // the first NUL ends the text
    EXPECT_EQ(linesInMemory(std::string("v 1\nv 2\n\0v 3\n", 12)), (std::vector<std::string>{"v 1", "v 2"}));
}

TEST(ObjLineReader, ChunkedFileGivesTheLinesOfTheRules)
{
    std::mt19937 random(3);
    for (int i = 0; i < 3000; ++i) {
        const std::string text = randomText(random);
        const std::vector<std::string> expected = literalLines(text);
        ASSERT_EQ(linesInMemory(text), expected) << text;
        for (size_t chunkBytes : {1, 2, 3, 5, 8, 13, 4096}) {
            ASSERT_EQ(linesInChunks(text, chunkBytes), expected)
                << "chunks of " << chunkBytes << ": " << text;
        }
    }
}

TEST(ObjLineReader, FileIsReadOnlyUpToTheSizeItHadWhenOpened)
{
    std::istringstream file("v 1\nv 2\nv 3\n");
    ObjLineReader reader(file, 6, 3);
    EXPECT_EQ(allLines(reader), (std::vector<std::string>{"v 1", "v "}));
}
