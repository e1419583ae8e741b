#pragma once

#include <array>
#include <vector>

namespace Game {

// How a car drives: engine, gearbox, grip, brakes and the aids a driver expects. The
// game's car is tuned here alone; the physics layer receives what concerns it through
// the wheels' and the body's descriptions.
struct CarTuning {
    // Engine torque at 1000, 2000, ... 6000 revolutions per minute.
    std::array<float, 6> torqueCurve{675.0f, 450.0f, 480.0f, 495.0f, 420.0f, 390.0f};
    float idleSpeed = 1000.0f; // the engine never turns slower
    // The automatic gearbox: wheel turns times gear ratio times final drive give the
    // engine speed; it shifts up above upshiftSpeed and down below downshiftSpeed.
    std::vector<float> gearRatios{3.2f, 2.2f, 1.65f, 1.3f, 1.1f};
    float finalDrive = 8.3f;
    float upshiftSpeed = 5300.0f;
    float downshiftSpeed = 2600.0f;

    // The wheel torque that asks for all the traction a tyre has.
    float fullDriveTorque = 5200.0f;
    // The largest friction coefficients the tyres give along and across their rolling.
    float maxLongitudalFriction = 1.9f;
    float maxLateralFriction = 1.5f;
    // Anti-lock brakes: the share of a tyre's grip its brake may use.
    float antiLockShare = 1.0f;
    // The tyres' slip angles are taken against a rolling speed of at least this: below
    // it a tyre slides sideways only beyond about 0.15 units/s, so a standing car keeps
    // its grip instead of sliding at the first tremble.
    float slipAngleFloorSpeed = 3.5f;
    // Slowing by airDrag * v^2: what limits the top speed.
    float airDrag = 0.006f;

    // Seconds the throttle takes to follow the accelerator (a time constant): a tapped
    // key gives a share of the drive that follows how long it is held.
    float throttleLag = 0.35f;
    // Below standingSpeed the brake key drives the car backwards with reverseTorque at
    // the wheels, up to reverseTopSpeed.
    float standingSpeed = 0.5f;
    float reverseTorque = 2400.0f;
    float reverseTopSpeed = 5.0f;
    // With neither pedal pressed, a car slower than this stands on its brakes.
    float holdSpeed = 1.5f;
};

} // namespace Game
