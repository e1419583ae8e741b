#include "Tool/LogText.h"

namespace Tool {

std::string logExcerpt(std::string_view text) {
    if (text.size() <= maximumLogExcerpt) {
        return std::string(text);
    }
    std::size_t end = maximumLogExcerpt;
    // Back up over UTF-8 continuation bytes to the start of the cut character.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return std::string(text.substr(0, end)) + "... (" + std::to_string(text.size()) + " bytes)";
}

} // namespace Tool
