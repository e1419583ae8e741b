#pragma once

#include "Data/Control.h"
#include "Game/level/LevelAbleDesc.h"
#include "Game/vehicle/CarTuning.h"

#include <glm/vec3.hpp>
#include <string>
#include <vector>

namespace Game {

// One wheel of a car: the model node it is made from and what it does.
struct WheelDesc {
    std::string name;
    bool driven = false;
    bool braked = true;
    bool steerable = false;
    float maxSteerNegative = 30.0f; // full lock in degrees for negative steering
    float maxSteerPositive = 30.0f; // full lock in degrees for positive steering
    float suspensionTravel = 0.05f;
    float spring = 0.0f;
    float damper = 8000.0f;
    float springTarget = 0.0f;
    // The inverse of the wheel's mass, which sets how hard it is to spin up or stop.
    float inverseWheelMass = 1.0f;
};

// A car: the model, its body nodes (the shape list), mass, the driver's controls,
// its wheels and the cameras that ride with it.
struct VehicleDesc : ObjectDesc {
    float mass = 10.0f;
    glm::vec3 offset{0.0f};
    Data::Control control;
    std::vector<WheelDesc> wheels;
    Physics::MaterialDesc wheelMaterial;
    float maxBrakeTorque = 100.0f;
    float brakeTime = 5.0f; // seconds from no brake to full brake
    float steerTime = 1.5f; // seconds from centre to full lock
    CarTuning tuning;
    std::vector<CameraDesc> cameras;
};

} // namespace Game

namespace Game {

// The car a driver races in: the jeep in "data\vehicles\jeep\" named
// "VehicleObject_" + driver, body node "body", mass 3, the driver's controls,
// front-wheel drive and steering, brakes on all four wheels. Its wheels are light
// next to its body and its steering reaches full lock in half a second, quick enough
// for a keyboard player to catch the car.
VehicleDesc describePlayerCar(const std::string& driverName, const Data::Control& control);

} // namespace Game
