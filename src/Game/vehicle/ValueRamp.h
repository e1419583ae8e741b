#pragma once

#include <cstdint>

namespace Game {

// A control value that moves toward a goal at a limited rate: driven up to its
// maximum, down to its minimum, or back to its target. With a lag it follows its goal
// smoothly instead, closing a share of the gap each moment (lag is the time constant),
// so that it settles at the share of time it was driven up.
struct ValueRamp {
    enum Mode : std::int32_t { RETURN = 0, DRIVE_UP = 1, DRIVE_DOWN = 2 };

    void update(double dt);

    float current = 0.0f;
    float target = 0.0f;
    float minimum = 0.0f;
    float maximum = 0.0f;
    float driveRate = 0.0f;  // per second, while driven
    float returnRate = 0.0f; // per second, while returning
    std::int32_t mode = RETURN;
    float lag = 0.0f; // seconds; 0 moves at the rates
};

} // namespace Game
