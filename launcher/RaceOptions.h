#pragma once

#include "ConfigFile.h"
#include "Data/Options.h"

// The options a race starts with: the record's defaults with the seven settings of
// the file laid over them. Missing keys give 1024 x 768, colour depth 32, a window
// (not full screen), sound volume 75, music volume 50 and the highest detail; any
// nonzero "Fullscreen" value means full screen.
Data::Options readRaceOptions(const ConfigFile& config);
