// assetshots: loads every image through SOIL into a real OpenGL context with
// the program's flags, printing how long each load takes, then draws the two
// models lit as the yard lights them and saves the frames as PNG files.
// Needs an X display (a virtual one does: Xvfb).
//
//   assetshots ROOT OUTDIR
#include "AssetSet.h"
#include "Image.h"
#include "geometry/Model.h"
#include "geometry/Texture.h"
#include "harness/GlTestContext.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {
constexpr int shotWidth = 1280; // pixels, the program's window
constexpr int shotHeight = 720; // pixels
constexpr int loadRepeats = 3;  // loads per file; the fastest is reported

// false, having said why, when the frame cannot be written
bool saveFrame(const std::filesystem::path& path)
{
    std::vector<uint8_t> rgb(static_cast<size_t>(shotWidth) * shotHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, shotWidth, shotHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    const Image image = Image::fromRgb(shotWidth, shotHeight, rgb.data(), true);
    std::string error;
    if (!AssetSet::writeFile(path.string(), image.encodePng(), error)) {
        std::fprintf(stderr, "assetshots: %s\n", error.c_str());
        return false;
    }
    return true;
}
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: assetshots ROOT OUTDIR\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const std::filesystem::path outDir = argv[2];
    std::error_code code;
    std::filesystem::create_directories(outDir, code);
    const GlTestContext gl(shotWidth, shotHeight);
    if (!gl.isReady()) {
        std::fprintf(stderr, "assetshots: %s\n", gl.failure());
        return 1;
    }
    std::printf("%s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    double total = 0.0;
    for (const std::string& path : AssetSet::imagePaths()) {
        double best = 1e9;
        GLuint texture = 0;
        for (int i = 0; i < loadRepeats; ++i) {
            const auto start = std::chrono::steady_clock::now();
            glDeleteTextures(1, &texture);
            texture = loadTextureFile((root / path).c_str());
            glFinish();
            best = std::min(best,
                            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        GLint width = 0;
        GLint height = 0;
        GLint format = 0;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        std::printf("%-20s %4d x %-4d format 0x%04x  SOIL load %7.1f ms%s\n", path.c_str(), width, height,
                    format, best * 1000.0, texture == 0 ? "  FAILED" : "");
        total += best;
        glDeleteTextures(1, &texture);
    }
    std::printf("all images once: %.1f ms (the program loads both container atlases twice)\n",
                total * 1000.0);

    Model car;
    Model sphere;
    if (!car.loadModel((root / "mdl/car_scrap.obj").c_str()) ||
        !sphere.loadModel((root / "mdl/smallSphere.obj").c_str())) {
        std::fprintf(stderr, "assetshots: cannot read the models under '%s'\n", root.c_str());
        return 1;
    }
    car.loadTexture((root / "img/rust.png").c_str());
    sphere.loadTexture((root / "img/sphereTex.jpg").c_str());
    glViewport(0, 0, shotWidth, shotHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(shotWidth) / shotHeight, 0.1, 350.0);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat ambient[] = {0.2f, 0.2f, 0.2f, 1.0f};
    const GLfloat diffuse[] = {0.7f, 0.7f, 0.7f, 1.0f};
    const GLfloat sun[] = {1.0f, 1.0f, 1.0f, 0.0f};
    const struct {
        const char* name;
        double eye[3];
        double centre[3];
        bool sphereShot;
    } shots[] = {
        {"car-front-left", {2.6, 1.0, 2.4}, {0.0, 0.4, 0.0}, false},
        {"car-rear-right", {-2.8, 1.2, -2.2}, {0.0, 0.4, 0.0}, false},
        {"car-side", {0.3, 0.8, 3.6}, {0.0, 0.5, 0.0}, false},
        {"car-side-far", {0.0, 1.0, -4.0}, {0.0, 0.5, 0.0}, false},
        {"spheres", {0.0, 0.3, 2.2}, {0.0, 0.0, 0.0}, true},
    };
    int failures = 0;
    for (const auto& shot : shots) {
        glClearColor(0.55f, 0.65f, 0.75f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        gluLookAt(shot.eye[0], shot.eye[1], shot.eye[2], shot.centre[0], shot.centre[1], shot.centre[2], 0, 1,
                  0);
        glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
        glLightfv(GL_LIGHT0, GL_POSITION, sun);
        if (shot.sphereShot) {
            glPushMatrix();
            glScalef(0.5f, 0.5f, 0.5f);
            sphere.render();
            glScalef(0.5f, 0.5f, 0.5f);
            glTranslatef(5.0f, 0.0f, 0.0f);
            sphere.render();
            glPopMatrix();
        } else {
            glPushMatrix();
            glScalef(0.3f, 0.3f, 0.3f);
            car.render();
            glPopMatrix();
        }
        failures += saveFrame(outDir / (std::string(shot.name) + ".png")) ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
