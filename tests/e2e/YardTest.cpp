// The whole yard, as the real program draws it: its set-up and frames read
// back from a recorded OpenGL call stream, its switches driven through real
// keys, and its behaviour with missing and spoiled files.
#include "harness/ApiTrace.h"
#include "harness/ProgramSession.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <cmath>
#include <fstream>

namespace {

using ApiTrace::Call;

constexpr int boxTimeoutMs = 20000;
constexpr int noRepeatMs = 5000; // an auto-repeat delay no test reaches
// Traced, a frame of the yard takes a large part of a second: keys are held
// long enough for frames to see them.
constexpr int switchPressMs = 1200;

const std::string missingReason = "SOIL loading error: 'Unable to open file'";
const std::string corruptReason = "SOIL loading error: 'Image not of any known type, or corrupt'";

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

void writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void truncateFile(const std::filesystem::path& path, double keptShare)
{
    const auto size = std::filesystem::file_size(path);
    std::filesystem::resize_file(path, static_cast<uintmax_t>(double(size) * keptShare));
}

// What set-up built, read from the call stream: the seven lists in build
// order, the texture bound inside each, and the two model textures.
struct BuiltScene {
    std::vector<double> lists;
    std::vector<double> listTextures;
    std::vector<double> modelTextures;
};

BuiltScene builtScene(const std::vector<Call>& calls)
{
    BuiltScene built;
    for (size_t i = 0; i + 1 < calls.size(); ++i) {
        if (calls[i].name == "glNewList") {
            built.lists.push_back(calls[i].numbers().at(0));
            const size_t bind = ApiTrace::indexOf(calls, "glBindTexture", i);
            built.listTextures.push_back(calls.at(bind).numbers().at(0));
        }
        // the car's and the sphere's come first, before the ground's
        if (calls[i].name == "glGenTextures" && built.modelTextures.size() < 2) {
            built.modelTextures.push_back(calls[i].numbers().at(1));
        }
    }
    return built;
}

// The calls of each presented frame, from glClear up to its buffer swap. A
// model's immediate-mode block (texture, glBegin ... glEnd, texture 0)
// becomes one pseudo-call "render" carrying its texture and corner count.
std::vector<std::vector<Call>> framesOf(const std::vector<Call>& calls)
{
    std::vector<std::vector<Call>> frames;
    size_t clear = ApiTrace::indexOf(calls, "glClear", ApiTrace::indexOf(calls, "glEndList"));
    while (clear < calls.size()) {
        const size_t swap = ApiTrace::indexOf(calls, "glXSwapBuffers", clear);
        if (swap == calls.size()) {
            break;
        }
        std::vector<Call> frame;
        for (size_t i = clear; i < swap; ++i) {
            if (calls[i].name == "glBindTexture" && i + 1 < swap && calls[i + 1].name == "glBegin") {
                const size_t end = ApiTrace::indexOf(calls, "glEnd", i);
                Call render;
                render.name = "render";
                const double corners = double(end - i - 2) / 3.0;
                render.arguments = {std::to_string(long(calls[i].numbers().at(0))),
                                    std::to_string(long(corners))};
                frame.push_back(render);
                i = end + 1; // past the glBindTexture(0) after glEnd
                continue;
            }
            frame.push_back(calls[i]);
        }
        frames.push_back(frame);
        clear = ApiTrace::indexOf(calls, "glClear", swap);
    }
    return frames;
}

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
std::vector<Expected> yardFrame(const BuiltScene& built, bool light1On, double carCorners,
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

// The orbiting light's position for an angle, as the frame computes it.
std::vector<double> orbitAt(float angle)
{
    const double radians = double(angle) / 57.306590257879655;
    return {float(std::cos(radians) * 7.0 + 12.0), 1.0f, float(std::sin(radians) * 7.0 - 12.0)};
}

std::vector<double> lightPosition(const std::vector<Call>& frame, const std::string& light)
{
    for (const Call& c : frame) {
        if (c.name == "glLightfv" && c.arguments.size() == 3 && c.arguments[0] == light &&
            c.arguments[1] == "GL_POSITION") {
            return c.numbers();
        }
    }
    return {};
}

std::string argumentOf(const std::vector<Call>& frame, const std::string& name, size_t index)
{
    for (const Call& c : frame) {
        if (c.name == name && index < c.arguments.size()) {
            return c.arguments[index];
        }
    }
    return {};
}

// The sky box follows the eye: its translation is the camera's position
// after the height pin.
std::vector<double> skyCentre(const std::vector<Call>& frame)
{
    const size_t first = ApiTrace::indexOf(frame, "glPushMatrix");
    return frame.at(first + 1).numbers();
}

// The program traced from start to close.
class TracedYard : public ::testing::Test {
protected:
    void start(ProgramSession::Options options = {})
    {
        options.traced = true;
        session = std::make_unique<ProgramSession>(options);
        ASSERT_EQ(session->failure(), "");
        session->driver().setKeyRepeat(noRepeatMs, 1000);
        session->captureSettled();
    }

    void press(unsigned long keysym) { session->holdKey(keysym, switchPressMs); }

    // closes the program and reads its calls
    void finish()
    {
        session->captureSettled();
        ASSERT_EQ(session->close(), std::optional<int>(0));
        calls = session->recordedCalls();
        built = builtScene(calls);
        frames = framesOf(calls);
        ASSERT_EQ(built.lists.size(), 7u);
        ASSERT_EQ(built.modelTextures.size(), 2u);
        ASSERT_GT(frames.size(), 2u);
    }

    std::unique_ptr<ProgramSession> session;
    std::vector<Call> calls;
    BuiltScene built;
    std::vector<std::vector<Call>> frames;
};

TEST_F(TracedYard, BuildsItsListsInOrderEachWithATextureOfItsOwn)
{
    start();
    finish();
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
}

TEST_F(TracedYard, DrawsEveryFrameInItsFixedOrder)
{
    start();
    finish();
    const double carCorners = std::stod(argumentOf(frames[1], "render", 1));
    expectFrame(frames[1], yardFrame(built, false, carCorners, 0));
    EXPECT_GT(carCorners, 3000);
}

TEST_F(TracedYard, FDrawsOutlinesOncePerKeyDownAndAgainOnAutoRepeat)
{
    start();
    press(XK_f);
    session->captureSettled();
    // held past the auto-repeat delay, every repeated key-down flips it again
    session->driver().setKeyRepeat(150, 60);
    session->holdKey(XK_f, 2500);
    finish();

    std::vector<std::string> modes;
    for (const auto& frame : frames) {
        const std::string mode = argumentOf(frame, "glPolygonMode", 1);
        if (modes.empty() || modes.back() != mode) {
            modes.push_back(mode);
        }
    }
    ASSERT_GE(modes.size(), 2u);
    EXPECT_EQ(modes[0], "GL_FILL");
    EXPECT_EQ(modes[1], "GL_LINE");
    // one press without repeat: one flip; the held key flipped again
    EXPECT_GE(modes.size(), 3u);
}

TEST_F(TracedYard, GTurnsTheFixedLightOffAndOnAgain)
{
    start();
    const DisplayDriver::Image lit = session->captureSettled();
    press(XK_g);
    const DisplayDriver::Image unlit = session->captureSettled();
    press(XK_g);
    finish();

    std::vector<std::string> states;
    for (const auto& frame : frames) {
        // the first glDisable of a frame is GL_LIGHT0's when that light is off
        const std::string state = argumentOf(frame, "glDisable", 0) == "GL_LIGHT0" ? "off" : "on";
        if (states.empty() || states.back() != state) {
            states.push_back(state);
        }
    }
    EXPECT_EQ(states, (std::vector<std::string>{"on", "off", "on"}));
    EXPECT_GT(differingShare(lit, unlit), 0.3);
}

TEST_F(TracedYard, HShowsTheOrbitingLightAndItsTwoMarkers)
{
    start();
    press(XK_h);
    finish();
    const auto& last = frames.back();
    double carCorners = 0;
    double sphereCorners = 0;
    for (const Call& c : last) {
        if (c.name == "render") {
            const bool car = std::stod(c.arguments[0]) == built.modelTextures[0];
            (car ? carCorners : sphereCorners) = std::stod(c.arguments[1]);
        }
    }
    EXPECT_GT(sphereCorners, 0);
    expectFrame(last, yardFrame(built, true, carCorners, sphereCorners));
}

TEST_F(TracedYard, QAndETurnTheOrbitingLightOneDegreePerFrame)
{
    start();
    press(XK_h);
    session->holdKey(XK_q, 2000);
    session->captureSettled();
    session->holdKey(XK_e, 4000);
    finish();

    // Each frame's light stands at a whole number of degrees: +1 per frame
    // while Q is held, -1 while E is, and never anywhere in between.
    std::vector<int> angles;
    for (const auto& frame : frames) {
        const std::vector<double> position = lightPosition(frame, "GL_LIGHT1");
        ASSERT_EQ(position.size(), 4u);
        // the dump prints six significant digits; a degree moves the light
        // about 0.12 units
        int found = 10000;
        for (int angle = -720; angle < 360 && found == 10000; ++angle) {
            const std::vector<double> expected = orbitAt(float(angle));
            if (std::fabs(position[0] - expected[0]) < 1e-3 && std::fabs(position[2] - expected[2]) < 1e-3) {
                found = angle;
            }
        }
        ASSERT_NE(found, 10000) << "light at " << position[0] << ", " << position[2];
        angles.push_back(found);
    }
    int rises = 0;
    int falls = 0;
    for (size_t i = 1; i < angles.size(); ++i) {
        const int step = angles[i] - angles[i - 1];
        EXPECT_TRUE(step == 0 || step == 1 || step == -1) << "frame " << i;
        rises += step == 1;
        falls += step == -1;
    }
    EXPECT_GT(rises, 0);
    EXPECT_GT(falls, rises); // E was held longer: the angle ends below 0
    EXPECT_LT(angles.back(), 0);
}

TEST_F(TracedYard, RReleasesTheGroundLockSoWFliesUpAlongThePitch)
{
    start();
    const DisplayDriver::Image level = session->captureSettled();
    // Look up: one pixel's step upwards, taken by the next frame while the
    // button is held, turns the view up by 50 degrees a second of that frame.
    int rootX = 0, rootY = 0, width = 0, height = 0;
    session->driver().clientGeometry(session->window(), rootX, rootY, width, height);
    session->approach(width / 2, height / 2);
    session->driver().buttonDown(1);
    session->driver().sync();
    session->driver().moveMouseTo(rootX + width / 2, rootY + height / 2 - 1);
    session->driver().sync();
    const DisplayDriver::Image pitched = session->captureSettled();
    session->driver().buttonUp(1);
    session->holdKey(XK_w, switchPressMs);
    session->captureSettled();
    press(XK_r);
    session->holdKey(XK_w, switchPressMs);
    finish();
    ASSERT_NE(pitched.rgb, level.rgb) << "the drag did not turn the view";

    // The sky box is centred on the eye after the height pin; gluLookAt's
    // matrix holds the view direction, negated, in its third column.
    const auto forwardY = [](const std::vector<Call>& frame) {
        return -frame.at(ApiTrace::indexOf(frame, "glMultMatrixf")).numbers().at(6);
    };
    ASSERT_GT(forwardY(frames.back()), 0.0) << "the view was never pitched up";
    size_t released = frames.size();
    double lowest = 1.0;
    double highest = 1.0;
    for (size_t i = 0; i < frames.size(); ++i) {
        const double eyeHeight = skyCentre(frames[i]).at(1);
        if (float(eyeHeight) != 1.0f && released == frames.size()) {
            released = i;
        }
        lowest = std::min(lowest, eyeHeight);
        highest = std::max(highest, eyeHeight);
    }
    ASSERT_NE(float(skyCentre(frames.back()).at(2)), -5.0f) << "W never moved the eye";
    ASSERT_LT(released, frames.size()) << "the eye never left the ground in " << frames.size() << " frames";
    EXPECT_GT(released, 0u);
    EXPECT_GT(highest, 1.0) << "the eye flew down to " << lowest << ", not up";
    EXPECT_GE(lowest, 1.0f) << "the eye went below the ground";
    // walking with the lock on moved the eye along the ground
    EXPECT_NE(float(skyCentre(frames[released - 1]).at(2)), -5.0f);
}

TEST_F(TracedYard, MissingWallImagePrintsOneLineAndDrawsPlainWalls)
{
    ProgramSession::Options options;
    options.layOut = [](const std::filesystem::path& folder) {
        ProgramSession::copyProjectFiles(folder);
        std::filesystem::remove(folder / "img" / "wall.png");
    };
    start(options);
    finish();
    EXPECT_EQ(linesOf(session->standardOutput()), std::vector<std::string>{missingReason});
    EXPECT_EQ(built.listTextures[1], 0.0);
    for (size_t i = 0; i < built.listTextures.size(); ++i) {
        if (i != 1) {
            EXPECT_NE(built.listTextures[i], 0.0) << "list " << i;
        }
    }
}

TEST(YardFiles, EveryImageUnreadablePrintsNineLinesInLoadOrderAndStillDrawsTheYard)
{
    // Missing and corrupt files alternate in load order, so the reasons show
    // the order: rust, sphereTex, Grass, wall, skybox, container2 twice,
    // container twice.
    ProgramSession::Options options;
    options.layOut = [](const std::filesystem::path& folder) {
        ProgramSession::copyProjectFiles(folder);
        std::filesystem::remove(folder / "img" / "rust.png");
        writeFile(folder / "img" / "sphereTex.jpg", "not a picture");
        std::filesystem::remove(folder / "img" / "Grass.jpg");
        writeFile(folder / "img" / "wall.png", "");
        std::filesystem::remove(folder / "img" / "skybox.png");
        writeFile(folder / "img" / "container2.png", std::string(64, '\x7f'));
        std::filesystem::remove(folder / "img" / "container.png");
    };
    ProgramSession session(options);
    ASSERT_EQ(session.failure(), "");
    const DisplayDriver::Image frame = session.captureSettled();
    ASSERT_EQ(session.close(), std::optional<int>(0));

    EXPECT_EQ(
        linesOf(session.standardOutput()),
        (std::vector<std::string>{missingReason, corruptReason, missingReason, corruptReason, missingReason,
                                  corruptReason, corruptReason, missingReason, missingReason}));
    // untextured but lit: the ground below the horizon is not black
    EXPECT_GT(shareNotColour(frame, 0, frame.height * 3 / 4, frame.width, frame.height, 0, 0, 0), 0.9);
}

TEST(YardFiles, MissingModelShowsItsBoxAndTheProgramGoesOn)
{
    ProgramSession::Options options;
    options.layOut = [](const std::filesystem::path& folder) {
        ProgramSession::copyProjectFiles(folder);
        std::filesystem::remove(folder / "mdl" / "smallSphere.obj");
    };
    ProgramSession session(options);
    ASSERT_EQ(session.failure(), "");
    ASSERT_TRUE(session.dismissErrorBox(boxTimeoutMs));
    EXPECT_NE(session.standardError().find("Model failed to load"), std::string::npos);
    ASSERT_TRUE(session.driver().focus(session.window()));
    const DisplayDriver::Image before = session.captureSettled();
    session.holdKey(XK_w, 300);
    const DisplayDriver::Image after = session.captureSettled();
    EXPECT_GT(differingShare(before, after), 0.02);
    EXPECT_EQ(session.close(), std::optional<int>(0));
}

TEST(YardFiles, SpoiledImagesAndATruncatedModelNeverCrashTheProgram)
{
    ProgramSession::Options options;
    options.layOut = [](const std::filesystem::path& folder) {
        ProgramSession::copyProjectFiles(folder);
        truncateFile(folder / "img" / "container.png", 0.5);
        truncateFile(folder / "img" / "Grass.jpg", 0.3);
        std::string noise(4096, '\0');
        for (size_t i = 0; i < noise.size(); ++i) {
            noise[i] = char((i * 2654435761u) >> 13);
        }
        writeFile(folder / "img" / "skybox.png", "\x89PNG\r\n\x1a\n" + noise);
        truncateFile(folder / "mdl" / "car_scrap.obj", 0.61);
    };
    ProgramSession session(options);
    ASSERT_EQ(session.failure(), "");
    // a cut-off face may name vertices the file no longer has
    session.dismissErrorBox(3000);
    session.driver().focus(session.window());
    session.captureSettled();
    session.holdKey(XK_w, 300);
    session.captureSettled();
    EXPECT_EQ(session.close(), std::optional<int>(0));
}

} // namespace
