#include "geometry/Texture.h"

#include <SOIL.h>

#include <cstdio>

namespace {
// mipmaps, image flipped so t = 1 is its top row, DXT where the driver has
// it, colours clamped to the NTSC-safe range
constexpr unsigned int textureFlags =
    SOIL_FLAG_MIPMAPS | SOIL_FLAG_INVERT_Y | SOIL_FLAG_COMPRESS_TO_DXT | SOIL_FLAG_NTSC_SAFE_RGB;
static_assert(textureFlags == 178, "the textures are loaded with flags 178");
}

GLuint loadTextureFile(const char* path)
{
    const GLuint texture = SOIL_load_OGL_texture(path, SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, textureFlags);
    if (texture == 0) {
        printf("SOIL loading error: '%s'\n", SOIL_last_result());
    }
    return texture;
}
