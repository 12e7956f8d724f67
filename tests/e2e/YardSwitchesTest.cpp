// The yard's switches and its orbiting light, driven through real keys and
// read back frame by frame from the program's recorded OpenGL calls. The car
// is one triangle: these sessions never look at it.
#include "harness/YardTrace.h"
#include "tests/e2e/TestedHost.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <linux/input-event-codes.h>

#include <cmath>
#include <functional>

namespace {

using YardTrace::Call;
using Frames = std::vector<std::vector<Call>>;

// Auto-repeat runs on the X server's clock, not on frames: each wireframe
// setting stands long enough for a look at a frame to catch it.
constexpr int repeatDelayMs = 500;
constexpr int repeatIntervalMs = 500;
constexpr double outlineShare = 0.1; // of the picture that outlines change
// Frames a switch key is held for: a switch that flipped on every frame
// the key is down, not once per key-down, would flip several times.
constexpr int pressFrames = 3;
constexpr int walkFrames = 6;
constexpr int turnLeftFrames = 6;
constexpr int turnRightFrames = 12;
constexpr unsigned evdevKeycodeOffset = 8;                   // X key codes on the evdev rules
constexpr double orbitDegreesPerRadian = 57.306590257879655; // the program's own 180 / 3.141

// The orbiting light's position for an angle, as the frame computes it.
std::vector<double> orbitAt(float angle)
{
    const double radians = double(angle) / orbitDegreesPerRadian;
    return {float(std::cos(radians) * 7.0 + 12.0), 1.0f, float(std::sin(radians) * 7.0 - 12.0)};
}

bool enables(const std::vector<Call>& frame, const std::string& capability)
{
    for (const Call& c : frame) {
        if (c.name == "glEnable" && !c.arguments.empty() && c.arguments[0] == capability) {
            return true;
        }
    }
    return false;
}

// A frame's reading, frame by frame, each run of equal readings once.
std::vector<std::string> runsOf(const Frames& frames,
                                const std::function<std::string(const std::vector<Call>&)>& read)
{
    std::vector<std::string> runs;
    for (const auto& frame : frames) {
        const std::string reading = read(frame);
        if (runs.empty() || runs.back() != reading) {
            runs.push_back(reading);
        }
    }
    return runs;
}

// The program traced from start to close, on the host under test.
class TracedYard : public ::testing::Test {
protected:
    void SetUp() override
    {
        ProgramSession::Options options;
        options.host = testedHost;
        options.traced = true;
        options.layOut = ProgramSession::linkWithOneTriangleCar;
        session = std::make_unique<ProgramSession>(options);
        ASSERT_EQ(session->failure(), "");
        // however many frames a key is held for, it sends one key-down
        session->driver().turnKeyRepeatOff();
        firstPicture = session->captureSettled();
    }

    // holds a switch key, then lets frames show the result
    void press(unsigned long keysym)
    {
        session->holdKey(keysym, pressFrames);
        EXPECT_TRUE(session->presentsFrames(1));
    }

    // closes the program and reads its frames
    void finish()
    {
        session->captureSettled();
        ASSERT_EQ(session->close(), std::optional<int>(0));
        frames = YardTrace::framesOf(session->recordedCalls());
        ASSERT_GT(frames.size(), 2u);
    }

    std::unique_ptr<ProgramSession> session;
    DisplayDriver::Image firstPicture;
    Frames frames;
};

TEST_F(TracedYard, GHFAndRFlipOncePerKeyDownAndAgainOnAutoRepeat)
{
    press(XK_g);
    const DisplayDriver::Image unlit = session->captureSettled();
    press(XK_g);
    press(XK_h);
    press(XK_h);
    press(XK_f);
    press(XK_f);

    // Look up: one pixel's step upwards, taken by the next frame while the
    // button is held, turns the view up by 50 degrees a second of that frame.
    const DisplayDriver::Image level = session->captureSettled();
    int rootX = 0, rootY = 0, width = 0, height = 0;
    session->driver().clientGeometry(session->window(), rootX, rootY, width, height);
    session->approach(width / 2, height / 2);
    session->driver().buttonDown(1);
    session->driver().sync();
    session->driver().moveMouseTo(rootX + width / 2, rootY + height / 2 - 1);
    session->driver().sync();
    const DisplayDriver::Image pitched = session->captureSettled();
    session->driver().buttonUp(1);
    // walking keeps the eye at height 1; released, it flies up along the
    // pitch; locked again, it is pinned back to the ground
    session->holdKey(XK_w, walkFrames);
    press(XK_r);
    session->holdKey(XK_w, walkFrames);
    press(XK_r);

    // held past the auto-repeat delay, a repeated key-down flips again:
    // F is held until the outlines that its first key-down shows are gone
    const DisplayDriver::Image filled = session->captureSettled();
    session->driver().setKeyRepeat(repeatDelayMs, repeatIntervalMs);
    bool outlinesShown = false;
    session->holdKeyUntil(XK_f, [&](const DisplayDriver::Image& frame) {
        const bool outlines = differingShare(filled, frame) > outlineShare;
        outlinesShown = outlinesShown || outlines;
        return outlinesShown && !outlines;
    });
    finish();

    EXPECT_GT(differingShare(firstPicture, unlit), 0.3) << "G changed too little of the picture";
    ASSERT_NE(pitched.rgb, level.rgb) << "the drag did not turn the view";
    const auto lightState = [](const std::string& light) {
        return [light](const std::vector<Call>& frame) { return enables(frame, light) ? "on" : "off"; };
    };
    EXPECT_EQ(runsOf(frames, lightState("GL_LIGHT0")), (std::vector<std::string>{"on", "off", "on"}));
    EXPECT_EQ(runsOf(frames, lightState("GL_LIGHT1")), (std::vector<std::string>{"off", "on", "off"}));
    const std::vector<std::string> modes = runsOf(frames, [](const std::vector<Call>& frame) {
        return YardTrace::argumentOf(frame, "glPolygonMode", 1);
    });
    // two presses, then the held key's first key-down and its repeat
    ASSERT_GE(modes.size(), 5u) << "F held past the repeat delay flipped no more";
    EXPECT_EQ(std::vector<std::string>(modes.begin(), modes.begin() + 5),
              (std::vector<std::string>{"GL_FILL", "GL_LINE", "GL_FILL", "GL_LINE", "GL_FILL"}));

    // gluLookAt's matrix holds the view direction, negated, in its third
    // column; the sky box stands around the eye after the height pin
    const auto forwardY = [](const std::vector<Call>& frame) {
        return -frame.at(ApiTrace::indexOf(frame, "glMultMatrixf")).numbers().at(6);
    };
    const auto eye = [](const std::vector<Call>& frame) { return YardTrace::skyCentre(frame); };
    ASSERT_GT(forwardY(frames.back()), 0.0) << "the view was never pitched up";
    EXPECT_EQ(runsOf(frames,
                     [&](const std::vector<Call>& frame) {
                         return float(eye(frame).at(1)) == 1.0f ? "ground" : "air";
                     }),
              (std::vector<std::string>{"ground", "air", "ground"}));
    size_t released = 0;
    double lowest = 1.0;
    double highest = 1.0;
    for (size_t i = 0; i < frames.size(); ++i) {
        const double eyeHeight = eye(frames[i]).at(1);
        if (float(eyeHeight) != 1.0f && released == 0) {
            released = i;
        }
        lowest = std::min(lowest, eyeHeight);
        highest = std::max(highest, eyeHeight);
    }
    ASSERT_GT(released, 0u) << "the eye never left the ground in " << frames.size() << " frames";
    EXPECT_GT(highest, 1.0) << "the eye flew down to " << lowest << ", not up";
    EXPECT_GE(lowest, 1.0f) << "the eye went below the ground";
    // walking with the lock on moved the eye along the ground
    EXPECT_NE(float(eye(frames[released - 1]).at(2)), -5.0f);
}

TEST_F(TracedYard, WAndSWalkByWhatTheyTypeOnEveryLayout)
{
    struct Layout {
        const char* layout;
        const char* variant;
        unsigned long forward; // the keys typing w and s, or on Russian the keys in their US places
        unsigned long back;
        bool usWPlaceTypesOther; // the key in the US W place types another letter or a comma
        bool onWine;
    };
    const Layout layouts[] = {
        {"us", "", XK_w, XK_s, false, true},
        {"fr", "", XK_w, XK_s, true, true},
        {"de", "", XK_w, XK_s, false, true},
        {"us", "dvorak", XK_w, XK_s, true, false},
        {"ru", "", XK_Cyrillic_tse, XK_Cyrillic_yeru, false, false},
    };
    // Every hold is followed by frames with no key down, so each walk is a
    // run of its own in the eye's steps.
    const auto hold = [&](unsigned long keysym) {
        session->holdKey(keysym, pressFrames);
        EXPECT_TRUE(session->presentsFrames(2));
    };
    std::vector<std::string> expected = {"still"};
    for (const Layout& layout : layouts) {
        // Wine names the keys of Dvorak, and of a Russian layout switched
        // to while running, by its own guess at the layout, which Windows
        // does not make: those two are the Linux layer's alone.
        if (testedHost == ProgramHost::Windows && !layout.onWine) {
            continue;
        }
        ASSERT_TRUE(session->driver().setKeyboardLayout(layout.layout, layout.variant)) << layout.layout;
        hold(layout.forward);
        if (layout.usWPlaceTypesOther) {
            hold(session->driver().keysymAt(KEY_W + evdevKeycodeOffset));
        }
        hold(layout.back);
        expected.insert(expected.end(), {"forward", "still", "back", "still"});
    }
    finish();

    // The view faces -z: forward lowers the eye's z.
    double previousZ = YardTrace::skyCentre(frames.front()).at(2);
    EXPECT_EQ(runsOf(frames,
                     [&](const std::vector<Call>& frame) {
                         const double z = YardTrace::skyCentre(frame).at(2);
                         const char* step = z < previousZ ? "forward" : z > previousZ ? "back" : "still";
                         previousZ = z;
                         return step;
                     }),
              expected);
}

TEST_F(TracedYard, QAndETurnTheOrbitingLightOneDegreePerFrame)
{
    session->holdKey(XK_q, turnLeftFrames);
    EXPECT_TRUE(session->presentsFrames(1));
    session->holdKey(XK_e, turnRightFrames);
    finish();

    // Each frame's light stands at a whole number of degrees: +1 per frame
    // while Q is held, -1 while E is, and never anywhere in between.
    std::vector<int> angles;
    for (const auto& frame : frames) {
        const std::vector<double> position = YardTrace::lightPosition(frame, "GL_LIGHT1");
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
    ASSERT_FALSE(angles.empty()) << "no frame was recorded";
    EXPECT_LT(angles.back(), 0);
}

} // namespace
