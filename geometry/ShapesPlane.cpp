// The tiled plane: the ground and the walls, one image repeated on every
// tile of a grid.
#include "scene/Shapes.h"

GLuint Shapes::createPlane(GLuint texture, float width, float height, int columns, int rows, float uRepeat,
                           float vRepeat) const
{
    const float tileWidth = width / static_cast<float>(columns);
    const float tileHeight = height / static_cast<float>(rows);
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBindTexture(GL_TEXTURE_2D, texture);
    // recorded in the list, so every replay makes the tiles' coordinates
    // beyond 1 repeat the image on the texture bound here
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    // clang-format off
    glBegin(GL_TRIANGLES);
        for (int i = 0; i < columns; ++i) {
            for (int j = 0; j < rows; ++j) {
                // The far edge is the near edge plus one tile, as the
                // lists have always been built, not (i + 1) tiles; adding
                // 0 keeps a zero edge +0 when a size is negative.
                const float left = static_cast<float>(i) * tileWidth;
                const float bottom = static_cast<float>(j) * tileHeight;
                const float x0 = left + 0.0f;
                const float x1 = left + tileWidth;
                const float y0 = bottom + 0.0f;
                const float y1 = bottom + tileHeight;
                glTexCoord2f(0.0f, 0.0f);         glNormal3f(0.0f, 0.0f, 1.0f); glVertex3f(x0, y0, 0.0f);
                glTexCoord2f(uRepeat, 0.0f);      glNormal3f(0.0f, 0.0f, 1.0f); glVertex3f(x1, y0, 0.0f);
                glTexCoord2f(uRepeat, vRepeat);   glNormal3f(0.0f, 0.0f, 1.0f); glVertex3f(x1, y1, 0.0f);
                glTexCoord2f(0.0f, 0.0f);         glNormal3f(0.0f, 0.0f, 1.0f); glVertex3f(x0, y0, 0.0f);
                glTexCoord2f(uRepeat, vRepeat);   glNormal3f(0.0f, 0.0f, 1.0f); glVertex3f(x1, y1, 0.0f);
                glTexCoord2f(0.0f, vRepeat);      glNormal3f(0.0f, 0.0f, 1.0f); glVertex3f(x0, y1, 0.0f);
            }
        }
    glEnd();
    // clang-format on
    glBindTexture(GL_TEXTURE_2D, 0);
    glEndList();
    return list;
}
