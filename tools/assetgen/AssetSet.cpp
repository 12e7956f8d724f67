#include "AssetSet.h"

#include "GrassTexture.h"
#include "SkyboxAtlas.h"
#include "WallTexture.h"

#include <filesystem>
#include <fstream>

namespace {
constexpr int jpegQuality = 88;       // 1..100
constexpr int grassSize = 512;        // pixels square, one 1 x 1 unit ground tile
constexpr uint32_t grassSeed = 11;
constexpr int wallWidth = 512;        // pixels, 1.2 units of wall
constexpr int wallHeight = 512;       // pixels, the wall's 2 units of height
constexpr uint32_t wallSeed = 23;
constexpr int skyboxSize = 2048;      // pixels square, 512 per cube face
constexpr uint32_t skySeed = 5;

std::vector<uint8_t> bytesOf(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}
}

std::vector<std::string> AssetSet::paths()
{
    return {"img/Grass.jpg", "img/wall.png", "img/skybox.png"};
}

std::vector<uint8_t> AssetSet::generate(const std::string& path)
{
    if (path == "img/Grass.jpg") {
        return GrassTexture(grassSeed).render(grassSize).encodeJpg(jpegQuality);
    }
    if (path == "img/wall.png") {
        return WallTexture(wallSeed).render(wallWidth, wallHeight).encodePng();
    }
    if (path == "img/skybox.png") {
        return SkyboxAtlas(skySeed).render(skyboxSize).encodePng();
    }
    return {};
}

bool AssetSet::write(const std::string& root, const std::string& path, std::string& error)
{
    const std::vector<uint8_t> bytes = generate(path);
    if (bytes.empty()) {
        error = "no generator makes '" + path + "'";
        return false;
    }
    const std::filesystem::path target = std::filesystem::path(root) / path;
    std::error_code code;
    std::filesystem::create_directories(target.parent_path(), code);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = "cannot write '" + target.string() + "'";
        return false;
    }
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        error = "write to '" + target.string() + "' failed";
        return false;
    }
    return true;
}
