#include "CarLayout.h"
#include "Vec3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {
constexpr float unitTolerance = 2e-3f; // normals are written with 3 decimals
constexpr float sliverArea = 1e-4f;    // twice the area below which a triangle has no facing
constexpr size_t maximumFileBytes = 400 * 1024;
constexpr float sphereRadius = 0.7f; // units

struct Corner {
    int position;
    int texCoord;
    int normal;
};

// an OBJ file read strictly: every line must be a comment or a v, vt, vn or
// f statement of the subset the program's loader reads
struct ObjFile {
    std::vector<Vec3> positions;
    std::vector<Vec3> texCoords;
    std::vector<Vec3> normals;
    std::vector<Corner> corners;
    std::vector<std::string> problems;
    std::string text;
};

bool readNumber(std::istringstream& in, float& value)
{
    std::string token;
    if (!(in >> token)) {
        return false;
    }
    char* end = nullptr;
    value = std::strtof(token.c_str(), &end);
    return *end == '\0';
}

ObjFile readObj(const std::string& path)
{
    ObjFile obj;
    std::ifstream in(path, std::ios::binary);
    obj.text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    std::istringstream lines(obj.text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const std::string where = path + ":" + std::to_string(number) + ": ";
        std::istringstream in(line);
        std::string keyword;
        in >> keyword;
        float a = 0.0f;
        float b = 0.0f;
        float c = 0.0f;
        std::string extra;
        if (keyword == "#") {
            continue;
        }
        if (keyword == "v" || keyword == "vn") {
            if (!readNumber(in, a) || !readNumber(in, b) || !readNumber(in, c) || (in >> extra)) {
                obj.problems.push_back(where + "needs exactly three numbers");
            }
            (keyword == "v" ? obj.positions : obj.normals).emplace_back(a, b, c);
        } else if (keyword == "vt") {
            if (!readNumber(in, a) || !readNumber(in, b) || (in >> extra)) {
                obj.problems.push_back(where + "needs exactly two numbers");
            }
            obj.texCoords.emplace_back(a, b, 0.0f);
        } else if (keyword == "f") {
            std::string corner;
            int count = 0;
            while (in >> corner) {
                Corner k{0, 0, 0};
                char tail = 0;
                if (std::sscanf(corner.c_str(), "%d/%d/%d%c", &k.position, &k.texCoord, &k.normal, &tail) !=
                    3) {
                    obj.problems.push_back(where + "corner '" + corner + "' is not position/texture/normal");
                }
                obj.corners.push_back(k);
                ++count;
            }
            if (count != 3) {
                obj.problems.push_back(where + "a face needs exactly three corners");
            }
        } else {
            obj.problems.push_back(where + "'" + keyword + "' is outside the subset");
        }
    }
    return obj;
}

void expectWellFormed(const ObjFile& obj, const std::string& path)
{
    ASSERT_FALSE(obj.text.empty()) << path;
    // the loader yields nothing unless the very first byte is a line character
    EXPECT_TRUE(obj.text[0] >= 0x21 && obj.text[0] <= 0x7E) << path;
    EXPECT_EQ(obj.text.back(), '\n') << path;
    for (const char c : obj.text) {
        if (c != '\n' && (c < 0x20 || c > 0x7E)) {
            ADD_FAILURE() << path << " holds the byte " << static_cast<int>(static_cast<unsigned char>(c));
            break;
        }
    }
    for (const std::string& problem : obj.problems) {
        ADD_FAILURE() << problem;
    }
    EXPECT_LE(obj.text.size(), maximumFileBytes) << path;
    for (const Corner& k : obj.corners) {
        ASSERT_TRUE(k.position >= 1 && k.position <= static_cast<int>(obj.positions.size())) << path;
        ASSERT_TRUE(k.texCoord >= 1 && k.texCoord <= static_cast<int>(obj.texCoords.size())) << path;
        ASSERT_TRUE(k.normal >= 1 && k.normal <= static_cast<int>(obj.normals.size())) << path;
    }
    for (const Vec3& n : obj.normals) {
        EXPECT_NEAR(n.length(), 1.0f, unitTolerance) << path;
    }
    for (const Vec3& t : obj.texCoords) {
        // the model textures are clamped, and edge texels blend with the border
        EXPECT_TRUE(t.x > 0.005f && t.x < 0.995f && t.y > 0.005f && t.y < 0.995f) << path;
    }
    // counter-clockwise seen from outside: the winding's normal agrees with
    // the normals the corners carry
    int against = 0;
    for (size_t i = 0; i + 2 < obj.corners.size(); i += 3) {
        const Vec3& a = obj.positions[obj.corners[i].position - 1];
        const Vec3& b = obj.positions[obj.corners[i + 1].position - 1];
        const Vec3& c = obj.positions[obj.corners[i + 2].position - 1];
        const Vec3 facing = (b - a).cross(c - a);
        if (facing.length() < sliverArea) {
            continue;
        }
        const Vec3 n = obj.normals[obj.corners[i].normal - 1] + obj.normals[obj.corners[i + 1].normal - 1] +
                       obj.normals[obj.corners[i + 2].normal - 1];
        against += facing.dot(n) <= 0.0f ? 1 : 0;
    }
    EXPECT_EQ(against, 0) << path << ": triangles wound against their normals";
}
}

TEST(ObjFiles, CarKeepsToTheLoadersSubsetAndWindsOutwards)
{
    const ObjFile car = readObj("mdl/car_scrap.obj");
    expectWellFormed(car, "mdl/car_scrap.obj");
    const size_t triangles = car.corners.size() / 3;
    EXPECT_GE(triangles, 2000u);
    EXPECT_LE(triangles, 8000u);
}

TEST(ObjFiles, CarIsThirteenUnitsLongAlongXWithItsWheelsOnTheGround)
{
    const ObjFile car = readObj("mdl/car_scrap.obj");
    ASSERT_FALSE(car.positions.empty());
    Vec3 low = car.positions[0];
    Vec3 high = car.positions[0];
    for (const Vec3& p : car.positions) {
        low = Vec3(std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z));
        high = Vec3(std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z));
    }
    EXPECT_NEAR(high.x - low.x, 13.0f, 0.5f);
    EXPECT_NEAR(low.x + high.x, 0.0f, 0.5f) << "centred along its length";
    EXPECT_LT(high.z - low.z, 5.5f);
    EXPECT_NEAR(low.z + high.z, 0.0f, 0.2f) << "centred across";
    EXPECT_GT(high.y, 3.5f);
    EXPECT_LT(high.y, 4.5f);
    EXPECT_FLOAT_EQ(low.y, 0.0f);
    // what touches the ground is the four tyres, nothing else
    bool wheelDown[2][2] = {{false, false}, {false, false}};
    for (const Vec3& p : car.positions) {
        if (p.y > 1e-3f) {
            continue;
        }
        const bool front = std::fabs(p.x - CarLayout::frontAxle) < CarLayout::wheelRadius;
        const bool rear = std::fabs(p.x - CarLayout::rearAxle) < CarLayout::wheelRadius;
        const bool track = std::fabs(std::fabs(p.z) - CarLayout::wheelTrack) < CarLayout::wheelWidth;
        EXPECT_TRUE((front || rear) && track)
            << "(" << p.x << ", " << p.y << ", " << p.z << ") on the ground";
        if ((front || rear) && track) {
            wheelDown[front ? 0 : 1][p.z > 0.0f ? 0 : 1] = true;
        }
    }
    EXPECT_TRUE(wheelDown[0][0] && wheelDown[0][1] && wheelDown[1][0] && wheelDown[1][1]);
}

TEST(ObjFiles, SphereIsASmoothGlobeAboutTheOrigin)
{
    const ObjFile sphere = readObj("mdl/smallSphere.obj");
    expectWellFormed(sphere, "mdl/smallSphere.obj");
    Vec3 mean;
    for (const Vec3& p : sphere.positions) {
        EXPECT_NEAR(p.length(), sphereRadius, 2e-3f);
        mean = mean + p * (1.0f / sphere.positions.size());
    }
    EXPECT_LT(mean.length(), 1e-2f);
    for (const Corner& k : sphere.corners) {
        const Vec3 outward = sphere.positions[k.position - 1].normalized();
        EXPECT_GT(outward.dot(sphere.normals[k.normal - 1]), 0.999f);
    }
    EXPECT_GE(sphere.corners.size() / 3, 500u);
}
