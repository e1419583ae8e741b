#include "KeySets.h"

namespace {

// Virtual-key codes: letters are their upper-case ASCII codes, the number pad's
// digits 96 to 105.
Data::Control humanKeys(std::uint32_t accelerate, std::uint32_t brake, std::uint32_t left,
                        std::uint32_t right, std::uint32_t reset) {
    Data::Control keys;
    keys.accelerate = accelerate;
    keys.brake = brake;
    keys.steerLeft = left;
    keys.steerRight = right;
    keys.reset = reset;
    return keys;
}

} // namespace

const std::array<KeySet, 4>& keySets() {
    static const std::array<KeySet, 4> sets = {{
        {"Arrows", humanKeys(38, 40, 37, 39, 8)},
        {"W A S D", humanKeys('W', 'S', 'A', 'D', 'Q')},
        {"I J K L", humanKeys('I', 'K', 'J', 'L', 'U')},
        {"Number pad", humanKeys(104, 101, 100, 102, 96)},
    }};
    return sets;
}
