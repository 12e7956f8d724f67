// The .ico file format for one square image: an icon directory with a single
// entry, then the image as a device-independent bitmap (BITMAPINFOHEADER,
// 32-bit BGRA rows bottom-up, then the 1-bit AND mask), which every Windows
// version and resource compiler reads. And PNG, which desktop icon themes
// take.
#pragma once

#include "tools/icongen/IconCanvas.h"

#include <cstdint>
#include <vector>

// the whole .ico file holding the canvas as its one 32-bit image; sizes up
// to 256 pixels
std::vector<uint8_t> encodeIco(const IconCanvas& canvas);

// the canvas as an 8-bit RGBA PNG file with straight alpha
std::vector<uint8_t> encodePng(const IconCanvas& canvas);
