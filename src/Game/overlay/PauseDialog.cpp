#include "Game/overlay/PauseDialog.h"

namespace Game {

TextDialogPtr createPauseDialog(Frame& frame) {
    auto pause = std::static_pointer_cast<TextDialog>(frame.createDialog("PauseDialog", DT_TEXT));
    if (!pause) {
        return nullptr;
    }
    pause->setAlignment(DA_CENTRE, DA_CENTRE);
    pause->setPosition({0.5f, 0.5f});
    pause->setSize({0.5f, 0.035f});
    pause->setColor({0.45f, 0.0f, 0.0f, 0.6f});
    pause->setText("Paused", true);
    return pause;
}

} // namespace Game
