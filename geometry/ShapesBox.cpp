// The container box: a lit, textured cuboid whose faces all come from one
// 3 x 3 atlas image.
#include "scene/Shapes.h"

namespace {
// box extent along x, y and z (units)
constexpr float width = 1.75f;
constexpr float height = 1.75f;
constexpr float length = 5.0f;
// Atlas cuts in texture coordinates. The images are laid out for these
// decimal values, not for exact thirds.
constexpr float lowCut = 0.333f;
constexpr float highCut = 0.6666f;

constexpr int bothEndsClosed = 2;
constexpr int farEndClosed = 1;
}

GLuint Shapes::createBox(GLuint texture, int variant) const
{
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBindTexture(GL_TEXTURE_2D, texture);
    // clang-format off
    glBegin(GL_TRIANGLES);
        if (variant == bothEndsClosed) {
            // near end (z = 0): middle-left atlas cell
            glNormal3f(0.0f, 0.0f, -1.0f); glTexCoord2f(0.0f, lowCut);     glVertex3f(0.0f, 0.0f, 0.0f);
            glNormal3f(0.0f, 0.0f, -1.0f); glTexCoord2f(lowCut, lowCut);   glVertex3f(width, 0.0f, 0.0f);
            glNormal3f(0.0f, 0.0f, -1.0f); glTexCoord2f(lowCut, highCut);  glVertex3f(width, height, 0.0f);
            glNormal3f(0.0f, 0.0f, -1.0f); glTexCoord2f(0.0f, lowCut);     glVertex3f(0.0f, 0.0f, 0.0f);
            glNormal3f(0.0f, 0.0f, -1.0f); glTexCoord2f(lowCut, highCut);  glVertex3f(width, height, 0.0f);
            glNormal3f(0.0f, 0.0f, -1.0f); glTexCoord2f(0.0f, highCut);    glVertex3f(0.0f, height, 0.0f);
        }

        // side at x = width; the long faces stretch the atlas's top strip
        glNormal3f(1.0f, 0.0f, 0.0f);      glTexCoord2f(0.0f, highCut);    glVertex3f(width, 0.0f, 0.0f);
        glNormal3f(1.0f, 0.0f, 0.0f);      glTexCoord2f(1.0f, highCut);    glVertex3f(width, 0.0f, length);
        glNormal3f(1.0f, 0.0f, 0.0f);      glTexCoord2f(1.0f, 1.0f);       glVertex3f(width, height, length);
        glNormal3f(1.0f, 0.0f, 0.0f);      glTexCoord2f(0.0f, highCut);    glVertex3f(width, 0.0f, 0.0f);
        glNormal3f(1.0f, 0.0f, 0.0f);      glTexCoord2f(1.0f, 1.0f);       glVertex3f(width, height, length);
        glNormal3f(1.0f, 0.0f, 0.0f);      glTexCoord2f(0.0f, 1.0f);       glVertex3f(width, height, 0.0f);

        if (variant == bothEndsClosed || variant == farEndClosed) {
            // far end (z = length): centre atlas cell
            glNormal3f(0.0f, 0.0f, 1.0f);  glTexCoord2f(lowCut, lowCut);   glVertex3f(width, 0.0f, length);
            glNormal3f(0.0f, 0.0f, 1.0f);  glTexCoord2f(highCut, lowCut);  glVertex3f(0.0f, 0.0f, length);
            glNormal3f(0.0f, 0.0f, 1.0f);  glTexCoord2f(highCut, highCut); glVertex3f(0.0f, height, length);
            glNormal3f(0.0f, 0.0f, 1.0f);  glTexCoord2f(lowCut, lowCut);   glVertex3f(width, 0.0f, length);
            glNormal3f(0.0f, 0.0f, 1.0f);  glTexCoord2f(highCut, highCut); glVertex3f(0.0f, height, length);
            glNormal3f(0.0f, 0.0f, 1.0f);  glTexCoord2f(lowCut, highCut);  glVertex3f(width, height, length);
        }

        // side at x = 0
        glNormal3f(-1.0f, 0.0f, 0.0f);     glTexCoord2f(0.0f, highCut);    glVertex3f(0.0f, 0.0f, length);
        glNormal3f(-1.0f, 0.0f, 0.0f);     glTexCoord2f(1.0f, highCut);    glVertex3f(0.0f, 0.0f, 0.0f);
        glNormal3f(-1.0f, 0.0f, 0.0f);     glTexCoord2f(1.0f, 1.0f);       glVertex3f(0.0f, height, 0.0f);
        glNormal3f(-1.0f, 0.0f, 0.0f);     glTexCoord2f(0.0f, highCut);    glVertex3f(0.0f, 0.0f, length);
        glNormal3f(-1.0f, 0.0f, 0.0f);     glTexCoord2f(1.0f, 1.0f);       glVertex3f(0.0f, height, 0.0f);
        glNormal3f(-1.0f, 0.0f, 0.0f);     glTexCoord2f(0.0f, 1.0f);       glVertex3f(0.0f, height, length);

        // top (y = height)
        glNormal3f(0.0f, 1.0f, 0.0f);      glTexCoord2f(0.0f, highCut);    glVertex3f(width, height, 0.0f);
        glNormal3f(0.0f, 1.0f, 0.0f);      glTexCoord2f(1.0f, highCut);    glVertex3f(width, height, length);
        glNormal3f(0.0f, 1.0f, 0.0f);      glTexCoord2f(1.0f, 1.0f);       glVertex3f(0.0f, height, length);
        glNormal3f(0.0f, 1.0f, 0.0f);      glTexCoord2f(0.0f, highCut);    glVertex3f(width, height, 0.0f);
        glNormal3f(0.0f, 1.0f, 0.0f);      glTexCoord2f(1.0f, 1.0f);       glVertex3f(0.0f, height, length);
        glNormal3f(0.0f, 1.0f, 0.0f);      glTexCoord2f(0.0f, 1.0f);       glVertex3f(0.0f, height, 0.0f);

        // bottom (y = 0)
        glNormal3f(0.0f, -1.0f, 0.0f);     glTexCoord2f(0.0f, highCut);    glVertex3f(0.0f, 0.0f, 0.0f);
        glNormal3f(0.0f, -1.0f, 0.0f);     glTexCoord2f(1.0f, highCut);    glVertex3f(0.0f, 0.0f, length);
        glNormal3f(0.0f, -1.0f, 0.0f);     glTexCoord2f(1.0f, 1.0f);       glVertex3f(width, 0.0f, length);
        glNormal3f(0.0f, -1.0f, 0.0f);     glTexCoord2f(0.0f, highCut);    glVertex3f(0.0f, 0.0f, 0.0f);
        glNormal3f(0.0f, -1.0f, 0.0f);     glTexCoord2f(1.0f, 1.0f);       glVertex3f(width, 0.0f, length);
        glNormal3f(0.0f, -1.0f, 0.0f);     glTexCoord2f(0.0f, 1.0f);       glVertex3f(width, 0.0f, 0.0f);
    glEnd();
    // clang-format on
    glBindTexture(GL_TEXTURE_2D, 0);
    glEndList();
    return list;
}
