#include "Physics/Cooking.h"

namespace Physics {

bool Cooking::initCooking() {
    initialised = true;
    return true;
}

void Cooking::closeCooking() {
    initialised = false;
}

Cooking* getCookingLib(std::uint32_t sdkVersion) {
    static Cooking cooking;
    return sdkVersion == SDK_VERSION ? &cooking : nullptr;
}

} // namespace Physics
