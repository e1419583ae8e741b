#pragma once

#include "ConfigFile.h"
#include "Platform/Gamepad.h"

#include <QString>
#include <functional>
#include <string>
#include <vector>

// Whether a driver races with the keyboard or with a pad, remembered per driver in the
// settings file (section "Gamepads", one key per driver: the pad's number, 0 or none
// for the keyboard). Pads are known by their window-system slot; the race reads the
// same slots in the same process.
namespace DriverControls {

// The connected pads; tests put a list of their own in place of the window system's.
using PadList = std::function<std::vector<Platform::GamepadInfo>()>;

// "Gamepad N: NAME", N counting from 1.
QString label(const Platform::GamepadInfo& pad);

// The slot of the pad the driver chose last, or Game::Kernel::noGamepad for the
// keyboard (also when nothing or no valid pad number is written).
int remembered(const ConfigFile& config, const std::string& driver);
// Writes the choice; false, logged, when the file cannot be written.
bool remember(const ConfigFile& config, const std::string& driver, int slot);

} // namespace DriverControls
