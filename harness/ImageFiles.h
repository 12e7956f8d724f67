// Image files of known content for the tests: well-formed ones written by
// stb_image_write and libjpeg-turbo's tools, and crafted ones of the kinds that have
// crashed, hung or exhausted image decoders. Each is the file's bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ImageFiles {

// width x height pixels of 1 to 4 interleaved channels: a smooth pattern
// with some sharp edges, so that a decoder's every stage shows in them
std::vector<uint8_t> pattern(int width, int height, int channels);
// the pixels as a PNG; or, of 1 or 3 channels, as a baseline JPEG written by
// libjpeg-turbo's cjpeg (empty when it fails)
std::string png(int width, int height, int channels, const std::vector<uint8_t>& pixels);
std::string jpeg(int width, int height, int channels, const std::vector<uint8_t>& pixels, int quality = 95);
// a colour JPEG rewritten by jpegtran as a progressive one: its default
// scans, or 66, one for each coefficient of the first component; empty when
// jpegtran fails
std::string progressive(const std::string& jpeg, bool scanPerCoefficient = false);

// A PNG of width x height RGB pixels whose pixel data is `zlib`, a zlib
// stream, and whose chunks carry their right checksums.
std::string pngWithData(uint32_t width, uint32_t height, const std::string& zlib);
// One whose deflate stream starts a block with a code-length table that
// leaves codes undefined, then uses one: the 2008 decoder SOIL carries
// asserted on it.
std::string brokenDeflatePng();
// One whose data inflates to `inflatedBytes` zeros: a black image when
// they are its filter bytes and pixels, (1 + 3 x width) x height; a size
// bomb when they are fewer, a deflate bomb when they are many more.
std::string zerosPng(uint32_t width, uint32_t height, size_t inflatedBytes);
// A Radiance HDR picture whose run-length data runs past its scanlines,
// which corrupted the heap of the decoder SOIL carries.
std::string radianceHdr();

} // namespace ImageFiles
