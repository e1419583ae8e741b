#include "System/loader/ModelText.h"

#include "Tool/RegularFile.h"

#include <charconv>
#include <optional>

namespace System::ModelText {

namespace {

// Larger than any model of the game by far.
constexpr std::size_t maximumFileSize = 256 * 1024 * 1024;

// What the importer's index reader steps over: signs, digits and white space.
constexpr std::string_view indexCharacters = "0123456789+- \t\r\n";

bool isTagEnd(char c) {
    return c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string findIndexListProblem(std::string_view text) {
    for (std::size_t start = text.find("<p"); start != std::string_view::npos;
         start = text.find("<p", start + 2)) {
        if (start + 2 >= text.size() || !isTagEnd(text[start + 2])) {
            continue;
        }
        const std::size_t open = text.find('>', start);
        const std::size_t close = text.find("</p>", start);
        if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
            continue;
        }
        const std::string_view indices = text.substr(open + 1, close - open - 1);
        if (indices.find_first_not_of(indexCharacters) != std::string_view::npos) {
            return "index list at offset " + std::to_string(start) +
                   " holds something other than whole numbers";
        }
    }
    return {};
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The value of the attribute whose name ends at `position`, or nothing when the
// text there is no attribute.
std::optional<std::string_view> attributeValue(std::string_view text, std::size_t position) {
    while (position < text.size() && isSpace(text[position])) {
        ++position;
    }
    if (position >= text.size() || text[position] != '=') {
        return std::nullopt;
    }
    ++position;
    while (position < text.size() && isSpace(text[position])) {
        ++position;
    }
    if (position >= text.size() || (text[position] != '"' && text[position] != '\'')) {
        return std::nullopt;
    }
    const std::size_t close = text.find(text[position], position + 1);
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return text.substr(position + 1, close - position - 1);
}

std::string findSizeProblem(std::string_view text) {
    for (const std::string_view name : {"count", "stride", "offset"}) {
        for (std::size_t start = text.find(name); start != std::string_view::npos;
             start = text.find(name, start + 1)) {
            if (start == 0 || !isSpace(text[start - 1])) {
                continue;
            }
            const auto value = attributeValue(text, start + name.size());
            if (!value) {
                continue;
            }
            unsigned long long number = 0;
            const auto [end, error] =
                std::from_chars(value->data(), value->data() + value->size(), number);
            if (value->empty() || error != std::errc() || end != value->data() + value->size() ||
                number > text.size()) {
                return std::string(name) + " at offset " + std::to_string(start) +
                       " is no whole number within the file's size";
            }
        }
    }
    return {};
}

} // namespace

std::string findProblem(std::string_view text) {
    std::string problem = findIndexListProblem(text);
    return problem.empty() ? findSizeProblem(text) : problem;
}

std::string checkFile(const std::string& path) {
    std::string text;
    if (const std::error_code error = Tool::readRegularFile(path, maximumFileSize, text)) {
        return "Unable to read file \"" + path + "\": " + error.message();
    }
    return findProblem(text);
}

} // namespace System::ModelText
