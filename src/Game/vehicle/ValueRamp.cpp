#include "Game/vehicle/ValueRamp.h"

#include <algorithm>
#include <cmath>

namespace Game {

void ValueRamp::update(double dt) {
    const float low = std::min(minimum, maximum);
    const float high = std::max(minimum, maximum);
    const auto step = [dt](float rate) { return std::fabs(rate) * static_cast<float>(dt); };
    switch (mode) {
    case DRIVE_UP:
        current = std::min(current + step(driveRate), high);
        break;
    case DRIVE_DOWN:
        current = std::max(current - step(driveRate), low);
        break;
    default:
        if (current < target) {
            current = std::min(current + step(returnRate), target);
        } else if (current > target) {
            current = std::max(current - step(returnRate), target);
        }
        break;
    }
}

} // namespace Game
