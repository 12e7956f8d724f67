#include "tests/geometry/ProbeTrace.h"

#include "tests/support/ApiTrace.h"
#include "tests/support/TempDirectory.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {
// apitrace preloads its wrapper ahead of the sanitizer runtime, and the
// probe's exit leaks in the driver are not ours to report
constexpr const char* probeEnvironment = "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0";

std::string readAll(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool startsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

}

std::string callText(const std::string& name, std::initializer_list<float> numbers)
{
    std::string text = name + "(";
    const char* separator = "";
    for (float number : numbers) {
        char printed[32];
        std::snprintf(printed, sizeof printed, "%.7g", number);
        text += separator;
        text += printed;
        separator = ", ";
    }
    return text + ")";
}

std::vector<std::string> traceProbe(const std::string& arguments, std::string* problem)
{
    problem->clear();
    TempDirectory folder;
    const std::string tracePath = folder.pathOf("probe.trace");
    const std::string logPath = folder.pathOf("probe.log");
    const std::string traceCommand = std::string(probeEnvironment) + " apitrace trace --output=" + tracePath +
                                     " " + GEOMETRY_GL_PROBE + " " + arguments + " >" + logPath + " 2>&1";
    if (std::system(traceCommand.c_str()) != 0) {
        *problem = "the probe did not run under apitrace (is the apitrace package installed and DISPLAY "
                   "set?): " + traceCommand + "\n" + readAll(logPath);
        return {};
    }
    // Only the calls of the last context made current count: SDL probes
    // the driver with a context of its own first.
    std::vector<std::string> calls;
    bool collecting = false;
    for (const ApiTrace::Call& call : ApiTrace::read(tracePath)) {
        const bool windowSystem = startsWith(call.name, "glX");
        if (call.name == "glXMakeCurrent" && call.arguments.size() == 3 && call.arguments[2] != "NULL") {
            calls.clear();
            collecting = true;
        } else if (windowSystem) {
            collecting = false;
        } else if (collecting && startsWith(call.name, "gl")) {
            std::string text = call.name + "(";
            for (size_t i = 0; i < call.arguments.size(); ++i) {
                text += (i == 0 ? "" : ", ") + call.arguments[i];
            }
            calls.push_back(text + ")");
        }
    }
    if (calls.empty()) {
        *problem = "apitrace recorded no OpenGL call of the probe";
    }
    return calls;
}
