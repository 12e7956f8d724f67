#include "geometry/Model.h"

#include "geometry/Texture.h"

#include <algorithm>

bool Model::load(const char* modelPath, const char* texturePath)
{
    if (!loadModel(modelPath)) {
        MessageBoxA(nullptr, "Model failed to load", "Error", MB_OK);
        return false;
    }
    loadTexture(texturePath);
    return true;
}

void Model::loadTexture(const char* path)
{
    texture = loadTextureFile(path);
}

void Model::render() const
{
    // vertexCount never exceeds what the arrays hold, but the arrays are
    // the bound: render must not read past one whatever the count says
    const size_t corners = std::min({static_cast<size_t>(std::max(vertexCount, 0)), vertices.size() / 3,
                                     normals.size() / 3, texCoords.size() / 2});
    glBindTexture(GL_TEXTURE_2D, texture);
    // clang-format off
    glBegin(GL_TRIANGLES);
        for (size_t c = 0; c < corners; ++c) {
            glNormal3f(normals[3 * c], normals[3 * c + 1], normals[3 * c + 2]);
            glTexCoord2f(texCoords[2 * c], texCoords[2 * c + 1]);
            glVertex3f(vertices[3 * c], vertices[3 * c + 1], vertices[3 * c + 2]);
        }
    glEnd();
    // clang-format on
    glBindTexture(GL_TEXTURE_2D, 0);
}
