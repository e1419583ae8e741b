#pragma once

#include "Data/Control.h"

#include <QString>
#include <array>

// Ready-made key sets for a human driver, offered in one click on the Drivers tab:
// accelerate, brake, steer left, steer right and reset.
struct KeySet {
    const char* name;
    Data::Control keys;
};

// "Arrows" (Backspace resets), "W A S D" (Q), "I J K L" (U), "Number pad" (8 5 4 6, 0).
const std::array<KeySet, 4>& keySets();
