#include "platform/win32/soil-standin/SoilStandIn.h"

#include "SOIL.h"
#include "platform/win32/soil-standin/SoilImage.h"

#include <cstring>

namespace {
// From GL_EXT_texture_compression_s3tc; the 1.1 headers Windows ships lack them.
constexpr GLint compressedRgbDxt1 = 0x83F0;
constexpr GLint compressedRgbaDxt5 = 0x83F3;

// The flags whose work the stand-in does not do. The program passes none.
constexpr unsigned int unsupportedFlags =
    SOIL_FLAG_MULTIPLY_ALPHA | SOIL_FLAG_DDS_LOAD_DIRECT | SOIL_FLAG_CoCg_Y | SOIL_FLAG_TEXTURE_RECTANGLE;

bool hasExtension(const char* name)
{
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (extensions == nullptr) {
        return false;
    }
    const size_t length = std::strlen(name);
    // Whole names only: one extension's name can begin another's.
    for (const char* found = std::strstr(extensions, name); found != nullptr;
         found = std::strstr(found + length, name)) {
        const bool starts = found == extensions || found[-1] == ' ';
        const bool ends = found[length] == ' ' || found[length] == '\0';
        if (starts && ends) {
            return true;
        }
    }
    return false;
}

GLenum pixelFormat(int channels)
{
    switch (channels) {
    case 1:
        return GL_LUMINANCE;
    case 2:
        return GL_LUMINANCE_ALPHA;
    case 3:
        return GL_RGB;
    default:
        return GL_RGBA;
    }
}

// SOIL compresses images without alpha to DXT1 and those with alpha to DXT5,
// and only where the driver can hold S3TC textures.
GLint internalFormat(int channels, unsigned int flags)
{
    if ((flags & SOIL_FLAG_COMPRESS_TO_DXT) != 0 && hasExtension("GL_EXT_texture_compression_s3tc")) {
        return channels % 2 == 0 ? compressedRgbaDxt5 : compressedRgbDxt1;
    }
    return static_cast<GLint>(pixelFormat(channels));
}
}

GLuint SoilStandIn::createTexture(const unsigned char* data, int width, int height, int channels,
                                  GLuint reuseName, unsigned int flags)
{
    if ((flags & unsupportedFlags) != 0) {
        lastResult = "Flag not supported by the SOIL stand-in of this build";
        return 0;
    }
    if (data == nullptr || width < 1 || height < 1 || channels < 1 || channels > 4) {
        lastResult = "Invalid image data";
        return 0;
    }
    SoilImage image(data, width, height, channels);
    if ((flags & SOIL_FLAG_INVERT_Y) != 0) {
        image.flipVertically();
    }
    if ((flags & SOIL_FLAG_NTSC_SAFE_RGB) != 0) {
        image.scaleToNtscSafe();
    }
    // Mipmaps need power-of-two sides, and so does a driver without
    // GL_ARB_texture_non_power_of_two.
    const bool wantsPowerOfTwo = (flags & (SOIL_FLAG_POWER_OF_TWO | SOIL_FLAG_MIPMAPS)) != 0 ||
                                 !hasExtension("GL_ARB_texture_non_power_of_two");
    if (wantsPowerOfTwo && !image.isPowerOfTwo()) {
        image.resizeToPowerOfTwo();
    }
    return upload(image, reuseName, flags);
}

GLuint SoilStandIn::upload(const SoilImage& image, GLuint reuseName, unsigned int flags)
{
    GLuint texture = reuseName;
    if (texture == 0) {
        glGenTextures(1, &texture);
    }
    if (texture == 0) {
        lastResult = "Failed to generate an OpenGL texture name; missing OpenGL context?";
        return 0;
    }
    // SOIL leaves its texture bound.
    glBindTexture(GL_TEXTURE_2D, texture);

    // Rows are packed tightly; an RGB row of odd width would otherwise be
    // read with the default 4-byte row alignment.
    GLint unpackAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLint storedFormat = internalFormat(image.getChannels(), flags);
    const GLenum format = pixelFormat(image.getChannels());
    const bool mipmaps = (flags & SOIL_FLAG_MIPMAPS) != 0;
    GLint mipmapError = 0;
    if (mipmaps) {
        mipmapError = gluBuild2DMipmaps(GL_TEXTURE_2D, storedFormat, image.getWidth(), image.getHeight(),
                                        format, GL_UNSIGNED_BYTE, image.getPixels());
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, storedFormat, image.getWidth(), image.getHeight(), 0, format,
                     GL_UNSIGNED_BYTE, image.getPixels());
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
    // GLU is the host's own (glu32 on Windows): should it refuse the image,
    // its reason is reported rather than an empty texture handed back.
    if (mipmapError != 0) {
        if (reuseName == 0) {
            glDeleteTextures(1, &texture);
        }
        const GLubyte* reason = gluErrorString(static_cast<GLenum>(mipmapError));
        lastResult = reason != nullptr ? reinterpret_cast<const char*>(reason) : "Mipmaps could not be built";
        return 0;
    }

    // SOIL's sampling: trilinear with mipmaps, else bilinear; clamped (the
    // old GL_CLAMP, not GL_CLAMP_TO_EDGE) unless asked to repeat.
    const GLint wrap = (flags & SOIL_FLAG_TEXTURE_REPEATS) != 0 ? GL_REPEAT : GL_CLAMP;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);

    lastResult = "Image loaded as an OpenGL texture";
    return texture;
}
