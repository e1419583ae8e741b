// A race from the countdown to the results: what the race director shows, tells its
// listeners and keeps as high scores.
#include "Game/race/RaceDirector.h"
#include "Data/HighScores.h"
#include "Game/RaceEventListener.h"
#include "OverlayTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace Game;

namespace {

// Writes down what it is told, one line per moment.
class RecordingListener : public RaceEventListener {
public:
    void onCountdown(int step) override { events.push_back("countdown " + std::to_string(step)); }
    void onFinish(std::size_t player, int position, double raceTime) override {
        events.push_back("finish " + std::to_string(player) + " " + std::to_string(position) + " " +
                         formatRaceTime(raceTime));
    }
    void onResults() override { events.push_back("results"); }

    std::vector<std::string> events;
};

PlayerStanding racing(const std::string& name, int lapsDone, int next) {
    PlayerStanding standing;
    standing.name = name;
    standing.lapTimes.assign(static_cast<std::size_t>(lapsDone), 40.0);
    standing.bestLap = lapsDone > 0 ? 40.0 : 0.0;
    standing.currentLap = lapsDone + 1;
    standing.nextCheckpoint = next;
    standing.lastCheckpoint = next - 1;
    return standing;
}

PlayerStanding finished(const std::string& name, std::vector<double> lapTimes) {
    PlayerStanding standing = racing(name, 0, 1);
    standing.lapTimes = std::move(lapTimes);
    standing.bestLap = *std::min_element(standing.lapTimes.begin(), standing.lapTimes.end());
    standing.currentLap = static_cast<int>(standing.lapTimes.size());
    standing.finished = true;
    return standing;
}

class RaceDirectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        OverlayTest::useGameData();
        OverlayTest::loadFonts();
        folder = std::filesystem::temp_directory_path() /
                 ("brumbly-director-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        listeners.push_back(&listener);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::unique_ptr<RaceDirector> director(std::vector<Entrant> entrants, unsigned laps,
                                           const std::string& track = "Test Track") {
        return std::make_unique<RaceDirector>(&frame, std::move(entrants), laps, track,
                                              folder / Data::HighScores::fileName, listeners);
    }

    Frame frame{nullptr};
    std::filesystem::path folder;
    RecordingListener listener;
    std::vector<RaceEventListener*> listeners;
};

} // namespace

TEST_F(RaceDirectorTest, CountsDownBeforeTheCarsMayGo) {
    const auto race = director({{"Ann", true}}, 2);
    const std::vector<PlayerStanding> standing = {racing("Ann", 0, 0)};
    EXPECT_FALSE(race->isRaceStarted());
    race->update(0.5, standing);
    EXPECT_EQ(race->getCountdownStep(), 3);
    EXPECT_TRUE(race->getCountdown()->isShown());
    EXPECT_EQ(race->getCountdown()->getText(), "3");
    race->update(0.6, standing);
    EXPECT_EQ(race->getCountdown()->getText(), "2");
    race->update(0.0, standing);
    race->update(0.899, standing);
    EXPECT_EQ(race->getCountdown()->getText(), "2");
    EXPECT_FALSE(race->isRaceStarted());
    // A long frame jumps past the "1" straight to the start.
    race->update(1.5, standing);
    EXPECT_TRUE(race->isRaceStarted());
    EXPECT_EQ(race->getPhase(), RaceDirector::RACING);
    EXPECT_EQ(race->getCountdown()->getText(), "GO!");
    race->update(0.4, standing);
    EXPECT_TRUE(race->getCountdown()->isShown()) << "GO! stays a moment";
    race->update(0.2, standing);
    EXPECT_FALSE(race->getCountdown()->isShown());
    EXPECT_EQ(listener.events,
              (std::vector<std::string>{"countdown 3", "countdown 2", "countdown 0"}));

    // A second director on the same frame finds its displays taken and shows nothing.
    const auto second = director({{"Ann", true}}, 2);
    EXPECT_EQ(second->getCountdown(), nullptr);
    second->update(4.0, standing);
    EXPECT_TRUE(second->isRaceStarted());
}

TEST_F(RaceDirectorTest, FinishesInOrderThenResultsOnceEveryHumanIsIn) {
    // Two people and two computer drivers over two laps.
    const auto race = director({{"Ann", true}, {"Bot", false}, {"Ben", true}, {"Cyb", false}}, 2);
    std::vector<PlayerStanding> standings = {racing("Ann", 1, 3), racing("Bot", 1, 4),
                                             racing("Ben", 1, 2), racing("Cyb", 0, 5)};
    race->update(RaceDirector::countdownLength, standings);
    listener.events.clear();

    // The computer driver crosses the line first, then Ben.
    standings[1] = finished("Bot", {41.0, 39.5});
    race->update(0.1, standings);
    standings[2] = finished("Ben", {40.0, 42.25});
    race->update(0.1, standings);
    EXPECT_EQ(
        race->getFinishMessages()->getShown(),
        (std::vector<std::string>{"Bot finished 1st in 01:20:50", "Ben finished 2nd in 01:22:25"}));
    EXPECT_EQ(race->getPhase(), RaceDirector::RACING) << "Ann is still out";
    EXPECT_FALSE(race->getResultsPanel()->isShown());

    standings[0] = finished("Ann", {45.0, 44.0});
    race->update(0.1, standings);
    EXPECT_TRUE(race->areResultsShown());
    EXPECT_EQ(listener.events,
              (std::vector<std::string>{"finish 1 1 01:20:50", "finish 2 2 01:22:25",
                                        "finish 0 3 01:29:00", "results"}));
    EXPECT_TRUE(race->getFinishMessages()->getShown().empty()) << "the results take over";

    // Finishers by time, then the car still out; the race's best lap marked.
    const ResultsPanel& panel = *race->getResultsPanel();
    EXPECT_TRUE(panel.isShown());
    using Row = std::array<std::string, 4>;
    EXPECT_EQ(panel.getRow(0), (Row{"1st", "Bot", "01:20:50", "* 00:39:50"}));
    EXPECT_EQ(panel.getRow(1), (Row{"2nd", "Ben", "01:22:25", "00:40:00"}));
    EXPECT_EQ(panel.getRow(2), (Row{"3rd", "Ann", "01:29:00", "00:44:00"}));
    EXPECT_EQ(panel.getRow(3), (Row{"-", "Cyb", "not finished", "-"}));

    // A new file: the first finisher set both records, the others made the tables.
    EXPECT_EQ(race->getRecords(),
              (std::vector<std::string>{"New record: Bot, best lap 00:39:50",
                                        "New record: Bot, race time 01:20:50",
                                        "High score: Ben, best lap 00:40:00, 2nd",
                                        "High score: Ben, race time 01:22:25, 2nd",
                                        "High score: Ann, best lap 00:44:00, 3rd",
                                        "High score: Ann, race time 01:29:00, 3rd"}));
    EXPECT_EQ(panel.getRecords(), race->getRecords());
    const Data::HighScores kept = Data::HighScores::load(folder / Data::HighScores::fileName);
    const auto& times = kept.get(Data::HighScoreKind::RACE_TIME, 2);
    ASSERT_EQ(times.size(), 3u);
    EXPECT_EQ(times[0].driver, "Bot");
    EXPECT_EQ(times[0].hundredths, 8050);
    EXPECT_EQ(kept.get(Data::HighScoreKind::BEST_LAP, 2)[2].driver, "Ann");

    // The computer driver still out finishes while the results are shown.
    standings[3] = finished("Cyb", {47.0, 46.0});
    race->update(0.1, standings);
    EXPECT_EQ(panel.getRow(3), (Row{"4th", "Cyb", "01:33:00", "00:46:00"}));
    EXPECT_EQ(listener.events.back(), "finish 3 4 01:33:00");
    EXPECT_TRUE(race->getFinishMessages()->getShown().empty());
}

TEST_F(RaceDirectorTest, ComputerDriversAloneAreAllWaitedFor) {
    const auto race = director({{"Bot", false}, {"Cyb", false}}, 1);
    std::vector<PlayerStanding> standings = {finished("Bot", {50.0}), racing("Cyb", 0, 3)};
    race->update(RaceDirector::countdownLength, standings);
    race->update(0.1, standings);
    EXPECT_FALSE(race->areResultsShown());
    standings[1] = finished("Cyb", {55.0});
    race->update(0.1, standings);
    EXPECT_TRUE(race->areResultsShown());
}

TEST_F(RaceDirectorTest, FinishMessagesStayForAWhile) {
    const auto race = director({{"Ann", true}, {"Ben", true}}, 1);
    std::vector<PlayerStanding> standings = {finished("Ann", {50.0}), racing("Ben", 0, 3)};
    race->update(RaceDirector::countdownLength, standings);
    race->update(0.1, standings);
    ASSERT_EQ(race->getFinishMessages()->getShown().size(), 1u);
    race->update(FinishMessages::shownFor - 0.2, standings);
    EXPECT_EQ(race->getFinishMessages()->getShown().size(), 1u);
    race->update(0.2, standings);
    EXPECT_TRUE(race->getFinishMessages()->getShown().empty());
    EXPECT_FALSE(race->areResultsShown());
}

// A race announced "New record" against tables it could not read and saved its own
// over them: all earlier records were lost.
TEST_F(RaceDirectorTest, RecordsAreKeptAndAnnouncedOnlyAgainstTablesThatWereRead) {
    const std::filesystem::path file = folder / Data::HighScores::fileName;
    const std::string unreadable = "[VideoOptions]\nXResolution=640\n";
    std::ofstream(file) << unreadable;
    std::vector<PlayerStanding> standings = {finished("Ann", {50.0})};
    const auto first = director({{"Ann", true}}, 1);
    first->update(RaceDirector::countdownLength, standings);
    first->update(0.1, standings);
    EXPECT_TRUE(first->areResultsShown());
    EXPECT_TRUE(first->getRecords().empty());
    std::ifstream in(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), unreadable);

    // With a damaged line the other entries count: Ben's lap is better than Ann's.
    std::ofstream(file) << "Brumbly high scores 1\nlap 1 4000 1700000000 Ben\nlap 1 oops\n";
    const auto second = director({{"Ann", true}}, 1);
    second->update(RaceDirector::countdownLength, standings);
    second->update(0.1, standings);
    EXPECT_EQ(second->getRecords(),
              (std::vector<std::string>{"High score: Ann, best lap 00:50:00, 2nd",
                                        "New record: Ann, race time 00:50:00"}));
    EXPECT_EQ(Data::HighScores::findSetAside(file).size(), 1u);
}

TEST_F(RaceDirectorTest, APersonBehindFinishedComputersMayGiveUpAndKeepsNoHighScore) {
    const auto race = director({{"Ann", true}, {"Bot1", false}, {"Bot2", false}}, 2);
    std::vector<PlayerStanding> standings = {racing("Ann", 0, 2), racing("Bot1", 1, 1),
                                             racing("Bot2", 1, 0)};
    race->update(RaceDirector::countdownLength, standings);
    ASSERT_TRUE(race->isRaceStarted());
    EXPECT_FALSE(race->finishNow()) << "nobody has finished";
    EXPECT_FALSE(race->canFinishNow());

    standings[1] = finished("Bot1", {40.0, 41.0});
    race->update(1.0, standings);
    EXPECT_FALSE(race->canFinishNow()) << "a computer driver is still out";
    EXPECT_FALSE(race->getFinishNowHint()->isVisible());
    standings[2] = finished("Bot2", {42.0, 43.0});
    race->update(1.0, standings);
    EXPECT_TRUE(race->canFinishNow());
    EXPECT_TRUE(race->getFinishNowHint()->isVisible());
    EXPECT_EQ(findText(race->getFinishNowHint(), "Text")->getText(), "Enter: finish now");
    EXPECT_EQ(race->clock(100.0), 100.0) << "the clock runs until the results";

    ASSERT_TRUE(race->finishNow());
    EXPECT_TRUE(race->areResultsShown());
    EXPECT_FALSE(race->getFinishNowHint()->isVisible());
    EXPECT_DOUBLE_EQ(race->clock(120.0), 85.0) << "stopped at the last finisher's time";
    EXPECT_EQ(race->getResultsPanel()->getRow(0)[ResultsPanel::DRIVER], "Bot1");
    EXPECT_EQ(race->getResultsPanel()->getRow(1)[ResultsPanel::DRIVER], "Bot2");
    EXPECT_EQ(race->getResultsPanel()->getRow(2),
              (std::array<std::string, 4>{"-", "Ann", "not finished", "-"}));

    // Ann's car crossing the line afterwards changes nothing.
    standings[0] = finished("Ann", {30.0, 30.0});
    race->update(1.0, standings);
    EXPECT_EQ(race->getResultsPanel()->getRow(2)[ResultsPanel::TIME], "not finished");
    EXPECT_DOUBLE_EQ(race->clock(130.0), 85.0);
    EXPECT_FALSE(race->finishNow()) << "the results are shown already";
    const Data::HighScores scores = Data::HighScores::load(folder / Data::HighScores::fileName);
    for (const auto kind : {Data::HighScoreKind::RACE_TIME, Data::HighScoreKind::BEST_LAP}) {
        const auto entries = scores.get(kind, 2);
        EXPECT_EQ(entries.size(), 2u);
        EXPECT_TRUE(std::none_of(entries.begin(), entries.end(),
                                 [](const auto& entry) { return entry.driver == "Ann"; }));
    }
    EXPECT_EQ(std::count(listener.events.begin(), listener.events.end(), "results"), 1);
}

TEST_F(RaceDirectorTest, InARaceOfPeopleTheOthersMayGiveUpOnceOneHasFinished) {
    const auto race = director({{"Ann", true}, {"Ben", true}, {"Cid", true}}, 1);
    std::vector<PlayerStanding> standings = {racing("Ann", 0, 2), racing("Ben", 0, 1),
                                             racing("Cid", 0, 0)};
    race->update(RaceDirector::countdownLength, standings);
    race->update(1.0, standings);
    EXPECT_FALSE(race->canFinishNow());
    standings[0] = finished("Ann", {50.0});
    race->update(1.0, standings);
    EXPECT_TRUE(race->canFinishNow());
    standings[1] = finished("Ben", {55.0});
    race->update(1.0, standings);
    EXPECT_TRUE(race->canFinishNow()) << "Cid is still out";
    ASSERT_TRUE(race->finishNow());
    EXPECT_EQ(race->getResultsPanel()->getRow(1)[ResultsPanel::POSITION], "2nd");
    EXPECT_EQ(race->getResultsPanel()->getRow(2)[ResultsPanel::TIME], "not finished");
    EXPECT_DOUBLE_EQ(race->clock(99.0), 55.0);
}
