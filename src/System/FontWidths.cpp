#include "System/FontWidths.h"

#include "Tool/LogManager.h"
#include "Tool/LogText.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

namespace System {

namespace {

constexpr std::size_t glyphCount = 256;
constexpr float cellFraction = 1.0f / 16.0f;
constexpr std::string_view blanks = " \t\r\f\v";

std::string_view trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The whole text as an unsigned decimal number, or nothing.
std::optional<unsigned> wholeNumber(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

void warn(const std::string& tableName, std::size_t lineNumber, const std::string& problem,
          std::string_view line) {
    Tool::LogManager::getInstance().send(
        Tool::Message("File",
                      "skipped line " + std::to_string(lineNumber) + " of Font ini " +
                          Tool::logExcerpt(tableName) + ": " + problem,
                      Tool::logExcerpt(line), __FILE__, __LINE__, Tool::MT_WARNING));
}

} // namespace

std::array<float, 256> readFontWidths(const std::string& text, unsigned textureWidth,
                                      const std::string& tableName) {
    std::array<float, glyphCount> widths;
    widths.fill(cellFraction);
    if (textureWidth == 0) {
        return widths;
    }
    const std::string_view all(text);
    std::size_t nextGlyph = 0;
    std::size_t lineNumber = 0;
    for (std::size_t begin = 0; begin <= all.size(); ++lineNumber) {
        const std::size_t end = std::min(all.find('\n', begin), all.size());
        const std::string_view line = all.substr(begin, end - begin);
        begin = end + 1;
        const std::string_view content = trim(line);
        if (content.empty() || content.front() == ';' || content.front() == '#') {
            continue;
        }
        const std::size_t equals = content.find('=');
        if (equals == std::string_view::npos) {
            warn(tableName, lineNumber + 1, "no \"=\"", line);
            continue;
        }
        const std::string_view key = trim(content.substr(0, equals));
        std::size_t glyph = nextGlyph;
        if (!key.empty() && key.find_first_not_of("0123456789") == std::string_view::npos) {
            const std::optional<unsigned> code = wholeNumber(key);
            if (!code || *code >= glyphCount) {
                warn(tableName, lineNumber + 1, "no character code 0 to 255", line);
                continue;
            }
            glyph = *code;
        }
        nextGlyph = glyph + 1;
        if (glyph >= glyphCount) {
            continue;
        }
        // The width is checked in whole pixels: at most the cell, a sixteenth of the
        // texture.
        const std::optional<unsigned> width = wholeNumber(trim(content.substr(equals + 1)));
        if (!width || static_cast<unsigned long long>(*width) * 16 > textureWidth) {
            warn(tableName, lineNumber + 1, "no width from 0 to the glyph cell's", line);
            continue;
        }
        widths[glyph] = static_cast<float>(*width) / static_cast<float>(textureWidth);
    }
    return widths;
}

} // namespace System
