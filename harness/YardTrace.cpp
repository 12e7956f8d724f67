#include "harness/YardTrace.h"

#include <algorithm>
#include <set>

namespace {
// The calls an image library makes to turn a decoded image into a texture.
const std::set<std::string> textureUploadCalls = {
    "glGetIntegerv", "glGenTextures",   "glBindTexture",          "glPixelStorei",
    "glTexImage2D",  "glTexParameteri", "glTexParameterf",        "glGetTexLevelParameteriv",
    "glGetString",   "glGetError",      "glCompressedTexImage2D", "glCompressedTexImage2DARB"};

bool uploadsImage(const std::string& name)
{
    return name == "glTexImage2D" || name.rfind("glCompressedTexImage2D", 0) == 0;
}
}

namespace YardTrace {

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

std::vector<std::vector<Call>> framesOf(const std::vector<Call>& calls, bool modelsAsOneCall)
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
            if (modelsAsOneCall && calls[i].name == "glBindTexture" && i + 1 < swap &&
                calls[i + 1].name == "glBegin") {
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

std::vector<Call> setUpCalls(const std::vector<Call>& calls)
{
    const size_t first = ApiTrace::indexOf(calls, "glViewport");
    size_t end = first;
    for (size_t i = first; i < calls.size(); ++i) {
        if (calls[i].name == "glEndList") {
            end = i + 1;
        }
    }
    std::vector<Call> setUp;
    for (size_t i = first; i < end;) {
        size_t run = i;
        while (run < end && textureUploadCalls.count(calls[run].name) != 0) {
            ++run;
        }
        const auto begin = calls.begin() + static_cast<long>(i);
        const auto stop = calls.begin() + static_cast<long>(run);
        const auto generate =
            std::find_if(begin, stop, [](const Call& c) { return c.name == "glGenTextures"; });
        const bool upload =
            std::any_of(begin, stop, [](const Call& c) { return uploadsImage(c.name); }) && generate != stop;
        if (upload) {
            Call load;
            load.name = "loadTexture";
            load.arguments = {std::to_string(long(generate->numbers().at(1)))};
            setUp.push_back(load);
            i = run;
        } else if (run > i) {
            setUp.insert(setUp.end(), begin, stop);
            i = run;
        } else {
            setUp.push_back(calls[i++]);
        }
    }
    return setUp;
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

std::vector<double> skyCentre(const std::vector<Call>& frame)
{
    const size_t first = ApiTrace::indexOf(frame, "glPushMatrix");
    return first + 1 < frame.size() ? frame[first + 1].numbers() : std::vector<double>{};
}

} // namespace YardTrace
