#include "Track/RandomName.h"

#include <charconv>
#include <cstring>
#include <strings.h>

namespace Track {

namespace {

const std::size_t prefixLength = std::strlen(randomTrackPrefix);

} // namespace

bool isRandomTrackName(const std::string& name) {
    return strncasecmp(name.c_str(), randomTrackPrefix, prefixLength) == 0;
}

bool randomTrackSeed(const std::string& name, std::uint32_t& seed) {
    if (!isRandomTrackName(name) || name.size() == prefixLength) {
        return false;
    }
    const char* first = name.data() + prefixLength;
    const char* last = name.data() + name.size();
    // from_chars takes a leading minus sign; a seed has digits only.
    if (*first < '0' || *first > '9') {
        return false;
    }
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) {
        return false;
    }
    seed = value;
    return true;
}

std::string randomTrackName(std::uint32_t seed) {
    return randomTrackPrefix + std::to_string(seed);
}

} // namespace Track
