#include "Game/overlay/RaceOverlay.h"

#include "Data/RaceTime.h"
#include "Game/overlay/FinishMessages.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace Game {

namespace {

const glm::vec4 PANEL_COLOUR(1.0f, 1.0f, 1.0f, 0.6f);
const glm::vec4 GREY(0.75f, 0.75f, 0.75f, 1.0f);
constexpr float PANEL_RIGHT = 0.99f;
constexpr float PANEL_WIDTH = 0.4f;
constexpr float PANEL_HEIGHT = 0.05f;
constexpr float RACING_TOP = 0.95f;
// The gap between a panel in a view and the view's edges.
constexpr float VIEW_MARGIN = 0.01f;

struct TextSpec {
    const char* name;
    std::int32_t horizontalAlignment;
    std::int32_t verticalAlignment;
    glm::vec2 position;
    glm::vec2 size;
    glm::vec4 colour;
    bool fit = false; // names are shortened rather than run into the next column
};

// A panel holds, from the left: the driver's colour, the position ("1st"), the name;
// the lap ("2 / 3") above the lap time; the last lap above the best lap. The small
// texts end at their column's right edge, so that times line up whatever their width.
const std::array<TextSpec, 6> PANEL_TEXTS = {{
    {"PlayerPosition", DA_LOW, DA_CENTRE, {0.05f, 0.5f}, {0.08f, 0.5f}, glm::vec4(1.0f)},
    {"PlayerName", DA_LOW, DA_CENTRE, {0.14f, 0.5f}, {0.39f, 0.6f}, glm::vec4(1.0f), true},
    {"LapInfo", DA_HIGH, DA_HIGH, {0.72f, 0.97f}, {0.18f, 0.45f}, GREY},
    {"LapTime", DA_HIGH, DA_LOW, {0.72f, 0.03f}, {0.18f, 0.45f}, GREY},
    {"Speed", DA_HIGH, DA_HIGH, {0.97f, 0.97f}, {0.24f, 0.45f}, GREY},
    {"RPM", DA_HIGH, DA_LOW, {0.97f, 0.03f}, {0.24f, 0.45f}, GREY},
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

// A square of the driver's colour (red, green, blue 0..255) at the panel's left edge.
void addColourMark(Frame& frame, const DialogPtr& panel, const glm::vec3& colour) {
    auto mark = std::make_shared<Dialog>("PlayerColour", &frame);
    mark->setAlignment(DA_LOW, DA_CENTRE);
    mark->setPosition({0.02f, 0.5f});
    mark->setSize({0.02f, 0.6f});
    mark->setColor(glm::vec4(colour / 255.0f, 1.0f));
    addChild(panel, mark);
}

// The byte at which the two texts first differ (the shorter one's length when one
// begins the other).
std::size_t firstDifference(const std::string& a, const std::string& b) {
    return static_cast<std::size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first -
                                    a.begin());
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
                                                 const std::vector<std::string>& playerNames,
                                                 const std::vector<glm::vec3>& colours) {
    bool taken = static_cast<bool>(frame.findDialog("RacingDialog"));
    for (std::size_t i = 0; i < playerNames.size(); ++i) {
        taken = taken || frame.findDialog(panelName(i));
    }
    if (taken) {
        return nullptr;
    }
    std::unique_ptr<RaceOverlay> overlay(new RaceOverlay());
    overlay->columnTop = {PANEL_RIGHT, RACING_TOP};
    overlay->racingDialog = makePanel(frame, "RacingDialog");
    addTexts(frame, overlay->racingDialog, RACE_TEXTS);
    overlay->racingDialog->setVisible(true);
    overlay->racingDialog->setActive(true);

    for (std::size_t i = 0; i < playerNames.size(); ++i) {
        const DialogPtr panel = makePanel(frame, panelName(i));
        addColourMark(frame, panel, i < colours.size() ? colours[i] : glm::vec3(255.0f));
        addTexts(frame, panel, PANEL_TEXTS);
        changeText(panel, "PlayerName", playerNames[i]);
        changeText(panel, "LapInfo", "10/10");
        panel->setVisible(true);
        panel->setActive(true);
        overlay->panels.push_back(panel);
        overlay->ranking.push_back(i);
        overlay->inView.push_back(false);
    }
    overlay->placeColumn();
    overlay->distinguishNames();
    return overlay;
}

void RaceOverlay::distinguishNames() {
    std::vector<TextDialogPtr> names;
    for (const DialogPtr& panel : panels) {
        names.push_back(findText(panel, "PlayerName"));
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        for (std::size_t j = i + 1; j < names.size(); ++j) {
            if (names[i]->getShownText() != names[j]->getShownText() ||
                names[i]->getText() == names[j]->getText()) {
                continue;
            }
            // Shortened alike: both keep the first character in which they differ.
            const std::size_t difference =
                firstDifference(names[i]->getText(), names[j]->getText());
            for (const TextDialogPtr& name : {names[i], names[j]}) {
                name->setKeepVisible(difference);
                name->rebuild();
            }
        }
    }
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
        changeText(panels[ranking[rank]], "PlayerPosition", ordinal(static_cast<int>(rank) + 1));
    }
    placeColumn();
    // A change of the screen's shape shortens the names anew.
    distinguishNames();
}

void RaceOverlay::placeColumn() {
    racingDialog->setAlignment(columnAlignment, DA_HIGH);
    racingDialog->setPosition(columnTop);
    float top = columnTop.y - PANEL_HEIGHT;
    for (const std::size_t player : ranking) {
        if (!inView[player]) {
            panels[player]->setAlignment(columnAlignment, DA_HIGH);
            panels[player]->setPosition({columnTop.x, top});
            top -= PANEL_HEIGHT;
        }
    }
}

void RaceOverlay::placeInViews(const std::vector<std::optional<DialogRect>>& views,
                               const glm::vec2& column, std::int32_t columnEdge) {
    std::size_t inColumn = 1;
    for (std::size_t player = 0; player < panels.size(); ++player) {
        const DialogPtr& panel = panels[player];
        inView[player] = player < views.size() && views[player].has_value();
        if (!inView[player]) {
            ++inColumn;
            panel->setSize({PANEL_WIDTH, PANEL_HEIGHT});
            continue;
        }
        const DialogRect& view = *views[player];
        const float scale = std::min(1.0f, (view.size.x - 2.0f * VIEW_MARGIN) / PANEL_WIDTH);
        panel->setAlignment(DA_HIGH, DA_HIGH);
        panel->setSize({PANEL_WIDTH * scale, PANEL_HEIGHT * scale});
        panel->setPosition(view.corner + view.size - glm::vec2(VIEW_MARGIN));
    }
    const float height = PANEL_HEIGHT * static_cast<float>(inColumn);
    columnTop = {column.x, columnEdge == DA_LOW ? column.y + height : column.y};
    columnAlignment = DA_CENTRE;
    placeColumn();
    distinguishNames();
}

} // namespace Game
