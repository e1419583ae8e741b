#pragma once

#include "ConfigFile.h"
#include "Data/Options.h"
#include "DisplayModes.h"

#include <cstdint>
#include <optional>

// The options a race starts with, read from the file as the Options tab shows them:
// the record's defaults with the seven settings of the file laid over them. Missing
// keys give a window (not full screen) of 1024 x 768 (or the first size offered when
// that one is not), colour depth 32, sound volume 75, music volume 50 and "Auto"
// detail; any nonzero "Fullscreen" value means full screen. A value that is no whole
// number, or that no control of the tab can show (a resolution the display is not
// offered in that mode, a colour depth other than 16, 24 or 32, a volume outside 0 to
// 100, a detail level other than 0 to 3), gives the same default with a warning in the
// log; a resolution falls back as a whole, width and height together.
Data::Options readRaceOptions(const ConfigFile& config, const DisplayModes& display);

// The level (Low, Medium or High) that "Auto" detail drew the last race at, as the
// race stored it; nothing before the first such race or for a value of no level.
std::optional<std::int32_t> lastAutoDetail(const ConfigFile& config);
// After a race with "Auto" detail, stores the level it drew at for the Options tab.
void rememberAutoDetail(const ConfigFile& config, const Data::Options& options,
                        std::int32_t drawnDetail);
