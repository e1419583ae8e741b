#pragma once

#include "Game/overlay/Frame.h"
#include "Game/overlay/TextDialog.h"

#include <cstddef>
#include <glm/vec3.hpp>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Game {

// One driver's race progress as the race overlay shows and ranks it; the game fills
// one per player every frame from the player's car.
struct PlayerStanding {
    std::string name;
    int currentLap = 1;
    // Index of the checkpoint to reach next, and of the one passed last (-1 before
    // the first). Checkpoint 0 is the goal: a car heading for it after the last
    // checkpoint has next 0 and last = the last index.
    int nextCheckpoint = 0;
    int lastCheckpoint = -1;
    // Distance in the ground plane (x, z) from the car to its next checkpoint's centre.
    float distanceToCheckpoint = 0.0f;
    double lapTime = 0.0;         // time in the lap being driven
    std::vector<double> lapTimes; // completed laps, in order
    double bestLap = 0.0;         // 0 until a lap is completed
    bool finished = false;        // the last lap is completed
};

// Minutes, seconds and hundredths of a time in seconds, two digits each, joined by
// ":" (65.07 reads "01:05:07"). Parts of a hundredth are cut off, not rounded;
// negative times read as 0.
std::string formatRaceTime(double seconds);

// The race time in which a standing finished: the sum of its first `laps` lap times
// (of all its lap times while it has completed fewer).
double finishTime(const PlayerStanding& standing, unsigned laps);

// Player indices, leader first. A player ranks ahead of another when it has finished
// and the other has not, or both have finished and it did so in less time; otherwise
// when it has completed more laps; at equal laps when its next checkpoint is
// further along the lap (heading for the goal after the last checkpoint counts as
// one beyond the last); at equal checkpoints when it is nearer to it. Ties keep the
// earlier player ahead.
std::vector<std::size_t> rankStandings(const std::vector<PlayerStanding>& standings, unsigned laps);

// The race display in the top-right corner: "RacingDialog" with race time and level
// name, and below it one panel per player, ordered by rank, with the driver's colour,
// position and name, lap, lap time and the last and best lap times. A name too long
// for its panel loses characters in its middle; two names shortened alike keep the
// character in which they differ.
class RaceOverlay {
public:
    // Builds and shows "RacingDialog" and one panel ("PlayerDialog" followed by the
    // player's index) per name, in player order, each marked with the player's colour
    // (red, green, blue 0..255; white beyond the colours given). Empty when one of
    // those names is taken on the frame.
    static std::unique_ptr<RaceOverlay> create(Frame& frame,
                                               const std::vector<std::string>& playerNames,
                                               const std::vector<glm::vec3>& colours = {});

    // Shows the times and laps and places the panels by rank. Standings beyond the
    // panels, and panels beyond the standings, are left alone.
    void update(double raceTime, const std::string& levelName, unsigned laps,
                const std::vector<PlayerStanding>& standings);

    // Split screen: the panel of each player with a view (its rectangle in screen space,
    // by player index) sits at that view's top-right corner, shrunk to fit a narrow
    // view. The race time and, ranked below it, the panels of the players without a
    // view form a column centred on `column.x` whose top (DA_HIGH) or bottom (DA_LOW)
    // edge lies at `column.y`.
    void placeInViews(const std::vector<std::optional<DialogRect>>& views, const glm::vec2& column,
                      std::int32_t columnEdge);

    const DialogPtr& getRacingDialog() const { return racingDialog; }
    // In player order.
    const std::vector<DialogPtr>& getPanels() const { return panels; }
    // Player indices, leader first, as of the last update.
    const std::vector<std::size_t>& getRanking() const { return ranking; }

private:
    RaceOverlay() = default;
    void distinguishNames();
    // Places the race time and, below it by rank, the panels not in a view.
    void placeColumn();

    DialogPtr racingDialog;
    std::vector<DialogPtr> panels;
    std::vector<std::size_t> ranking;
    // Per panel: whether it stays in its player's view.
    std::vector<bool> inView;
    // The column's top edge; its horizontal alignment says which point `columnTop.x` is.
    glm::vec2 columnTop;
    std::int32_t columnAlignment = DA_HIGH;
};

} // namespace Game
