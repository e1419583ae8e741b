#include "Data/ProfileElements.h"

#include "Tool/LogText.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

namespace Data::ProfileElements {

namespace {

struct Element {
    std::size_t depth;
    std::string_view name;
};

// The elements in document order with their nesting depth; an element is a leaf
// (holds text) when the next one is not nested in it.
constexpr Element layout[] = {
    {0, "Profile"},      {1, "Name"},    {1, "Nationality"}, {2, "Nation"},     {1, "Birthday"},
    {2, "Day"},          {2, "Month"},   {2, "Year"},        {2, "Hours"},      {2, "Minutes"},
    {2, "Seconds"},      {1, "Sex"},     {1, "Controls"},    {2, "AIEnabled"},  {2, "AIDifficulty"},
    {2, "Accelerate"},   {2, "Brake"},   {2, "SreerLeft"},   {2, "SteerRight"}, {2, "Reset"},
    {1, "Creationdate"}, {2, "Day"},     {2, "Month"},       {2, "Year"},       {2, "Hours"},
    {2, "Minutes"},      {2, "Seconds"},
};
constexpr std::size_t elementCount = std::size(layout);

constexpr std::string_view space = " \t\r\n";
constexpr std::string_view digits = "0123456789";
constexpr std::string_view hexDigits = "0123456789abcdefABCDEF";
constexpr std::array<std::string_view, 3> attributeNames = {"class_id", "tracking_level",
                                                            "version"};
constexpr std::array<std::string_view, 5> namedReferences = {"amp", "lt", "gt", "quot", "apos"};
// Longer numbers overflow the archive's number readers.
constexpr std::size_t maximumDigits = 6;

// Thrown inside the check only; findProblem turns it into its result.
struct Problem {
    std::string text;
};

class Reader {
public:
    explicit Reader(std::string_view body) : body(body) {}

    void readAll() {
        std::vector<std::string_view> open;
        // Ends the open elements nested deeper than `depth`, innermost first.
        const auto closeDownTo = [&](std::size_t depth) {
            while (open.size() > depth) {
                endTag(open.back());
                open.pop_back();
            }
        };
        for (std::size_t index = 0; index < elementCount; ++index) {
            const Element& element = layout[index];
            closeDownTo(element.depth);
            startTag(element.name);
            const bool leaf = index + 1 == elementCount || layout[index + 1].depth <= element.depth;
            if (leaf) {
                text(element.name);
                endTag(element.name);
            } else {
                open.push_back(element.name);
            }
        }
        closeDownTo(0);
        skipSpace();
        if (position != body.size()) {
            fail("unexpected text after element Profile");
        }
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw Problem{what + " at offset " + std::to_string(position)};
    }

    void skipSpace() { position = std::min(body.size(), body.find_first_not_of(space, position)); }

    bool consume(std::string_view literal) {
        if (body.substr(position, literal.size()) != literal) {
            return false;
        }
        position += literal.size();
        return true;
    }

    // The longest run of `allowed` characters from here, at most `limit` long.
    std::string_view run(std::string_view allowed, std::size_t limit) {
        const std::size_t end = std::min(body.find_first_not_of(allowed, position), body.size());
        const std::string_view found = body.substr(position, std::min(end - position, limit));
        position += found.size();
        return found;
    }

    std::string_view tagName() {
        const std::size_t end = std::min(body.find_first_of(" \t\r\n/>", position), body.size());
        const std::string_view name = body.substr(position, end - position);
        position = end;
        return name;
    }

    void expectName(std::string_view expected, std::string_view found, const char* kind) {
        if (found != expected) {
            fail(std::string(kind) + " <" + Tool::logExcerpt(found) + "> where <" +
                 std::string(expected) + "> belongs");
        }
    }

    void startTag(std::string_view name) {
        skipSpace();
        if (!consume("<")) {
            fail("missing element <" + std::string(name) + ">");
        }
        expectName(name, tagName(), "element");
        for (skipSpace(); !consume(">"); skipSpace()) {
            attribute(name);
        }
    }

    // name="digits", one of the archive's class attributes.
    void attribute(std::string_view element) {
        const std::size_t start = position;
        const std::string_view name = run("abcdefghijklmnopqrstuvwxyz_", 32);
        bool known = false;
        for (std::string_view allowed : attributeNames) {
            known = known || name == allowed;
        }
        skipSpace();
        const bool assigned = consume("=");
        skipSpace();
        const bool quoted = consume("\"");
        const std::string_view value = run(digits, maximumDigits + 1);
        if (!known || !assigned || !quoted || value.empty() || value.size() > maximumDigits ||
            !consume("\"")) {
            position = start;
            fail("malformed attribute in element <" + std::string(element) + ">");
        }
    }

    // Character data up to the next "<", with well-formed references.
    void text(std::string_view element) {
        while (position < body.size() && body[position] != '<') {
            if (consume("&")) {
                reference(element);
            } else {
                ++position;
            }
        }
    }

    void reference(std::string_view element) {
        bool valid = false;
        if (consume("#x")) {
            const std::string_view number = run(hexDigits, maximumDigits + 1);
            valid = !number.empty() && number.size() <= maximumDigits;
        } else if (consume("#")) {
            const std::string_view number = run(digits, maximumDigits + 1);
            valid = !number.empty() && number.size() <= maximumDigits;
        } else {
            const std::string_view name = run("abcdefghijklmnopqrstuvwxyz", 5);
            for (std::string_view allowed : namedReferences) {
                valid = valid || name == allowed;
            }
        }
        if (!valid || !consume(";")) {
            fail("malformed reference in element <" + std::string(element) + ">");
        }
    }

    void endTag(std::string_view name) {
        skipSpace();
        if (!consume("</")) {
            fail("missing end tag </" + std::string(name) + ">");
        }
        expectName(name, tagName(), "end tag");
        skipSpace();
        if (!consume(">")) {
            fail("malformed end tag </" + std::string(name) + ">");
        }
    }

    std::string_view body;
    std::size_t position = 0;
};

} // namespace

std::string findProblem(std::string_view body) {
    try {
        Reader(body).readAll();
    } catch (const Problem& problem) {
        return problem.text;
    }
    return {};
}

} // namespace Data::ProfileElements
