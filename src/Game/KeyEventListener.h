#pragma once

namespace Game {

// Receives the window's key events (window-layer key codes; action 1 press,
// 0 release) once attached to the kernel. Detach before destruction.
class KeyEventListener {
public:
    virtual ~KeyEventListener() = default;
    virtual void onKey(int key, int action) = 0;
};

} // namespace Game
