#include "SkyboxAtlas.h"

#include "LatticeHash.h"
#include "Shaping.h"
#include "SkyboxFaces.h"

#include <algorithm>
#include <cmath>

namespace {
// the program's fixed light shines from (1, 1, 1); the sun stands at that
// elevation but turned a little towards +x, off the cube's corner where
// three faces would cut its disc
const Vec3 sunDirection = Vec3(1.0f, 0.8f, 0.6f).normalized();
constexpr float sunDiscCos = 0.99985f; // cosine of the sun's angular radius
constexpr float cloudCoverage = 0.47f; // share of the sky under cloud
constexpr float cloudScale = 0.09f;    // tiles of cloud noise per unit of cloud-plane distance
constexpr float hillBase = 0.014f;     // sine of the lowest hill elevation
constexpr float hillRise = 0.12f;      // sine of the extra elevation of the highest hills
constexpr float pixelAngle = 0.0025f;  // about one texel, for soft silhouettes
// Texels of a cell no face uses that are shaded all the same: the sky box
// never samples them, but filtering pulls in this many texels round every
// face (mipmaps one level down for each doubling), so they continue the sky.
constexpr float unusedMarginTexels = 16.0f;

// the compass bearing of `d`, 0..1 once round the horizon
float around(const Vec3& d)
{
    return std::atan2(d.x, -d.z) * 0.15915494f + 0.5f;
}
}

SkyboxAtlas::SkyboxAtlas(uint32_t seedValue)
    : seed(seedValue), cloudShape(LatticeHash(seedValue).derived(1), 4, 4, 5, 0.5f),
      cloudDetail(LatticeHash(seedValue).derived(2), 16, 16, 4, 0.55f),
      ridge(LatticeHash(seedValue).derived(3), 6, 1, 6, 0.5f),
      forest(LatticeHash(seedValue).derived(4), 96, 96, 4, 0.5f)
{
}

Color SkyboxAtlas::sky(const Vec3& d) const
{
    const Color horizon = Color::fromBytes(206, 218, 228);
    const Color zenith = Color::fromBytes(62, 118, 196);
    const float e = std::max(d.y, 0.0f);
    Color c = horizon.mix(zenith, std::pow(e, 0.55f));
    const float toSun = std::max(d.dot(sunDirection), 0.0f);
    const Color warm = Color::fromBytes(255, 244, 214);
    c = c.mix(warm, 0.45f * std::pow(toSun, 12.0f) + 0.5f * std::pow(toSun, 300.0f));
    if (toSun > sunDiscCos) {
        c = Color(1.0f, 1.0f, 0.97f);
    }
    return c;
}

float SkyboxAtlas::cloudDepth(float x, float z) const
{
    const float u = x * cloudScale;
    const float v = z * cloudScale;
    const float shape = cloudShape.at(u, v) * 0.5f + 0.5f;
    // billows: the detail only eats into the edges, so cores stay solid
    const float detail = cloudDetail.ridgedAt(u, v) - 0.5f;
    return shape + 0.16f * detail - (1.0f - cloudCoverage);
}

Color SkyboxAtlas::clouds(const Vec3& d, const Color& behind) const
{
    if (d.y <= 0.0f) {
        return behind;
    }
    // where the ray meets a flat cloud deck: clouds crowd towards the horizon
    const float reach = 1.0f / (d.y + 0.04f);
    const float x = d.x * reach;
    const float z = d.z * reach;
    const float depth = cloudDepth(x, z);
    const float cover = Shaping::smoothstep(0.0f, 0.07f, depth);
    if (cover <= 0.0f) {
        return behind;
    }
    // thin edges let the light through; thick cores show grey bases, less so
    // on the side facing the sun
    const float step = 0.5f;
    const float towardSun = cloudDepth(x + sunDirection.x * step, z + sunDirection.z * step);
    const float thickness = Shaping::smoothstep(0.03f, 0.3f, depth);
    const float sunSide = std::clamp((depth - towardSun) * 3.0f, -1.0f, 1.0f);
    const Color shadow = Color::fromBytes(150, 158, 174);
    const Color bright = Color::fromBytes(252, 251, 247);
    Color cloud = bright.mix(shadow, thickness * (0.75f - 0.35f * sunSide));
    const float toSun = std::max(d.dot(sunDirection), 0.0f);
    cloud = cloud.mix(Color(1.0f, 0.98f, 0.92f), 0.6f * std::pow(toSun, 24.0f) * (1.0f - thickness));
    // distant clouds fade into the horizon haze
    const float fade = Shaping::smoothstep(0.015f, 0.22f, d.y);
    return behind.mix(cloud, cover * fade * 0.97f);
}

float SkyboxAtlas::hillHeight(const Vec3& d) const
{
    const float r = std::clamp(ridge.at(around(d), 0.37f) * 0.6f + 0.5f, 0.0f, 1.0f);
    return hillBase + hillRise * r * r;
}

Color SkyboxAtlas::land(const Vec3& d, float hill) const
{
    const Color haze = Color::fromBytes(188, 200, 206);
    const Color farHill = Color::fromBytes(96, 120, 116);
    const Color nearField = Color::fromBytes(78, 96, 58);
    if (d.y > 0.0f) {
        // wooded hillsides, paler towards their foot where more air lies between
        const float trees = forest.at(around(d), d.y * 3.0f) * 0.5f + 0.5f;
        const float height = d.y / hill;
        return haze.mix(farHill, 0.35f + 0.5f * height).mix(farHill * 0.7f, trees * 0.6f);
    }
    // fields on the ground plane, seen ever flatter towards the horizon
    const float reach = 1.0f / (-d.y + 0.02f);
    const float fields = forest.at(d.x * reach * 0.02f, d.z * reach * 0.02f) * 0.5f + 0.5f;
    const float depth = Shaping::smoothstep(0.0f, 0.25f, -d.y);
    return haze.mix(farHill, 0.55f).mix(nearField * (0.8f + 0.35f * fields), depth);
}

Color SkyboxAtlas::look(const Vec3& d) const
{
    const Color air = clouds(d, sky(d));
    const float hill = hillHeight(d);
    const float ground = Shaping::smoothstep(hill + pixelAngle, hill - pixelAngle, d.y);
    return air.mix(land(d, hill), ground);
}

Image SkyboxAtlas::render(int size) const
{
    // Shaded at twice the size and averaged down, so the atlas keeps the
    // shapes of the finer painting, its thin wisps of cloud included, rather
    // than whatever its own texel centres happen to hit.
    const int fine = 2 * size;
    Image painted(fine, fine);
    // far from every face, the horizon's haze: one flat colour costs the
    // image library almost nothing to decode
    const Color unused = look(Vec3(0.0f, 0.0f, -1.0f));
    painted.fill([&](int x, int y) {
        const float s = (x + 0.5f) / fine;
        const float t = 1.0f - (y + 0.5f) / fine;
        if (SkyboxFaces::distanceToFace(s, t) * size > unusedMarginTexels) {
            return unused;
        }
        return look(SkyboxFaces::direction(s, t));
    });
    const LatticeHash dither = LatticeHash(seed).derived(9);
    Image image(size, size);
    image.fill([&](int x, int y) {
        const Color c = (painted.at(2 * x, 2 * y) + painted.at(2 * x + 1, 2 * y) +
                         painted.at(2 * x, 2 * y + 1) + painted.at(2 * x + 1, 2 * y + 1)) *
                        0.25f;
        // half a step of noise breaks the 8-bit bands of the smooth gradient
        const float n = (dither.unit(x, y) - 0.5f) / 255.0f;
        return c + Color(n, n, n);
    });
    return image;
}
