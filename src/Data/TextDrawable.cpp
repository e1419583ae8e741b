#include "Data/TextDrawable.h"

#include "Data/Object.h"
#include "Data/Shapes.h"

#include <cstddef>
#include <glm/vec3.hpp>

namespace Data {

namespace {

constexpr float CELL = 0.0625f; // one of the 16 character cells per row and column
constexpr float GLYPH_GAP = 0.02f;

// The glyph quads of one line gathered into one mesh, so that the line is drawn in
// one go rather than one draw per glyph.
class LineMesh {
public:
    // Appends the quad scaled by `scale` with its centre at `centre` (in unscaled units).
    void add(const Mesh& quad, const glm::vec3& centre, float scale) {
        if (!mesh) {
            mesh = std::make_shared<Mesh>();
            mesh->texCoords.resize(1);
            mesh->faces.push_back({FT_TRIANGLES, 0, quad.faces.front().material});
        }
        const auto first = static_cast<std::uint32_t>(mesh->vertices.size());
        const glm::vec3 factors(scale, scale, 1.0f);
        for (std::size_t i = 0; i < quad.vertices.size(); ++i) {
            mesh->vertices.push_back(factors * (quad.vertices[i] + centre));
            mesh->normals.push_back(quad.normals[i]);
            mesh->texCoords[0].push_back(quad.texCoords[0][i]);
        }
        for (const std::uint32_t index : quad.indices) {
            mesh->indices.push_back(first + index);
        }
        mesh->faces.front().count = static_cast<std::uint32_t>(mesh->indices.size());
    }

    // The line as a node of its own, aligned; empty when it holds no glyph. Starts a
    // new line.
    SGNodePtr take(std::int32_t alignment) {
        if (!mesh) {
            return nullptr;
        }
        auto line = std::make_shared<Object>(mesh);
        mesh.reset();
        const BoundingBox box = line->getBoundingBox();
        const float width = box[3] - box[0];
        if (alignment == TA_CENTER) {
            line->moveSideways(-width / 2.0f, true);
        } else if (alignment == TA_RIGHT) {
            line->moveSideways(-width, true);
        }
        return line;
    }

private:
    MeshPtr mesh;
};

} // namespace

MeshPtr getGlyphQuad(Font& font, unsigned char character) {
    Glyph& glyph = font.glyphs[character];
    if (!glyph.quad) {
        const float g = glyph.width;
        const float column = static_cast<float>(character % 16);
        const float row = static_cast<float>(character / 16);
        const unsigned textureWidth = font.image ? font.image->getWidth() : 0;
        // One texel inset on every side; without a picture there is no texel to skip.
        const float t = textureWidth > 0 ? 1.0f / static_cast<float>(textureWidth) : 0.0f;
        glyph.quad = makeQuad(16.0f * g, 1.0f, g - 2.0f * t, CELL - 2.0f * t,
                              column * CELL + (CELL - g) / 2.0f + t, 1.0f - (row + 1.0f) * CELL + t,
                              font.image);
    }
    return glyph.quad;
}

SGNodePtr makeText(const std::string& text, const std::string& fontName, float scale,
                   std::int32_t alignment) {
    auto root = std::make_shared<SGNode>();
    FontManager& fonts = FontManager::getInstance();
    const FontPtr font = fonts.getFont(fontName);
    if (!font) {
        return root;
    }
    fonts.setCurrentFontName(fontName);

    LineMesh line;
    float x = 0.0f;
    float y = 0.5f;
    for (const char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        const float w = 8.0f * font->glyphs[c].width;
        if (c == '\t' || c == ' ') {
            x += w;
        } else if (c == '\n') {
            root->addChild(line.take(alignment));
            x = 0.0f;
            y += 1.0f;
        } else {
            x += w + GLYPH_GAP;
            line.add(*getGlyphQuad(*font, c), glm::vec3(x, -y, 0.0f), scale);
            x += w;
        }
    }
    root->addChild(line.take(alignment));

    // A single line stands on its own; a text without glyphs is the empty root.
    const auto& lines = root->getChildren();
    if (lines.size() != 1) {
        return root;
    }
    const SGNodePtr single = lines.begin()->second;
    root->removeChild(single);
    return single;
}

SGNodePtr makeText(const std::string& text, float scale, std::int32_t alignment) {
    return makeText(text, FontManager::getInstance().getCurrentFontName(), scale, alignment);
}

} // namespace Data
