// The yard's OpenGL call stream, as a traced program session records it,
// read as the program's own steps: what set-up built, and each presented
// frame.
#pragma once

#include "harness/ApiTrace.h"

#include <string>
#include <vector>

namespace YardTrace {

using ApiTrace::Call;

// What set-up built: the seven lists in build order, the texture bound
// inside each, and the two model textures.
struct BuiltScene {
    std::vector<double> lists;
    std::vector<double> listTextures;
    std::vector<double> modelTextures;
};

BuiltScene builtScene(const std::vector<Call>& calls);

// The calls of each presented frame, from glClear up to its buffer swap.
// With modelsAsOneCall a model's immediate-mode block (texture, glBegin ...
// glEnd, texture 0) becomes one pseudo-call "render" carrying its texture
// and corner count.
std::vector<std::vector<Call>> framesOf(const std::vector<Call>& calls, bool modelsAsOneCall = true);

// Set-up, from its first viewport to its last list, with each image the
// image library turned into a texture as one pseudo-call "loadTexture"
// carrying the texture's name: how a library uploads an image is its own
// affair, and the two hosts' libraries do it differently.
std::vector<Call> setUpCalls(const std::vector<Call>& calls);

// the printed argument of the first call of that name, or empty
std::string argumentOf(const std::vector<Call>& frame, const std::string& name, size_t index);
// the position a frame gives the light ("GL_LIGHT1"), or nothing
std::vector<double> lightPosition(const std::vector<Call>& frame, const std::string& light);
// The eye after the height pin: the sky box is drawn around it.
std::vector<double> skyCentre(const std::vector<Call>& frame);

} // namespace YardTrace
