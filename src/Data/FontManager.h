#pragma once

#include "Data/Image.h"
#include "Data/Mesh.h"
#include "Tool/Export.h"

#include <array>
#include <map>
#include <memory>
#include <string>

namespace Data {

// One character of a bitmap font: its width as a fraction of the texture width and
// its quad, built on first use by the text drawables.
struct Glyph {
    float width = 0.0625f;
    MeshPtr quad;
};

// A font texture of 16 x 16 character cells in byte order, with one glyph per byte.
struct Font {
    ImagePtr image;
    std::array<Glyph, 256> glyphs;
};

using FontPtr = std::shared_ptr<Font>;

// Process-wide registry of bitmap fonts by name, with the current font.
class BRUMBLY_API FontManager {
public:
    static FontManager& getInstance();

    // Registers (or replaces) the font and makes it the current font.
    void registerFont(const std::string& name, const FontPtr& font);
    // Empty when no font of that name is registered.
    FontPtr getFont(const std::string& name) const;

    const std::string& getCurrentFontName() const { return currentFont; }
    void setCurrentFontName(const std::string& name) { currentFont = name; }

    void clear();

private:
    FontManager() = default;
    FontManager(const FontManager&) = delete;
    FontManager& operator=(const FontManager&) = delete;

    std::map<std::string, FontPtr> fonts;
    std::string currentFont;
};

} // namespace Data
