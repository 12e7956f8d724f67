// The loader against the literal reading of its rules (LiteralObjLoader):
// on generated model files and on text built from the pieces that make the
// rules interesting, both must return the same and leave the same arrays,
// bit for bit.
#include "geometry/Model.h"
#include "harness/LiteralObjLoader.h"
#include "harness/ObjOracle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {
// loads text into both after the same earlier text, so appending is
// compared too
void expectSameLoad(const std::string& earlier, const std::string& text)
{
    Model model;
    LiteralObjLoader literal;
    ASSERT_EQ(model.loadModelText(earlier), literal.load(earlier));
    const bool loaded = model.loadModelText(text);
    ASSERT_EQ(loaded, literal.load(text)) << text;
    ASSERT_EQ(firstDifference(model, literal), "") << text;
}

std::string randomNumber(std::mt19937& random)
{
    std::uniform_real_distribution<double> value(-1000.0, 1000.0);
    static const char* const formats[] = {"%g", "%f", "%.9e", "%.3f", "%.17g", "%.0f", "%E"};
    char text[64];
    std::snprintf(text, sizeof text, formats[random() % 7], value(random));
    return text;
}

// A well-formed model with the quirks real files have: several line ends,
// blank lines, indentation, comments, vertex colours and objects.
std::string generatedModel(std::mt19937& random)
{
    static const char* const lineEnds[] = {"\n", "\r\n", "\r", "\n\n", "\r\n  "};
    const int entries = 1 + static_cast<int>(random() % 40);
    const std::string lineEnd = lineEnds[random() % 5];
    std::string text = "# generated\r\nmtllib none.mtl\no thing" + lineEnd;
    for (int i = 0; i < entries; ++i) {
        text += "v " + randomNumber(random) + " " + randomNumber(random) + " " + randomNumber(random);
        text += (random() % 4 == 0 ? " 0.5 0.5 0.5" : "") + lineEnd;
        text += "vt " + randomNumber(random) + " " + randomNumber(random) + lineEnd;
        text += "  vn " + randomNumber(random) + " " + randomNumber(random) + " " + randomNumber(random) +
                lineEnd;
    }
    const int faces = static_cast<int>(random() % 60);
    for (int f = 0; f < faces; ++f) {
        text += random() % 8 == 0 ? "s off" + lineEnd : "";
        text += "f";
        for (int corner = 0; corner < 3; ++corner) {
            const auto index = [&] { return std::to_string(1 + random() % entries); };
            text += " " + index() + "/" + index() + "/" + index();
        }
        text += lineEnd;
    }
    return text;
}

template <size_t n>
const char* pick(std::mt19937& random, const char* const (&choices)[n])
{
    return choices[random() % n];
}

// One statement as files hold them, or as they get mangled: odd keywords,
// short and long operand lists, numbers atof reads oddly, the face forms,
// every line end, and now and then a stray byte the rules treat specially.
std::string oddStatement(std::mt19937& random)
{
    static const char* const keywords[] = {"v", "v", "vn", "vt", "vt", "f",  "f",
                                           "f", "V", "#",  "vx", "",   "  v"};
    static const char* const numbers[] = {"1",     "-2.5e-1", ".5",    "1e3",   "+4",
                                          "0x1p3", "nan",     "inf",   "1e400", "-0",
                                          "7.",    "1e",      "\"2\"", "3#",    "12345678901234567890"};
    static const char* const indices[] = {"1", "2", "3",  "4", "1",  "2",  "3",
                                          "4", "0", "-1", "5", "+2", "01", "4294967297"};
    static const char* const cornerForms[] = {"%s/%s/%s", "%s//%s", "%s", "%s/%s", "%s/%s/%s/"};
    static const char* const separators[] = {" ", " ", " ", "  ", "\t", "/", " \"", "\x80"};
    static const char* const lineEnds[] = {"\n", "\n", "\r\n", "\r", "\n\n", " \n", "\t\n", "", "\x7F"};
    static const char* const strays[] = {"\t", "\r", "\"", "/", "\xC3\xA9", "\xFF", "#", "x"};

    const std::string keyword = pick(random, keywords);
    std::string text = keyword;
    const int operands = static_cast<int>(random() % 5);
    for (int i = 0; i < operands; ++i) {
        text += pick(random, separators);
        if (keyword == "f") {
            char corner[64];
            std::snprintf(corner, sizeof corner, pick(random, cornerForms), pick(random, indices),
                          pick(random, indices), pick(random, indices));
            text += corner;
        } else {
            text += pick(random, numbers);
        }
    }
    if (random() % 10 == 0) {
        text.insert(random() % (text.size() + 1), pick(random, strays));
    }
    if (random() % 50 == 0) {
        text += '\0';
    }
    return text + pick(random, lineEnds);
}

std::string oddText(std::mt19937& random)
{
    // four entries of each kind first, so that most faces name real entries
    // and get flattened rather than refused
    std::string text = random() % 5 == 0 ? ""
                                         : "v 1 2 3\nv 4 5 6\nv 7 8 9\nv 10 11 12\n"
                                           "vt 1 2\nvt 3 4\nvt 5 6\nvt 7 8\n"
                                           "vn 1 0 0\nvn 0 1 0\nvn 0 0 1\nvn 1 1 1\n";
    const int statements = static_cast<int>(random() % 12);
    for (int i = 0; i < statements; ++i) {
        text += oddStatement(random);
    }
    return text;
}
}

TEST(ObjDifferential, GeneratedModelsLoadAsTheLiteralRulesRead)
{
    std::mt19937 random(1);
    for (int i = 0; i < 300; ++i) {
        expectSameLoad(generatedModel(random), generatedModel(random));
    }
}

TEST(ObjDifferential, OddTextLoadsAsTheLiteralRulesRead)
{
    std::mt19937 random(2);
    const std::string earlier = "v 1 2 3\nvt 4 5\nvn 6 7 8\nf 1/1/1 1/1/1 1/1/1\n";
    for (int i = 0; i < 30000; ++i) {
        expectSameLoad(earlier, oddText(random));
    }
}
