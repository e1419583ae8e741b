#pragma once

#include "Tool/Export.h"

#include <cstdint>
#include <string>

namespace Data {

// A driver's nationality: an index into a fixed, alphabetically sorted table of 59
// country and region names. The index is stored unchecked; only the name lookup
// guards it.
class BRUMBLY_API Nation {
public:
    Nation() = default;
    explicit Nation(const std::string& name);
    explicit Nation(const unsigned int& index);
    Nation(const Nation& other) = default;
    Nation& operator=(const Nation& other) = default;
    bool operator==(const Nation& other) const = default;

    // Case-insensitive, exact-length lookup in the table; index 0 when nothing matches.
    void set(const std::string& name);
    void set(const unsigned int& index);

    // No nationality given: a computer driver need not have one.
    static constexpr std::uint32_t noNation = 0xFFFFFFFFu;

    // The table entry at the index, "" for noNation, or entry 0 ("Africa") for any
    // other index out of range.
    std::string getNationString() const;
    unsigned int getNationIndex() const { return index; }

    // The first of the table's getNationMapsize() names, in table order.
    static const std::string* getStringMap();
    static unsigned int getNationMapsize();

private:
    std::uint32_t index = 0;
};

} // namespace Data
