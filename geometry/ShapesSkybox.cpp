// The sky box: a cube around the eye, seen from inside, textured from a
// 4 x 4 atlas whose middle band holds the four sides.
#include "scene/Shapes.h"

GLuint Shapes::createSkybox(GLuint texture) const
{
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Drawn first in every frame: without depth it lies behind all that
    // follows, and unlit it keeps the picture's own colours.
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    // clang-format off
    glBegin(GL_QUADS);
        // front (z = -1); the normals point into the cube
        glNormal3f(0.0f, 0.0f, 1.0f);  glTexCoord2f(0.25f, 0.5f);  glVertex3f(-1.0f, -1.0f, -1.0f);
        glNormal3f(0.0f, 0.0f, 1.0f);  glTexCoord2f(0.5f, 0.5f);   glVertex3f(1.0f, -1.0f, -1.0f);
        glNormal3f(0.0f, 0.0f, 1.0f);  glTexCoord2f(0.5f, 0.75f);  glVertex3f(1.0f, 1.0f, -1.0f);
        glNormal3f(0.0f, 0.0f, 1.0f);  glTexCoord2f(0.25f, 0.75f); glVertex3f(-1.0f, 1.0f, -1.0f);

        // left (x = -1)
        glNormal3f(1.0f, 0.0f, 0.0f);  glTexCoord2f(0.0f, 0.5f);   glVertex3f(-1.0f, -1.0f, 1.0f);
        glNormal3f(1.0f, 0.0f, 0.0f);  glTexCoord2f(0.25f, 0.5f);  glVertex3f(-1.0f, -1.0f, -1.0f);
        glNormal3f(1.0f, 0.0f, 0.0f);  glTexCoord2f(0.25f, 0.75f); glVertex3f(-1.0f, 1.0f, -1.0f);
        glNormal3f(1.0f, 0.0f, 0.0f);  glTexCoord2f(0.0f, 0.75f);  glVertex3f(-1.0f, 1.0f, 1.0f);

        // back (z = +1)
        glNormal3f(0.0f, 0.0f, -1.0f); glTexCoord2f(0.75f, 0.5f);  glVertex3f(1.0f, -1.0f, 1.0f);
        glNormal3f(0.0f, 0.0f, -1.0f); glTexCoord2f(1.0f, 0.5f);   glVertex3f(-1.0f, -1.0f, 1.0f);
        glNormal3f(0.0f, 0.0f, -1.0f); glTexCoord2f(1.0f, 0.75f);  glVertex3f(-1.0f, 1.0f, 1.0f);
        glNormal3f(0.0f, 0.0f, -1.0f); glTexCoord2f(0.75f, 0.75f); glVertex3f(1.0f, 1.0f, 1.0f);

        // right (x = +1)
        glNormal3f(-1.0f, 0.0f, 0.0f); glTexCoord2f(0.5f, 0.5f);   glVertex3f(1.0f, -1.0f, -1.0f);
        glNormal3f(-1.0f, 0.0f, 0.0f); glTexCoord2f(0.75f, 0.5f);  glVertex3f(1.0f, -1.0f, 1.0f);
        glNormal3f(-1.0f, 0.0f, 0.0f); glTexCoord2f(0.75f, 0.75f); glVertex3f(1.0f, 1.0f, 1.0f);
        glNormal3f(-1.0f, 0.0f, 0.0f); glTexCoord2f(0.5f, 0.75f);  glVertex3f(1.0f, 1.0f, -1.0f);

        // top (y = +1): the cell above the front
        glNormal3f(0.0f, -1.0f, 0.0f); glTexCoord2f(0.25f, 0.75f); glVertex3f(-1.0f, 1.0f, -1.0f);
        glNormal3f(0.0f, -1.0f, 0.0f); glTexCoord2f(0.5f, 0.75f);  glVertex3f(1.0f, 1.0f, -1.0f);
        glNormal3f(0.0f, -1.0f, 0.0f); glTexCoord2f(0.5f, 1.0f);   glVertex3f(1.0f, 1.0f, 1.0f);
        glNormal3f(0.0f, -1.0f, 0.0f); glTexCoord2f(0.25f, 1.0f);  glVertex3f(-1.0f, 1.0f, 1.0f);

        // bottom (y = -1): the cell below the front, t = 0.25 along its edge under it
        glNormal3f(0.0f, 1.0f, 0.0f);  glTexCoord2f(0.25f, 0.25f); glVertex3f(-1.0f, -1.0f, -1.0f);
        glNormal3f(0.0f, 1.0f, 0.0f);  glTexCoord2f(0.5f, 0.25f);  glVertex3f(1.0f, -1.0f, -1.0f);
        glNormal3f(0.0f, 1.0f, 0.0f);  glTexCoord2f(0.5f, 0.5f);   glVertex3f(1.0f, -1.0f, 1.0f);
        glNormal3f(0.0f, 1.0f, 0.0f);  glTexCoord2f(0.25f, 0.5f);  glVertex3f(-1.0f, -1.0f, 1.0f);
    glEnd();
    // clang-format on
    // whatever the state before, the yard drawn next is depth-tested and lit
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, 0);
    glEndList();
    return list;
}
