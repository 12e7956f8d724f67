// The program's icon: the walled yard seen from above at an angle, grass
// tiles inside four stone walls, with a rust-red shipping container
// standing in it, on a clear background.
#pragma once

#include "tools/icongen/IconCanvas.h"

constexpr int iconSize = 64; // pixels each way

// the icon's picture, iconSize x iconSize pixels
IconCanvas drawYardIcon();
