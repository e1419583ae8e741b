#pragma once

#include <array>
#include <string>

namespace System {

// Reads a font's width table: lines of the form key=width, where width is the glyph's
// width in pixels of the font texture. A line whose key is a character code (0 to
// 255) sets that character's width; a line with any other key sets the character
// after the one the previous line set (the first such line character 0), so that a
// table with keys a, b, c ... sets characters 0, 1, 2 ... in line order. Blank lines
// and comment lines (starting with ';' or '#') are ignored. A line without "=", with a
// key beyond 255, or with a width that is not a whole number from 0 to the glyph
// cell's width (a sixteenth of the texture width) is skipped with a warning from
// "File", and its character keeps the full cell width. The result holds each
// character's width as a fraction of the texture width; characters that no line
// sets keep 1/16. A texture width of 0 gives 1/16 for every character.
std::array<float, 256> readFontWidths(const std::string& text, unsigned textureWidth,
                                      const std::string& tableName);

} // namespace System
