// libFuzzer target for the image decoder: the bytes of one file in, pixels
// or a reason out. No input may bring a sanitizer finding, run past the
// fuzzer's -timeout or its memory limit; a decoded image must be one the
// bounds allow, every byte of it there, and a refusal must say why.
#include "geometry/DecodedImage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {
// Textures of at most 256 x 256 texels: a file declaring more is refused
// unread, as a larger one is at the program's 4096, and the fuzzer gets
// through thousands of files a second.
constexpr int squareSide = 256;

int driverSide()
{
    return 16384;
}

void require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "decoded image breaks its promise: %s\n", what);
        std::abort();
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DecodedImage image(squareSide);
    if (!image.decode(std::string_view(reinterpret_cast<const char*>(data), size), driverSide)) {
        require(!image.getFailure().empty() && image.getPixels() == nullptr, "a refusal without a reason");
        return 0;
    }
    const int width = image.getWidth();
    const int height = image.getHeight();
    const int channels = image.getChannels();
    require(width >= 1 && height >= 1 && int64_t{width} * height <= squareSide * squareSide, "its size");
    require(channels >= 1 && channels <= 4, "its channels");
    // every pixel read, so that AddressSanitizer sees the whole buffer is there
    const unsigned char* pixels = image.getPixels();
    unsigned sum = 0;
    for (size_t i = 0; i < size_t(width) * height * channels; ++i) {
        sum += pixels[i];
    }
    volatile unsigned kept = sum; // not optimised away
    static_cast<void>(kept);
    return 0;
}
