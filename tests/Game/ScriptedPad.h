#pragma once

#include "Game/input/GamepadControls.h"

#include <optional>

namespace GameTest {

// A pad in one slot whose state the test sets; nullopt is a pad pulled out.
class ScriptedPad : public Game::GamepadReader {
public:
    explicit ScriptedPad(int slot) : slot(slot) {}

    bool read(int asked, Platform::GamepadState& out) override {
        if (asked != slot || !state) {
            return false;
        }
        out = *state;
        return true;
    }

    const int slot;
    std::optional<Platform::GamepadState> state = Platform::GamepadState{};
};

} // namespace GameTest
