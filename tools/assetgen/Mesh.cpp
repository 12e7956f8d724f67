#include "Mesh.h"

#include <cstdio>
#include <map>

namespace {
// decimals written: a thousandth of a unit on a 13-unit car is far below a
// pixel, and the files stay small
constexpr int positionDecimals = 3;
constexpr int texCoordDecimals = 4;
constexpr int normalDecimals = 3;
// twice the area below which a triangle counts as having none, square units
constexpr float minimumArea = 1e-4f;

std::string number(float value, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(value));
    std::string s = text;
    // a value that rounds to zero is written without its sign
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) {
        s.erase(0, 1);
    }
    return s;
}

// numbers the distinct lines of one statement kind in order of first use
class LineTable {
public:
    explicit LineTable(const char* keywordValue) : keyword(keywordValue) {}

    int indexOf(const std::string& operands)
    {
        auto found = indices.find(operands);
        if (found != indices.end()) {
            return found->second;
        }
        const int index = static_cast<int>(indices.size()) + 1;
        indices.emplace(operands, index);
        text += keyword;
        text += ' ';
        text += operands;
        text += '\n';
        return index;
    }

    const std::string& getText() const { return text; }

private:
    const char* keyword;
    std::map<std::string, int> indices;
    std::string text;
};
}

void Mesh::addTriangle(const Corner& a, const Corner& b, const Corner& c)
{
    corners.push_back(a);
    corners.push_back(b);
    corners.push_back(c);
}

void Mesh::addFacing(const Corner& a, const Corner& b, const Corner& c)
{
    const Vec3 facing = (b.position - a.position).cross(c.position - a.position);
    if (facing.length() < minimumArea) {
        return;
    }
    if (facing.dot(a.normal + b.normal + c.normal) >= 0.0f) {
        addTriangle(a, b, c);
    } else {
        addTriangle(a, c, b);
    }
}

std::string Mesh::toObj(const std::string& title) const
{
    LineTable positions("v");
    LineTable texCoords("vt");
    LineTable normals("vn");
    std::string faces;
    for (size_t i = 0; i < corners.size(); ++i) {
        const Corner& c = corners[i];
        const Vec3 n = c.normal.normalized();
        const int p = positions.indexOf(number(c.position.x, positionDecimals) + ' ' +
                                        number(c.position.y, positionDecimals) + ' ' +
                                        number(c.position.z, positionDecimals));
        const int t = texCoords.indexOf(number(c.u, texCoordDecimals) + ' ' + number(c.v, texCoordDecimals));
        const int m = normals.indexOf(number(n.x, normalDecimals) + ' ' + number(n.y, normalDecimals) + ' ' +
                                      number(n.z, normalDecimals));
        faces += (i % 3 == 0) ? "f " : " ";
        faces += std::to_string(p) + '/' + std::to_string(t) + '/' + std::to_string(m);
        if (i % 3 == 2) {
            faces += '\n';
        }
    }
    return "# " + title + "\n" + positions.getText() + texCoords.getText() + normals.getText() + faces;
}
