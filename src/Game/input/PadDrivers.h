#pragma once

#include "Game/input/GamepadControls.h"
#include "Game/overlay/Frame.h"

#include <string>
#include <vector>

namespace Game {

class VehicleObject;

// The drivers of one race who drive with pads. Each frame every pad is read once;
// outside a pause each pad drives its car. A pad pulled out leaves its car coasting
// and shows a notice naming its driver until the pad is back, when it drives again
// at once.
class PadDrivers {
public:
    // What the pads ask of the race after a reading.
    struct Requests {
        // Start went down on a pad.
        bool pause = false;
        // A pad was pulled out.
        bool lost = false;
        // Up, Down and Enter (window-layer keys) for each d-pad up, d-pad down and A
        // that went down, pad by pad.
        std::vector<int> menuKeys;
    };

    explicit PadDrivers(GamepadReader& reader) : reader(reader) {}

    // The driver `name` drives `car` with the pad in `slot`. With an overlay, a hidden
    // notice ("PadLost" followed by the driver's number here) waits for the pad to go.
    void add(const std::string& name, VehicleObject& car, int slot, Frame* overlay);
    // Reads every pad; unless paused, drives the cars and resets those asked for.
    Requests update(bool paused);

    std::size_t size() const { return drivers.size(); }
    // The driver's disconnection notice; empty without an overlay.
    const DialogPtr& getNotice(std::size_t driver) const { return drivers[driver].notice; }
    bool isConnected(std::size_t driver) const { return drivers[driver].connected; }

private:
    struct Driver {
        std::string name;
        VehicleObject* car;
        GamepadControls controls;
        DialogPtr notice;
        // A pad is taken as there until a reading misses it.
        bool connected = true;
    };

    GamepadReader& reader;
    std::vector<Driver> drivers;
};

} // namespace Game
