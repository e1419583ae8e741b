// Bakes the game's three bitmap fonts from Debian's Liberation fonts:
//   <name>Trans.png  16 x 16 cells in byte order (cell row 0 at the top), one grey
//                    byte per pixel: how much the white glyph covers it, each glyph
//                    centred horizontally in its cell; codes 128-255 are Latin-1.
//   <name>.ini       one "code=width" line per code 0-255, the glyph's advance in
//                    pixels (what the game's text layout spaces glyphs by).
//   gen_fonts <fonts folder> <truetype folder>
#include "TrackGen/Raster.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>
#include <string>

namespace {

constexpr int cell = 64;
constexpr int grid = 16;

struct FontFace {
    const char* name;
    const char* file;
};

const FontFace faces[] = {
    {"Arial", "LiberationSans-Regular.ttf"},
    {"TimesNewRoman", "LiberationSerif-Regular.ttf"},
    {"Newsflash", "LiberationSans-Bold.ttf"},
};

bool printable(int code) {
    return (code >= 32 && code < 127) || code >= 160;
}

// Draws one font; returns false when FreeType cannot open or size the face.
bool bake(FT_Library library, const FontFace& font, const std::string& truetype,
          const std::string& folder) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, (truetype + "/" + font.file).c_str(), 0, &face) != 0) {
        std::cerr << "gen_fonts: cannot open " << truetype << "/" << font.file << "\n";
        return false;
    }
    // Size the em so that ascender to descender fills the cell but for a small margin.
    const float span = static_cast<float>(face->ascender - face->descender) / face->units_per_EM;
    const int pixelSize = static_cast<int>(std::floor((cell - 4) / span));
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
    const int baseline = 2 + static_cast<int>(std::lround(static_cast<float>(face->ascender) /
                                                          face->units_per_EM * pixelSize));

    const int spaceAdvance = [&] {
        FT_Load_Char(face, ' ', FT_LOAD_DEFAULT);
        return static_cast<int>(face->glyph->advance.x >> 6);
    }();

    TrackGen::Raster texture(cell * grid, cell * grid, TrackGen::rgb(1, 1, 1, 0));
    std::ofstream widths(folder + "/" + font.name + ".ini", std::ios::binary);
    for (int code = 0; code < 256; ++code) {
        int advance = spaceAdvance;
        if (printable(code) &&
            FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_RENDER) == 0) {
            const FT_GlyphSlot glyph = face->glyph;
            advance = static_cast<int>(glyph->advance.x >> 6);
            const int cellX = (code % grid) * cell;
            const int cellTop = (code / grid) * cell; // counted from the picture's top
            const int originX = cellX + (cell - advance) / 2 + glyph->bitmap_left;
            const int originTop = cellTop + baseline - glyph->bitmap_top;
            const FT_Bitmap& bitmap = glyph->bitmap;
            for (unsigned row = 0; row < bitmap.rows; ++row) {
                for (unsigned column = 0; column < bitmap.width; ++column) {
                    const int x = originX + static_cast<int>(column);
                    const int top = originTop + static_cast<int>(row);
                    // Keep every glyph inside its own cell.
                    if (x < cellX || x >= cellX + cell || top < cellTop || top >= cellTop + cell) {
                        continue;
                    }
                    const float coverage =
                        bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + column] / 255.0f;
                    TrackGen::Colour& px = texture.at(x, texture.height() - 1 - top);
                    px[3] = std::max(px[3], coverage);
                }
            }
        }
        widths << code << "=" << std::clamp(advance, 1, cell) << "\n";
    }
    FT_Done_Face(face);
    return widths.good() && texture.saveAlphaPng(folder + "/" + font.name + "Trans.png");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: gen_fonts <fonts folder> <truetype folder>\n";
        return 2;
    }
    TrackGen::ensureParentDirectory(std::string(argv[1]) + "/.");
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        std::cerr << "gen_fonts: FreeType did not start\n";
        return 1;
    }
    bool ok = true;
    for (const FontFace& font : faces) {
        ok = bake(library, font, argv[2], argv[1]) && ok;
    }
    FT_Done_FreeType(library);
    return ok ? 0 : 1;
}
