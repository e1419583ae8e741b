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
// car, in a race of computer drivers only). Once every computer driver has finished
// and some car has (in a race of people only: the first of them), the human drivers
// still out may give up ("Enter: finish now"): they are listed as not finished and
// keep no high score. Its time is the race's
// unpaused time.
class RaceDirector {
public:
    enum Phase { COUNTDOWN, RACING, RESULTS };

    // Seconds from the "3" to the "GO!", and how long the "GO!" stays.
    static constexpr double countdownLength = 3.0;
    static constexpr double goShownFor = 1.0;

    // Builds its displays on the frame (none without one, or when the frame has them
    // already) and keeps the high scores of races over `laps` laps on the track in the
    // file (none when it is empty). The listeners are told of each moment; the list
    // must outlive the director.
    RaceDirector(Frame* frame, std::vector<Entrant> entrants, unsigned laps, std::string track,
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
    // Whether the drivers still out may give up now (the hint shows).
    bool canFinishNow() const { return finishNowOffered; }
    // Whether a car has finished (given-up drivers do not count).
    bool hasFinisher() const;
    // Ends the race for every human driver still out, who is listed as not finished,
    // and shows the results. False, changing nothing, before "GO!", once the results
    // are shown or before anyone has finished.
    bool finishNow();
    // The race clock to show for the race time: it stops at the last finisher's time
    // when the results appear.
    double clock(double raceTime) const { return phase == RESULTS ? finalTime : raceTime; }
    // 3, 2 or 1 while counting down; 0 from "GO!" on.
    int getCountdownStep() const;
    // The high scores set in this race, as announced: "New record: Ann, best lap
    // 00:45:12", or "High score: Ann, race time 02:15:33, 4th".
    const std::vector<std::string>& getRecords() const { return records; }

    const CountdownDialog* getCountdown() const { return countdown.get(); }
    const FinishMessages* getFinishMessages() const { return finishMessages.get(); }
    const ResultsPanel* getResultsPanel() const { return resultsPanel.get(); }
    const DialogPtr& getFinishNowHint() const { return finishNowHint; }

private:
    void count();
    void announceFinishes(const std::vector<PlayerStanding>& standings);
    bool everyoneWaitedForHasFinished(const std::vector<PlayerStanding>& standings) const;
    bool offersFinishNow(const std::vector<PlayerStanding>& standings) const;
    void showResults();
    void keepHighScores(const std::string& driver, double raceTime, double bestLap);

    std::vector<Entrant> entrants;
    unsigned laps;
    std::string track;
    std::filesystem::path highScoreFile;
    const std::vector<RaceEventListener*>& listeners;
    std::unique_ptr<CountdownDialog> countdown;
    std::unique_ptr<FinishMessages> finishMessages;
    std::unique_ptr<ResultsPanel> resultsPanel;
    DialogPtr finishNowHint;
    Phase phase = COUNTDOWN;
    double elapsed = 0.0;
    int shownStep = -1;
    std::vector<bool> announced;
    std::vector<bool> gaveUp;
    // The standings of the last update, given-up drivers as not finished.
    std::vector<PlayerStanding> standings;
    bool finishNowOffered = false;
    double finalTime = 0.0;
    std::vector<std::string> records;
};

} // namespace Game
