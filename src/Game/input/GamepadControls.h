#pragma once

#include "Platform/Gamepad.h"

namespace Game {

// Where a pad's state comes from: the window system in the game, a script in tests.
class GamepadReader {
public:
    virtual ~GamepadReader() = default;
    // False when no pad is connected in that slot.
    virtual bool read(int slot, Platform::GamepadState& state) = 0;
};

// The window system's pads.
class WindowGamepads : public GamepadReader {
public:
    bool read(int slot, Platform::GamepadState& state) override {
        return Platform::readGamepad(slot, state);
    }
};

// What a driver asks of a car through a pad: steering -1 (right) to 1 (left), throttle
// and brake 0 to 1; reset and pause for the one reading in which their button went down.
struct PadInput {
    bool connected = false;
    float steering = 0.0f;
    float throttle = 0.0f;
    float brake = 0.0f;
    bool reset = false;
    bool pause = false;
    // The d-pad's up and down and A, for a menu: for the reading in which they went down.
    bool menuUp = false;
    bool menuDown = false;
    bool menuPick = false;
};

// One pad driving one car: the left stick or the d-pad steers, the right trigger
// accelerates, the left trigger brakes, A or B resets, Start pauses. Small stick and
// trigger movements round a pad's rest position are ignored, and the rest of the range
// is stretched over the whole input. A pad that is not connected asks for nothing, so
// its car coasts; it drives again as soon as it is back.
class GamepadControls {
public:
    static constexpr float stickDeadZone = 0.15f;
    static constexpr float triggerDeadZone = 0.05f;

    GamepadControls(int slot, GamepadReader& reader) : slot(slot), reader(reader) {}

    int getSlot() const { return slot; }
    PadInput read();

private:
    float trigger(float axis, bool& seenAtRest) const;

    int slot;
    GamepadReader& reader;
    Platform::GamepadState previous;
    // Some pads report a trigger half pressed until it is first moved: a trigger
    // counts only once it has been seen released.
    bool leftTriggerSeen = false;
    bool rightTriggerSeen = false;
};

} // namespace Game
