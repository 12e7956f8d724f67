// The pixel format and WGL on a real window with Mesa's OpenGL: what the
// program asks for is had, and every request that cannot be met fails.
#include "tests/platform/DesktopTest.h"

#include <GL/glx.h>

namespace {
constexpr GLint minimumDepthBits = 16;
constexpr int framePixels = 3; // bytes of one captured pixel
}

class PixelFormatTest : public DesktopTest {
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        xWindow = showWindow("Pixel format", hwnd);
        ASSERT_NE(xWindow, 0u);
        hdc = GetDC(hwnd);
        ASSERT_NE(hdc, nullptr);
    }

    void TearDown() override
    {
        wglMakeCurrent(nullptr, nullptr);
        DesktopTest::TearDown();
    }

    HWND hwnd = nullptr;
    HDC hdc = nullptr;
    unsigned long xWindow = 0;
};

using PixelFormat = PixelFormatTest;

TEST_F(PixelFormat, ProgramsRequestGivesACurrentDoubleBufferedContextWithDepth)
{
    const PIXELFORMATDESCRIPTOR pfd = programPixelFormat();
    const int format = ChoosePixelFormat(hdc, &pfd);
    ASSERT_NE(format, 0);
    ASSERT_TRUE(SetPixelFormat(hdc, format, &pfd));
    const HGLRC hrc = wglCreateContext(hdc);
    ASSERT_NE(hrc, nullptr);
    EXPECT_EQ(glXGetCurrentContext(), nullptr) << "wglCreateContext makes nothing current";
    ASSERT_TRUE(wglMakeCurrent(hdc, hrc));
    EXPECT_NE(glXGetCurrentContext(), nullptr);

    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, minimumDepthBits);
    GLboolean doubleBuffered = GL_FALSE;
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    EXPECT_TRUE(doubleBuffered);
    GLint profile = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    glGetError();
    EXPECT_EQ(profile & GL_CONTEXT_CORE_PROFILE_BIT, 0)
        << "the fixed-function pipeline needs a compatibility context";

    // What is drawn reaches the window once the buffers swap.
    RECT client = {};
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    glViewport(0, 0, client.right, client.bottom);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(SwapBuffers(hdc));
    glFinish();
    ASSERT_TRUE(waitUntil([&] {
        const DisplayDriver::Image image = driver().capture(xWindow);
        if (image.width == 0) {
            return false;
        }
        const size_t centre =
            (static_cast<size_t>(image.height / 2) * image.width + image.width / 2) * framePixels;
        return image.rgb[centre] == 255 && image.rgb[centre + 1] == 0 && image.rgb[centre + 2] == 0;
    })) << "the swapped frame is not red on screen";

    ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_EQ(glXGetCurrentContext(), nullptr);
}

TEST_F(PixelFormat, LaterContextsAreNewAndNotCurrent)
{
    const PIXELFORMATDESCRIPTOR pfd = programPixelFormat();
    ASSERT_TRUE(SetPixelFormat(hdc, ChoosePixelFormat(hdc, &pfd), &pfd));
    const HGLRC first = wglCreateContext(hdc);
    ASSERT_TRUE(wglMakeCurrent(hdc, first));
    const GLXContext current = glXGetCurrentContext();
    const HGLRC second = wglCreateContext(hdc);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(glXGetCurrentContext(), current) << "the first context stays current";
    ASSERT_TRUE(wglMakeCurrent(hdc, second));
    EXPECT_NE(glXGetCurrentContext(), current);
}

TEST_F(PixelFormat, RequestsThatCannotBeMetChooseNothing)
{
    const PIXELFORMATDESCRIPTOR good = programPixelFormat();
    EXPECT_EQ(ChoosePixelFormat(hdc, nullptr), 0);
    PIXELFORMATDESCRIPTOR wrongSize = good;
    wrongSize.nSize = 0;
    EXPECT_EQ(ChoosePixelFormat(hdc, &wrongSize), 0);
    PIXELFORMATDESCRIPTOR wrongVersion = good;
    wrongVersion.nVersion = 2;
    EXPECT_EQ(ChoosePixelFormat(hdc, &wrongVersion), 0);
    PIXELFORMATDESCRIPTOR colorIndex = good;
    colorIndex.iPixelType = PFD_TYPE_COLORINDEX;
    EXPECT_EQ(ChoosePixelFormat(hdc, &colorIndex), 0);
    PIXELFORMATDESCRIPTOR noOpenGl = good;
    noOpenGl.dwFlags = PFD_DRAW_TO_WINDOW | PFD_DOUBLEBUFFER;
    EXPECT_EQ(ChoosePixelFormat(hdc, &noOpenGl), 0);
    PIXELFORMATDESCRIPTOR stereo = good;
    stereo.dwFlags |= PFD_STEREO;
    EXPECT_EQ(ChoosePixelFormat(hdc, &stereo), 0);
    PIXELFORMATDESCRIPTOR deepDepth = good;
    deepDepth.cDepthBits = 255;
    EXPECT_EQ(ChoosePixelFormat(hdc, &deepDepth), 0);
    EXPECT_NE(ChoosePixelFormat(hdc, &good), 0) << "the window's format still meets the program's request";
}

TEST_F(PixelFormat, NothingWorksBeforeThePixelFormatIsSet)
{
    EXPECT_EQ(wglCreateContext(hdc), nullptr);
    EXPECT_FALSE(SwapBuffers(hdc));
    PIXELFORMATDESCRIPTOR deepDepth = programPixelFormat();
    deepDepth.cDepthBits = 255;
    EXPECT_FALSE(SetPixelFormat(hdc, 1, &deepDepth)) << "SetPixelFormat checks what the window has";
    const PIXELFORMATDESCRIPTOR good = programPixelFormat();
    EXPECT_FALSE(SetPixelFormat(hdc, 2, &good)) << "a window offers one format only";
    EXPECT_EQ(wglCreateContext(hdc), nullptr);
}

TEST_F(PixelFormat, PixelFormatIsSetOnceAsOnWindows)
{
    const PIXELFORMATDESCRIPTOR pfd = programPixelFormat();
    const int format = ChoosePixelFormat(hdc, &pfd);
    ASSERT_TRUE(SetPixelFormat(hdc, format, &pfd));
    EXPECT_FALSE(SetPixelFormat(hdc, format + 1, &pfd)) << "another format cannot replace it";
    // Windows (and Wine, which tests it) lets the same format be set again.
    EXPECT_TRUE(SetPixelFormat(hdc, format, &pfd));
    EXPECT_NE(wglCreateContext(hdc), nullptr);
}

TEST_F(PixelFormat, SwapBuffersNeedsTheWindowsContextCurrent)
{
    const PIXELFORMATDESCRIPTOR pfd = programPixelFormat();
    ASSERT_TRUE(SetPixelFormat(hdc, ChoosePixelFormat(hdc, &pfd), &pfd));
    const HGLRC hrc = wglCreateContext(hdc);
    EXPECT_FALSE(SwapBuffers(hdc));
    ASSERT_TRUE(wglMakeCurrent(hdc, hrc));
    EXPECT_TRUE(SwapBuffers(hdc));
    EXPECT_FALSE(wglMakeCurrent(hdc, reinterpret_cast<HGLRC>(0x5)));
}
