#pragma once

#include "CommandLine.h"
#include "DisplayModes.h"
#include "Game/Kernel.h"

#include <iosfwd>

class ConfigFile;

// One race from the command line through the same race start as the dialog, with the
// options of the file for this display. The track (one of trackNames, chooseTrack) and
// the drivers (chooseRaceDrivers) are checked first: a track or a driver that cannot
// race is named, with the reason, in `err` and in the log, and gives exit status 2
// before the kernel is called. A failure of
// the race start goes to `err` and gives exit status 1; a benchmark race writes its
// figures to `out`.
int runQuickRace(const LaunchRequest& request, const std::vector<std::string>& trackNames,
                 const ConfigFile& config, const DisplayModes& display, RaceKernel& kernel,
                 std::ostream& out, std::ostream& err);

// The figures of a benchmark race, one "name value" line each: time to the first
// frame, frames drawn, median, 95th-percentile and worst frame time, physics time per
// frame, peak resident memory.
std::string benchmarkReport(const Game::Kernel::FrameTimes& times, long peakResidentKilobytes);
