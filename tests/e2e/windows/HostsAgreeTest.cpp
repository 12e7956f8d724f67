// The Windows program under Wine held to the Linux program call for call:
// what set-up builds, the viewport and projection of a new client size, and
// a whole frame at that size. Left out are each host's own calls: context
// handling (GLX under both) and how its image library uploads a texture.
#include "harness/ProgramSession.h"
#include "harness/YardTrace.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using YardTrace::Call;

constexpr int commonWidth = 1000; // client pixels both windows are given
constexpr int commonHeight = 500;
constexpr size_t resizeCalls = 6; // viewport, projection and back to the model view

struct Recording {
    std::vector<Call> setUp;
    std::vector<Call> resize;
    std::vector<Call> frame;
    int startWidth = 0;
    int startHeight = 0;
};

// Runs the program traced on a host, gives it the common client size, lets
// it draw at that size and ends it.
Recording record(ProgramHost host)
{
    ProgramSession::Options options;
    options.host = host;
    options.traced = true;
    ProgramSession session(options);
    Recording recording;
    EXPECT_EQ(session.failure(), "");
    if (!session.failure().empty()) {
        return recording;
    }
    session.captureSettled();
    recording.startWidth = session.clientWidth();
    recording.startHeight = session.clientHeight();
    session.resize(commonWidth, commonHeight);
    EXPECT_TRUE(session.presentsFrames(2));
    EXPECT_EQ(session.close(), std::optional<int>(0));

    const std::vector<Call> calls = session.recordedCalls();
    recording.setUp = YardTrace::setUpCalls(calls);
    size_t viewport = calls.size();
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].name == "glViewport" &&
            calls[i].numbers() == std::vector<double>{0, 0, commonWidth, commonHeight}) {
            viewport = i;
        }
    }
    if (viewport + resizeCalls > calls.size()) {
        return recording;
    }
    recording.resize.assign(calls.begin() + long(viewport), calls.begin() + long(viewport + resizeCalls));
    for (const auto& frame : YardTrace::framesOf(calls, false)) {
        if (frame.front().number > calls[viewport].number) {
            recording.frame = frame;
            break;
        }
    }
    return recording;
}

// Set-up starts with the viewport and projection of the client size the
// window first had: the hosts' frames differ, so their sizes do too.
void expectStartProjection(const Recording& recording, const std::string& host)
{
    ASSERT_GE(recording.setUp.size(), 4u) << host;
    EXPECT_EQ(recording.setUp[0].numbers(),
              (std::vector<double>{0, 0, double(recording.startWidth), double(recording.startHeight)}))
        << host;
    const std::vector<double> matrix = recording.setUp[3].numbers();
    ASSERT_EQ(matrix.size(), 16u) << host;
    const double aspect = double(recording.startWidth) / double(recording.startHeight);
    EXPECT_NEAR(matrix[0] * aspect, matrix[5], 1e-5) << host;
}

// The first call where the two streams part, or empty when they are equal.
std::string firstDifference(const std::vector<Call>& windows, const std::vector<Call>& onLinux,
                            size_t from = 0)
{
    for (size_t i = from; i < std::min(windows.size(), onLinux.size()); ++i) {
        if (windows[i].name != onLinux[i].name || windows[i].arguments != onLinux[i].arguments) {
            const auto print = [](const Call& c) {
                std::string text = c.name + "(";
                for (const std::string& argument : c.arguments) {
                    text += argument + ", ";
                }
                return text + ")";
            };
            return "call " + std::to_string(i) + ": Windows " + print(windows[i]) + ", Linux " +
                   print(onLinux[i]);
        }
    }
    if (windows.size() != onLinux.size()) {
        return "Windows makes " + std::to_string(windows.size()) + " calls, Linux " +
               std::to_string(onLinux.size());
    }
    return {};
}

TEST(HostsAgree, SetUpAResizeAndAWholeFrameMakeTheSameCallsAsOnLinux)
{
    const Recording onWindows = record(ProgramHost::Windows);
    const Recording onLinux = record(ProgramHost::Linux);
    expectStartProjection(onWindows, "Windows");
    expectStartProjection(onLinux, "Linux");
    // past the first projection, set-up is the same on both
    EXPECT_EQ(firstDifference(onWindows.setUp, onLinux.setUp, 4), "") << "in set-up";
    EXPECT_GT(onLinux.setUp.size(), 1000u);
    ASSERT_EQ(onLinux.resize.size(), resizeCalls);
    EXPECT_EQ(firstDifference(onWindows.resize, onLinux.resize), "") << "after the resize";
    // a whole frame, both cars' every corner included
    EXPECT_GT(onLinux.frame.size(), 60000u);
    EXPECT_EQ(firstDifference(onWindows.frame, onLinux.frame), "") << "in the frame";
}

} // namespace
