// SOIL's entry points over the stand-in, which keeps SOIL's one piece of
// state: the text describing the last call.
#include "SOIL.h"

#include "platform/win32/soil-standin/SoilStandIn.h"

namespace {
SoilStandIn standIn;
}

unsigned int SOIL_create_OGL_texture(const unsigned char* data, int width, int height, int channels,
                                     unsigned int reuseTextureName, unsigned int flags)
{
    return standIn.createTexture(data, width, height, channels, reuseTextureName, flags);
}

const char* SOIL_last_result(void)
{
    return standIn.getLastResult();
}
