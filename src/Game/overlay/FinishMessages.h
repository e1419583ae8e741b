#pragma once

#include "Game/overlay/Frame.h"
#include "Game/overlay/TextDialog.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace Game {

// "1st", "2nd", "3rd", "4th" ... "11th", "12th", "13th", "21st" ...
std::string ordinal(int position);

// "Ann finished 1st in 02:15:33".
std::string finishText(const std::string& driver, int position, double raceTime);

// Messages in the upper middle of the screen, one panel each, below one another;
// each stays for `shownFor` seconds of race time.
class FinishMessages {
public:
    static constexpr double shownFor = 5.0;

    // Builds the panels "FinishDialog0" ... on the frame, hidden. Empty when one of
    // those names is taken.
    static std::unique_ptr<FinishMessages> create(Frame& frame, std::size_t lines);

    // Shows the text in the highest free panel (in the longest shown one when all are
    // taken).
    void add(const std::string& text);
    // Counts the time down and hides the messages whose time is up.
    void update(double dt);
    void hideAll();
    // The texts shown, top panel first.
    std::vector<std::string> getShown() const;

private:
    struct Line {
        DialogPtr panel;
        TextDialogPtr text;
        double left = 0.0;
    };

    FinishMessages() = default;
    void hide(Line& line);

    std::vector<Line> lines;
};

} // namespace Game
