#include "Game/vehicle/VehicleDesc.h"

namespace Game {

VehicleDesc describePlayerCar(const std::string& driverName, const Data::Control& control) {
    VehicleDesc desc;
    desc.name = "VehicleObject_" + driverName;
    desc.file = "jeep1_xsi.dae";
    desc.directory = "data\\vehicles\\jeep\\";
    desc.shapes.emplace_back("body");
    desc.mass = 3.0f;
    desc.offset = {0.0f, -1.0f, 0.0f};
    desc.control = control;
    for (const char* rear : {"wheelBL", "wheelBR"}) {
        WheelDesc wheel;
        wheel.name = rear;
        desc.wheels.push_back(wheel);
    }
    for (const char* front : {"wheelFL", "wheelFR"}) {
        WheelDesc wheel;
        wheel.name = front;
        wheel.driven = true;
        wheel.steerable = true;
        desc.wheels.push_back(wheel);
    }
    return desc;
}

} // namespace Game
