#include "geometry/Texture.h"

#include "geometry/DecodedImage.h"

#include <SOIL.h>

#include <cstdio>

namespace {
// mipmaps, image flipped so t = 1 is its top row, DXT where the driver has
// it, colours clamped to the NTSC-safe range
constexpr unsigned int textureFlags =
    SOIL_FLAG_MIPMAPS | SOIL_FLAG_INVERT_Y | SOIL_FLAG_COMPRESS_TO_DXT | SOIL_FLAG_NTSC_SAFE_RGB;
static_assert(textureFlags == 178, "the textures are loaded with flags 178");

int driverTextureSide()
{
    GLint side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    return side;
}
}

GLuint loadTextureFile(const char* path)
{
    // SOIL's own decoder is never handed a file: it is an old copy that
    // crashes on crafted ones. It makes the texture from decoded pixels.
    DecodedImage image;
    if (!image.load(path, driverTextureSide)) {
        printf("SOIL loading error: '%s'\n", image.getFailure().c_str());
        return 0;
    }
    // SOIL uploads each level with the row alignment in force; at OpenGL's
    // default of 4, a level whose rows are not whole words (an RGB level of
    // 2 x 2, or any of odd width) is read past the end of SOIL's buffer.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLuint texture = SOIL_create_OGL_texture(image.getPixels(), image.getWidth(), image.getHeight(),
                                                   image.getChannels(), SOIL_CREATE_NEW_ID, textureFlags);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (texture == 0) {
        printf("SOIL loading error: '%s'\n", SOIL_last_result());
    }
    return texture;
}
