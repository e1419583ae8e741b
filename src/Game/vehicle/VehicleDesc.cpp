#include "Game/vehicle/VehicleDesc.h"

namespace Game {

namespace {

// Each wheel spins like an eighth of a unit of mass on the 3-unit car; at the default
// the four wheels would take two fifths of the engine's drive just to spin up.
constexpr float lightWheel = 4.0f;

} // namespace

VehicleDesc describePlayerCar(const std::string& driverName, const Data::Control& control) {
    VehicleDesc desc;
    desc.name = "VehicleObject_" + driverName;
    desc.file = "jeep1_xsi.dae";
    desc.directory = "data\\vehicles\\jeep\\";
    desc.shapes.emplace_back("body");
    desc.mass = 3.0f;
    desc.offset = {0.0f, -1.0f, 0.0f};
    desc.control = control;
    desc.steerTime = 0.5f;
    for (const char* rear : {"wheelBL", "wheelBR"}) {
        WheelDesc wheel;
        wheel.name = rear;
        wheel.inverseWheelMass = lightWheel;
        desc.wheels.push_back(wheel);
    }
    for (const char* front : {"wheelFL", "wheelFR"}) {
        WheelDesc wheel;
        wheel.name = front;
        wheel.inverseWheelMass = lightWheel;
        wheel.driven = true;
        wheel.steerable = true;
        desc.wheels.push_back(wheel);
    }
    return desc;
}

} // namespace Game
