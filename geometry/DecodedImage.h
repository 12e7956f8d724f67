// An image file decoded into pixels for a texture, on every host by the
// same maintained decoder (stb_image). Every file is untrusted, so:
//  - only PNG and JPEG are read, recognised by their content whatever the
//    file's name, progressive JPEGs included; anything else is refused
//    before a byte of it is decoded;
//  - the image's size is read from its header and checked before any pixel
//    is decoded, and the decoder can never hold more memory than that size
//    needs, so no file makes a load large or slow;
//  - every decode ends.
// Rows run top to bottom, channels are the file's own, interleaved one byte
// each: 1 grey, 2 grey and alpha, 3 RGB, 4 RGBA.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class DecodedImage {
public:
    // The texture a file may make is at most this many texels a side
    // squared, counted with its sides stretched to powers of two as the
    // image library stretches them: 4096 x 4096, 64 MiB at four channels.
    static constexpr int maxSquareSide = 4096;
    // Larger files are refused unread.
    static constexpr std::uint64_t maxFileBytes = 256ULL << 20;
    // What the decoder may hold while it works: a little to start with, as
    // much as the file again, and some bytes for each pixel of the image the
    // header declares (a 16-bit interlaced RGBA PNG needs the most, 32 with
    // its data).
    static constexpr std::int64_t baseWorkBytes = 1 << 20;
    static constexpr std::int64_t workBytesPerPixel = 32;
    // A progressive JPEG goes over the whole image once per scan; encoders
    // write about ten.
    static constexpr int maxJpegScans = 32;
    // Sides up to this need no word from the driver: OpenGL 3.0 requires
    // every driver to take 1024.
    static constexpr int guaranteedSide = 1024;

    // Gives the largest texture side the driver takes; asked only of an
    // image with a side over guaranteedSide.
    using SideLimit = int (*)();

    // a smaller square side is for fuzzing, which then gets through many
    // more files a second: the decoding is the same code at any size
    explicit DecodedImage(int squareSide = maxSquareSide) : squareSide(squareSide) {}

    // reads the file once and decodes it; false with getFailure() saying why
    bool load(const char* path, SideLimit sideLimit);
    // decodes a file's bytes
    bool decode(std::string_view bytes, SideLimit sideLimit);

    // why the last load or decode failed, in a few words for the user
    const std::string& getFailure() const { return failure; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    int getChannels() const { return channels; }
    const unsigned char* getPixels() const { return pixels.get(); }

private:
    struct DecoderFree {
        void operator()(unsigned char* data) const;
    };

    bool fail(std::string reason);

    int squareSide;
    int width = 0;
    int height = 0;
    int channels = 0;
    std::unique_ptr<unsigned char, DecoderFree> pixels;
    std::string failure;
};
