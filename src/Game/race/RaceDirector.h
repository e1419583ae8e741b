#pragma once

#include "Game/overlay/CountdownDialog.h"
#include "Game/overlay/FinishMessages.h"
#include "Game/overlay/RaceOverlay.h"
#include "Game/overlay/ResultsPanel.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace Game {

class Frame;
class RaceEventListener;

// One driver of the race as the race director sees it.
struct Entrant {
    std::string name;
    // Driven from the keyboard; computer drivers are not waited for at the end.
    bool human = true;
};

// Runs a race from start to end: counts down "3", "2", "1", "GO!" before the cars
// may go, announces each car as it finishes with its position and time, keeps the
// high scores, and shows the results once every human driver has finished (every
// car, in a race of computer drivers only). Its time is the race's unpaused time.
class RaceDirector {
public:
    enum Phase { COUNTDOWN, RACING, RESULTS };

    // Seconds from the "3" to the "GO!", and how long the "GO!" stays.
    static constexpr double countdownLength = 3.0;
    static constexpr double goShownFor = 1.0;

    // Builds its displays on the frame (none without one, or when the frame has them
    // already) and keeps the high scores of races over `laps` laps in the file (none
    // when it is empty). The listeners are told of each moment; the list must outlive
    // the director.
    RaceDirector(Frame* frame, std::vector<Entrant> entrants, unsigned laps,
                 std::filesystem::path highScoreFile,
                 const std::vector<RaceEventListener*>& listeners);
    ~RaceDirector();
    RaceDirector(const RaceDirector&) = delete;
    RaceDirector& operator=(const RaceDirector&) = delete;

    // Goes on by `dt` seconds with the cars' standings, in entrant order.
    void update(double dt, const std::vector<PlayerStanding>& standings);

    Phase getPhase() const { return phase; }
    // Whether the cars may go ("GO!" has been given).
    bool isRaceStarted() const { return phase != COUNTDOWN; }
    bool areResultsShown() const { return phase == RESULTS; }
    // 3, 2 or 1 while counting down; 0 from "GO!" on.
    int getCountdownStep() const;
    // The high scores set in this race, as announced: "New record: Ann, best lap
    // 00:45:12", or "High score: Ann, race time 02:15:33, 4th".
    const std::vector<std::string>& getRecords() const { return records; }

    const CountdownDialog* getCountdown() const { return countdown.get(); }
    const FinishMessages* getFinishMessages() const { return finishMessages.get(); }
    const ResultsPanel* getResultsPanel() const { return resultsPanel.get(); }

private:
    void count();
    void announceFinishes(const std::vector<PlayerStanding>& standings);
    bool everyoneWaitedForHasFinished(const std::vector<PlayerStanding>& standings) const;
    void keepHighScores(const std::string& driver, double raceTime, double bestLap);

    std::vector<Entrant> entrants;
    unsigned laps;
    std::filesystem::path highScoreFile;
    const std::vector<RaceEventListener*>& listeners;
    std::unique_ptr<CountdownDialog> countdown;
    std::unique_ptr<FinishMessages> finishMessages;
    std::unique_ptr<ResultsPanel> resultsPanel;
    Phase phase = COUNTDOWN;
    double elapsed = 0.0;
    int shownStep = -1;
    std::vector<bool> announced;
    std::vector<std::string> records;
};

} // namespace Game
