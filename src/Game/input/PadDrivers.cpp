#include "Game/input/PadDrivers.h"

#include "Game/overlay/Notice.h"
#include "Game/vehicle/VehicleObject.h"
#include "Platform/Keys.h"
#include "Tool/LogManager.h"

namespace Game {

void PadDrivers::add(const std::string& name, VehicleObject& car, int slot, Frame* overlay) {
    DialogPtr notice;
    if (overlay != nullptr) {
        // Below the pause menu, one line per driver.
        const float height = 0.24f - 0.07f * static_cast<float>(drivers.size());
        notice = createNotice(*overlay, "PadLost" + std::to_string(drivers.size()),
                              "Gamepad disconnected: " + name, {0.5f, height}, {0.6f, 0.06f}, 0.6f);
    }
    drivers.push_back({name, &car, GamepadControls(slot, reader), notice});
}

PadDrivers::Requests PadDrivers::update(bool paused) {
    Requests asked;
    for (Driver& driver : drivers) {
        const PadInput input = driver.controls.read();
        if (input.connected != driver.connected) {
            driver.connected = input.connected;
            asked.lost = asked.lost || !input.connected;
            if (driver.notice) {
                driver.notice->setVisible(!input.connected);
                driver.notice->setActive(!input.connected);
            }
            Tool::LogManager::getInstance().send(Tool::Message(
                "Game::PadDrivers",
                input.connected ? "Gamepad connected again" : "Gamepad disconnected",
                driver.name + ", pad " + std::to_string(driver.controls.getSlot() + 1),
                input.connected ? Tool::MT_MESSAGE : Tool::MT_WARNING));
        }
        asked.pause = asked.pause || input.pause;
        for (const auto& [pressed, key] : {std::pair{input.menuUp, Platform::KEY_UP},
                                           std::pair{input.menuDown, Platform::KEY_DOWN},
                                           std::pair{input.menuPick, Platform::KEY_ENTER}}) {
            if (pressed) {
                asked.menuKeys.push_back(key);
            }
        }
        if (paused) {
            continue;
        }
        // A pad that is gone asks for nothing: the car coasts.
        driver.car->setPedals(input.steering, input.throttle, input.brake);
        if (input.reset) {
            driver.car->setFunction(VehicleObject::RESET, true);
        }
    }
    return asked;
}

} // namespace Game
