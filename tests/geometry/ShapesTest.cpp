// The display lists of the container box, the tiled plane and the sky box,
// compiled in a real Mesa context: what they emit (read back in feedback
// mode, bit for bit), the exact command order (recorded with apitrace) and
// the state they leave behind.
#include "scene/Shapes.h"
#include "harness/GlTestContext.h"
#include "tests/geometry/ProbeTrace.h"
#include "tests/geometry/VertexFeedback.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {
constexpr float A = 0.333f;
constexpr float B = 0.6666f;
constexpr float W = 1.75f;
constexpr float H = 1.75f;
constexpr float L = 5.0f;

using Normal = std::array<float, 3>;

FedVertex at(float s, float t, float x, float y, float z, Normal normal)
{
    return FedVertex{{x, y, z}, {s, t}, normal};
}

std::vector<FedVertex> boxNearEnd()
{
    const Normal n = {0, 0, -1};
    return {at(0, A, 0, 0, 0, n), at(A, A, W, 0, 0, n), at(A, B, W, H, 0, n),
            at(0, A, 0, 0, 0, n), at(A, B, W, H, 0, n), at(0, B, 0, H, 0, n)};
}

std::vector<FedVertex> boxSideAtWidth()
{
    const Normal n = {1, 0, 0};
    return {at(0, B, W, 0, 0, n), at(1, B, W, 0, L, n), at(1, 1, W, H, L, n),
            at(0, B, W, 0, 0, n), at(1, 1, W, H, L, n), at(0, 1, W, H, 0, n)};
}

std::vector<FedVertex> boxFarEnd()
{
    const Normal n = {0, 0, 1};
    return {at(A, A, W, 0, L, n), at(B, A, 0, 0, L, n), at(B, B, 0, H, L, n),
            at(A, A, W, 0, L, n), at(B, B, 0, H, L, n), at(A, B, W, H, L, n)};
}

std::vector<FedVertex> boxSideAtZero()
{
    const Normal n = {-1, 0, 0};
    return {at(0, B, 0, 0, L, n), at(1, B, 0, 0, 0, n), at(1, 1, 0, H, 0, n),
            at(0, B, 0, 0, L, n), at(1, 1, 0, H, 0, n), at(0, 1, 0, H, L, n)};
}

std::vector<FedVertex> boxTop()
{
    const Normal n = {0, 1, 0};
    return {at(0, B, W, H, 0, n), at(1, B, W, H, L, n), at(1, 1, 0, H, L, n),
            at(0, B, W, H, 0, n), at(1, 1, 0, H, L, n), at(0, 1, 0, H, 0, n)};
}

std::vector<FedVertex> boxBottom()
{
    const Normal n = {0, -1, 0};
    return {at(0, B, 0, 0, 0, n), at(1, B, 0, 0, L, n), at(1, 1, W, 0, L, n),
            at(0, B, 0, 0, 0, n), at(1, 1, W, 0, L, n), at(0, 1, W, 0, 0, n)};
}

std::vector<FedVertex> join(std::initializer_list<std::vector<FedVertex>> faces)
{
    std::vector<FedVertex> all;
    for (const auto& face : faces) {
        all.insert(all.end(), face.begin(), face.end());
    }
    return all;
}

std::vector<FedVertex> expectedBox(int variant)
{
    if (variant == 2) {
        return join({boxNearEnd(), boxSideAtWidth(), boxFarEnd(), boxSideAtZero(), boxTop(), boxBottom()});
    }
    if (variant == 1) {
        return join({boxSideAtWidth(), boxFarEnd(), boxSideAtZero(), boxTop(), boxBottom()});
    }
    return join({boxSideAtWidth(), boxSideAtZero(), boxTop(), boxBottom()});
}

std::vector<FedVertex> expectedSky()
{
    const Normal front = {0, 0, 1}, left = {1, 0, 0}, back = {0, 0, -1}, right = {-1, 0, 0};
    const Normal top = {0, -1, 0}, bottom = {0, 1, 0};
    // a table, two corners a line, kept as laid out by hand
    // clang-format off
    return {
        at(0.25f, 0.5f, -1, -1, -1, front), at(0.5f, 0.5f, 1, -1, -1, front),
        at(0.5f, 0.75f, 1, 1, -1, front),   at(0.25f, 0.75f, -1, 1, -1, front),
        at(0, 0.5f, -1, -1, 1, left),       at(0.25f, 0.5f, -1, -1, -1, left),
        at(0.25f, 0.75f, -1, 1, -1, left),  at(0, 0.75f, -1, 1, 1, left),
        at(0.75f, 0.5f, 1, -1, 1, back),    at(1, 0.5f, -1, -1, 1, back),
        at(1, 0.75f, -1, 1, 1, back),       at(0.75f, 0.75f, 1, 1, 1, back),
        at(0.5f, 0.5f, 1, -1, -1, right),   at(0.75f, 0.5f, 1, -1, 1, right),
        at(0.75f, 0.75f, 1, 1, 1, right),   at(0.5f, 0.75f, 1, 1, -1, right),
        at(0.25f, 0.75f, -1, 1, -1, top),   at(0.5f, 0.75f, 1, 1, -1, top),
        at(0.5f, 1, 1, 1, 1, top),          at(0.25f, 1, -1, 1, 1, top),
        at(0.25f, 0.25f, -1, -1, -1, bottom), at(0.5f, 0.25f, 1, -1, -1, bottom),
        at(0.5f, 0.5f, 1, -1, 1, bottom),   at(0.25f, 0.5f, -1, -1, 1, bottom),
    };
    // clang-format on
}

// Tiles column by column, each far edge the near edge plus one tile.
std::vector<FedVertex> expectedPlane(float width, float height, int columns, int rows, float u, float v)
{
    const float tileWidth = width / static_cast<float>(columns);
    const float tileHeight = height / static_cast<float>(rows);
    const Normal n = {0, 0, 1};
    std::vector<FedVertex> vertices;
    for (int i = 0; i < columns; ++i) {
        for (int j = 0; j < rows; ++j) {
            const float x0 = static_cast<float>(i) * tileWidth;
            const float y0 = static_cast<float>(j) * tileHeight;
            const float x1 = x0 + tileWidth;
            const float y1 = y0 + tileHeight;
            vertices.insert(vertices.end(),
                            {at(0, 0, x0, y0, 0, n), at(u, 0, x1, y0, 0, n), at(u, v, x1, y1, 0, n),
                             at(0, 0, x0, y0, 0, n), at(u, v, x1, y1, 0, n), at(0, v, x0, y1, 0, n)});
        }
    }
    return vertices;
}

// The commands a list must hold around its vertices, as apitrace prints them.
std::vector<std::string> listCalls(const std::vector<std::string>& before,
                                   const std::vector<FedVertex>& vertices, bool normalFirst,
                                   const std::vector<std::string>& after)
{
    std::vector<std::string> calls = {"glGenLists(1)", "glNewList(1, GL_COMPILE)",
                                      "glBindTexture(GL_TEXTURE_2D, 5)"};
    calls.insert(calls.end(), before.begin(), before.end());
    const std::vector<std::string> sent = vertexCalls(vertices, normalFirst);
    calls.insert(calls.end(), sent.begin(), sent.end());
    calls.push_back("glEnd()");
    calls.insert(calls.end(), after.begin(), after.end());
    calls.push_back("glBindTexture(GL_TEXTURE_2D, 0)");
    calls.push_back("glEndList()");
    calls.push_back("glFinish()");
    return calls;
}

GLint boundTexture()
{
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    return bound;
}

class ShapesList : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(context.isReady()) << context.failure();
        texture = makeCompleteTexture();
    }

    std::vector<FedVertex> replay(GLuint list, bool quads)
    {
        std::string problem;
        std::vector<FedVertex> vertices = captureVertices([list] { glCallList(list); }, quads, &problem);
        EXPECT_EQ(problem, "");
        return vertices;
    }

    GlTestContext context;
    Shapes shapes;
    GLuint texture = 0;
};
}

TEST_F(ShapesList, BoxVariantsEmitTheirFacesInOrder)
{
    // six, five or four faces of two triangles each; any other variant
    // draws the four of variant 0
    const std::pair<int, size_t> variants[] = {{2, 36}, {1, 30}, {0, 24}, {3, 24}, {-1, 24}};
    for (const auto& [variant, corners] : variants) {
        const std::vector<FedVertex> vertices = replay(shapes.createBox(texture, variant), false);
        ASSERT_EQ(vertices.size(), corners) << "variant " << variant;
        EXPECT_EQ(vertices, expectedBox(variant)) << "variant " << variant;
    }
}

TEST_F(ShapesList, PlanesEmitTheirTilesColumnByColumn)
{
    const std::vector<FedVertex> ground =
        replay(shapes.createPlane(texture, 24.0f, 24.0f, 24, 24, 1.0f, 1.0f), false);
    ASSERT_EQ(ground.size(), 3456u);
    EXPECT_EQ(ground, expectedPlane(24.0f, 24.0f, 24, 24, 1.0f, 1.0f));

    const std::vector<FedVertex> wall =
        replay(shapes.createPlane(texture, 24.0f, 2.0f, 10, 1, 2.0f, 1.0f), false);
    ASSERT_EQ(wall.size(), 60u);
    EXPECT_EQ(wall, expectedPlane(24.0f, 2.0f, 10, 1, 2.0f, 1.0f));
    // 2.4 has no exact float: the far edge of tile 5, five tiles plus one,
    // is another float than six tiles, so the wall tells the near edge plus
    // one tile from (i + 1) tiles
    constexpr float wallTile = 24.0f / 10.0f;
    static_assert(5.0f * wallTile + wallTile != 6.0f * wallTile,
                  "the wall's tiles must tell the two far edges apart");
}

TEST_F(ShapesList, PlaneWithoutTilesDrawsNothing)
{
    EXPECT_TRUE(replay(shapes.createPlane(texture, 24.0f, 24.0f, 0, 24, 1.0f, 1.0f), false).empty());
    EXPECT_TRUE(replay(shapes.createPlane(texture, 24.0f, 24.0f, 3, -1, 1.0f, 1.0f), false).empty());
}

TEST_F(ShapesList, SkyBoxEmitsSixInwardQuads)
{
    const std::vector<FedVertex> vertices = replay(shapes.createSkybox(texture), true);
    ASSERT_EQ(vertices.size(), 24u);
    EXPECT_EQ(vertices, expectedSky());
}

TEST_F(ShapesList, ListsLeaveNoTextureBound)
{
    const GLuint lists[] = {shapes.createBox(texture, 2),
                            shapes.createPlane(texture, 2.0f, 2.0f, 2, 2, 1.0f, 1.0f),
                            shapes.createSkybox(texture)};
    for (GLuint list : lists) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glCallList(list);
        EXPECT_EQ(boundTexture(), 0) << "list " << list;
    }
}

TEST_F(ShapesList, PlaneSetsItsTextureToRepeat)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
    const GLuint list = shapes.createPlane(texture, 24.0f, 2.0f, 10, 1, 2.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint wrapS = 0;
    GLint wrapT = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    EXPECT_EQ(wrapS, GL_CLAMP_TO_EDGE) << "compiling the list must not run it";
    glBindTexture(GL_TEXTURE_2D, 0);

    glCallList(list);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    EXPECT_EQ(wrapS, GL_REPEAT);
    EXPECT_EQ(wrapT, GL_REPEAT);
}

TEST_F(ShapesList, SkyBoxLeavesDepthTestAndLightingOn)
{
    const GLuint sky = shapes.createSkybox(texture);
    const GLuint box = shapes.createBox(texture, 2);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glCallList(box);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST)) << "the box list must leave that state alone";
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    glCallList(sky);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(ShapesCommands, BoxSendsNormalThenTexCoordThenVertex)
{
    for (int variant : {2, 1, 0}) {
        std::string problem;
        const std::vector<std::string> calls = traceProbe({"box", std::to_string(variant)}, &problem);
        ASSERT_EQ(problem, "");
        EXPECT_EQ(calls, listCalls({"glBegin(GL_TRIANGLES)"}, expectedBox(variant), true, {})) << variant;
    }
}

TEST(ShapesCommands, PlaneSetsRepeatThenSendsTexCoordThenNormalThenVertex)
{
    const std::vector<std::string> repeat = {"glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT)",
                                             "glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT)",
                                             "glBegin(GL_TRIANGLES)"};
    std::string problem;
    std::vector<std::string> calls = traceProbe({"plane", "24", "2", "10", "1", "2", "1"}, &problem);
    ASSERT_EQ(problem, "");
    EXPECT_EQ(calls, listCalls(repeat, expectedPlane(24.0f, 2.0f, 10, 1, 2.0f, 1.0f), false, {}));

    calls = traceProbe({"plane", "24", "24", "0", "24", "1", "1"}, &problem);
    ASSERT_EQ(problem, "");
    EXPECT_EQ(calls, listCalls(repeat, {}, false, {}));
}

TEST(ShapesCommands, SkyBoxSwitchesDepthAndLightingAroundItsQuads)
{
    std::string problem;
    const std::vector<std::string> calls = traceProbe({"sky"}, &problem);
    ASSERT_EQ(problem, "");
    EXPECT_EQ(calls, listCalls({"glDisable(GL_DEPTH_TEST)", "glDisable(GL_LIGHTING)", "glBegin(GL_QUADS)"},
                               expectedSky(), true, {"glEnable(GL_DEPTH_TEST)", "glEnable(GL_LIGHTING)"}));
}
