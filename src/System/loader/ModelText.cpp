#include "System/loader/ModelText.h"

#include "Tool/RegularFile.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace System::ModelText {

namespace {

// Larger than any model of the game by far.
constexpr std::size_t maximumFileSize = 256 * 1024 * 1024;

// What the importer's index reader steps over: signs, digits and white space.
constexpr std::string_view indexCharacters = "0123456789+- \t\r\n";
constexpr std::string_view space = " \t\r\n";

// One start tag: where it is, its name and its attributes as written.
struct Tag {
    std::size_t start = 0;
    std::size_t end = 0; // just after the closing ">"
    std::string_view name;
    std::map<std::string_view, std::string_view> attributes;
    bool empty = false; // written as <name ... />
};

// Reads the tag whose "<" is at `start`; nothing for end tags, comments, declarations
// and tags that are not well formed (the importer's XML reader refuses those).
std::optional<Tag> readTag(std::string_view text, std::size_t start) {
    Tag tag;
    tag.start = start;
    std::size_t position = start + 1;
    const std::size_t nameEnd = std::min(text.find_first_of(" \t\r\n/>", position), text.size());
    tag.name = text.substr(position, nameEnd - position);
    if (tag.name.empty() || tag.name.find_first_of("!?") != std::string_view::npos) {
        return std::nullopt;
    }
    position = nameEnd;
    for (;;) {
        position = std::min(text.find_first_not_of(space, position), text.size());
        if (text.substr(position, 1) == ">" || text.substr(position, 2) == "/>") {
            tag.empty = text[position] == '/';
            tag.end = position + (tag.empty ? 2 : 1);
            return tag;
        }
        const std::size_t equals = text.find('=', position);
        if (equals == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view rawName = text.substr(position, equals - position);
        const std::string_view name = rawName.substr(0, rawName.find_last_not_of(space) + 1);
        const std::size_t quote = std::min(text.find_first_not_of(space, equals + 1), text.size());
        if (name.empty() || name.find_first_of(" \t\r\n<>\"'") != std::string_view::npos ||
            quote == text.size() || (text[quote] != '"' && text[quote] != '\'')) {
            return std::nullopt;
        }
        const std::size_t close = text.find(text[quote], quote + 1);
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        tag.attributes[name] = text.substr(quote + 1, close - quote - 1);
        position = close + 1;
    }
}

std::vector<Tag> startTags(std::string_view text) {
    std::vector<Tag> tags;
    for (std::size_t start = text.find('<'); start != std::string_view::npos;
         start = text.find('<', start + 1)) {
        if (auto tag = readTag(text, start)) {
            tags.push_back(std::move(*tag));
        }
    }
    return tags;
}

std::string at(const Tag& tag, const std::string& what) {
    return "<" + std::string(tag.name) + "> at offset " + std::to_string(tag.start) + ": " + what;
}

// An index list (<p>) holding anything but whole numbers.
std::string findIndexListProblem(std::string_view text, const Tag& tag) {
    if (tag.name != "p" || tag.empty) {
        return {};
    }
    const std::size_t close = text.find("</p>", tag.end);
    const std::string_view indices = text.substr(tag.end, close - std::min(close, tag.end));
    if (indices.find_first_not_of(indexCharacters) != std::string_view::npos) {
        return at(tag, "the index list holds something other than whole numbers");
    }
    return {};
}

// The sizes a tag gives, where it gives them.
struct Sizes {
    std::optional<unsigned long long> count;
    std::optional<unsigned long long> stride;
    std::optional<unsigned long long> offset;
};

// A count, stride or offset that is no whole decimal number within the file's size.
std::string findSizeProblem(std::size_t fileSize, const Tag& tag, Sizes& sizes) {
    const std::pair<std::string_view, std::optional<unsigned long long> Sizes::*> fields[] = {
        {"count", &Sizes::count}, {"stride", &Sizes::stride}, {"offset", &Sizes::offset}};
    for (const auto& [name, field] : fields) {
        const auto found = tag.attributes.find(name);
        if (found == tag.attributes.end()) {
            continue;
        }
        const std::string_view value = found->second;
        unsigned long long number = 0;
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), number);
        if (value.empty() || error != std::errc() || end != value.data() + value.size() ||
            number > fileSize) {
            return at(tag, std::string(name) + " is no whole number within the file's size");
        }
        sizes.*field = number;
    }
    return {};
}

} // namespace

std::string findProblem(std::string_view text) {
    const std::vector<Tag> tags = startTags(text);
    // Arrays by id with the number of values the importer reads from them: their
    // count attribute (it refuses an array with fewer values).
    std::map<std::string_view, unsigned long long> arrays;
    std::vector<Sizes> sizes(tags.size());
    for (std::size_t index = 0; index < tags.size(); ++index) {
        const Tag& tag = tags[index];
        std::string problem = findIndexListProblem(text, tag);
        if (problem.empty()) {
            problem = findSizeProblem(text.size(), tag, sizes[index]);
        }
        if (!problem.empty()) {
            return problem;
        }
        const auto id = tag.attributes.find("id");
        if (tag.name.ends_with("_array") && id != tag.attributes.end()) {
            const unsigned long long count = sizes[index].count.value_or(0);
            const auto [entry, added] = arrays.emplace(id->second, count);
            entry->second = std::min(entry->second, count);
        }
    }
    // The importer reads the values that an accessor describes without comparing them
    // with its array: every accessor must lie within the array it names.
    for (std::size_t index = 0; index < tags.size(); ++index) {
        const Tag& accessor = tags[index];
        if (accessor.name != "accessor") {
            continue;
        }
        const unsigned long long count = sizes[index].count.value_or(0);
        const unsigned long long stride = sizes[index].stride.value_or(1);
        const unsigned long long offset = sizes[index].offset.value_or(0);
        unsigned long long components = 0;
        const std::size_t close =
            accessor.empty ? accessor.end : text.find("</accessor>", accessor.end);
        for (std::size_t next = index + 1; next < tags.size() && tags[next].start < close; ++next) {
            if (tags[next].name == "param") {
                const auto type = tags[next].attributes.find("type");
                components +=
                    type != tags[next].attributes.end() && type->second == "float4x4" ? 16 : 1;
            }
        }
        const auto source = accessor.attributes.find("source");
        const std::string_view arrayId =
            source == accessor.attributes.end() || !source->second.starts_with("#")
                ? std::string_view()
                : source->second.substr(1);
        const auto array = arrays.find(arrayId);
        if (count == 0) {
            continue;
        }
        if (array == arrays.end() || arrayId.find('&') != std::string_view::npos) {
            return at(accessor, "the accessor names no array");
        }
        if (stride < components || offset + count * stride > array->second) {
            return at(accessor, "the accessor reaches beyond its array");
        }
    }
    return {};
}

std::string checkFile(const std::string& path) {
    std::string text;
    if (const std::error_code error = Tool::readRegularFile(path, maximumFileSize, text)) {
        return "Unable to read file \"" + path + "\": " + error.message();
    }
    return findProblem(text);
}

} // namespace System::ModelText
