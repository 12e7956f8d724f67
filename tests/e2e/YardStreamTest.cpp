// The yard's OpenGL call stream on Linux, call by call: what set-up builds,
// the order every frame draws in, and the viewport and projection that each
// client size gets. The Windows program is held to the same stream by the
// Windows cases.
#include "harness/ProgramSession.h"
#include "harness/YardTrace.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <cmath>

namespace {

using YardTrace::Call;

constexpr int pressFrames = 4;

// One expected call: its name and, where given, its numbers (compared as
// the 32-bit floats the program passes) or its printed arguments.
struct Expected {
    std::string name;
    std::vector<double> numbers;
    std::vector<std::string> symbols;
    bool checkNumbers = true;
};

Expected call(const std::string& name, std::vector<double> numbers = {})
{
    return Expected{name, std::move(numbers), {}, true};
}

Expected callWith(const std::string& name, std::vector<std::string> symbols)
{
    return Expected{name, {}, std::move(symbols), false};
}

Expected anyArguments(const std::string& name)
{
    return Expected{name, {}, {}, false};
}

Expected list(double name)
{
    return call("glCallList", {name});
}

bool matches(const Call& actual, const Expected& expected, std::string& why)
{
    if (actual.name != expected.name) {
        why = "called " + actual.name + ", expected " + expected.name;
        return false;
    }
    if (!expected.symbols.empty()) {
        for (size_t i = 0; i < expected.symbols.size(); ++i) {
            if (i >= actual.arguments.size() || actual.arguments[i] != expected.symbols[i]) {
                why = expected.name + " argument " + std::to_string(i) + " differs";
                return false;
            }
        }
    }
    if (expected.checkNumbers) {
        const std::vector<double> numbers = actual.numbers();
        if (numbers.size() != expected.numbers.size()) {
            why = expected.name + " has " + std::to_string(numbers.size()) + " numbers";
            return false;
        }
        for (size_t i = 0; i < numbers.size(); ++i) {
            if (float(numbers[i]) != float(expected.numbers[i])) {
                why = expected.name + " number " + std::to_string(i) + " is " + std::to_string(numbers[i]) +
                      ", expected " + std::to_string(expected.numbers[i]);
                return false;
            }
        }
    }
    return true;
}

void expectFrame(const std::vector<Call>& frame, const std::vector<Expected>& expected)
{
    const size_t shared = std::min(frame.size(), expected.size());
    for (size_t i = 0; i < shared; ++i) {
        std::string why;
        ASSERT_TRUE(matches(frame[i], expected[i], why)) << "call " << i << " of the frame: " << why;
    }
    EXPECT_EQ(frame.size(), expected.size());
}

// The frame the program draws, call by call, from the start position with
// the fixed light on, the orbiting light at 0 degrees, and the orbiting light
// and its markers shown or not.
std::vector<Expected> yardFrame(const YardTrace::BuiltScene& built, bool light1On, double carCorners,
                                double sphereCorners)
{
    const std::vector<double> eye = {2, 1, -5};
    const std::vector<double> orbit = {19, 1, -12};
    const double ground = built.lists.at(0);
    const double wall = built.lists.at(1);
    const double sky = built.lists.at(2);
    const double container2Both = built.lists.at(3);
    const double container2One = built.lists.at(4);
    const double containerBoth = built.lists.at(5);
    const double containerNone = built.lists.at(6);
    const double carTexture = built.modelTextures.at(0);
    const double sphereTexture = built.modelTextures.at(1);
    auto render = [](double texture, double corners) { return call("render", {texture, corners}); };

    std::vector<Expected> frame = {
        callWith("glClear", {"GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT"}),
        call("glLoadIdentity"),
        anyArguments("glMultMatrixf"),
        call("glTranslated", {-eye[0], -eye[1], -eye[2]}),
        callWith("glPolygonMode", {"GL_FRONT_AND_BACK", "GL_FILL"}),
        call("glLightfv", {0.2, 0.2, 0.2, 1}),
        call("glLightfv", {0.7, 0.7, 0.7, 1}),
        call("glLightfv", {1, 1, 1, 0}),
        call("glLightfv", {0.7, 0.7, 0.7, 1}),
        callWith("glEnable", {"GL_LIGHT0"}),
        call("glLightfv", {0.7, 0, 0.7, 1}),
        call("glLightfv", {1, 1, 1, 1}),
        call("glLightfv", {orbit[0], orbit[1], orbit[2], 1}),
        callWith(light1On ? "glEnable" : "glDisable", {"GL_LIGHT1"}),
        // sky box, ground, walls
        call("glPushMatrix"),
        call("glTranslatef", eye),
        list(sky),
        call("glPopMatrix"),
        call("glPushMatrix"),
        call("glRotatef", {90, -1, 0, 0}),
        list(ground),
        call("glPopMatrix"),
        call("glPushMatrix"),
        call("glPushMatrix"),
        call("glTranslatef", {0, 0, -24}),
        list(wall),
        call("glPopMatrix"),
        call("glRotatef", {90, 0, 1, 0}),
        list(wall),
        call("glRotatef", {90, 0, 1, 0}),
        call("glTranslatef", {-24, 0, 0}),
        list(wall),
        call("glRotatef", {90, 0, 1, 0}),
        call("glTranslatef", {-24, 0, 0}),
        list(wall),
        call("glPopMatrix"),
    };
    if (light1On) {
        const std::vector<Expected> markers = {
            call("glPushMatrix"),
            call("glScalef", {0.5, 0.5, 0.5}),
            call("glTranslatef", {float(orbit[0]) * 2.0f, float(orbit[1]) * 2.0f, float(orbit[2]) * 2.0f}),
            render(sphereTexture, sphereCorners),
            call("glPushMatrix"),
            call("glScalef", {0.5, 0.5, 0.5}),
            call("glRotatef", {0, 0, 1, 0}),
            call("glTranslatef", {5, 0, 0}),
            render(sphereTexture, sphereCorners),
            call("glPopMatrix"),
            call("glPopMatrix"),
        };
        frame.insert(frame.end(), markers.begin(), markers.end());
    }
    const std::vector<Expected> rest = {
        // cars
        call("glPushMatrix"),
        call("glScalef", {0.3, 0.3, 0.3}),
        call("glTranslatef", {70, 0, -10}),
        call("glRotatef", {-45, 0, 1, 0}),
        render(carTexture, carCorners),
        call("glTranslatef", {-35, 0, -40}),
        call("glRotatef", {120, 0, 1, 0}),
        render(carTexture, carCorners),
        call("glPopMatrix"),
        // container block
        call("glPushMatrix"),
        call("glTranslatef", {8, 0.01, -11}),
        list(container2Both),
        call("glTranslatef", {1.75, 0, 0}),
        list(container2Both),
        call("glTranslatef", {3, 0, 0}),
        list(container2Both),
        call("glTranslatef", {0, 1.75, 0}),
        list(container2Both),
        call("glTranslatef", {1.75, 0, 0}),
        list(container2Both),
        call("glTranslatef", {0, -1.75, 0}),
        list(container2Both),
        call("glTranslatef", {0, 0, -7}),
        list(container2Both),
        call("glTranslatef", {-1.75, 0, 0}),
        list(container2Both),
        call("glTranslatef", {-3, 0, 0}),
        call("glTranslatef", {0, 1.75, 0}),
        list(container2Both),
        call("glTranslatef", {-1.75, 0, 0}),
        list(container2Both),
        call("glTranslatef", {0, -1.75, 0}),
        list(container2Both),
        call("glPopMatrix"),
        // single containers
        call("glPushMatrix"),
        call("glTranslatef", {11.5, 0.01, -13}),
        call("glRotatef", {180, 0, 1, 0}),
        list(container2One),
        call("glPopMatrix"),
        call("glPushMatrix"),
        call("glRotatef", {-90, 0, 1, 0}),
        call("glTranslatef", {-1.75, 0.01, -14.5}),
        list(container2Both),
        call("glTranslatef", {-1.75, 0, 0}),
        list(container2One),
        call("glPopMatrix"),
        call("glPushMatrix"),
        call("glRotatef", {90, 0, 1, 0}),
        call("glTranslatef", {20.5, 0.01, 9.5}),
        list(container2Both),
        call("glTranslatef", {1.75, 0, 0}),
        list(container2One),
        call("glPopMatrix"),
        call("glPushMatrix"),
        call("glTranslatef", {1.75, 0.01, -14.5}),
        call("glRotatef", {-20, 0, 1, 0}),
        list(containerNone),
        call("glRotatef", {20, 0, 1, 0}),
        call("glTranslatef", {1.75, 0, 0}),
        list(containerBoth),
        call("glTranslatef", {15.25, 0, 0}),
        list(containerBoth),
        call("glTranslatef", {1.75, 0, 0}),
        call("glRotatef", {20, 0, 1, 0}),
        list(containerNone),
        call("glPopMatrix"),
    };
    frame.insert(frame.end(), rest.begin(), rest.end());
    return frame;
}

// The program traced from start to close.
class TracedYardStream : public ::testing::Test {
protected:
    void start(ProgramSession::Options options)
    {
        options.traced = true;
        session = std::make_unique<ProgramSession>(options);
        ASSERT_EQ(session->failure(), "");
        // however many frames a key is held for, it sends one key-down
        session->driver().turnKeyRepeatOff();
        session->captureSettled();
    }

    // closes the program and reads its calls
    std::vector<Call> finish()
    {
        session->captureSettled();
        EXPECT_EQ(session->close(), std::optional<int>(0));
        return session->recordedCalls();
    }

    // ends the program with a key and reads its calls
    std::vector<Call> finishWith(unsigned long keysym, int status)
    {
        session->captureSettled();
        EXPECT_EQ(session->holdUntilExit(keysym), std::optional<int>(status));
        return session->recordedCalls();
    }

    std::unique_ptr<ProgramSession> session;
};

TEST_F(TracedYardStream, BuildsItsListsInOrderAndDrawsEveryFrameInItsFixedOrderWithAndWithoutTheOrbitingLight)
{
    start({});
    session->holdKey(XK_h, pressFrames);
    const std::vector<Call> calls = finish();
    const YardTrace::BuiltScene built = YardTrace::builtScene(calls);
    const std::vector<std::vector<Call>> frames = YardTrace::framesOf(calls);
    ASSERT_EQ(built.lists.size(), 7u);
    ASSERT_EQ(built.modelTextures.size(), 2u);
    ASSERT_GT(frames.size(), 2u);

    for (size_t i = 1; i < built.lists.size(); ++i) {
        EXPECT_GT(built.lists[i], built.lists[i - 1]) << "list " << i;
    }
    for (double texture : built.listTextures) {
        EXPECT_NE(texture, 0.0);
    }
    // container2.png and container.png are each loaded twice, as two textures
    EXPECT_NE(built.listTextures[3], built.listTextures[4]);
    EXPECT_NE(built.listTextures[5], built.listTextures[6]);
    EXPECT_NE(built.modelTextures[0], built.modelTextures[1]);
    // nothing was printed: every image loaded
    EXPECT_EQ(session->standardOutput(), "");

    const double carCorners = std::stod(YardTrace::argumentOf(frames[1], "render", 1));
    EXPECT_GT(carCorners, 3000);
    expectFrame(frames[1], yardFrame(built, false, carCorners, 0));

    // H shows the orbiting light's two markers, drawn before the cars
    const std::vector<Call>& last = frames.back();
    double sphereCorners = 0;
    for (const Call& c : last) {
        if (c.name == "render" && std::stod(c.arguments[0]) == built.modelTextures[1]) {
            sphereCorners = std::stod(c.arguments[1]);
        }
    }
    EXPECT_GT(sphereCorners, 0);
    expectFrame(last, yardFrame(built, true, carCorners, sphereCorners));
}

TEST_F(TracedYardStream,
       SetsViewportAndPerspectiveOnlyAfterSetUpAndForEveryNewClientSizeAndReleasesNothingAtExit)
{
    ProgramSession::Options options;
    options.layOut = ProgramSession::linkWithOneTriangleCar;
    start(options);
    const int width = session->clientWidth();
    const int height = session->clientHeight();
    session->resize(1000, 500);
    const std::vector<Call> calls = finishWith(XK_BackSpace, 0);
    ASSERT_FALSE(calls.empty());
    // the exit reclaims the context: nothing after the last frame's swap
    EXPECT_EQ(calls.back().name, "glXSwapBuffers");

    // Until set-up's first viewport only context creation and its queries run.
    const size_t setUp = ApiTrace::indexOf(calls, "glViewport");
    ASSERT_LT(setUp, calls.size());
    for (size_t i = 0; i < setUp; ++i) {
        const std::string& name = calls[i].name;
        EXPECT_TRUE(name.rfind("glX", 0) == 0 || name.rfind("glGet", 0) == 0) << "before set-up: " << name;
    }
    EXPECT_EQ(calls[setUp].numbers(), (std::vector<double>{0, 0, double(width), double(height)}));
    EXPECT_EQ(calls[setUp + 1].name, "glMatrixMode");

    size_t viewport = calls.size();
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].name == "glViewport" && calls[i].numbers() == std::vector<double>{0, 0, 1000, 500}) {
            viewport = i;
        }
    }
    ASSERT_LT(viewport + 6, calls.size());
    EXPECT_EQ(calls[viewport + 1].name, "glMatrixMode");
    EXPECT_EQ(calls[viewport + 1].arguments, std::vector<std::string>{"GL_PROJECTION"});
    EXPECT_EQ(calls[viewport + 2].name, "glLoadIdentity");
    // GLU's perspective multiplies in its matrix: x scale = cot(22.5 deg) / aspect
    ASSERT_EQ(calls[viewport + 3].name, "glMultMatrixd");
    const double yScale = 1.0 / std::tan(45.0 * M_PI / 360.0);
    const std::vector<double> matrix = calls[viewport + 3].numbers();
    ASSERT_EQ(matrix.size(), 16u);
    EXPECT_NEAR(matrix[0], yScale / 2.0, 1e-5);
    EXPECT_NEAR(matrix[5], yScale, 1e-5);
    EXPECT_EQ(calls[viewport + 4].name, "glMatrixMode");
    EXPECT_EQ(calls[viewport + 4].arguments, std::vector<std::string>{"GL_MODELVIEW"});
    EXPECT_EQ(calls[viewport + 5].name, "glLoadIdentity");
}

} // namespace
