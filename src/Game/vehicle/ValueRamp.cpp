#include "Game/vehicle/ValueRamp.h"

#include <algorithm>
#include <cmath>

namespace Game {

namespace {

constexpr float settled = 1e-3f;

} // namespace

void ValueRamp::update(double dt) {
    const float low = std::min(minimum, maximum);
    const float high = std::max(minimum, maximum);
    if (lag > 0.0f) {
        const float goal = mode == DRIVE_UP ? high : mode == DRIVE_DOWN ? low : target;
        current += (goal - current) * (1.0f - std::exp(-static_cast<float>(dt) / lag));
        // Settles on the goal once within a hair of it.
        if (std::fabs(goal - current) < settled) {
            current = goal;
        }
        return;
    }
    const auto step = [dt](float rate) { return std::fabs(rate) * static_cast<float>(dt); };
    switch (mode) {
    // Driven back across the target (steering from one lock to the other), the value
    // moves at least as fast as it would return there on its own.
    case DRIVE_UP:
        current = std::min(
            current + step(current < target ? std::max(driveRate, returnRate) : driveRate), high);
        break;
    case DRIVE_DOWN:
        current = std::max(
            current - step(current > target ? std::max(driveRate, returnRate) : driveRate), low);
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
