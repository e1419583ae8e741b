#pragma once

namespace Game {

// Receives the window's mouse events once attached to the kernel. Mouse positions
// are the movement since the previous event. Detach before destruction.
class MouseEventListener {
public:
    virtual ~MouseEventListener() = default;
    virtual void onMouseMove(const int& x, const int& y) = 0;
    // Records which buttons are held: action 1 sets, 0 clears the flag of button 0
    // (left), 1 (right) or 2 (middle).
    virtual void onMouseButton(const int& button, const int& action);
    virtual void onMouseWheel(const int& position) = 0;

protected:
    bool leftButtonDown = false;
    bool middleButtonDown = false;
    bool rightButtonDown = false;
};

} // namespace Game
