// A stand-in for SOIL (the Simple OpenGL Image Library) for one build only:
// the Windows program cross-compiled from Debian, where no SOIL for Windows
// is packaged. Builds that have a real SOIL link that instead; Linux
// compiles the stand-in only to test it against the real one
// (cmake/Soil.cmake).
//
// It does what SOIL_create_OGL_texture does with decoded pixels for the
// flags the program passes (mipmaps, flipped rows, DXT compression,
// NTSC-safe colours) and leaves the texture as SOIL leaves it: power-of-two
// sides, the same internal formats, filters and wrap modes, the new texture
// bound, and SOIL's wording in the last result. The smaller levels are built
// by gluBuild2DMipmaps; compression to DXT is left to the driver, which is
// asked for the S3TC format SOIL would have chosen. Decoding files is not
// its business: the program decodes them itself, alike on every host.
#pragma once

#include "platform/Platform.h"

class SoilImage;

class SoilStandIn {
public:
    // as SOIL_create_OGL_texture with SOIL's flag values: the texture's
    // name, or 0 with the reason in getLastResult()
    GLuint createTexture(const unsigned char* data, int width, int height, int channels, GLuint reuseName,
                         unsigned int flags);
    // SOIL's text for what the last call did
    const char* getLastResult() const { return lastResult; }

private:
    GLuint upload(const SoilImage& image, GLuint reuseName, unsigned int flags);

    const char* lastResult = "";
};
