#pragma once

#include "Game/overlay/Frame.h"
#include "Game/overlay/TextDialog.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace Game {

// The menu of a paused race: a dark box in the middle of the screen with "Paused" in
// large letters over the items "Resume", "Restart race" and "End race", the chosen
// one in gold between arrows. Up and Down choose (wrapping around), Enter picks.
class PauseMenu {
public:
    enum Item { RESUME, RESTART, END_RACE };
    static constexpr std::array<const char*, 3> ITEMS = {"Resume", "Restart race", "End race"};

    // Builds "PauseMenu" on the frame, closed. Empty when the frame holds a dialog of
    // that name already.
    static std::unique_ptr<PauseMenu> create(Frame& frame);

    // Shows the menu with "Resume" chosen.
    void open();
    void close();
    bool isOpen() const { return dialog->isVisible(); }

    // A key pressed while the menu is open (a window-layer code): the item Enter
    // picked, or none.
    std::optional<Item> handleKey(int key);
    Item getChosen() const { return chosen; }

    const DialogPtr& getDialog() const { return dialog; }
    // The text shown for an item, arrows included when chosen.
    std::string getItemText(Item item) const;

private:
    explicit PauseMenu(const DialogPtr& dialog) : dialog(dialog) {}
    void choose(Item item);

    DialogPtr dialog;
    Item chosen = RESUME;
};

} // namespace Game
