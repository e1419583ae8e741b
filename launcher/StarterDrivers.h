#pragma once

#include <string>
#include <vector>

namespace Data {
class ProfileManager;
}

// The drivers a new player finds on the very first start, so that the first race is
// one click away: "Player" on the arrow keys (Backspace resets) and one computer
// driver per difficulty. Each is saved like a driver made on the Drivers tab; one that
// cannot be saved is logged and left out. Returns the drivers the New Game tab starts
// with: "Player" and the two easier computer drivers.
std::vector<std::string> createStarterDrivers(Data::ProfileManager& profiles);
