#include "geometry/DecodedImage.h"

#include "platform/MappedFile.h"

#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

// The decoder's memory comes from here, against an allowance set for each
// decode from the image's declared size: a deflate stream that inflates
// past what its image needs, for one, then fails where it would have
// doubled its buffer until the heap gave out.
struct WorkBudget {
    std::int64_t held = 0;
    std::int64_t limit = 0;
    bool exceeded = false;
};
thread_local WorkBudget budget;

// each block starts with its size, aligned as malloc aligns
constexpr std::size_t blockHeader = alignof(std::max_align_t);

std::size_t blockSize(void* data)
{
    std::size_t size = 0;
    std::memcpy(&size, static_cast<unsigned char*>(data) - blockHeader, sizeof size);
    return size;
}

bool fitsBudget(std::size_t more)
{
    if (more > static_cast<std::size_t>(budget.limit - budget.held)) {
        budget.exceeded = true;
        return false;
    }
    return true;
}

void* placeBlock(void* block, std::size_t size)
{
    std::memcpy(block, &size, sizeof size);
    budget.held += static_cast<std::int64_t>(size);
    return static_cast<unsigned char*>(block) + blockHeader;
}

// Zeroed: a crafted JPEG's scans may name Huffman tables it never defines,
// which the decoder then reads as they are; zeroed, they decode nothing but
// zeros. Large blocks come zeroed from the system.
void* budgetMalloc(std::size_t size)
{
    if (!fitsBudget(size)) {
        return nullptr;
    }
    void* block = std::calloc(1, blockHeader + size);
    return block != nullptr ? placeBlock(block, size) : nullptr;
}

void budgetFree(void* data)
{
    if (data != nullptr) {
        budget.held -= static_cast<std::int64_t>(blockSize(data));
        std::free(static_cast<unsigned char*>(data) - blockHeader);
    }
}

void* budgetRealloc(void* data, std::size_t size)
{
    if (data == nullptr) {
        return budgetMalloc(size);
    }
    const std::size_t old = blockSize(data);
    if (size > old && !fitsBudget(size - old)) {
        return nullptr;
    }
    void* block = std::realloc(static_cast<unsigned char*>(data) - blockHeader, blockHeader + size);
    if (block == nullptr) {
        return nullptr;
    }
    budget.held -= static_cast<std::int64_t>(old);
    return placeBlock(block, size);
}

} // namespace

// stb_image is compiled into this file alone, its functions static so that
// they never stand in for another copy linked into the same program (SOIL
// carries its own, unused). Only its PNG and JPEG decoders are built, and it
// reads from memory only.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_FAILURE_USERMSG
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MALLOC(size) budgetMalloc(size)
#define STBI_REALLOC(data, size) budgetRealloc(data, size)
#define STBI_FREE(data) budgetFree(data)
#include <stb_image.h>

namespace {

const unsigned char pngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
const unsigned char jpegSignature[] = {0xff, 0xd8, 0xff};

template <std::size_t length>
bool startsWith(std::string_view bytes, const unsigned char (&signature)[length])
{
    return bytes.size() >= length && std::memcmp(bytes.data(), signature, length) == 0;
}

std::int64_t nextPowerOfTwo(std::int64_t value)
{
    std::int64_t power = 1;
    while (power < value) {
        power *= 2;
    }
    return power;
}

// What the header declares, read before the decoder sees the file.
struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0;
    int scans = 0;
};

std::int64_t bigEndian(std::string_view bytes, std::size_t at, int length)
{
    std::int64_t value = 0;
    for (int i = 0; i < length; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// A PNG's size, from the header chunk that must come first.
bool readPngLayout(std::string_view bytes, Layout& layout)
{
    if (bytes.size() < 24 || bytes.substr(12, 4) != "IHDR") {
        return false;
    }
    layout.width = bigEndian(bytes, 16, 4);
    layout.height = bigEndian(bytes, 20, 4);
    return true;
}

// A JPEG's size from its first frame header, and its scans: the marker
// segments walked from the start of image to its end, each scan's
// entropy-coded data skipped up to the next marker, as the decoder reads
// them.
bool readJpegLayout(std::string_view bytes, Layout& layout)
{
    const auto at = [bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const auto isRestart = [](unsigned marker) { return marker >= 0xd0 && marker <= 0xd7; };
    // SOF0 to SOF15, but for the three markers that share their range
    const auto isFrame = [](unsigned marker) {
        return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
    };
    bool framed = false;
    std::size_t i = 2;
    while (i + 1 < bytes.size()) {
        if (at(i) != 0xff || at(i + 1) == 0xff) {
            ++i; // stray bytes and fill before a marker
            continue;
        }
        const unsigned marker = at(i + 1);
        i += 2;
        if (marker == 0xd9) {
            break; // end of image
        }
        if (marker == 0x01 || isRestart(marker) || i + 1 >= bytes.size()) {
            continue; // markers that carry no segment
        }
        if (isFrame(marker) && !framed && i + 7 <= bytes.size()) {
            layout.height = bigEndian(bytes, i + 3, 2);
            layout.width = bigEndian(bytes, i + 5, 2);
            framed = true;
        }
        i += static_cast<std::size_t>(bigEndian(bytes, i, 2));
        if (marker == 0xda) {
            ++layout.scans;
            // As the decoder reads it: 0xFF, any fill 0xFFs, then a zero is
            // a stuffed 0xFF of the data and a restart a restart; anything
            // else ends the scan.
            while (i + 1 < bytes.size()) {
                if (at(i) != 0xff) {
                    ++i;
                    continue;
                }
                std::size_t next = i + 1;
                while (next < bytes.size() && at(next) == 0xff) {
                    ++next;
                }
                if (next == bytes.size() || (at(next) != 0 && !isRestart(at(next)))) {
                    break;
                }
                i = next + 1;
            }
        }
    }
    return framed;
}

// stb_image's own words, as a user reads them: "Corrupt PNG" becomes
// "corrupt PNG"
std::string decoderReason()
{
    std::string reason = stbi_failure_reason() != nullptr ? stbi_failure_reason() : "unknown failure";
    if (reason.rfind("Corrupt ", 0) == 0) {
        reason[0] = 'c';
    }
    return reason;
}

std::string sizeText(std::int64_t width, std::int64_t height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

} // namespace

void DecodedImage::DecoderFree::operator()(unsigned char* data) const
{
    stbi_image_free(data);
}

bool DecodedImage::fail(std::string reason)
{
    failure = std::move(reason);
    pixels.reset();
    width = height = channels = 0;
    return false;
}

bool DecodedImage::load(const char* path, SideLimit sideLimit)
{
    const MappedFile file(path, maxFileBytes);
    if (file.getFileSize() > maxFileBytes) {
        const std::uint64_t mebibytes = (file.getFileSize() + (1 << 20) - 1) >> 20;
        return fail("file too large: " + std::to_string(mebibytes) + " MiB (at most " +
                    std::to_string(maxFileBytes >> 20) + " MiB)");
    }
    if (!file.isRead()) {
        return fail("cannot open the file");
    }
    return decode(file.bytes(), sideLimit);
}

bool DecodedImage::decode(std::string_view bytes, SideLimit sideLimit)
{
    const bool png = startsWith(bytes, pngSignature);
    if (!png && !startsWith(bytes, jpegSignature)) {
        return fail("not a PNG or JPEG image");
    }
    const char* const format = png ? "PNG" : "JPEG";
    // the decoder counts its input in ints
    static_assert(maxFileBytes <= INT_MAX, "a file the decoder cannot take is never handed to it");
    if (bytes.size() > maxFileBytes) {
        return fail(std::string(format) + " file too large");
    }

    // The header first: nothing is decoded for an image too large to keep.
    Layout declared;
    if (!(png ? readPngLayout(bytes, declared) : readJpegLayout(bytes, declared))) {
        return fail(std::string("corrupt ") + format + ": no image header");
    }
    const std::string declaredSize = sizeText(declared.width, declared.height);
    // each side on its own first, so that the product cannot overflow
    const std::int64_t texelLimit = std::int64_t{squareSide} * squareSide;
    if (declared.width > texelLimit || declared.height > texelLimit ||
        nextPowerOfTwo(declared.width) * nextPowerOfTwo(declared.height) > texelLimit) {
        return fail("image too large: " + declaredSize + " (at most " + sizeText(squareSide, squareSide) +
                    ")");
    }
    if (declared.width > guaranteedSide || declared.height > guaranteedSide) {
        const int side = sideLimit();
        if (declared.width > side || declared.height > side) {
            return fail("image too large: " + declaredSize + " (at most " + std::to_string(side) +
                        " a side)");
        }
    }
    if (declared.scans > maxJpegScans) {
        return fail("JPEG with too many scans: " + std::to_string(declared.scans) + " (at most " +
                    std::to_string(maxJpegScans) + ")");
    }

    budget.limit = budget.held + baseWorkBytes + static_cast<std::int64_t>(bytes.size()) +
                   workBytesPerPixel * declared.width * declared.height;
    budget.exceeded = false;
    int fileChannels = 0;
    pixels.reset(stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                       static_cast<int>(bytes.size()), &width, &height, &fileChannels, 0));
    if (!pixels) {
        return fail(budget.exceeded ? std::string("corrupt ") + format + ": more data than a " +
                                          declaredSize + " image holds"
                                    : decoderReason());
    }
    if (width != declared.width || height != declared.height) {
        return fail(std::string("corrupt ") + format + ": its size is not the one its header gives");
    }
    channels = fileChannels;
    failure.clear();
    return true;
}
