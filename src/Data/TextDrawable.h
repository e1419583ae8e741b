#pragma once

#include "Data/FontManager.h"
#include "Data/SGNode.h"
#include "Tool/Export.h"

#include <cstdint>
#include <string>

namespace Data {

enum TextAlignment : std::int32_t { TA_LEFT = 0, TA_CENTER = 1, TA_RIGHT = 2 };

// Builds `text` in the named font, each glyph a quad scaled by `scale`. A line is an
// object with one mesh that holds all its glyph quads, so that it is drawn at once;
// a new text (not a changed mesh) shows new letters. One line gives the line node
// itself, several lines a root holding one node per line, a text without glyphs an
// empty node. An unregistered font gives an empty node. The font becomes the
// registry's current font.
BRUMBLY_API SGNodePtr makeText(const std::string& text, const std::string& fontName, float scale,
                               std::int32_t alignment);
// The same with the registry's current font.
BRUMBLY_API SGNodePtr makeText(const std::string& text, float scale, std::int32_t alignment);

// The quad of one glyph, built on first use and kept in the font: the pattern that
// each line copies for the glyph.
BRUMBLY_API MeshPtr getGlyphQuad(Font& font, unsigned char character);

} // namespace Data
