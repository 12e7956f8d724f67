#include "tests/geometry/ProbeTrace.h"

#include "tests/geometry/ScratchFolder.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
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

struct PipeCloser {
    void operator()(FILE* pipe) const { pclose(pipe); }
};
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
    ScratchFolder folder;
    const std::string tracePath = folder.pathOf("probe.trace");
    const std::string logPath = folder.pathOf("probe.log");
    const std::string traceCommand = std::string(probeEnvironment) + " apitrace trace --output=" + tracePath +
                                     " " + GEOMETRY_GL_PROBE + " " + arguments + " >" + logPath + " 2>&1";
    if (std::system(traceCommand.c_str()) != 0) {
        *problem = "the probe did not run under apitrace (is the apitrace package installed and DISPLAY "
                   "set?): " + traceCommand + "\n" + readAll(logPath);
        return {};
    }
    const std::string dumpCommand = "apitrace dump --color=never --call-nos=no --arg-names=no " + tracePath;
    std::unique_ptr<FILE, PipeCloser> dump(popen(dumpCommand.c_str(), "r"));
    if (!dump) {
        *problem = "cannot run " + dumpCommand;
        return {};
    }

    // Only the calls of the last context made current count: SDL probes
    // the driver with a context of its own first.
    std::vector<std::string> calls;
    bool collecting = false;
    std::string line;
    char chunk[4096];
    while (std::fgets(chunk, sizeof chunk, dump.get()) != nullptr) {
        line += chunk;
        if (line.empty() || line.back() != '\n') {
            continue;
        }
        line.pop_back();
        if (startsWith(line, "glXMakeCurrent(") && line.find("NULL") == std::string::npos) {
            calls.clear();
            collecting = true;
        } else if (startsWith(line, "glX")) {
            collecting = false;
        } else if (collecting && startsWith(line, "gl") && line.find("// fake") == std::string::npos) {
            const size_t result = line.find(") = ");
            calls.push_back(result == std::string::npos ? line : line.substr(0, result + 1));
        }
        line.clear();
    }
    if (calls.empty()) {
        *problem = "apitrace recorded no OpenGL call of the probe";
    }
    return calls;
}
