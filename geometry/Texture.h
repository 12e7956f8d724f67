// Texture loading shared by the scene and its models: every image file is
// decoded by the program's own decoder and made a texture by SOIL with the
// same flags, and a failure prints the same line.
#pragma once

#include "platform/Platform.h"

// Decodes the image into a new mipmapped texture in the current context.
// On failure prints "SOIL loading error: '<reason>'" and returns 0.
GLuint loadTextureFile(const char* path);
