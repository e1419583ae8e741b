#pragma once

#include "Data/Options.h"

#include <vector>

// What the display offers a race: its own video modes and the size of its desktop;
// empty, and a desktop of 0 x 0, without a display. Only the width and height of
// each record are used.
struct DisplayModes {
    std::vector<Data::Options> modes;
    unsigned desktopWidth = 0;
    unsigned desktopHeight = 0;
};

// The primary display as the game's window layer reports it.
DisplayModes queryDisplayModes();

// The resolutions to offer: the fixed ones in their order, then the display's own
// modes that they lack, smallest first. For a race in a window none larger than the
// desktop (when its size is known).
std::vector<Data::Options> offeredResolutions(const std::vector<Data::Options>& fixed,
                                              const DisplayModes& display, bool fullscreen);
