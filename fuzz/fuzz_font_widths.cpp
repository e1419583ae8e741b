// The font width reader: any table gives 256 widths within the glyph cell.
#include "FuzzSupport.h"
#include "System/FontWidths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // The width of the game's font textures, and one that is no multiple of 16.
    for (const unsigned textureWidth : {1024u, 100u}) {
        for (const float width : System::readFontWidths(text, textureWidth, "Fuzz.ini")) {
            FuzzSupport::require(width >= 0.0f && width <= 1.0f / 16.0f,
                                 "every width lies within the glyph cell");
        }
    }
    return 0;
}
