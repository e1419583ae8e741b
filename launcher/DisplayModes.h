#pragma once

#include "Data/Options.h"

#include <cstddef>
#include <optional>
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

// The resolutions every display is offered, in list order.
const std::vector<Data::Options>& standardResolutions();

// The resolutions to offer. For a race in a window: the fixed ones in their order,
// then the display's own modes that they lack, smallest first, none larger than the
// desktop (when its size is known). For a full-screen race, which switches the
// display to the chosen size, only sizes the display has (the fixed ones it has in
// their order, then its others, smallest first); the fixed ones when its modes are
// unknown.
std::vector<Data::Options> offeredResolutions(const std::vector<Data::Options>& fixed,
                                              const DisplayModes& display, bool fullscreen);

// The position of the entry of that size in `offered`, if there is one.
std::optional<std::size_t> findResolution(const std::vector<Data::Options>& offered, unsigned width,
                                          unsigned height);

// The entry to select for that size: its own, else 1024 x 768, else the first; nothing
// when nothing is offered.
std::optional<std::size_t> resolutionToShow(const std::vector<Data::Options>& offered,
                                            unsigned width, unsigned height);
