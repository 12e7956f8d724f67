// Model::loadModel over real files: the reading rules that existing model
// files depend on, and the refusal of faces that name entries the file
// does not have.
#include "geometry/Model.h"
#include "harness/TempDirectory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

namespace {
const std::string oneTriangle = "v 0 0 0\n"
                                "v 1 0 0\n"
                                "v 0 1 0\n"
                                "vt 0 0\n"
                                "vt 1 0\n"
                                "vt 0 1\n"
                                "vn 0 0 1\n"
                                "f 1/1/1 2/2/1 3/3/1\n";

// Entry k of every list encodes k: position (k, k, k), texture coordinate
// (10k, 10k), normal (100k, 100k, 100k), so each corner reads back as the
// indices it was built from.
const std::string numberedEntries = "v 1 1 1\nv 2 2 2\nv 3 3 3\nv 4 4 4\n"
                                    "vt 10 10\nvt 20 20\nvt 30 30\nvt 40 40\n"
                                    "vn 100 100 100\nvn 200 200 200\nvn 300 300 300\nvn 400 400 400\n";

using Corner = std::array<int, 3>;

// a model's array as a plain vector, to compare with one
template <typename T>
std::vector<T> plain(const ModelArray<T>& array)
{
    return std::vector<T>(array.begin(), array.end());
}

std::vector<Corner> cornerIndices(const Model& model)
{
    std::vector<Corner> corners;
    for (int c = 0; c < model.getVertexCount(); ++c) {
        corners.push_back({static_cast<int>(model.getVertices()[3 * c]),
                           static_cast<int>(model.getTexCoords()[2 * c] / 10.0f),
                           static_cast<int>(model.getNormals()[3 * c] / 100.0f)});
    }
    return corners;
}

auto state(const Model& model)
{
    return std::make_tuple(model.getVertexCount(), model.getVertices(), model.getTexCoords(),
                           model.getNormals(), model.getIndices());
}

class ModelLoadModel : public ::testing::Test {
protected:
    // loads bytes written to a real file; the model keeps what it read
    bool load(std::string_view bytes) { return model.loadModel(folder.write("model.obj", bytes).c_str()); }

    TempDirectory folder;
    Model model;
};
}

TEST_F(ModelLoadModel, OneTriangleFileGivesItsCorners)
{
    ASSERT_TRUE(load(oneTriangle));
    EXPECT_EQ(model.getVertexCount(), 3);
    EXPECT_EQ(plain(model.getVertices()), (std::vector<float>{0, 0, 0, 1, 0, 0, 0, 1, 0}));
    EXPECT_EQ(plain(model.getTexCoords()), (std::vector<float>{0, 0, 1, 0, 0, 1}));
    EXPECT_EQ(plain(model.getNormals()), (std::vector<float>{0, 0, 1, 0, 0, 1, 0, 0, 1}));
    EXPECT_EQ(plain(model.getIndices()), (std::vector<int16_t>{0, 1, 2}));
}

TEST_F(ModelLoadModel, EveryLineEndAndBlankLineReadsAlike)
{
    Model reference;
    ASSERT_TRUE(reference.loadModel(folder.write("reference.obj", oneTriangle).c_str()));

    auto replaceLineEnds = [](std::string text, const std::string& lineEnd) {
        std::string out;
        for (char c : text) {
            out += c == '\n' ? lineEnd : std::string(1, c);
        }
        return out;
    };
    const std::string crLf = replaceLineEnds(oneTriangle, "\r\n");
    const std::vector<std::string> variants = {
        crLf,
        replaceLineEnds(oneTriangle, "\r"),
        oneTriangle.substr(0, oneTriangle.size() - 1),
        crLf.substr(0, crLf.size() - 2),
        replaceLineEnds(oneTriangle, "\n\n \r\n   "),
        "  " + oneTriangle,
    };
    for (const std::string& text : variants) {
        Model model;
        ASSERT_TRUE(model.loadModel(folder.write("variant.obj", text).c_str())) << text;
        EXPECT_EQ(state(model), state(reference)) << text;
    }
}

TEST_F(ModelLoadModel, TextThatDoesNotStartWithALineCharacterYieldsNothing)
{
    for (const std::string prefix : {"\n", "\xEF\xBB\xBF", "\t", "\r\n"}) {
        Model model;
        ASSERT_TRUE(model.loadModel(folder.write("model.obj", prefix + oneTriangle).c_str()));
        EXPECT_EQ(model.getVertexCount(), 0) << "prefix byte " << int(static_cast<unsigned char>(prefix[0]));
        EXPECT_TRUE(model.getVertices().empty());
    }
}

TEST_F(ModelLoadModel, ASingleLineIsReadOnlyWithItsLineEnd)
{
    // The face names entries the file does not have, which only shows when
    // the line is read at all.
    EXPECT_TRUE(load("f 1/1/1 1/1/1 1/1/1"));
    EXPECT_EQ(model.getVertexCount(), 0);
    EXPECT_FALSE(load("f 1/1/1 1/1/1 1/1/1\n"));
}

TEST_F(ModelLoadModel, TabEndsALineSoTabSeparatedOperandsAddNoPosition)
{
    ASSERT_TRUE(load("v\t9\t9\t9\n" + oneTriangle));
    EXPECT_EQ(plain(model.getVertices()), (std::vector<float>{0, 0, 0, 1, 0, 0, 0, 1, 0}));
}

TEST_F(ModelLoadModel, ShortOperandListsRepeatTheLastTokenRead)
{
    ASSERT_TRUE(load("v 1 2\n"
                     "v \n"
                     "v\n"
                     "v 7 8 9\n"
                     "vt 0.5\n"
                     "vn 4\n"
                     "f 1/1/1 2/1/1 3/1/1\n"));
    // "v " reads its keyword three times, and atof("v") is 0; the lone "v"
    // is no statement at all, so index 3 is (7, 8, 9)
    EXPECT_EQ(plain(model.getVertices()), (std::vector<float>{1, 2, 2, 0, 0, 0, 7, 8, 9}));
    EXPECT_EQ(plain(model.getTexCoords()), (std::vector<float>{0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(plain(model.getNormals()), (std::vector<float>{4, 4, 4, 4, 4, 4, 4, 4, 4}));
}

TEST_F(ModelLoadModel, KeywordsAreWholeAndCaseSensitiveAndNumbersReadAsAtofDoes)
{
    ASSERT_TRUE(load("V 5 5 5\n"
                     "v5 5 5\n"
                     "vertex 5 5 5\n"
                     "# v 5 5 5\n"
                     "v 1e2 -2.5E-1 .5\n"
                     "v 1 2 3 # a trailing comment\n"
                     "v 4 5 6 7\n"
                     "v 0x10 +3 1e\n"
                     "vt 0 0\nvn 0 0 1\n"
                     "f 1/1/1 2/1/1 3/1/1\n"
                     "f 4/1/1 4/1/1 4/1/1\n"));
    EXPECT_EQ(plain(model.getVertices()),
              (std::vector<float>{100, -0.25f, 0.5f, 1, 2, 3, 4, 5, 6, 16, 3, 1, 16, 3, 1, 16, 3, 1}));
}

TEST_F(ModelLoadModel, FacesAlwaysReadNineIntegers)
{
    struct Case {
        const char* face;
        std::vector<Corner> corners;
    };
    const std::vector<Case> cases = {
        {"f 1/1/1 2/2/2 3/3/3 4/4/4\n", {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}}},
        {"f 1//1 2//2 3//3\n", {{1, 1, 2}, {2, 3, 3}, {3, 3, 3}}},
        {"f 1 2 3\n", {{1, 2, 3}, {3, 3, 3}, {3, 3, 3}}},
        {"f 1/1/1 2/2/2\n", {{1, 1, 1}, {2, 2, 2}, {2, 2, 2}}},
        {"f   3/2/1\t4/4/4 4/4/4 4/4/4\n", {{3, 2, 1}, {1, 1, 1}, {1, 1, 1}}},
    };
    for (const Case& c : cases) {
        Model model;
        ASSERT_TRUE(model.loadModel(folder.write("face.obj", numberedEntries + c.face).c_str())) << c.face;
        EXPECT_EQ(cornerIndices(model), c.corners) << c.face;
    }
}

TEST_F(ModelLoadModel, NulByteEndsTheText)
{
    std::string text = numberedEntries + "f 1/1/1 2/2/2 3/3/3\n";
    text += '\0';
    text += "f 4/4/4 4/4/4 4/4/4\n";
    ASSERT_TRUE(load(text));
    EXPECT_EQ(cornerIndices(model), (std::vector<Corner>{{1, 1, 1}, {2, 2, 2}, {3, 3, 3}}));
}

TEST_F(ModelLoadModel, SecondLoadAppendsAndCountsOnlyTheNewFile)
{
    ASSERT_TRUE(load(numberedEntries + "f 1/1/1 2/2/2 3/3/3\nf 4/4/4 3/3/3 2/2/2\n"));
    ASSERT_TRUE(load(numberedEntries + "f 2/2/2 3/3/3 4/4/4\n"));
    EXPECT_EQ(model.getVertexCount(), 3);
    EXPECT_EQ(plain(model.getIndices()), (std::vector<int16_t>{0, 1, 2, 3, 4, 5, 0, 1, 2}));
    ASSERT_EQ(model.getVertices().size(), 27u);
    ASSERT_EQ(model.getTexCoords().size(), 18u);
    EXPECT_EQ(model.getVertices()[18], 2.0f);
    EXPECT_EQ(model.getTexCoords()[16], 40.0f);
    EXPECT_EQ(model.getNormals()[26], 400.0f);
}

TEST_F(ModelLoadModel, UnreadableFilesReturnFalseAndChangeNothing)
{
    ASSERT_TRUE(load(oneTriangle));
    const auto before = state(model);
    EXPECT_FALSE(model.loadModel(folder.pathOf("missing.obj").c_str()));
    EXPECT_FALSE(model.loadModel(folder.write("empty.obj", "").c_str()));
    EXPECT_FALSE(model.loadModel(folder.pathOf("").c_str())) << "a folder is no model file";
    // nothing writes to it: an open that waited for a writer would never return
    const std::string fifo = folder.pathOf("pipe.obj");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(model.loadModel(fifo.c_str()));
    EXPECT_EQ(state(model), before);
}

TEST_F(ModelLoadModel, FaceNamingAMissingEntryFailsAndLeavesTheModelAsItWas)
{
    ASSERT_TRUE(load(oneTriangle));
    const auto before = state(model);
    const std::vector<std::string> faults = {
        oneTriangle + "f 1/1/1 2/2/1 4/3/1\n",
        oneTriangle + "f 1/1/1 2/4/1 3/3/1\n",
        oneTriangle + "f 1/1/1 2/2/1 3/3/2\n",
        oneTriangle + "f 0/1/1 2/2/1 3/3/1\n",
        oneTriangle + "f 1/1/1 2/0/1 3/3/1\n",
        oneTriangle + "f -1/-1/-1 -2/-2/-1 -3/-3/-1\n",
        oneTriangle + "f 1/1/1 2/2/1 3/3/-2147483648\n",
        oneTriangle + "f 1/1/1 2/2/1 3/3/99999999999999\n",
        // 2^32 + 1: no int, so no entry, where wrapping would make it 1
        oneTriangle + "f 1/1/1 2/2/1 3/3/4294967297\n",
        oneTriangle + "f \n",
        "v 0 0 0\nvn 0 0 1\nf 1/1/1 1/1/1 1/1/1\n",
        "v 0 0 0\nvt 0 0\nf 1/1/1 1/1/1 1/1/1\n",
        "vt 0 0\nvn 0 0 1\nf 1/1/1 1/1/1 1/1/1\n",
    };
    for (const std::string& text : faults) {
        EXPECT_FALSE(load(text)) << text;
        EXPECT_EQ(state(model), before) << text;
    }
}
