#pragma once

#include "ConfigFile.h"
#include "Data/Options.h"

// The options a race starts with: the record's defaults with the seven settings of
// the file laid over them. Missing keys give 1024 x 768, colour depth 32, a window
// (not full screen), sound volume 75, music volume 50 and the highest detail; any
// nonzero "Fullscreen" value means full screen. Values that no window or mixer takes
// (a resolution below 640 x 480 or above 16384 pixels a side, a colour depth other
// than 16, 24 or 32, a volume outside 0 to 100) give the same defaults, with a warning
// in the log; a resolution falls back as a whole, width and height together.
Data::Options readRaceOptions(const ConfigFile& config);
