#include "Data/TextDrawable.h"

#include "Data/Object.h"
#include "Data/Shapes.h"

namespace Data {

namespace {

constexpr float CELL = 0.0625f; // one of the 16 character cells per row and column
constexpr float GLYPH_GAP = 0.02f;

// Aligns a line that holds glyphs and adds it to the root; empty lines are dropped.
void finishLine(SGNode& root, const SGNodePtr& line, std::int32_t alignment) {
    if (line->getChildren().empty()) {
        return;
    }
    const BoundingBox box = line->getBoundingBox();
    const float width = box[3] - box[0];
    if (alignment == TA_CENTER) {
        line->moveSideways(-width / 2.0f, true);
    } else if (alignment == TA_RIGHT) {
        line->moveSideways(-width, true);
    }
    root.addChild(line);
}

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

    auto line = std::make_shared<SGNode>();
    float x = 0.0f;
    float y = 0.5f;
    for (const char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        const float w = 8.0f * font->glyphs[c].width;
        if (c == '\t' || c == ' ') {
            x += w;
        } else if (c == '\n') {
            finishLine(*root, line, alignment);
            if (!line->getChildren().empty()) {
                line = std::make_shared<SGNode>();
            }
            x = 0.0f;
            y += 1.0f;
        } else {
            auto glyph = std::make_shared<Object>(getGlyphQuad(*font, c));
            glyph->setName(std::string(1, byte));
            glyph->scale(glm::vec3(scale, scale, 1.0f), true);
            x += w + GLYPH_GAP;
            glyph->moveSideways(x, true);
            glyph->moveUp(-y, true);
            line->addChild(glyph);
            x += w;
        }
    }
    finishLine(*root, line, alignment);

    // A single line stands on its own, also when the text ends in a line feed and the
    // pending line node is the empty one after it.
    const auto& lines = root->getChildren();
    if (lines.size() >= 2) {
        return root;
    }
    return lines.empty() ? line : lines.begin()->second;
}

SGNodePtr makeText(const std::string& text, float scale, std::int32_t alignment) {
    return makeText(text, FontManager::getInstance().getCurrentFontName(), scale, alignment);
}

} // namespace Data
