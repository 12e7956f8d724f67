// Frames per second of the scene's frame in the program's own 1280 x 720
// window, beside an empty frame (clear and swap only) in the same window and
// run. Prints figures; run from the folder that holds mdl/ and img/, on a
// display (tools/with-display.sh gives a virtual one).
#include "app/MainWindow.h"

#include <chrono>
#include <cstdio>

namespace {
constexpr int warmUpFrames = 20;
constexpr auto measureTime = std::chrono::seconds(4);
constexpr float stillFrameTime = 0.0f; // seconds: the camera stays put

using Clock = std::chrono::steady_clock;

struct Figures {
    long frames = 0;
    double seconds = 0.0;
    double framesPerSecond() const { return double(frames) / seconds; }
    double millisecondsPerFrame() const { return seconds * 1000.0 / double(frames); }
};

void dispatchPending()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

template <typename DrawFrame>
Figures measure(DrawFrame drawFrame)
{
    for (int i = 0; i < warmUpFrames; ++i) {
        dispatchPending();
        drawFrame();
    }
    glFinish();
    Figures figures;
    const Clock::time_point start = Clock::now();
    Clock::time_point now = start;
    while (now - start < measureTime) {
        dispatchPending();
        drawFrame();
        ++figures.frames;
        now = Clock::now();
    }
    glFinish();
    figures.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return figures;
}

void print(const char* name, const Figures& figures)
{
    std::printf("%-28s %8.1f fps %8.2f ms/frame  (%ld frames)\n", name, figures.framesPerSecond(),
                figures.millisecondsPerFrame(), figures.frames);
}
} // namespace

int main()
{
    static char instance;
    registerWindowClass(reinterpret_cast<HINSTANCE>(&instance));
    if (!createMainWindow(reinterpret_cast<HINSTANCE>(&instance), SW_SHOWDEFAULT)) {
        std::fprintf(stderr, "cannot create the window: is there a display?\n");
        return 1;
    }
    scene.setup(&hwnd, &input);
    if (!scene.isContextCurrent()) {
        std::fprintf(stderr, "no OpenGL context\n");
        return 1;
    }
    const RECT client = scene.getScreenRect();
    std::printf("client area %ld x %ld, renderer %s\n", long(client.right), long(client.bottom),
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    const Figures sceneFrame = measure([] { scene.render(stillFrameTime); });
    const HDC dc = GetDC(hwnd);
    const Figures emptyFrame = measure([dc] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SwapBuffers(dc);
    });

    print("scene frame", sceneFrame);
    print("empty frame (clear + swap)", emptyFrame);
    std::printf("scene frame costs %.2f x an empty frame\n",
                sceneFrame.millisecondsPerFrame() / emptyFrame.millisecondsPerFrame());
    return 0;
}
