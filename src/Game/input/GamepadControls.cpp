#include "Game/input/GamepadControls.h"

#include <algorithm>
#include <cmath>

namespace Game {

namespace {

// The axis with the dead zone round 0 removed and the rest stretched to [-1, 1].
float outsideDeadZone(float value, float deadZone) {
    const float magnitude = std::abs(value);
    if (magnitude <= deadZone) {
        return 0.0f;
    }
    return std::copysign(std::min(1.0f, (magnitude - deadZone) / (1.0f - deadZone)), value);
}

} // namespace

float GamepadControls::trigger(float axis, bool& seenAtRest) const {
    // Triggers run from -1 (released) to 1.
    const float pressed = std::clamp((axis + 1.0f) * 0.5f, 0.0f, 1.0f);
    if (pressed <= triggerDeadZone) {
        seenAtRest = true;
    }
    return seenAtRest ? outsideDeadZone(pressed, triggerDeadZone) : 0.0f;
}

PadInput GamepadControls::read() {
    Platform::GamepadState state;
    PadInput input;
    if (!reader.read(slot, state)) {
        previous = {};
        leftTriggerSeen = rightTriggerSeen = false;
        return input;
    }
    input.connected = true;
    const auto held = [&state](Platform::GamepadButton button) {
        return state.buttons[static_cast<std::size_t>(button)];
    };
    const auto wentDown = [&](Platform::GamepadButton button) {
        return held(button) && !previous.buttons[static_cast<std::size_t>(button)];
    };
    if (held(Platform::BUTTON_DPAD_LEFT) != held(Platform::BUTTON_DPAD_RIGHT)) {
        input.steering = held(Platform::BUTTON_DPAD_LEFT) ? 1.0f : -1.0f;
    } else {
        // The stick's left is negative; steering's left is positive.
        input.steering = -outsideDeadZone(state.axes[Platform::AXIS_LEFT_X], stickDeadZone);
    }
    input.throttle = trigger(state.axes[Platform::AXIS_RIGHT_TRIGGER], rightTriggerSeen);
    input.brake = trigger(state.axes[Platform::AXIS_LEFT_TRIGGER], leftTriggerSeen);
    input.reset = wentDown(Platform::BUTTON_A) || wentDown(Platform::BUTTON_B);
    input.pause = wentDown(Platform::BUTTON_START);
    input.menuUp = wentDown(Platform::BUTTON_DPAD_UP);
    input.menuDown = wentDown(Platform::BUTTON_DPAD_DOWN);
    input.menuPick = wentDown(Platform::BUTTON_A);
    previous = state;
    return input;
}

} // namespace Game
