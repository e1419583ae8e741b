#include "Data/Profile.h"
#include "Game/overlay/RaceOverlay.h"
#include "OverlayTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace Game;

namespace {

std::string twoDigits(long long value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

PlayerStanding standing(std::size_t lapsDone, int next, int last, float distance) {
    PlayerStanding s;
    s.lapTimes.assign(lapsDone, 60.0);
    s.currentLap = static_cast<int>(lapsDone) + 1;
    s.nextCheckpoint = next;
    s.lastCheckpoint = last;
    s.distanceToCheckpoint = distance;
    return s;
}

std::string textOf(const DialogPtr& parent, const std::string& name) {
    const auto text = std::dynamic_pointer_cast<TextDialog>(parent->findChild(name));
    return text ? text->getText() : "<missing " + name + ">";
}

// Top edge of a panel's name text, in the frame's drawing units.
float nameTop(const DialogPtr& panel) {
    const Data::SGNodePtr& node = panel->findChild("PlayerName")->getDrawable();
    return Data::transformBox(node->getBoundingBox(), node->getWorldTransformation())[4];
}

void expectPanelTop(const DialogPtr& panel, float top) {
    EXPECT_FLOAT_EQ(panel->getPosition().x, 0.99f) << panel->getName();
    EXPECT_NEAR(panel->getPosition().y, top, 1e-6f) << panel->getName();
}

} // namespace

TEST(OverlayRaceTime, MinutesSecondsAndHundredthsOfTwoDigitsEach) {
    EXPECT_EQ(formatRaceTime(9.5), "00:09:50");
    EXPECT_EQ(formatRaceTime(600.0), "10:00:00");
    EXPECT_EQ(formatRaceTime(65.07), "01:05:07");
    EXPECT_EQ(formatRaceTime(0.0), "00:00:00");
    EXPECT_EQ(formatRaceTime(59.999), "00:59:99") << "cut, not rounded up";
    EXPECT_EQ(formatRaceTime(6000.0), "100:00:00");
    EXPECT_EQ(formatRaceTime(-3.0), "00:00:00");
    EXPECT_EQ(formatRaceTime(std::nan("")), "00:00:00");

    // Every hundredth of the first hour, as the double nearest to it and a little
    // above: none may lose a hundredth to the binary fraction.
    for (long long k = 0; k < 360000; ++k) {
        const std::string expected =
            twoDigits(k / 6000) + ":" + twoDigits(k / 100 % 60) + ":" + twoDigits(k % 100);
        const double seconds = static_cast<double>(k) / 100.0;
        ASSERT_EQ(formatRaceTime(seconds), expected) << k;
        ASSERT_EQ(formatRaceTime(seconds + 0.0099), expected) << k;
    }
}

TEST(OverlayRanking, LapsThenCheckpointThenDistanceWithTiesInPlayerOrder) {
    // More laps beat a checkpoint further along a lap behind.
    EXPECT_EQ(rankStandings({standing(0, 4, 3, 1.0f), standing(1, 1, 0, 90.0f)}, 3),
              (std::vector<std::size_t>{1, 0}));
    // At equal laps the further checkpoint, then the nearer car.
    EXPECT_EQ(rankStandings(
                  {standing(1, 2, 1, 5.0f), standing(1, 3, 2, 80.0f), standing(1, 3, 2, 20.0f)}, 3),
              (std::vector<std::size_t>{2, 1, 0}));
    // Before the start line (nothing passed yet) is behind having passed it.
    EXPECT_EQ(rankStandings({standing(0, 0, -1, 1.0f), standing(0, 1, 0, 50.0f)}, 3),
              (std::vector<std::size_t>{1, 0}));
    // Heading for the goal after the last checkpoint (4 of 0..4) is ahead of a car
    // still heading for that last checkpoint, however near it is; two cars heading
    // for the goal go by their distance to it.
    EXPECT_EQ(rankStandings(
                  {standing(1, 4, 3, 0.5f), standing(1, 0, 4, 70.0f), standing(1, 0, 4, 30.0f)}, 3),
              (std::vector<std::size_t>{2, 1, 0}));
    // Equal standings keep the order of the players.
    const PlayerStanding same = standing(1, 2, 1, 10.0f);
    EXPECT_EQ(rankStandings({same, standing(0, 1, 0, 1.0f), same, same}, 3),
              (std::vector<std::size_t>{0, 2, 3, 1}));
    EXPECT_TRUE(rankStandings({}, 3).empty());
}

TEST(OverlayRanking, FinishedCarsKeepTheOrderTheyFinishedIn) {
    // Both crossed the line for the last time; the second finisher stopped nearer
    // the next checkpoint, yet the first finisher stays ahead.
    PlayerStanding second = standing(0, 1, 0, 2.0f);
    second.lapTimes = {31.0, 32.0};
    second.finished = true;
    PlayerStanding first = standing(0, 1, 0, 40.0f);
    first.lapTimes = {30.0, 31.5};
    first.finished = true;
    const PlayerStanding racing = standing(1, 4, 3, 1.0f);
    EXPECT_EQ(rankStandings({racing, second, first}, 2), (std::vector<std::size_t>{2, 1, 0}));
    // Laps a finished car keeps driving do not count towards its finishing time.
    first.lapTimes.push_back(5.0);
    second.lapTimes.push_back(1.0);
    EXPECT_EQ(rankStandings({second, first}, 2), (std::vector<std::size_t>{1, 0}));
}

TEST(OverlayRaceOverlay, ShowsTimesAndLapsAndStacksThePanelsByRank) {
    OverlayTest::useGameData();
    OverlayTest::loadFonts();
    Frame frame(nullptr);
    const std::unique_ptr<RaceOverlay> overlay =
        RaceOverlay::create(frame, {"Anna", "Ben", "Carl"}, {{255, 0, 0}, {0, 0, 255}});
    ASSERT_TRUE(overlay);
    const DialogPtr& racing = overlay->getRacingDialog();
    EXPECT_EQ(frame.findDialog("RacingDialog"), racing);
    const DialogRect racingRect = racing->getAbsoluteRect();
    EXPECT_NEAR(racingRect.corner.x + racingRect.size.x, 0.99f, 1e-5f);
    EXPECT_NEAR(racingRect.corner.y + racingRect.size.y, 0.95f, 1e-5f);
    EXPECT_EQ(racing->getSize(), glm::vec2(0.4f, 0.05f));
    EXPECT_FLOAT_EQ(racing->getColor().a, 0.6f);
    EXPECT_TRUE(racing->getMaterial()->getImage(Data::MP_DIFFUSE_TEXTURE));
    EXPECT_TRUE(racing->isVisible() && racing->isActive());

    const std::vector<DialogPtr>& panels = overlay->getPanels();
    ASSERT_EQ(panels.size(), 3u);
    const std::vector<std::string> childNames = {
        "PlayerColour", "PlayerPosition", "PlayerName", "LapInfo", "LapTime", "Speed", "RPM"};
    for (std::size_t i = 0; i < panels.size(); ++i) {
        ASSERT_EQ(panels[i]->getChildren().size(), childNames.size());
        for (std::size_t c = 0; c < childNames.size(); ++c)
            EXPECT_EQ(panels[i]->getChildren()[c]->getName(), childNames[c]);
        expectPanelTop(panels[i], 0.9f - 0.05f * static_cast<float>(i));
        EXPECT_EQ(textOf(panels[i], "LapInfo"), "10/10");
        EXPECT_TRUE(panels[i]->findChild("LapTime")->isVisible());
    }
    EXPECT_EQ(textOf(panels[1], "PlayerName"), "Ben");
    const DialogPtr name = panels[0]->findChild("PlayerName");
    EXPECT_EQ(name->getPosition(), glm::vec2(0.14f, 0.5f));
    EXPECT_EQ(name->getSize(), glm::vec2(0.39f, 0.6f));
    EXPECT_EQ(panels[0]->findChild("RPM")->getSize(), glm::vec2(0.24f, 0.45f));
    // Each panel carries its driver's colour; a driver without one gets white.
    EXPECT_EQ(panels[0]->findChild("PlayerColour")->getColor(), glm::vec4(1, 0, 0, 1));
    EXPECT_EQ(panels[1]->findChild("PlayerColour")->getColor(), glm::vec4(0, 0, 1, 1));
    EXPECT_EQ(panels[2]->findChild("PlayerColour")->getColor(), glm::vec4(1.0f));
    EXPECT_EQ(panels[0]->findChild("Speed")->getColor(), glm::vec4(0.75f, 0.75f, 0.75f, 1.0f));

    // Ben has a lap done; Carl is further along the first lap than Anna.
    std::vector<PlayerStanding> standings = {standing(0, 2, 1, 10.0f), standing(1, 1, 0, 30.0f),
                                             standing(0, 3, 2, 50.0f)};
    standings[1].lapTimes = {40.0};
    standings[1].bestLap = 40.0;
    standings[1].lapTime = 25.07;
    standings[0].lapTime = 65.07;
    overlay->update(65.07, "Test Track", 3, standings);
    EXPECT_EQ(textOf(racing, "RaceTime"), "01:05:07");
    EXPECT_EQ(textOf(racing, "Levelname"), "Test Track");
    EXPECT_EQ(textOf(panels[1], "LapInfo"), "2 / 3");
    EXPECT_EQ(textOf(panels[1], "LapTime"), "00:25:07");
    EXPECT_EQ(textOf(panels[1], "Speed"), "Last: 00:40:00");
    EXPECT_EQ(textOf(panels[1], "RPM"), "Best: 00:40:00");
    EXPECT_EQ(textOf(panels[0], "LapInfo"), "1 / 3");
    EXPECT_EQ(textOf(panels[0], "Speed"), "Last: ") << "no time before the first lap";
    EXPECT_EQ(textOf(panels[0], "RPM"), "Best: ");
    EXPECT_EQ(overlay->getRanking(), (std::vector<std::size_t>{1, 2, 0}));
    EXPECT_EQ(textOf(panels[1], "PlayerPosition"), "1st");
    EXPECT_EQ(textOf(panels[2], "PlayerPosition"), "2nd");
    EXPECT_EQ(textOf(panels[0], "PlayerPosition"), "3rd");
    expectPanelTop(panels[1], 0.9f);
    expectPanelTop(panels[2], 0.85f);
    expectPanelTop(panels[0], 0.8f);
    // The names move with their panels: the leader's name is drawn highest.
    EXPECT_GT(nameTop(panels[1]), nameTop(panels[2]));
    EXPECT_GT(nameTop(panels[2]), nameTop(panels[0]));

    // Anna completes a faster lap and passes Ben on the next checkpoint.
    standings[0] = standing(1, 2, 1, 5.0f);
    standings[0].lapTimes = {38.5};
    standings[0].bestLap = 38.5;
    overlay->update(70.0, "Test Track", 3, standings);
    EXPECT_EQ(overlay->getRanking(), (std::vector<std::size_t>{0, 1, 2}));
    expectPanelTop(panels[0], 0.9f);
    EXPECT_GT(nameTop(panels[0]), nameTop(panels[1]));
    EXPECT_EQ(textOf(panels[0], "RPM"), "Best: 00:38:50");
    EXPECT_EQ(textOf(panels[0], "PlayerPosition"), "1st");
    EXPECT_EQ(textOf(panels[0], "PlayerName"), "Anna");

    // The frame refuses a second overlay; nothing of it is made.
    EXPECT_FALSE(RaceOverlay::create(frame, {"Dora"}));
    Frame other(nullptr);
    other.createDialog("PlayerDialog1", DT_DIALOG);
    EXPECT_FALSE(RaceOverlay::create(other, {"Anna", "Ben"}));
    EXPECT_FALSE(other.findDialog("RacingDialog"));
}

TEST(OverlayRaceOverlay, NamesAreShownWholeOrShortenedSoThatNoTwoLookAlike) {
    OverlayTest::useGameData();
    OverlayTest::loadFonts();
    const auto shown = [](const DialogPtr& panel) {
        return findText(panel, "PlayerName")->getShownText();
    };
    // Names of an everyday length are shown whole.
    Frame frame(nullptr);
    const std::unique_ptr<RaceOverlay> everyday =
        RaceOverlay::create(frame, {"Easy Bot", "Robo Hard", "Robo Easy"});
    ASSERT_TRUE(everyday);
    EXPECT_EQ(shown(everyday->getPanels()[0]), "Easy Bot");
    EXPECT_EQ(shown(everyday->getPanels()[1]), "Robo Hard");
    EXPECT_EQ(shown(everyday->getPanels()[2]), "Robo Easy");

    // Names of the longest length a profile takes, alike at both ends, fit their
    // panel and still differ; so do names that share a long beginning.
    const std::string start(90, 'M');
    const std::string end(100, 'W');
    const std::vector<std::string> names = {
        start + "Anna" + end + "xxxxxx", start + "Bert" + end + "xxxxxx",
        "Robo the Magnificent Hard", "Robo the Magnificent Easy"};
    ASSERT_EQ(names[0].size(), Data::Profile::maximumNameLength);
    Frame longNames(nullptr);
    const std::unique_ptr<RaceOverlay> overlay = RaceOverlay::create(longNames, names);
    ASSERT_TRUE(overlay);
    std::vector<std::string> texts;
    for (const DialogPtr& panel : overlay->getPanels()) {
        const TextDialogPtr name = findText(panel, "PlayerName");
        const float right = OverlayTest::drawnBounds(name->getDrawable()).second.x;
        EXPECT_LE(right, Frame::toDevice(&longNames, {name->getAbsoluteRect().corner.x +
                                                          name->getAbsoluteRect().size.x,
                                                      0.0f})
                                 .x +
                             2e-3f)
            << "the name stays in its column (to within a pixel)";
        EXPECT_NE(name->getShownText().find(".."), std::string::npos) << name->getShownText();
        texts.push_back(name->getShownText());
    }
    EXPECT_NE(texts[0], texts[1]);
    EXPECT_NE(texts[2], texts[3]);
    EXPECT_TRUE(texts[2].starts_with("Robo")) << texts[2];
}

TEST(OverlayRaceOverlay, SplitScreenKeepsEachViewedPanelInItsViewAndStacksTheRestByRank) {
    OverlayTest::useGameData();
    OverlayTest::loadFonts();
    Frame frame(nullptr);
    const std::unique_ptr<RaceOverlay> overlay =
        RaceOverlay::create(frame, {"Anna", "Bot", "Carl", "Cpu"});
    ASSERT_TRUE(overlay);
    const std::vector<DialogPtr>& panels = overlay->getPanels();
    // Anna and Carl have the upper halves of the window; the lower right quarter is free.
    const DialogRect anna{{0.0f, 0.5f}, {0.5f, 0.5f}};
    const DialogRect carl{{0.5f, 0.5f}, {0.5f, 0.5f}};
    overlay->placeInViews({anna, std::nullopt, carl}, {0.75f, 0.49f}, DA_HIGH);
    OverlayTest::expectRect(panels[0]->getAbsoluteRect(), {0.09f, 0.94f}, {0.4f, 0.05f});
    OverlayTest::expectRect(panels[2]->getAbsoluteRect(), {0.59f, 0.94f}, {0.4f, 0.05f});
    // The race time heads the column in the free quarter; the others follow by rank.
    OverlayTest::expectRect(overlay->getRacingDialog()->getAbsoluteRect(), {0.55f, 0.44f},
                            {0.4f, 0.05f});
    OverlayTest::expectRect(panels[1]->getAbsoluteRect(), {0.55f, 0.39f}, {0.4f, 0.05f});
    OverlayTest::expectRect(panels[3]->getAbsoluteRect(), {0.55f, 0.34f}, {0.4f, 0.05f});

    // Cpu leads, then Carl, Anna, Bot: the viewed panels stay, with their places told.
    const std::vector<PlayerStanding> standings = {
        standing(0, 1, 0, 5.0f), standing(0, 0, -1, 9.0f), standing(0, 2, 1, 5.0f),
        standing(1, 0, -1, 5.0f)};
    overlay->update(10.0, "Test Track", 3, standings);
    EXPECT_EQ(overlay->getRanking(), (std::vector<std::size_t>{3, 2, 0, 1}));
    OverlayTest::expectRect(panels[0]->getAbsoluteRect(), {0.09f, 0.94f}, {0.4f, 0.05f});
    OverlayTest::expectRect(panels[2]->getAbsoluteRect(), {0.59f, 0.94f}, {0.4f, 0.05f});
    EXPECT_EQ(textOf(panels[2], "PlayerPosition"), "2nd");
    EXPECT_EQ(textOf(panels[0], "PlayerPosition"), "3rd");
    OverlayTest::expectRect(panels[3]->getAbsoluteRect(), {0.55f, 0.39f}, {0.4f, 0.05f});
    OverlayTest::expectRect(panels[1]->getAbsoluteRect(), {0.55f, 0.34f}, {0.4f, 0.05f});

    // Three narrow columns: the panels shrink to fit; a column standing on the bottom
    // edge grows upwards from it.
    const float third = 1.0f / 3.0f;
    overlay->placeInViews({DialogRect{{0.0f, 0.0f}, {third, 1.0f}}, std::nullopt,
                           DialogRect{{third, 0.0f}, {third, 1.0f}}},
                          {0.5f, 0.01f}, DA_LOW);
    const DialogRect narrow = panels[0]->getAbsoluteRect();
    EXPECT_NEAR(narrow.corner.x, 0.01f, 1e-5f);
    EXPECT_NEAR(narrow.corner.x + narrow.size.x, third - 0.01f, 1e-5f);
    EXPECT_NEAR(narrow.size.y / narrow.size.x, 0.05f / 0.4f, 1e-5f) << "shrunk in proportion";
    // Race time, Cpu, Bot: three panels high, the last ending 0.01 above the bottom.
    OverlayTest::expectRect(overlay->getRacingDialog()->getAbsoluteRect(), {0.3f, 0.11f},
                            {0.4f, 0.05f});
    OverlayTest::expectRect(panels[1]->getAbsoluteRect(), {0.3f, 0.01f}, {0.4f, 0.05f});
}
