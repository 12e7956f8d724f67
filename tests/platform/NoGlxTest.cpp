// A display without GLX: the window is still made, as on Windows a window
// never needs OpenGL, and the pixel format fails honestly.
#include "tests/platform/DesktopTest.h"

class NoGlx : public DesktopTest {
protected:
    static void SetUpTestSuite() { withGlx = false; }
};

TEST_F(NoGlx, WindowIsMadeButNoPixelFormatIsOffered)
{
    HWND hwnd = nullptr;
    ASSERT_NE(showWindow("Without GLX", hwnd), 0u) << "the window is made and shown without GLX";
    const HDC hdc = GetDC(hwnd);
    ASSERT_NE(hdc, nullptr);
    const PIXELFORMATDESCRIPTOR pfd = programPixelFormat();
    EXPECT_EQ(ChoosePixelFormat(hdc, &pfd), 0);
    EXPECT_FALSE(SetPixelFormat(hdc, 1, &pfd));
    EXPECT_EQ(wglCreateContext(hdc), nullptr);
    EXPECT_FALSE(SwapBuffers(hdc));
    EXPECT_EQ(log().count(WM_SIZE), 2) << "creation and showing still size the window";
}
