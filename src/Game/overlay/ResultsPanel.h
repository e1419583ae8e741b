#pragma once

#include "Game/overlay/Frame.h"
#include "Game/overlay/RaceOverlay.h"
#include "Game/overlay/TextDialog.h"

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace Game {

// One line of the final order.
struct RaceResult {
    std::size_t player = 0; // index in the standings
    std::string name;
    bool finished = false;
    double raceTime = 0.0; // the sum of its laps, when finished
    double bestLap = 0.0;  // 0 without a completed lap
    // Its best lap is the best of the race (to the hundredth; ties share it).
    bool bestOfRace = false;
};

// The final order: the cars that finished by their race time, then the others by how
// far they got (rankStandings).
std::vector<RaceResult> raceResults(const std::vector<PlayerStanding>& standings, unsigned laps);

// The results in the middle of the screen, below the race overlay, on an opaque dark
// backdrop: a table of position, driver, race time and best lap ("not finished" in
// place of the time of a car still out, the race's best lap marked with "*"), the
// records set in the race below it, and how to go on.
class ResultsPanel {
public:
    enum Column : std::size_t { POSITION, DRIVER, TIME, BEST_LAP };

    // Builds "ResultsDialog" for up to `players` rows and two record lines per player,
    // hidden. Empty when the frame holds a dialog of that name already.
    static std::unique_ptr<ResultsPanel> create(Frame& frame, std::size_t players);

    // Fills the table and the record lines (as many as there is room for) and shows
    // the panel, sized to what it holds.
    void show(const std::vector<RaceResult>& results, const std::vector<std::string>& records);
    bool isShown() const { return dialog->isVisible(); }

    // The texts of a row of the table, as shown; empty texts for rows beyond it.
    std::array<std::string, 4> getRow(std::size_t row) const;
    // The record lines shown, in order.
    std::vector<std::string> getRecords() const;

private:
    explicit ResultsPanel(const DialogPtr& dialog) : dialog(dialog) {}
    // Two record lines per player.
    std::size_t recordCount() const { return 2 * rowCount; }
    // Places every line for a table of `rows` rows and `records` record lines.
    void layout(std::size_t rows, std::size_t records);

    DialogPtr dialog;
    std::size_t rowCount = 0;
    // The table and record lines the panel was last laid out for.
    std::size_t laidOutRows = 0;
    std::size_t laidOutRecords = 0;
};

} // namespace Game
