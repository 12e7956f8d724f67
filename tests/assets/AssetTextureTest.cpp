// The committed images as the program loads them, in a real OpenGL context;
// apart from the other asset tests so that it carries the gl label.
#include "AssetSet.h"
#include "geometry/Texture.h"
#include "harness/GlTestContext.h"

#include <GL/gl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
std::vector<unsigned char> levelRgb(GLint level, GLint& width, GLint& height)
{
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}
}

TEST(AssetTextures, EveryImageBecomesATextureWithTheProgramsFlags)
{
    GlTestContext gl;
    ASSERT_TRUE(gl.isReady()) << gl.failure();
    for (const std::string& path : AssetSet::imagePaths()) {
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

TEST(AssetTextures, WithoutCompressionEachSmallLevelIsTheOneAboveAveraged)
{
    // A driver without DXT gets SOIL's levels as they are, among them rows
    // of RGB that are not whole words.
    setenv("MESA_EXTENSION_OVERRIDE", "-GL_EXT_texture_compression_s3tc", 1);
    GlTestContext gl;
    ASSERT_TRUE(gl.isReady()) << gl.failure();
    for (const std::string& path : AssetSet::imagePaths()) {
        SCOPED_TRACE(path);
        const GLuint texture = loadTextureFile(path.c_str());
        ASSERT_NE(texture, 0u);
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint format = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        ASSERT_EQ(format, GL_RGB) << "Mesa reads the override once a process: run this case on its own";
        GLint upperWidth = 0;
        GLint upperHeight = 0;
        std::vector<unsigned char> upper = levelRgb(0, upperWidth, upperHeight);
        for (GLint level = 1; upperWidth > 1 && upperHeight > 1; ++level) {
            GLint width = 0;
            GLint height = 0;
            const std::vector<unsigned char> lower = levelRgb(level, width, height);
            ASSERT_TRUE(width * 2 == upperWidth && height * 2 == upperHeight) << "level " << level;
            const auto at = [&](int x, int y, int c) {
                return int(upper[(size_t(y) * upperWidth + x) * 3 + c]);
            };
            int worst = 0;
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    for (int c = 0; c < 3; ++c) {
                        const int mean = (at(2 * x, 2 * y, c) + at(2 * x + 1, 2 * y, c) +
                                          at(2 * x, 2 * y + 1, c) + at(2 * x + 1, 2 * y + 1, c) + 2) /
                                         4;
                        worst = std::max(worst, std::abs(lower[(size_t(y) * width + x) * 3 + c] - mean));
                    }
                }
            }
            EXPECT_LE(worst, 2) << "level " << level << " of " << width << " x " << height;
            upper = lower;
            upperWidth = width;
            upperHeight = height;
        }
        glBindTexture(GL_TEXTURE_2D, 0);
        glDeleteTextures(1, &texture);
    }
}
