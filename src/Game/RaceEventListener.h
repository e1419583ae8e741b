#pragma once

#include <cstddef>

namespace Game {

// Told of the moments of a race that players see and hear: the countdown, each car's
// finish and the results. Attached to the kernel, called on the game thread from
// inside the frame loop; never while the game is paused.
class RaceEventListener {
public:
    virtual ~RaceEventListener() = default;
    // The start signal shows `step`: 3, 2 and 1, then 0 as "GO!" starts the race.
    virtual void onCountdown(int step) = 0;
    // The player (its index in the kernel's player list) crossed the line for the last
    // time, in `position` (1 for the winner), `raceTime` seconds after the start.
    virtual void onFinish(std::size_t player, int position, double raceTime) = 0;
    // The results are shown; Enter or Escape now ends the race.
    virtual void onResults() = 0;
};

} // namespace Game
