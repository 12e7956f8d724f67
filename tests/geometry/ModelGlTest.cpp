// Model's drawing and texture loading in a real Mesa context: the corner
// stream render sends, what a model that never loaded sends, and how load
// reports a missing model or texture.
#include "geometry/Model.h"
#include "harness/GlTestContext.h"
#include "harness/ImageFiles.h"
#include "harness/TempDirectory.h"
#include "tests/geometry/MessageBoxRecorder.h"
#include "tests/geometry/ProbeTrace.h"
#include "tests/geometry/VertexFeedback.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const std::string twoTriangles = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 2 3 -4\n"
                                 "vt 0 0\nvt 1 0\nvt 0 1\nvt 0.25 0.75\n"
                                 "vn 0 0 1\nvn 0 1 0\n"
                                 "f 1/1/1 2/2/1 3/3/1\n"
                                 "f 4/4/2 3/3/1 2/1/2\n";

// the corners of twoTriangles in file order
const std::vector<FedVertex> twoTrianglesCorners = {
    {{0, 0, 0}, {0, 0}, {0, 0, 1}},          {{1, 0, 0}, {1, 0}, {0, 0, 1}}, {{0, 1, 0}, {0, 1}, {0, 0, 1}},
    {{2, 3, -4}, {0.25f, 0.75f}, {0, 1, 0}}, {{0, 1, 0}, {0, 1}, {0, 0, 1}}, {{1, 0, 0}, {0, 0}, {0, 1, 0}},
};

// a 2 x 2 RGB PNG
std::string smallImage()
{
    return ImageFiles::png(2, 2, 3, ImageFiles::pattern(2, 2, 3));
}

std::vector<std::string> renderCalls(const std::vector<FedVertex>& corners)
{
    std::vector<std::string> calls = {"glBindTexture(GL_TEXTURE_2D, 0)", "glBegin(GL_TRIANGLES)"};
    const std::vector<std::string> sent = vertexCalls(corners, true);
    calls.insert(calls.end(), sent.begin(), sent.end());
    calls.insert(calls.end(), {"glEnd()", "glBindTexture(GL_TEXTURE_2D, 0)", "glFinish()"});
    return calls;
}

class ModelGl : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(context.isReady()) << context.failure();
        takeRecordedMessageBoxes();
    }

    GlTestContext context;
    TempDirectory folder;
};
}

TEST_F(ModelGl, RenderSendsEveryCornerOfTheFileWithItsOwnTexture)
{
    Model model;
    ASSERT_TRUE(model.loadModel(folder.write("two.obj", twoTriangles).c_str()));
    model.loadTexture(folder.write("rust.png", smallImage()).c_str());
    ASSERT_NE(model.getTexture(), 0u);

    // the normals only come back while the model's own, complete texture is
    // bound, so this also shows render binds it
    std::string problem;
    EXPECT_EQ(captureVertices([&model] { model.render(); }, false, &problem), twoTrianglesCorners);
    EXPECT_EQ(problem, "");
}

TEST_F(ModelGl, RenderSendsNormalThenTexCoordThenVertexPerCorner)
{
    std::string problem;
    const std::vector<std::string> calls =
        traceProbe({"model", folder.write("two.obj", twoTriangles)}, &problem);
    ASSERT_EQ(problem, "");
    EXPECT_EQ(calls, renderCalls(twoTrianglesCorners));
}

TEST_F(ModelGl, ModelThatNeverLoadedSendsAnEmptyBeginEndPair)
{
    const std::vector<std::string> files = {
        folder.pathOf("missing.obj"),
        folder.write("bad-index.obj", twoTriangles + "f 5/1/1 1/1/1 1/1/1\n"),
    };
    for (const std::string& file : files) {
        std::string problem;
        const std::vector<std::string> calls = traceProbe({"model", file}, &problem);
        ASSERT_EQ(problem, "");
        EXPECT_EQ(calls, renderCalls({})) << file;
    }
}

TEST_F(ModelGl, RenderLeavesNoTextureBound)
{
    Model model;
    ASSERT_TRUE(model.loadModel(folder.write("two.obj", twoTriangles).c_str()));
    model.loadTexture(folder.write("rust.png", smallImage()).c_str());
    Model neverLoaded;
    const GLuint other = makeCompleteTexture();
    for (Model* drawn : {&model, &neverLoaded}) {
        glBindTexture(GL_TEXTURE_2D, other);
        drawn->render();
        GLint bound = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(bound, 0);
    }
}

TEST_F(ModelGl, MissingModelShowsOneMessageAndLoadsNoTexture)
{
    Model model;
    const std::string texture = folder.write("rust.png", smallImage());
    testing::internal::CaptureStdout();
    EXPECT_FALSE(model.load(folder.pathOf("missing.obj").c_str(), texture.c_str()));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    const std::vector<RecordedMessageBox> boxes = takeRecordedMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].text, "Model failed to load");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(model.getTexture(), 0u);
    EXPECT_EQ(model.getVertexCount(), 0);
}

TEST_F(ModelGl, MissingTexturePrintsTheReasonAndTheModelStillLoads)
{
    Model model;
    testing::internal::CaptureStdout();
    EXPECT_TRUE(
        model.load(folder.write("two.obj", twoTriangles).c_str(), folder.pathOf("missing.png").c_str()));
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "SOIL loading error: 'cannot open the file'\n");
    EXPECT_TRUE(takeRecordedMessageBoxes().empty());
    EXPECT_EQ(model.getTexture(), 0u);
    EXPECT_EQ(model.getVertexCount(), 6);
}

TEST_F(ModelGl, GoodModelAndTextureLoadQuietly)
{
    Model model;
    testing::internal::CaptureStdout();
    EXPECT_TRUE(model.load(folder.write("two.obj", twoTriangles).c_str(),
                           folder.write("rust.png", smallImage()).c_str()));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(takeRecordedMessageBoxes().empty());
    EXPECT_TRUE(glIsTexture(model.getTexture()));
}
