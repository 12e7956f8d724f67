// SOIL's entry points over the stand-in, which keeps SOIL's one piece of
// state: the text describing the last call.
#include "SOIL.h"

#include "platform/win32/soil-standin/SoilStandIn.h"

namespace {
SoilStandIn standIn;
}

unsigned int SOIL_load_OGL_texture(const char* filename, int forceChannels, unsigned int reuseTextureName,
                                   unsigned int flags)
{
    return standIn.loadTexture(filename, forceChannels, reuseTextureName, flags);
}

const char* SOIL_last_result(void)
{
    return standIn.getLastResult();
}
