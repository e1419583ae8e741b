#include "Game/MouseEventListener.h"

namespace Game {

void MouseEventListener::onMouseButton(const int& button, const int& action) {
    if (action != 0 && action != 1) {
        return;
    }
    const bool down = action == 1;
    switch (button) {
    case 0:
        leftButtonDown = down;
        break;
    case 1:
        rightButtonDown = down;
        break;
    case 2:
        middleButtonDown = down;
        break;
    default:
        break;
    }
}

} // namespace Game
