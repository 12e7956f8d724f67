// assetpreview: decodes the images as the program does, and writes PNG
// copies to look at: each image, its 2 x 2 tiling (to show seams), and
// views of the sky box at the program's field of view.
//
//   assetpreview ROOT OUTDIR
#include "AssetSet.h"
#include "Image.h"
#include "SkyboxView.h"

#include "geometry/DecodedImage.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {
// the program's window and vertical field of view
constexpr int viewWidth = 1280;   // pixels
constexpr int viewHeight = 720;   // pixels
constexpr float viewFovY = 45.0f; // degrees

// writes one preview, saying why when it cannot
bool writePreview(const std::filesystem::path& path, const Image& image)
{
    std::string error;
    if (!AssetSet::writeFile(path.string(), image.encodePng(), error)) {
        std::fprintf(stderr, "assetpreview: %s\n", error.c_str());
        return false;
    }
    return true;
}

// the decoded file as an Image, or a 0 x 0 one when it is no RGB image the
// program reads
Image decode(const std::string& path)
{
    DecodedImage decoded;
    if (!decoded.load(path.c_str(), [] { return 4096; }) || decoded.getChannels() != 3) {
        std::fprintf(stderr, "assetpreview: cannot read '%s' as RGB: %s\n", path.c_str(),
                     decoded.getFailure().c_str());
        return Image(0, 0);
    }
    return Image::fromRgb(decoded.getWidth(), decoded.getHeight(), decoded.getPixels(), false);
}

Image tiled(const Image& image)
{
    Image out(image.getWidth() * 2, image.getHeight() * 2);
    out.fill([&](int x, int y) { return image.at(x, y); });
    return out;
}
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: assetpreview ROOT OUTDIR\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const std::filesystem::path outDir = argv[2];
    std::error_code code;
    std::filesystem::create_directories(outDir, code);
    int failures = 0;
    for (const std::string& path : AssetSet::imagePaths()) {
        const Image image = decode((root / path).string());
        if (image.getWidth() == 0) {
            ++failures;
            continue;
        }
        const std::string stem = std::filesystem::path(path).stem().string();
        failures += writePreview(outDir / (stem + ".png"), image) ? 0 : 1;
        failures += writePreview(outDir / (stem + "-tiled.png"), tiled(image)) ? 0 : 1;
        if (stem == "skybox") {
            const SkyboxView view(image);
            const struct {
                const char* name;
                float yaw;
                float pitch;
            } shots[] = {{"front", 0.0f, 10.0f},   {"left", 90.0f, 10.0f}, {"back", 180.0f, 10.0f},
                         {"right", 270.0f, 10.0f}, {"seam", 45.0f, 30.0f}, {"up", 20.0f, 80.0f},
                         {"down", 0.0f, -60.0f}};
            for (const auto& shot : shots) {
                const Image frame = view.render(viewWidth, viewHeight, viewFovY, shot.yaw, shot.pitch);
                failures += writePreview(outDir / (stem + "-" + shot.name + ".png"), frame) ? 0 : 1;
            }
        }
    }
    return failures == 0 ? 0 : 1;
}
