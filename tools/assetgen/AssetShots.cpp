// assetshots: loads every image through SOIL into a real OpenGL context with
// the program's flags, printing how long each load takes, then draws the two
// models lit as the yard lights them and saves the frames as PNG files.
// Needs an X display (a virtual one does: Xvfb).
//
//   assetshots ROOT OUTDIR
#include "AssetSet.h"
#include "Image.h"

#include <SDL.h>
#include <SOIL.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {
constexpr int shotWidth = 1280;   // pixels, the program's window
constexpr int shotHeight = 720;   // pixels
constexpr unsigned int textureFlags =
    SOIL_FLAG_MIPMAPS | SOIL_FLAG_INVERT_Y | SOIL_FLAG_COMPRESS_TO_DXT | SOIL_FLAG_NTSC_SAFE_RGB;
constexpr int loadRepeats = 3;    // loads per file; the fastest is reported

struct Triangles {
    std::vector<float> corners;   // x y z u v nx ny nz per corner
};

// the OBJ subset the program reads: v, vt, vn and f a/b/c corners
Triangles readObj(const std::string& path)
{
    std::ifstream in(path);
    std::vector<float> v;
    std::vector<float> vt;
    std::vector<float> vn;
    Triangles out;
    std::string lineText;
    while (std::getline(in, lineText)) {
        std::istringstream line(lineText);
        std::string key;
        line >> key;
        float a = 0.0f;
        float b = 0.0f;
        float c = 0.0f;
        if (key == "v" && line >> a >> b >> c) {
            v.insert(v.end(), {a, b, c});
        } else if (key == "vt" && line >> a >> b) {
            vt.insert(vt.end(), {a, b});
        } else if (key == "vn" && line >> a >> b >> c) {
            vn.insert(vn.end(), {a, b, c});
        } else if (key == "f") {
            for (int i = 0; i < 3; ++i) {
                int p = 0;
                int t = 0;
                int n = 0;
                char slash = 0;
                line >> p >> slash >> t >> slash >> n;
                out.corners.insert(out.corners.end(), {v[3 * (p - 1)], v[3 * (p - 1) + 1], v[3 * (p - 1) + 2],
                                                       vt[2 * (t - 1)], vt[2 * (t - 1) + 1], vn[3 * (n - 1)],
                                                       vn[3 * (n - 1) + 1], vn[3 * (n - 1) + 2]});
            }
        }
    }
    return out;
}

void draw(const Triangles& mesh, GLuint texture)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_TRIANGLES);
        for (size_t i = 0; i + 8 <= mesh.corners.size(); i += 8) {
            glNormal3f(mesh.corners[i + 5], mesh.corners[i + 6], mesh.corners[i + 7]);
            glTexCoord2f(mesh.corners[i + 3], mesh.corners[i + 4]);
            glVertex3f(mesh.corners[i], mesh.corners[i + 1], mesh.corners[i + 2]);
        }
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
}

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
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "assetshots: no display: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_Window* window = SDL_CreateWindow("assetshots", 0, 0, shotWidth, shotHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
    if (context == nullptr) {
        std::fprintf(stderr, "assetshots: no OpenGL context: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    std::printf("%s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    GLuint rust = 0;
    GLuint lamp = 0;
    double total = 0.0;
    for (const std::string& path : AssetSet::paths()) {
        if (path.rfind("img/", 0) != 0) {
            continue;
        }
        double best = 1e9;
        GLuint texture = 0;
        for (int i = 0; i < loadRepeats; ++i) {
            const auto start = std::chrono::steady_clock::now();
            texture = SOIL_load_OGL_texture((root / path).c_str(), SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, textureFlags);
            glFinish();
            best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        GLint width = 0;
        GLint height = 0;
        GLint format = 0;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        std::printf("%-20s %4d x %-4d format 0x%04x  SOIL load %7.1f ms%s\n", path.c_str(), width, height, format,
                    best * 1000.0, texture == 0 ? "  FAILED" : "");
        total += best;
        if (path == "img/rust.png") {
            rust = texture;
        } else if (path == "img/sphereTex.jpg") {
            lamp = texture;
        }
    }
    std::printf("all images once: %.1f ms (the program loads both container atlases twice)\n", total * 1000.0);

    const Triangles car = readObj((root / "mdl/car_scrap.obj").string());
    const Triangles sphere = readObj((root / "mdl/smallSphere.obj").string());
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
        gluLookAt(shot.eye[0], shot.eye[1], shot.eye[2], shot.centre[0], shot.centre[1], shot.centre[2], 0, 1, 0);
        glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
        glLightfv(GL_LIGHT0, GL_POSITION, sun);
        if (shot.sphereShot) {
            glPushMatrix();
                glScalef(0.5f, 0.5f, 0.5f);
                draw(sphere, lamp);
                glScalef(0.5f, 0.5f, 0.5f);
                glTranslatef(5.0f, 0.0f, 0.0f);
                draw(sphere, lamp);
            glPopMatrix();
        } else {
            glPushMatrix();
                glScalef(0.3f, 0.3f, 0.3f);
                draw(car, rust);
            glPopMatrix();
        }
        failures += saveFrame(outDir / (std::string(shot.name) + ".png")) ? 0 : 1;
    }
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return failures == 0 ? 0 : 1;
}
