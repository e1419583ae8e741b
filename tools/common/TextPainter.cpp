#include "TextPainter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <stdexcept>

namespace Tools {

struct TextPainter::State {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

TextPainter::TextPainter(const std::string& fontFile, int pixelSize)
    : state(std::make_unique<State>()) {
    if (FT_Init_FreeType(&state->library) != 0 ||
        FT_New_Face(state->library, fontFile.c_str(), 0, &state->face) != 0) {
        if (state->library != nullptr) {
            FT_Done_FreeType(state->library);
        }
        throw std::runtime_error("cannot open font " + fontFile);
    }
    FT_Set_Pixel_Sizes(state->face, 0, static_cast<FT_UInt>(pixelSize));
}

TextPainter::~TextPainter() {
    FT_Done_Face(state->face);
    FT_Done_FreeType(state->library);
}

int TextPainter::width(const std::string& text) const {
    int pen = 0;
    for (unsigned char c : text) {
        if (FT_Load_Char(state->face, c, FT_LOAD_DEFAULT) == 0) {
            pen += static_cast<int>(state->face->glyph->advance.x >> 6);
        }
    }
    return pen;
}

void TextPainter::draw(Raster& target, const std::string& text, int left, int baseline,
                       const Colour& colour) const {
    int pen = left;
    for (unsigned char c : text) {
        if (FT_Load_Char(state->face, c, FT_LOAD_RENDER) != 0) {
            continue;
        }
        const FT_GlyphSlot glyph = state->face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            for (unsigned column = 0; column < bitmap.width; ++column) {
                const float coverage =
                    bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + column] / 255.0f;
                const int x = pen + glyph->bitmap_left + static_cast<int>(column);
                const int top = baseline - glyph->bitmap_top + static_cast<int>(row);
                target.blend(x, target.height() - 1 - top, colour, coverage);
            }
        }
        pen += static_cast<int>(glyph->advance.x >> 6);
    }
}

void TextPainter::drawCentred(Raster& target, const std::string& text, int centre, int baseline,
                              const Colour& colour) const {
    draw(target, text, centre - width(text) / 2, baseline, colour);
}

} // namespace Tools
