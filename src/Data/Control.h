#pragma once

#include "Tool/Export.h"

#include <array>
#include <cstdint>

namespace Data {

// A driver's key bindings and computer-driver settings. Key codes are Windows
// virtual-key codes as the launcher's key dialog captures them (see KeyTable);
// 0 means no key is bound.
class BRUMBLY_API Control {
public:
    Control() = default;
    Control(const Control& other) = default;
    Control& operator=(const Control& other) = default;
    bool operator==(const Control& other) const = default;

    // The five bound keys in the order accelerate, brake, steer left, steer right,
    // reset.
    std::array<std::uint32_t, 5> bindings() const {
        return {accelerate, brake, steerLeft, steerRight, reset};
    }

    bool aiEnabled = false;
    // 0 Easy, 1 Normal, 2 Hard.
    std::uint32_t aiDifficulty = 0;
    std::uint32_t accelerate = 0;
    std::uint32_t brake = 0;
    std::uint32_t steerLeft = 0;
    std::uint32_t steerRight = 0;
    std::uint32_t reset = 0;
};

} // namespace Data
