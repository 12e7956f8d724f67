#include "tests/geometry/ProbeTrace.h"

#include "harness/ApiTrace.h"
#include "harness/SpawnedProcess.h"
#include "harness/TempDirectory.h"

#include <cstdio>
#include <initializer_list>
#include <utility>

namespace {
constexpr int probeTimeoutMs = 120000; // one list under a sanitizer and the tracer

bool startsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// a call with numbers printed as apitrace does: floats to 7 significant digits
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
}

std::vector<std::string> vertexCalls(const std::vector<FedVertex>& vertices, bool normalFirst)
{
    std::vector<std::string> calls;
    for (const FedVertex& v : vertices) {
        const std::string normal = callText("glNormal3f", {v.normal[0], v.normal[1], v.normal[2]});
        const std::string texCoord = callText("glTexCoord2f", {v.texCoord[0], v.texCoord[1]});
        calls.push_back(normalFirst ? normal : texCoord);
        calls.push_back(normalFirst ? texCoord : normal);
        calls.push_back(callText("glVertex3f", {v.position[0], v.position[1], v.position[2]}));
    }
    return calls;
}

std::vector<std::string> traceProbe(const std::vector<std::string>& arguments, std::string* problem)
{
    problem->clear();
    TempDirectory folder;
    const std::string tracePath = folder.pathOf("probe.trace");
    std::vector<std::string> command = {"apitrace", "trace", "--output", tracePath, GEOMETRY_GL_PROBE};
    command.insert(command.end(), arguments.begin(), arguments.end());
    SpawnedProcess::Options options;
    options.outputPath = folder.pathOf("probe.log");
    SpawnedProcess probe(command, options);
    int exitStatus = -1;
    if (!probe.waitForExit(probeTimeoutMs, exitStatus) || exitStatus != 0) {
        std::string commandText;
        for (const std::string& word : command) {
            commandText += (commandText.empty() ? "" : " ") + word;
        }
        *problem = "the probe did not run under apitrace (is the apitrace package installed and DISPLAY "
                   "set?): " +
                   commandText + "\n" + probe.output();
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
