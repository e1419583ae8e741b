#pragma once

#include "Physics/Types.h"

namespace Physics {

// The mesh cooking library. The game builds only boxes and height fields, which need
// no cooking, so this offers the start and stop of the library and nothing else.
class Cooking {
public:
    bool initCooking();
    void closeCooking();
    bool isInitialised() const { return initialised; }

private:
    bool initialised = false;
};

// The process-wide cooking interface, or null when the version is not this layer's.
Cooking* getCookingLib(std::uint32_t sdkVersion);

} // namespace Physics
