// Class registration and the calls that need a live window, without a
// display: every failure is a plain 0, NULL or FALSE.
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {
LRESULT CALLBACK defaultProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

WNDCLASSEXA validClass(const char* name)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.lpfnWndProc = defaultProcedure;
    windowClass.lpszClassName = name;
    return windowClass;
}
}

TEST(WindowClass, RegistersOnceByNameIgnoringCase)
{
    const WNDCLASSEXA windowClass = validClass("RegistersOnce");
    const ATOM atom = RegisterClassExA(&windowClass);
    EXPECT_NE(atom, 0);
    EXPECT_EQ(RegisterClassExA(&windowClass), 0);
    const WNDCLASSEXA otherCase = validClass("REGISTERSONCE");
    EXPECT_EQ(RegisterClassExA(&otherCase), 0);
    const WNDCLASSEXA another = validClass("RegistersAnother");
    const ATOM anotherAtom = RegisterClassExA(&another);
    EXPECT_NE(anotherAtom, 0);
    EXPECT_NE(anotherAtom, atom);
}

TEST(WindowClass, RejectsBadRecords)
{
    WNDCLASSEXA wrongSize = validClass("WrongSize");
    wrongSize.cbSize = sizeof(WNDCLASSEXA) - 4;
    EXPECT_EQ(RegisterClassExA(&wrongSize), 0);
    WNDCLASSEXA noName = validClass(nullptr);
    EXPECT_EQ(RegisterClassExA(&noName), 0);
    WNDCLASSEXA emptyName = validClass("");
    EXPECT_EQ(RegisterClassExA(&emptyName), 0);
    WNDCLASSEXA noProcedure = validClass("NoProcedure");
    noProcedure.lpfnWndProc = nullptr;
    EXPECT_EQ(RegisterClassExA(&noProcedure), 0);
    EXPECT_EQ(RegisterClassExA(nullptr), 0);
    // None of the rejected names was taken.
    const WNDCLASSEXA retried = validClass("WrongSize");
    EXPECT_NE(RegisterClassExA(&retried), 0);
}

TEST(WindowClass, UnknownClassCreatesNoWindow)
{
    EXPECT_EQ(CreateWindowExA(0, "NeverRegistered", "title", WS_CAPTION, CW_USEDEFAULT, CW_USEDEFAULT, 1280,
                              720, nullptr, nullptr, nullptr, nullptr),
              nullptr);
}

TEST(WindowClass, NoDisplayCreatesNoWindow)
{
    unsetenv("DISPLAY");
    const WNDCLASSEXA windowClass = validClass("Headless");
    ASSERT_NE(RegisterClassExA(&windowClass), 0);
    EXPECT_EQ(CreateWindowExA(0, "Headless", "title", WS_CAPTION, CW_USEDEFAULT, CW_USEDEFAULT, 1280, 720,
                              nullptr, nullptr, nullptr, nullptr),
              nullptr);
}

TEST(WindowClass, CallsOnUnknownHandlesFail)
{
    HWND stale = reinterpret_cast<HWND>(0x1234);
    HDC staleDc = reinterpret_cast<HDC>(0x1235);
    RECT rect = {1, 2, 3, 4};
    EXPECT_FALSE(GetClientRect(stale, &rect));
    EXPECT_EQ(GetDC(stale), nullptr);
    EXPECT_FALSE(ShowWindow(stale, SW_SHOW));
    EXPECT_FALSE(UpdateWindow(stale));
    EXPECT_EQ(ChoosePixelFormat(staleDc, nullptr), 0);
    EXPECT_FALSE(SetPixelFormat(staleDc, 1, nullptr));
    EXPECT_EQ(wglCreateContext(staleDc), nullptr);
    EXPECT_FALSE(wglMakeCurrent(staleDc, reinterpret_cast<HGLRC>(0x99)));
    EXPECT_FALSE(SwapBuffers(staleDc));
    // Releasing the current context succeeds even when there is none.
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
}

TEST(WindowClass, StandardArrowCursorLoads)
{
    EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
}
