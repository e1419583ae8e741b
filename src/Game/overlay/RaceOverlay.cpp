#include "Game/overlay/RaceOverlay.h"

#include "Data/RaceTime.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace Game {

namespace {

const glm::vec4 PANEL_COLOUR(1.0f, 1.0f, 1.0f, 0.6f);
const glm::vec4 GREY(0.75f, 0.75f, 0.75f, 1.0f);
constexpr float PANEL_RIGHT = 0.99f;
constexpr float PANEL_WIDTH = 0.3f;
constexpr float PANEL_HEIGHT = 0.05f;
constexpr float FIRST_PANEL_TOP = 0.9f;

struct TextSpec {
    const char* name;
    std::int32_t horizontalAlignment;
    std::int32_t verticalAlignment;
    glm::vec2 position;
    glm::vec2 size;
    glm::vec4 colour;
    bool fit = false; // names are cut short rather than run into the next column
};

// A panel holds, from the left: the name in large letters; the lap ("2 / 3") above
// the lap time; the last lap above the best lap. The small texts end at their
// column's right edge, so that times line up whatever their width.
const std::array<TextSpec, 6> PANEL_TEXTS = {{
    {"PlayerPosition", DA_LOW, DA_CENTRE, {0.01f, 0.5f}, {0.275f, 0.45f}, GREY},
    {"PlayerName", DA_LOW, DA_CENTRE, {0.075f, 0.5f}, {0.275f, 0.9f}, glm::vec4(1.0f), true},
    {"LapInfo", DA_HIGH, DA_HIGH, {0.585f, 0.97f}, {0.275f, 0.45f}, GREY},
    {"LapTime", DA_HIGH, DA_LOW, {0.585f, 0.03f}, {0.275f, 0.45f}, GREY},
    {"Speed", DA_HIGH, DA_HIGH, {0.97f, 0.97f}, {0.275f, 0.45f}, GREY},
    {"RPM", DA_HIGH, DA_LOW, {0.97f, 0.03f}, {0.275f, 0.45f}, GREY},
}};

// "RacingDialog": the level's name on the left, the race time on the right.
const std::array<TextSpec, 2> RACE_TEXTS = {{
    {"RaceTime", DA_HIGH, DA_CENTRE, {0.97f, 0.5f}, {0.45f, 0.7f}, glm::vec4(1.0f)},
    {"Levelname", DA_LOW, DA_CENTRE, {0.03f, 0.5f}, {0.5f, 0.7f}, GREY, true},
}};

// A translucent dialog with the overlay's panel picture.
DialogPtr makePanel(Frame& frame, const std::string& name) {
    DialogPtr panel = frame.createDialog(name, DT_DIALOG);
    panel->setAlignment(DA_HIGH, DA_HIGH);
    panel->setSize({PANEL_WIDTH, PANEL_HEIGHT});
    panel->setImage("RaceDialog.png");
    panel->setColor(PANEL_COLOUR);
    return panel;
}

template <std::size_t N>
void addTexts(Frame& frame, const DialogPtr& parent, const std::array<TextSpec, N>& texts) {
    for (const TextSpec& spec : texts) {
        auto text = std::make_shared<TextDialog>(spec.name, &frame);
        text->setAlignment(spec.horizontalAlignment, spec.verticalAlignment);
        text->setPosition(spec.position);
        text->setSize(spec.size);
        text->setColor(spec.colour);
        text->setFitToWidth(spec.fit);
        addChild(parent, text);
    }
}

std::string panelName(std::size_t index) {
    return "PlayerDialog" + std::to_string(index);
}

// The checkpoint count a standing has reached in its lap: heading for the goal after
// the last checkpoint is one beyond the last.
int checkpointProgress(const PlayerStanding& standing) {
    if (standing.nextCheckpoint == 0 && standing.lastCheckpoint >= 0) {
        return standing.lastCheckpoint + 1;
    }
    return standing.nextCheckpoint;
}

bool ranksAhead(const PlayerStanding& a, const PlayerStanding& b, unsigned laps) {
    if (a.finished != b.finished) {
        return a.finished;
    }
    if (a.finished) {
        return finishTime(a, laps) < finishTime(b, laps);
    }
    if (a.lapTimes.size() != b.lapTimes.size()) {
        return a.lapTimes.size() > b.lapTimes.size();
    }
    const int progressA = checkpointProgress(a);
    const int progressB = checkpointProgress(b);
    if (progressA != progressB) {
        return progressA > progressB;
    }
    return a.distanceToCheckpoint < b.distanceToCheckpoint;
}

} // namespace

std::string formatRaceTime(double seconds) {
    return Data::formatHundredths(Data::toHundredths(seconds));
}

double finishTime(const PlayerStanding& standing, unsigned laps) {
    const std::size_t counted = std::min<std::size_t>(laps, standing.lapTimes.size());
    return std::accumulate(standing.lapTimes.begin(),
                           standing.lapTimes.begin() + static_cast<std::ptrdiff_t>(counted), 0.0);
}

std::vector<std::size_t> rankStandings(const std::vector<PlayerStanding>& standings,
                                       unsigned laps) {
    std::vector<std::size_t> order(standings.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return ranksAhead(standings[a], standings[b], laps);
    });
    return order;
}

std::unique_ptr<RaceOverlay> RaceOverlay::create(Frame& frame,
                                                 const std::vector<std::string>& playerNames) {
    bool taken = static_cast<bool>(frame.findDialog("RacingDialog"));
    for (std::size_t i = 0; i < playerNames.size(); ++i) {
        taken = taken || frame.findDialog(panelName(i));
    }
    if (taken) {
        return nullptr;
    }
    std::unique_ptr<RaceOverlay> overlay(new RaceOverlay());
    overlay->racingDialog = makePanel(frame, "RacingDialog");
    overlay->racingDialog->setPosition({PANEL_RIGHT, 0.95f});
    addTexts(frame, overlay->racingDialog, RACE_TEXTS);
    overlay->racingDialog->setVisible(true);
    overlay->racingDialog->setActive(true);

    for (std::size_t i = 0; i < playerNames.size(); ++i) {
        const DialogPtr panel = makePanel(frame, panelName(i));
        panel->setPosition({PANEL_RIGHT, FIRST_PANEL_TOP - PANEL_HEIGHT * static_cast<float>(i)});
        addTexts(frame, panel, PANEL_TEXTS);
        changeText(panel, "PlayerName", playerNames[i]);
        changeText(panel, "LapInfo", "10/10");
        panel->setVisible(true);
        panel->setActive(true);
        overlay->panels.push_back(panel);
        overlay->ranking.push_back(i);
    }
    return overlay;
}

void RaceOverlay::update(double raceTime, const std::string& levelName, unsigned laps,
                         const std::vector<PlayerStanding>& standings) {
    changeText(racingDialog, "RaceTime", formatRaceTime(raceTime));
    changeText(racingDialog, "Levelname", levelName);

    const std::size_t count = std::min(panels.size(), standings.size());
    for (std::size_t i = 0; i < count; ++i) {
        const PlayerStanding& standing = standings[i];
        const DialogPtr& panel = panels[i];
        const bool lapDone = !standing.lapTimes.empty();
        changeText(panel, "LapTime", formatRaceTime(standing.lapTime));
        changeText(panel, "LapInfo",
                   std::to_string(standing.currentLap) + " / " + std::to_string(laps));
        changeText(panel, "Speed",
                   "Last: " + (lapDone ? formatRaceTime(standing.lapTimes.back()) : ""));
        changeText(panel, "RPM", "Best: " + (lapDone ? formatRaceTime(standing.bestLap) : ""));
    }

    // Players without a panel are left out; the others keep their order.
    ranking = rankStandings(standings, laps);
    std::erase_if(ranking, [&](std::size_t player) { return player >= count; });
    for (std::size_t rank = 0; rank < ranking.size(); ++rank) {
        panels[ranking[rank]]->setPosition(
            {PANEL_RIGHT, FIRST_PANEL_TOP - PANEL_HEIGHT * static_cast<float>(rank)});
    }
}

} // namespace Game
