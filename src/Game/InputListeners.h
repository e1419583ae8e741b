#pragma once

#include "Game/KeyEventListener.h"
#include "Game/Listeners.h"
#include "Game/MouseEventListener.h"

#include <vector>

namespace Game {

// The key and mouse listeners that a window's input goes to. The kernel keeps one
// for its window and hands it to the level it builds; the level's cameras and cars
// join it.
class InputListeners {
public:
    // False when the listener is attached already.
    bool attach(KeyEventListener* listener) { return attachTo(keyListeners, listener); }
    bool attach(MouseEventListener* listener) { return attachTo(mouseListeners, listener); }
    // Removes the first matching entry; nothing happens when it is absent.
    void detach(KeyEventListener* listener) { detachFrom(keyListeners, listener); }
    void detach(MouseEventListener* listener) { detachFrom(mouseListeners, listener); }
    const std::vector<KeyEventListener*>& getKeyListeners() const { return keyListeners; }
    const std::vector<MouseEventListener*>& getMouseListeners() const { return mouseListeners; }

    // Hands the event to every listener attached when it arrived.
    void sendKey(int key, int action) const {
        fanOut(keyListeners, [&](KeyEventListener& listener) { listener.onKey(key, action); });
    }
    void sendMouseButton(int button, int action) const {
        fanOut(mouseListeners,
               [&](MouseEventListener& listener) { listener.onMouseButton(button, action); });
    }
    void sendMouseMove(int x, int y) const {
        fanOut(mouseListeners, [&](MouseEventListener& listener) { listener.onMouseMove(x, y); });
    }
    void sendMouseWheel(int position) const {
        fanOut(mouseListeners,
               [&](MouseEventListener& listener) { listener.onMouseWheel(position); });
    }

private:
    std::vector<KeyEventListener*> keyListeners;
    std::vector<MouseEventListener*> mouseListeners;
};

} // namespace Game
