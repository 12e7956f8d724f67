// Photographs the yard from four fixed places with the program's own window
// and scene, reading the images from the current folder's img/ and mdl/:
// the start view, close to a container, facing the sky, and near the cars.
// The camera is moved by the program's own controls with fixed frame times,
// so every run, and every set of images, gives the same four views; the way
// to see what a change to the images does.
//   yardviews OUTDIR        (on a display: tools/with-display.sh gives one)
#include "app/MainWindow.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
constexpr float walkTime = 0.1f; // seconds a frame takes while walking: one unit at a walk
constexpr int turnFrames = 20;   // frames a turn is spread over
constexpr int settleFrames = 3;  // still frames before a photograph

// walks `units` along the view, W held
void walk(float units)
{
    input.keyDown('W');
    for (float walked = 0.0f; walked < units; walked += walkTime * 10.0f) {
        scene.render(walkTime);
    }
    input.keyUp('W');
}

// turns by a left-button drag of (dx, dy) mouse pixels, spread over frames
// of a fixed length: the camera turns by the step times the frame time
void turn(int dx, int dy)
{
    input.setLeftMouseButton(true);
    for (int frame = 0; frame < turnFrames; ++frame) {
        input.setMouseX(input.getMouseX() + dx);
        input.setMouseY(input.getMouseY() + dy);
        scene.render(0.01f);
    }
    input.setLeftMouseButton(false);
}

bool photograph(const std::string& path)
{
    for (int frame = 0; frame < settleFrames; ++frame) {
        scene.render(0.0f);
    }
    const RECT client = scene.getScreenRect();
    const int width = client.right;
    const int height = client.bottom;
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    stbi_flip_vertically_on_write(1);
    if (!stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3)) {
        std::fprintf(stderr, "yardviews: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

// back to where the program starts, looking along the yard
void restart()
{
    scene.setup(&hwnd, &input);
    scene.render(0.0f);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    static char instance;
    registerWindowClass(reinterpret_cast<HINSTANCE>(&instance));
    if (!createMainWindow(reinterpret_cast<HINSTANCE>(&instance), SW_SHOWDEFAULT)) {
        std::fprintf(stderr, "yardviews: cannot create the window: is there a display?\n");
        return 1;
    }
    restart();
    bool written = photograph(folder + "/start.png");
    // on towards the containers, the nearest one's side filling a third of
    // the view
    walk(5.0f);
    written = photograph(folder + "/container.png") && written;
    restart();
    turn(0, -5);
    written = photograph(folder + "/sky.png") && written;
    restart();
    turn(9, 0);
    walk(14.0f);
    written = photograph(folder + "/cars.png") && written;
    return written ? 0 : 1;
}
