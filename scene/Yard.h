// The yard's own measures, by which set-up builds its ground and walls and
// the frame places its walls and the orbiting light.
#pragma once

namespace yard {
constexpr float size = 24.0f;          // world units each way: x 0 to 24, z 0 to -24
constexpr float middleX = size / 2.0f; // the middle, which the magenta light circles
constexpr float middleZ = -size / 2.0f;
}
