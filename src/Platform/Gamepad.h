#pragma once

#include "Tool/Export.h"

#include <array>
#include <string>
#include <vector>

// Game pads with a standard mapping (the window system's gamepad database): every pad
// reads alike, whatever its maker calls its sticks and buttons. Pads are numbered by
// their slot, 0 to maxGamepads - 1; a slot keeps its number while the pad stays
// connected. Reading starts the window system when needed; no window needs to be open.
namespace Platform {

inline constexpr int maxGamepads = 16;

enum GamepadAxis {
    AXIS_LEFT_X,
    AXIS_LEFT_Y,
    AXIS_RIGHT_X,
    AXIS_RIGHT_Y,
    AXIS_LEFT_TRIGGER,
    AXIS_RIGHT_TRIGGER,
    AXIS_COUNT
};

enum GamepadButton {
    BUTTON_A,
    BUTTON_B,
    BUTTON_X,
    BUTTON_Y,
    BUTTON_LEFT_BUMPER,
    BUTTON_RIGHT_BUMPER,
    BUTTON_BACK,
    BUTTON_START,
    BUTTON_GUIDE,
    BUTTON_LEFT_THUMB,
    BUTTON_RIGHT_THUMB,
    BUTTON_DPAD_UP,
    BUTTON_DPAD_RIGHT,
    BUTTON_DPAD_DOWN,
    BUTTON_DPAD_LEFT,
    BUTTON_COUNT
};

// Sticks from -1 to 1 (left and up negative), triggers from -1 (released) to 1.
struct GamepadState {
    std::array<float, AXIS_COUNT> axes{0.0f, 0.0f, 0.0f, 0.0f, -1.0f, -1.0f};
    std::array<bool, BUTTON_COUNT> buttons{};
};

struct GamepadInfo {
    int slot = 0;
    std::string name;

    bool operator==(const GamepadInfo& other) const = default;
};

// The connected pads, by slot; empty without any or without a window system. Without
// a window open, polls the window system's events first, so that pads plugged in
// since are listed.
BRUMBLY_API std::vector<GamepadInfo> getGamepads();
// The pad's state now; false (state untouched) when no pad is in that slot.
bool readGamepad(int slot, GamepadState& state);

} // namespace Platform
