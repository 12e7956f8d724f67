#include "AssetSet.h"

#include "CarModel.h"
#include "ContainerAtlas.h"
#include "GrassTexture.h"
#include "LampTexture.h"
#include "RustTexture.h"
#include "SkyboxAtlas.h"
#include "SphereModel.h"
#include "WallTexture.h"

#include <filesystem>
#include <fstream>

namespace {
constexpr int jpegQuality = 88; // 1..100
constexpr int grassSize = 512;  // pixels square, one 1 x 1 unit ground tile
constexpr uint32_t grassSeed = 11;
constexpr int wallWidth = 512;  // pixels, 1.2 units of wall
constexpr int wallHeight = 512; // pixels, the wall's 2 units of height
constexpr uint32_t wallSeed = 23;
constexpr int skyboxSize = 1024; // pixels square, 256 per cube face
constexpr uint32_t skySeed = 5;
constexpr int containerSize = 1024; // pixels square, the 3 x 3 atlas
// pixels square, the car's atlas: a car is small on screen, its longest
// panel some 300 pixels from the nearest place the yard lets the eye stand
constexpr int rustSize = 512;
constexpr uint32_t rustSeed = 61;
constexpr int lampWidth = 256;  // pixels round the globe
constexpr int lampHeight = 128; // pixels from pole to pole
constexpr uint32_t lampSeed = 67;
constexpr uint32_t carSeed = 71;
constexpr int sphereRings = 16;
constexpr int sphereSegments = 32;

// weathered blue boxes of one line, rust-red ones of another, a livery a line
// clang-format off
Livery blueLivery()
{
    return {Color::fromBytes(44, 92, 148), Color::fromBytes(36, 74, 120), Color::fromBytes(232, 232, 224),
            "KESTREL", "KSTU 204518 3", 0.55f, 41};
}

Livery redLivery()
{
    return {Color::fromBytes(168, 66, 38), Color::fromBytes(136, 52, 32), Color::fromBytes(236, 230, 214),
            "BRINDLE", "BRDU 730412 7", 0.8f, 43};
}
// clang-format on

// an image is painted, then encoded as its name's extension says; a model
// is written as OBJ text
struct AssetMaker {
    const char* path;
    Image (*paint)();
    std::string (*write)();
};

// the files in the order assetgen writes them, each with the generator call
// that makes it
const AssetMaker assetMakers[] = {
    {"img/Grass.jpg", [] { return GrassTexture(grassSeed).render(grassSize); }, nullptr},
    {"img/wall.png", [] { return WallTexture(wallSeed).render(wallWidth, wallHeight); }, nullptr},
    {"img/skybox.png", [] { return SkyboxAtlas(skySeed).render(skyboxSize); }, nullptr},
    {"img/container.png", [] { return ContainerAtlas(blueLivery()).render(containerSize); }, nullptr},
    {"img/container2.png", [] { return ContainerAtlas(redLivery()).render(containerSize); }, nullptr},
    {"img/rust.png", [] { return RustTexture(rustSeed).render(rustSize); }, nullptr},
    {"img/sphereTex.jpg", [] { return LampTexture(lampSeed).render(lampWidth, lampHeight); }, nullptr},
    {"mdl/car_scrap.obj", nullptr,
     [] { return CarModel(carSeed).build().toObj("Brindlemoor scrap car, written by tools/assetgen"); }},
    {"mdl/smallSphere.obj", nullptr,
     [] {
         return SphereModel::build(sphereRings, sphereSegments)
             .toObj("Brindlemoor light marker, written by tools/assetgen");
     }},
};

const AssetMaker* makerOf(const std::string& path)
{
    for (const AssetMaker& maker : assetMakers) {
        if (path == maker.path) {
            return &maker;
        }
    }
    return nullptr;
}

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}
}

std::vector<std::string> AssetSet::paths()
{
    std::vector<std::string> out;
    for (const AssetMaker& maker : assetMakers) {
        out.emplace_back(maker.path);
    }
    return out;
}

std::vector<std::string> AssetSet::imagePaths()
{
    std::vector<std::string> out;
    for (const AssetMaker& maker : assetMakers) {
        if (std::string(maker.path).rfind("img/", 0) == 0) {
            out.emplace_back(maker.path);
        }
    }
    return out;
}

std::vector<uint8_t> AssetSet::generate(const std::string& path)
{
    const AssetMaker* maker = makerOf(path);
    if (maker == nullptr) {
        return {};
    }
    if (maker->write != nullptr) {
        const std::string text = maker->write();
        return std::vector<uint8_t>(text.begin(), text.end());
    }
    const Image image = maker->paint();
    return endsWith(path, ".jpg") ? image.encodeJpg(jpegQuality) : image.encodePng();
}

Image AssetSet::paint(const std::string& path)
{
    const AssetMaker* maker = makerOf(path);
    return maker != nullptr && maker->paint != nullptr ? maker->paint() : Image(0, 0);
}

bool AssetSet::write(const std::string& root, const std::string& path, std::string& error)
{
    const std::vector<uint8_t> bytes = generate(path);
    if (bytes.empty()) {
        error = "no generator makes '" + path + "'";
        return false;
    }
    return writeFile((std::filesystem::path(root) / path).string(), bytes, error);
}

bool AssetSet::writeFile(const std::string& target, const std::vector<uint8_t>& bytes, std::string& error)
{
    std::error_code code;
    std::filesystem::create_directories(std::filesystem::path(target).parent_path(), code);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = "cannot write '" + target + "'";
        return false;
    }
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        error = "write to '" + target + "' failed";
        return false;
    }
    return true;
}
