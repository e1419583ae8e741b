#include "Game/overlay/ResultsPanel.h"

#include "Data/RaceTime.h"
#include "Game/overlay/FinishMessages.h"
#include "Game/overlay/Notice.h"

#include <algorithm>
#include <limits>

namespace Game {

namespace {

const glm::vec4 WHITE(1.0f);
const glm::vec4 GREY(0.75f, 0.75f, 0.75f, 1.0f);
const glm::vec4 GOLD(1.0f, 0.82f, 0.2f, 1.0f);

constexpr float PANEL_WIDTH = 0.56f;
// The panel hangs below the race overlay's panels of three players.
constexpr float PANEL_TOP = 0.72f;
// Heights in screen heights: one line of the table, and its text.
constexpr float LINE = 0.042f;
constexpr float TEXT = 0.75f * LINE;

struct ColumnSpec {
    const char* name;
    std::int32_t alignment;
    float x;
    float width;
    const char* heading;
};

const std::array<ColumnSpec, 4> COLUMNS = {{
    {"Position", DA_LOW, 0.05f, 0.1f, "Pos"},
    {"Driver", DA_LOW, 0.15f, 0.38f, "Driver"},
    {"Time", DA_HIGH, 0.74f, 0.22f, "Race time"},
    {"BestLap", DA_HIGH, 0.95f, 0.2f, "Best lap"},
}};

std::string cellName(std::size_t row, std::size_t column) {
    return "Row" + std::to_string(row) + COLUMNS[column].name;
}

std::string recordName(std::size_t index) {
    return "Record" + std::to_string(index);
}

TextDialogPtr addText(Frame& frame, const DialogPtr& parent, const std::string& name,
                      std::int32_t alignment, float x, float width, const glm::vec4& colour) {
    auto text = std::make_shared<TextDialog>(name, &frame);
    text->setAlignment(alignment, DA_HIGH);
    text->setPosition({x, 1.0f});
    text->setSize({width, 0.1f});
    text->setColor(colour);
    text->setFitToWidth(true);
    addChild(parent, text);
    return text;
}

} // namespace

std::vector<RaceResult> raceResults(const std::vector<PlayerStanding>& standings, unsigned laps) {
    std::int64_t bestOfRace = std::numeric_limits<std::int64_t>::max();
    for (const PlayerStanding& standing : standings) {
        if (standing.bestLap > 0.0) {
            bestOfRace = std::min(bestOfRace, Data::toHundredths(standing.bestLap));
        }
    }
    std::vector<RaceResult> results;
    for (const std::size_t player : rankStandings(standings, laps)) {
        const PlayerStanding& standing = standings[player];
        RaceResult result;
        result.player = player;
        result.name = standing.name;
        result.finished = standing.finished;
        result.raceTime = standing.finished ? finishTime(standing, laps) : 0.0;
        result.bestLap = standing.bestLap;
        result.bestOfRace =
            standing.bestLap > 0.0 && Data::toHundredths(standing.bestLap) == bestOfRace;
        results.push_back(std::move(result));
    }
    return results;
}

std::unique_ptr<ResultsPanel> ResultsPanel::create(Frame& frame, std::size_t players) {
    const DialogPtr panel = frame.createDialog("ResultsDialog", DT_DIALOG);
    if (!panel) {
        return nullptr;
    }
    panel->setAlignment(DA_CENTRE, DA_HIGH);
    panel->setPosition({0.5f, PANEL_TOP});
    // Opaque: nothing of the scene may show through the table.
    panel->setColor(glm::vec4(glm::vec3(NOTICE_BACKDROP), 1.0f));
    addText(frame, panel, "ResultsTitle", DA_CENTRE, 0.5f, 0.9f, WHITE)->setText("Results", false);
    for (const ColumnSpec& column : COLUMNS) {
        addText(frame, panel, std::string("Header") + column.name, column.alignment, column.x,
                column.width, GREY)
            ->setText(column.heading, false);
    }
    for (std::size_t row = 0; row < players; ++row) {
        for (std::size_t column = 0; column < COLUMNS.size(); ++column) {
            addText(frame, panel, cellName(row, column), COLUMNS[column].alignment,
                    COLUMNS[column].x, COLUMNS[column].width, WHITE);
        }
    }
    for (std::size_t record = 0; record < 2 * players; ++record) {
        addText(frame, panel, recordName(record), DA_LOW, 0.05f, 0.9f, GOLD);
    }
    addText(frame, panel, "ResultsLegend", DA_LOW, 0.05f, 0.45f, GREY)
        ->setText("* best lap of the race", false);
    addText(frame, panel, "ResultsHint", DA_HIGH, 0.95f, 0.45f, GREY)
        ->setText("Enter: end the race", false);

    std::unique_ptr<ResultsPanel> results(new ResultsPanel(panel));
    results->rowCount = players;
    results->layout(players, 0);
    return results;
}

void ResultsPanel::layout(std::size_t rows, std::size_t records) {
    laidOutRows = rows;
    laidOutRecords = records;
    const float recordBlock = records > 0 ? static_cast<float>(records) + 0.5f : 0.0f;
    // Margins, title, headings, rows, record lines, legend; the picture's rim takes
    // a little more room at the bottom.
    const float height =
        LINE * (0.5f + 1.5f + 1.0f + static_cast<float>(rows) + 0.5f + recordBlock + 1.0f + 0.9f);
    dialog->setSize({PANEL_WIDTH, height});
    // Each text is centred in its line; `top` is the line's top below the panel's.
    const auto place = [&](const std::string& name, float top, float line, float textHeight) {
        if (const TextDialogPtr child = findText(dialog, name)) {
            const float y = top + 0.5f * (line - textHeight);
            child->setPosition({child->getPosition().x, 1.0f - y / height});
            child->setSize({child->getSize().x, textHeight / height});
        }
    };
    float top = 0.5f * LINE;
    place("ResultsTitle", top, 1.5f * LINE, 1.3f * TEXT);
    top += 1.5f * LINE;
    for (const ColumnSpec& column : COLUMNS) {
        place(std::string("Header") + column.name, top, LINE, 0.85f * TEXT);
    }
    top += LINE;
    for (std::size_t row = 0; row < rowCount; ++row) {
        for (std::size_t column = 0; column < COLUMNS.size(); ++column) {
            place(cellName(row, column), top, LINE, TEXT);
        }
        top += row < rows ? LINE : 0.0f;
    }
    top += 0.5f * LINE;
    for (std::size_t record = 0; record < recordCount(); ++record) {
        place(recordName(record), top, LINE, TEXT);
        top += record < records ? LINE : 0.0f;
    }
    top += records > 0 ? 0.5f * LINE : 0.0f;
    place("ResultsLegend", top, LINE, 0.85f * TEXT);
    place("ResultsHint", top, LINE, 0.85f * TEXT);
}

void ResultsPanel::show(const std::vector<RaceResult>& results,
                        const std::vector<std::string>& records) {
    const std::size_t rows = std::min(results.size(), rowCount);
    const std::size_t lines = std::min(records.size(), recordCount());
    if (rows != laidOutRows || lines != laidOutRecords) {
        layout(rows, lines);
    }
    int position = 0;
    for (std::size_t row = 0; row < rowCount; ++row) {
        std::array<std::string, 4> cells;
        bool marked = false;
        if (row < rows) {
            const RaceResult& result = results[row];
            cells[POSITION] = result.finished ? ordinal(++position) : "-";
            cells[DRIVER] = result.name;
            cells[TIME] = result.finished ? formatRaceTime(result.raceTime) : "not finished";
            cells[BEST_LAP] = result.bestLap > 0.0
                                  ? (result.bestOfRace ? "* " : "") + formatRaceTime(result.bestLap)
                                  : "-";
            marked = result.bestOfRace;
        }
        for (std::size_t column = 0; column < COLUMNS.size(); ++column) {
            changeText(dialog, cellName(row, column), cells[column]);
        }
        if (const TextDialogPtr best = findText(dialog, cellName(row, BEST_LAP))) {
            best->setColor(marked ? GOLD : WHITE);
        }
        if (const TextDialogPtr time = findText(dialog, cellName(row, TIME))) {
            time->setColor(row < rows && !results[row].finished ? GREY : WHITE);
        }
    }
    for (std::size_t record = 0; record < recordCount(); ++record) {
        changeText(dialog, recordName(record), record < lines ? records[record] : "");
    }
    dialog->setVisible(true);
    dialog->setActive(true);
}

std::array<std::string, 4> ResultsPanel::getRow(std::size_t row) const {
    std::array<std::string, 4> cells;
    for (std::size_t column = 0; row < rowCount && column < COLUMNS.size(); ++column) {
        if (const TextDialogPtr cell = findText(dialog, cellName(row, column))) {
            cells[column] = cell->getText();
        }
    }
    return cells;
}

std::vector<std::string> ResultsPanel::getRecords() const {
    std::vector<std::string> shown;
    for (std::size_t record = 0; record < recordCount(); ++record) {
        const TextDialogPtr line = findText(dialog, recordName(record));
        if (line && !line->getText().empty()) {
            shown.push_back(line->getText());
        }
    }
    return shown;
}

} // namespace Game
