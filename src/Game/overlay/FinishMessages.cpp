#include "Game/overlay/FinishMessages.h"

#include "Game/overlay/RaceOverlay.h"

#include <algorithm>

namespace Game {

namespace {

// Below the race overlay's panels of three players, clear of them.
constexpr float PANEL_TOP = 0.72f;
constexpr float PANEL_WIDTH = 0.4f;
constexpr float PANEL_HEIGHT = 0.05f;
constexpr float PANEL_GAP = 0.006f;

std::string panelName(std::size_t index) {
    return "FinishDialog" + std::to_string(index);
}

} // namespace

std::string ordinal(int position) {
    const int lastTwo = position % 100;
    const int last = position % 10;
    const char* suffix = "th";
    if (lastTwo < 11 || lastTwo > 13) {
        suffix = last == 1 ? "st" : last == 2 ? "nd" : last == 3 ? "rd" : "th";
    }
    return std::to_string(position) + suffix;
}

std::string finishText(const std::string& driver, int position, double raceTime) {
    return driver + " finished " + ordinal(position) + " in " + formatRaceTime(raceTime);
}

std::unique_ptr<FinishMessages> FinishMessages::create(Frame& frame, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (frame.findDialog(panelName(i))) {
            return nullptr;
        }
    }
    std::unique_ptr<FinishMessages> messages(new FinishMessages());
    for (std::size_t i = 0; i < count; ++i) {
        Line line;
        line.panel = frame.createDialog(panelName(i), DT_DIALOG);
        line.panel->setAlignment(DA_CENTRE, DA_HIGH);
        line.panel->setPosition(
            {0.5f, PANEL_TOP - (PANEL_HEIGHT + PANEL_GAP) * static_cast<float>(i)});
        line.panel->setSize({PANEL_WIDTH, PANEL_HEIGHT});
        line.panel->setImage("RaceDialog.png");
        line.panel->setColor({1.0f, 1.0f, 1.0f, 0.7f});
        line.text = std::make_shared<TextDialog>("FinishText", &frame);
        line.text->setAlignment(DA_CENTRE, DA_CENTRE);
        line.text->setPosition({0.5f, 0.5f});
        line.text->setSize({0.94f, 0.62f});
        line.text->setFitToWidth(true);
        addChild(line.panel, line.text);
        messages->lines.push_back(line);
    }
    return messages;
}

void FinishMessages::add(const std::string& text) {
    if (lines.empty()) {
        return;
    }
    auto line =
        std::find_if(lines.begin(), lines.end(), [](const Line& l) { return l.left <= 0.0; });
    if (line == lines.end()) {
        line = std::min_element(lines.begin(), lines.end(),
                                [](const Line& a, const Line& b) { return a.left < b.left; });
    }
    line->text->setText(text, true);
    line->left = shownFor;
    line->panel->setVisible(true);
    line->panel->setActive(true);
}

void FinishMessages::update(double dt) {
    for (Line& line : lines) {
        if (line.left > 0.0) {
            line.left -= dt;
            if (line.left <= 0.0) {
                hide(line);
            }
        }
    }
}

void FinishMessages::hideAll() {
    for (Line& line : lines) {
        hide(line);
    }
}

void FinishMessages::hide(Line& line) {
    line.left = 0.0;
    line.panel->setVisible(false);
    line.panel->setActive(false);
}

std::vector<std::string> FinishMessages::getShown() const {
    std::vector<std::string> shown;
    for (const Line& line : lines) {
        if (line.left > 0.0) {
            shown.push_back(line.text->getText());
        }
    }
    return shown;
}

} // namespace Game
