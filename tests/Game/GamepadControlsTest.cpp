#include "Game/input/GamepadControls.h"
#include "ScriptedPad.h"

#include <gtest/gtest.h>

using Game::GamepadControls;
using Game::PadInput;
using Platform::GamepadState;

TEST(GamepadControlsTest, SticksTriggersAndButtonsDriveAndAPulledPadCoasts) {
    GameTest::ScriptedPad pad(2);
    GamepadControls controls(2, pad);
    GamepadState& state = *pad.state;

    // At rest: connected, asking for nothing. Small stick drift is ignored.
    state.axes[Platform::AXIS_LEFT_X] = 0.1f;
    PadInput input = controls.read();
    EXPECT_TRUE(input.connected);
    EXPECT_EQ(input.steering, 0.0f);
    EXPECT_EQ(input.throttle, 0.0f);
    EXPECT_EQ(input.brake, 0.0f);

    // Analog: the stick beyond the dead zone is stretched to the full range; left is
    // positive steering. Triggers give proportional throttle and brake.
    state.axes[Platform::AXIS_LEFT_X] = -1.0f;
    state.axes[Platform::AXIS_RIGHT_TRIGGER] = 0.0f; // half pressed
    state.axes[Platform::AXIS_LEFT_TRIGGER] = 1.0f;
    input = controls.read();
    EXPECT_FLOAT_EQ(input.steering, 1.0f);
    EXPECT_NEAR(input.throttle, (0.5f - 0.05f) / 0.95f, 1e-5f);
    EXPECT_FLOAT_EQ(input.brake, 1.0f);
    state.axes[Platform::AXIS_LEFT_X] = 0.575f; // half way from the dead zone to full
    input = controls.read();
    EXPECT_NEAR(input.steering, -0.5f, 1e-5f);

    // The d-pad steers fully and wins over the stick.
    state.buttons[Platform::BUTTON_DPAD_RIGHT] = true;
    EXPECT_FLOAT_EQ(controls.read().steering, -1.0f);
    state.buttons[Platform::BUTTON_DPAD_RIGHT] = false;

    // Reset and pause fire once per press, not while held.
    state.buttons[Platform::BUTTON_B] = true;
    state.buttons[Platform::BUTTON_START] = true;
    input = controls.read();
    EXPECT_TRUE(input.reset);
    EXPECT_TRUE(input.pause);
    input = controls.read();
    EXPECT_FALSE(input.reset);
    EXPECT_FALSE(input.pause);

    // Pulled out: nothing asked, so the car coasts; back in, it drives at once, but a
    // trigger that reports half pressed before it was ever released does not count.
    pad.state.reset();
    input = controls.read();
    EXPECT_FALSE(input.connected);
    EXPECT_EQ(input.throttle, 0.0f);
    EXPECT_EQ(input.steering, 0.0f);
    pad.state = GamepadState{};
    pad.state->axes[Platform::AXIS_RIGHT_TRIGGER] = 0.0f;
    pad.state->axes[Platform::AXIS_LEFT_X] = 1.0f;
    input = controls.read();
    EXPECT_TRUE(input.connected);
    EXPECT_FLOAT_EQ(input.steering, -1.0f);
    EXPECT_EQ(input.throttle, 0.0f);
    pad.state->axes[Platform::AXIS_RIGHT_TRIGGER] = -1.0f;
    controls.read();
    pad.state->axes[Platform::AXIS_RIGHT_TRIGGER] = 1.0f;
    EXPECT_FLOAT_EQ(controls.read().throttle, 1.0f);
}
