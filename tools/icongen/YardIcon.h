// The program's icon: the walled yard seen from above at an angle, grass
// tiles inside four stone walls, with a rust-red shipping container
// standing in it, on a clear background.
#pragma once

#include "tools/icongen/IconCanvas.h"

constexpr int iconSize = 64; // pixels each way: the Windows icon, and the size the art is laid out at

// the sizes the Linux desktop's icon theme (hicolor) gets the same art at
constexpr int desktopIconSizes[] = {16, 32, 48, 64, 128, 256};

// the icon's picture, size x size pixels: the art scaled from iconSize
IconCanvas drawYardIcon(int size = iconSize);
