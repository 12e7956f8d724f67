// A tiny program that makes one geometry call in a fresh OpenGL context and
// exits, for the tests to record under apitrace and read the exact calls:
//   geometry_gl_probe box VARIANT
//   geometry_gl_probe plane WIDTH HEIGHT COLUMNS ROWS UREPEAT VREPEAT
//   geometry_gl_probe sky
//   geometry_gl_probe model OBJFILE      (renders it, loaded or not)
#include "geometry/Model.h"
#include "harness/GlTestContext.h"
#include "scene/Shapes.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
// a texture name the lists bind; it need not hold an image to be recorded
constexpr GLuint probeTexture = 5;

int usage()
{
    std::fprintf(stderr, "usage: geometry_gl_probe box V | plane W H C R U V | sky | model FILE\n");
    return 2;
}
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        return usage();
    }
    GlTestContext context;
    if (!context.isReady()) {
        std::fprintf(stderr, "%s\n", context.failure());
        return 1;
    }
    const std::string what = argv[1];
    Shapes shapes;
    if (what == "box" && argc == 3) {
        shapes.createBox(probeTexture, std::atoi(argv[2]));
    } else if (what == "plane" && argc == 8) {
        shapes.createPlane(probeTexture, std::strtof(argv[2], nullptr), std::strtof(argv[3], nullptr),
                           std::atoi(argv[4]), std::atoi(argv[5]), std::strtof(argv[6], nullptr),
                           std::strtof(argv[7], nullptr));
    } else if (what == "sky" && argc == 2) {
        shapes.createSkybox(probeTexture);
    } else if (what == "model" && argc == 3) {
        Model model;
        model.loadModel(argv[2]);
        model.render();
    } else {
        return usage();
    }
    glFinish();
    return 0;
}
