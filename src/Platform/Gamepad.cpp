#include "Platform/Gamepad.h"

#include "Platform/Window.h"

#include <GLFW/glfw3.h>

namespace Platform {

std::vector<GamepadInfo> getGamepads() {
    std::vector<GamepadInfo> pads;
    if (!init()) {
        return pads;
    }
    // Pads plugged in or out are noticed while events are polled; the game's window
    // polls them every frame, a program without one (the launcher) here.
    if (!isWindowOpen()) {
        glfwPollEvents();
    }
    for (int slot = 0; slot < maxGamepads; ++slot) {
        if (glfwJoystickIsGamepad(GLFW_JOYSTICK_1 + slot) == GLFW_TRUE) {
            const char* name = glfwGetGamepadName(GLFW_JOYSTICK_1 + slot);
            pads.push_back({slot, name != nullptr ? name : "Gamepad"});
        }
    }
    return pads;
}

bool readGamepad(int slot, GamepadState& state) {
    GLFWgamepadstate raw;
    if (!init() || slot < 0 || slot >= maxGamepads ||
        glfwGetGamepadState(GLFW_JOYSTICK_1 + slot, &raw) != GLFW_TRUE) {
        return false;
    }
    for (int axis = 0; axis < AXIS_COUNT; ++axis) {
        state.axes[static_cast<std::size_t>(axis)] = raw.axes[axis];
    }
    for (int button = 0; button < BUTTON_COUNT; ++button) {
        state.buttons[static_cast<std::size_t>(button)] = raw.buttons[button] == GLFW_PRESS;
    }
    return true;
}

} // namespace Platform
