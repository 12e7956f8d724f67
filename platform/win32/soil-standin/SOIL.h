// Stand-in for SOIL's header, used only by the Windows cross build that has
// no SOIL of its own (see SoilStandIn.h). It declares the two entry points
// the program calls and SOIL's constants, with SOIL's names, values and
// C linkage, so the program compiles against it unchanged.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// passed as the texture name, asks for a new one
enum { SOIL_CREATE_NEW_ID = 0 };

enum {
    SOIL_FLAG_POWER_OF_TWO = 1,
    SOIL_FLAG_MIPMAPS = 2,
    SOIL_FLAG_TEXTURE_REPEATS = 4,
    SOIL_FLAG_MULTIPLY_ALPHA = 8,
    SOIL_FLAG_INVERT_Y = 16,
    SOIL_FLAG_COMPRESS_TO_DXT = 32,
    SOIL_FLAG_DDS_LOAD_DIRECT = 64,
    SOIL_FLAG_NTSC_SAFE_RGB = 128,
    SOIL_FLAG_CoCg_Y = 256,
    SOIL_FLAG_TEXTURE_RECTANGLE = 512
};

// makes decoded pixels (rows top to bottom, 1 to 4 interleaved channels of
// a byte each) an OpenGL texture in the current context; returns its name,
// or 0 with the reason in SOIL_last_result
unsigned int SOIL_create_OGL_texture(const unsigned char* data, int width, int height, int channels,
                                     unsigned int reuseTextureName, unsigned int flags);

// describes what the last call did, or why it failed
const char* SOIL_last_result(void);

#ifdef __cplusplus
}
#endif
