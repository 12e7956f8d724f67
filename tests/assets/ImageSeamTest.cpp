#include "Shaping.h"
#include "Vec3.h"

#include "geometry/DecodedImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
// an RGB image as the program decodes it, row 0 at the top
class Decoded {
public:
    explicit Decoded(const std::string& path)
    {
        DecodedImage image;
        if (image.load(path.c_str(), [] { return 4096; }) && image.getChannels() == 3) {
            width = image.getWidth();
            height = image.getHeight();
            pixels.assign(image.getPixels(), image.getPixels() + static_cast<size_t>(width) * height * 3);
        }
    }

    bool ok() const { return !pixels.empty(); }
    // summed absolute difference of the RGB of two pixels; coordinates wrap
    int difference(int x0, int y0, int x1, int y1) const
    {
        const unsigned char* a = at(x0, y0);
        const unsigned char* b = at(x1, y1);
        return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
    }
    // bilinear RGB at (s, t), t = 1 being the top row as the program loads it
    Vec3 sample(float s, float t) const
    {
        const float x = s * width - 0.5f;
        const float y = (1.0f - t) * height - 0.5f;
        const int ix = static_cast<int>(std::floor(x));
        const int iy = static_cast<int>(std::floor(y));
        const float fx = x - ix;
        const float fy = y - iy;
        Vec3 sum;
        for (int j = 0; j < 2; ++j) {
            for (int i = 0; i < 2; ++i) {
                const unsigned char* p = at(ix + i, iy + j);
                const float w = (i ? fx : 1.0f - fx) * (j ? fy : 1.0f - fy);
                sum = sum + Vec3(p[0], p[1], p[2]) * w;
            }
        }
        return sum;
    }

    int width = 0;
    int height = 0;

private:
    const unsigned char* at(int x, int y) const
    {
        return &pixels[(static_cast<size_t>(Shaping::wrap(y, height)) * width + Shaping::wrap(x, width)) * 3];
    }

    std::vector<unsigned char> pixels;
};

// mean difference across the wrap-around edge against the mean between
// neighbouring columns (or rows) inside the image
void expectTilesSeamlessly(const Decoded& image, bool acrossRowsToo)
{
    double inside = 0.0;
    double wrap = 0.0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x + 1 < image.width; ++x) {
            inside += image.difference(x, y, x + 1, y);
        }
        wrap += image.difference(image.width - 1, y, 0, y);
    }
    inside /= static_cast<double>(image.height) * (image.width - 1);
    wrap /= image.height;
    EXPECT_LT(wrap, inside * 1.5 + 3.0) << "across the left and right edges";
    if (acrossRowsToo) {
        double insideRows = 0.0;
        double wrapRows = 0.0;
        for (int x = 0; x < image.width; ++x) {
            for (int y = 0; y + 1 < image.height; ++y) {
                insideRows += image.difference(x, y, x, y + 1);
            }
            wrapRows += image.difference(x, image.height - 1, x, 0);
        }
        insideRows /= static_cast<double>(image.width) * (image.height - 1);
        wrapRows /= image.width;
        EXPECT_LT(wrapRows, insideRows * 1.5 + 3.0) << "across the top and bottom edges";
    }
}

// the sky box's quads as its display list draws them: (s, t) and position
// of the four corners of each face
struct SkyCorner {
    float s, t;
    Vec3 p;
};
// one face a line, kept as laid out by hand
// clang-format off
const SkyCorner skyFaces[6][4] = {
    {{0.25f, 0.5f, {-1, -1, -1}}, {0.5f, 0.5f, {1, -1, -1}}, {0.5f, 0.75f, {1, 1, -1}}, {0.25f, 0.75f, {-1, 1, -1}}},
    {{0.0f, 0.5f, {-1, -1, 1}}, {0.25f, 0.5f, {-1, -1, -1}}, {0.25f, 0.75f, {-1, 1, -1}}, {0.0f, 0.75f, {-1, 1, 1}}},
    {{0.75f, 0.5f, {1, -1, 1}}, {1.0f, 0.5f, {-1, -1, 1}}, {1.0f, 0.75f, {-1, 1, 1}}, {0.75f, 0.75f, {1, 1, 1}}},
    {{0.5f, 0.5f, {1, -1, -1}}, {0.75f, 0.5f, {1, -1, 1}}, {0.75f, 0.75f, {1, 1, 1}}, {0.5f, 0.75f, {1, 1, -1}}},
    {{0.25f, 0.75f, {-1, 1, -1}}, {0.5f, 0.75f, {1, 1, -1}}, {0.5f, 1.0f, {1, 1, 1}}, {0.25f, 1.0f, {-1, 1, 1}}},
    {{0.25f, 0.25f, {-1, -1, -1}}, {0.5f, 0.25f, {1, -1, -1}}, {0.5f, 0.5f, {1, -1, 1}}, {0.25f, 0.5f, {-1, -1, 1}}},
};
// clang-format on

// (s, t) of the cube-surface point q on `face`, the quad's corners taken as
// an affine map
void skyCoordinates(int face, const Vec3& q, float& s, float& t)
{
    const SkyCorner* c = skyFaces[face];
    const Vec3 along = c[1].p - c[0].p;
    const Vec3 up = c[3].p - c[0].p;
    const float a = (q - c[0].p).dot(along) / along.dot(along);
    const float b = (q - c[0].p).dot(up) / up.dot(up);
    s = c[0].s + a * (c[1].s - c[0].s);
    t = c[0].t + b * (c[3].t - c[0].t);
}

// the centre of `face` on the unit cube
Vec3 faceCentre(int face)
{
    const SkyCorner* c = skyFaces[face];
    return (c[0].p + c[2].p) * 0.5f;
}
}

TEST(ImageSeams, GrassTilesAcrossAndUp)
{
    const Decoded grass("img/Grass.jpg");
    ASSERT_TRUE(grass.ok());
    expectTilesSeamlessly(grass, true);
}

TEST(ImageSeams, WallTilesAcross)
{
    const Decoded wall("img/wall.png");
    ASSERT_TRUE(wall.ok());
    expectTilesSeamlessly(wall, false);
}

// Along every edge two cube faces share, the texels just inside each face
// show the same sky: a face turned, mirrored or misplaced in the atlas shows
// clouds, sun and horizon that do not meet.
TEST(ImageSeams, SkyBoxFacesMeetAlongEveryCubeEdge)
{
    const Decoded sky("img/skybox.png");
    ASSERT_TRUE(sky.ok());
    // cube units in from the edge, the same angle at any atlas size: half a
    // degree, which filtering reaches across from either side
    constexpr float inset = 0.006f;
    int edges = 0;
    for (int f = 0; f < 6; ++f) {
        for (int g = f + 1; g < 6; ++g) {
            const Vec3 cf = faceCentre(f);
            const Vec3 cg = faceCentre(g);
            if (std::fabs(cf.dot(cg)) > 0.5f) {
                continue; // opposite faces share no edge
            }
            ++edges;
            // the edge runs along the axis perpendicular to both faces
            const Vec3 runs = cf.cross(cg);
            double total = 0.0;
            constexpr int samples = 64;
            for (int i = 0; i < samples; ++i) {
                const float along = -0.95f + 1.9f * (i + 0.5f) / samples;
                const Vec3 edge = cf + cg + runs * along;
                float s0 = 0.0f;
                float t0 = 0.0f;
                float s1 = 0.0f;
                float t1 = 0.0f;
                skyCoordinates(f, edge - cg * inset, s0, t0);
                skyCoordinates(g, edge - cf * inset, s1, t1);
                const Vec3 d = sky.sample(s0, t0) - sky.sample(s1, t1);
                total += std::fabs(d.x) + std::fabs(d.y) + std::fabs(d.z);
            }
            EXPECT_LT(total / samples, 12.0) << "faces " << f << " and " << g << " do not meet";
        }
    }
    EXPECT_EQ(edges, 12);
}

// The horizon lies along the middle of the side band on all four sides:
// above it sky, below it land, so brightness falls across it everywhere.
TEST(ImageSeams, SkyBoxHorizonIsLevelOnAllFourSides)
{
    const Decoded sky("img/skybox.png");
    ASSERT_TRUE(sky.ok());
    for (int face = 0; face < 4; ++face) {
        for (int i = 0; i < 16; ++i) {
            const float s = 0.25f * face + 0.25f * (i + 0.5f) / 16.0f;
            const Vec3 above = sky.sample(s, 0.625f + 0.25f * 0.5f * 0.5f); // 26.6 degrees up
            const Vec3 below = sky.sample(s, 0.625f - 0.25f * 0.5f * 0.2f); // 11.3 degrees down
            EXPECT_GT(above.z, below.z + 40.0f) << "side " << face << " at s = " << s;
        }
    }
}
