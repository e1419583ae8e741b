#pragma once

#include "TrackGen/Raster.h"

#include <memory>
#include <string>

namespace Tools {

using namespace TrackGen;

// Draws text with a TrueType font into a Raster (FreeType's anti-aliased glyphs).
class TextPainter {
public:
    // Fails loudly (std::runtime_error) when the font cannot be opened.
    TextPainter(const std::string& fontFile, int pixelSize);
    ~TextPainter();
    TextPainter(const TextPainter&) = delete;
    TextPainter& operator=(const TextPainter&) = delete;

    int width(const std::string& text) const;
    // Draws `text` with its baseline `baseline` pixels below the picture's top,
    // starting at column `left`.
    void draw(Raster& target, const std::string& text, int left, int baseline,
              const Colour& colour) const;
    // Centred on column `centre`.
    void drawCentred(Raster& target, const std::string& text, int centre, int baseline,
                     const Colour& colour) const;

private:
    struct State;
    std::unique_ptr<State> state;
};

} // namespace Tools
