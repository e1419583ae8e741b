#pragma once

#include "Game/overlay/Frame.h"
#include "Game/overlay/TextDialog.h"

#include <memory>
#include <string>

namespace Game {

// What the start signal shows for a countdown step: "3", "2", "1", and "GO!" for 0.
std::string countdownText(int step);

// The start signal in the middle of the screen: large figures on a dark square,
// "GO!" in green.
class CountdownDialog {
public:
    // Builds "CountdownDialog" with its text "CountdownText" on the frame, hidden.
    // Empty when the frame holds a dialog of that name already.
    static std::unique_ptr<CountdownDialog> create(Frame& frame);

    // Shows the step (3, 2, 1, or 0 for "GO!"); any other step hides the signal.
    void show(int step);
    bool isShown() const { return dialog->isVisible(); }
    const std::string& getText() const { return text->getText(); }

private:
    CountdownDialog(const DialogPtr& dialog, const TextDialogPtr& text)
        : dialog(dialog), text(text) {}

    DialogPtr dialog;
    TextDialogPtr text;
};

} // namespace Game
