// The committed images as the program loads them, in a real OpenGL context;
// apart from the other asset tests so that it carries the gl label.
#include "AssetSet.h"
#include "geometry/Texture.h"
#include "harness/GlTestContext.h"

#include <GL/gl.h>

#include <gtest/gtest.h>

#include <string>

TEST(AssetTextures, EveryImageBecomesATextureWithTheProgramsFlags)
{
    GlTestContext gl;
    ASSERT_TRUE(gl.isReady()) << gl.failure();
    for (const std::string& path : AssetSet::paths()) {
        if (path.rfind("img/", 0) != 0) {
            continue;
        }
        const GLuint texture = loadTextureFile(path.c_str());
        EXPECT_NE(texture, 0u) << path << ": the reason is printed above";
        GLint width = 0;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        EXPECT_TRUE(width > 0 && (width & (width - 1)) == 0) << path << " is " << width << " texels wide";
        glBindTexture(GL_TEXTURE_2D, 0);
        glDeleteTextures(1, &texture);
    }
}
