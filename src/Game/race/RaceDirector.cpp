#include "Game/race/RaceDirector.h"

#include "Data/HighScores.h"
#include "Data/RaceTime.h"
#include "Game/Listeners.h"
#include "Game/RaceEventListener.h"
#include "Game/overlay/Notice.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace Game {

namespace {

std::string recordText(const char* what, std::size_t rank, const std::string& driver, double time) {
    const std::string entry = driver + ", " + what + " " + formatRaceTime(time);
    return rank == 1 ? "New record: " + entry
                     : "High score: " + entry + ", " + ordinal(static_cast<int>(rank));
}

} // namespace

RaceDirector::RaceDirector(Frame* frame, std::vector<Entrant> entrantList, unsigned laps,
                           std::string track, std::filesystem::path highScoreFile,
                           const std::vector<RaceEventListener*>& listeners)
    : entrants(std::move(entrantList)), laps(laps), track(std::move(track)),
      highScoreFile(std::move(highScoreFile)), listeners(listeners),
      announced(entrants.size(), false), gaveUp(entrants.size(), false) {
    if (frame != nullptr) {
        countdown = CountdownDialog::create(*frame);
        finishMessages = FinishMessages::create(*frame, entrants.size());
        resultsPanel = ResultsPanel::create(*frame, entrants.size());
        finishNowHint = createNotice(*frame, "FinishNowHint", "Enter: finish now", {0.5f, 0.12f},
                                     {0.34f, 0.06f}, 0.6f);
    }
}

RaceDirector::~RaceDirector() = default;

int RaceDirector::getCountdownStep() const {
    if (elapsed >= countdownLength) {
        return 0;
    }
    return 3 - static_cast<int>(std::floor(elapsed * 3.0 / countdownLength));
}

void RaceDirector::update(double dt, const std::vector<PlayerStanding>& current) {
    elapsed += std::max(dt, 0.0);
    count();
    if (finishMessages) {
        finishMessages->update(dt);
    }
    if (phase == COUNTDOWN) {
        return;
    }
    // A driver who gave up stays unfinished, even should the car cross the line later.
    standings = current;
    for (std::size_t i = 0; i < standings.size() && i < gaveUp.size(); ++i) {
        standings[i].finished = standings[i].finished && !gaveUp[i];
    }
    announceFinishes(standings);
    if (phase == RACING && everyoneWaitedForHasFinished(standings)) {
        showResults();
    }
    finishNowOffered = phase == RACING && offersFinishNow(standings);
    if (finishNowHint) {
        finishNowHint->setVisible(finishNowOffered);
        finishNowHint->setActive(finishNowOffered);
    }
    if (phase == RESULTS && resultsPanel) {
        // Computer drivers still out may finish while the results are shown.
        resultsPanel->show(raceResults(standings, laps), records);
    }
}

bool RaceDirector::hasFinisher() const {
    return std::any_of(standings.begin(), standings.end(),
                       [](const PlayerStanding& standing) { return standing.finished; });
}

bool RaceDirector::finishNow() {
    if (phase != RACING || !hasFinisher()) {
        return false;
    }
    for (std::size_t i = 0; i < entrants.size() && i < standings.size(); ++i) {
        gaveUp[i] = entrants[i].human && !standings[i].finished;
    }
    showResults();
    if (resultsPanel) {
        resultsPanel->show(raceResults(standings, laps), records);
    }
    return true;
}

void RaceDirector::showResults() {
    phase = RESULTS;
    finishNowOffered = false;
    finalTime = 0.0;
    for (const PlayerStanding& standing : standings) {
        if (standing.finished) {
            finalTime = std::max(finalTime, finishTime(standing, laps));
        }
    }
    if (finishMessages) {
        finishMessages->hideAll();
    }
    if (finishNowHint) {
        finishNowHint->setVisible(false);
        finishNowHint->setActive(false);
    }
    fanOut(listeners, [](RaceEventListener& listener) { listener.onResults(); });
}

void RaceDirector::count() {
    const int step = getCountdownStep();
    if (phase == COUNTDOWN && step != shownStep) {
        // A long frame may skip a figure; the signal shows where the count is.
        shownStep = step;
        if (countdown) {
            countdown->show(step);
        }
        if (step == 0) {
            phase = RACING;
        }
        fanOut(listeners, [step](RaceEventListener& listener) { listener.onCountdown(step); });
    } else if (shownStep == 0 && elapsed >= countdownLength + goShownFor) {
        shownStep = -1;
        if (countdown) {
            countdown->show(shownStep);
        }
    }
}

void RaceDirector::announceFinishes(const std::vector<PlayerStanding>& standings) {
    // In ranking order, so that cars finishing in the same frame come in their order.
    const std::vector<std::size_t> ranking = rankStandings(standings, laps);
    for (std::size_t rank = 0; rank < ranking.size(); ++rank) {
        const std::size_t player = ranking[rank];
        const PlayerStanding& standing = standings[player];
        if (player >= announced.size() || announced[player] || !standing.finished) {
            continue;
        }
        announced[player] = true;
        const int position = static_cast<int>(rank) + 1;
        const double raceTime = finishTime(standing, laps);
        if (finishMessages && phase != RESULTS) {
            finishMessages->add(finishText(standing.name, position, raceTime));
        }
        keepHighScores(standing.name, raceTime, standing.bestLap);
        fanOut(listeners,
               [&](RaceEventListener& listener) { listener.onFinish(player, position, raceTime); });
    }
}

bool RaceDirector::everyoneWaitedForHasFinished(
    const std::vector<PlayerStanding>& standings) const {
    if (entrants.empty() || standings.size() < entrants.size()) {
        return false;
    }
    const bool humansRace = std::any_of(entrants.begin(), entrants.end(),
                                        [](const Entrant& entrant) { return entrant.human; });
    for (std::size_t i = 0; i < entrants.size(); ++i) {
        if ((entrants[i].human || !humansRace) && !standings[i].finished) {
            return false;
        }
    }
    return true;
}

bool RaceDirector::offersFinishNow(const std::vector<PlayerStanding>& current) const {
    if (current.size() < entrants.size()) {
        return false;
    }
    bool anyFinished = false;
    bool humanOut = false;
    for (std::size_t i = 0; i < entrants.size(); ++i) {
        if (!entrants[i].human && !current[i].finished) {
            return false;
        }
        anyFinished = anyFinished || current[i].finished;
        humanOut = humanOut || (entrants[i].human && !current[i].finished);
    }
    return anyFinished && humanOut;
}

void RaceDirector::keepHighScores(const std::string& driver, double raceTime, double bestLap) {
    if (highScoreFile.empty()) {
        return;
    }
    // Read afresh: the file may have changed since the race began.
    Data::HighScores scores = Data::HighScores::load(highScoreFile);
    const std::int64_t now = std::time(nullptr);
    const std::size_t lapRank = scores.add(Data::HighScoreKind::BEST_LAP, laps,
                                           {driver, Data::toHundredths(bestLap), now}, track);
    const std::size_t raceRank = scores.add(Data::HighScoreKind::RACE_TIME, laps,
                                            {driver, Data::toHundredths(raceTime), now}, track);
    // A record that could not be kept is not announced (the log says why).
    if ((lapRank == 0 && raceRank == 0) || !scores.save(highScoreFile)) {
        return;
    }
    if (lapRank > 0) {
        records.push_back(recordText("best lap", lapRank, driver, bestLap));
    }
    if (raceRank > 0) {
        records.push_back(recordText("race time", raceRank, driver, raceTime));
    }
}

} // namespace Game
