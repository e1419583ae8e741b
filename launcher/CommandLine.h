#pragma once

#include "RaceStart.h"

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

// What the launcher was asked to do on its command line: show the dialog (the
// default), or run one race and exit.
struct LaunchRequest {
    bool help = false;
    bool race = false;
    // The --driver values byte for byte, NAME or NAME:RRGGBB; chooseRaceDrivers reads
    // them once the saved drivers are known.
    std::vector<std::string> driverArguments;
    unsigned int laps = 3;
    // The --track value, a track's name.
    std::string track = "Test Track";
    // Seconds of racing after which a benchmark race ends and reports; 0 for none.
    double benchmarkSeconds = 0.0;
    std::string helpText;
};

// The longest benchmark race, in seconds: a day.
inline constexpr double maximumBenchmarkSeconds = 86400.0;

// A program argument as text that keeps its bytes: valid UTF-8 is decoded, and every
// other byte becomes a lone surrogate U+DC80 to U+DCFF, which argumentBytes turns
// back into that byte. Driver names that are no UTF-8 stay usable so.
QString argumentText(std::string_view bytes);
std::string argumentBytes(const QString& text);

// The end of the --help text: the tracks --track takes, one name a line, and the
// random tracks.
std::string trackHelp(const std::vector<std::string>& trackNames);

// The track a command-line race runs on: one of trackNames (letter case aside; the
// name as listed is taken), or a track generated from a seed, "random:SEED" (written
// as randomTrackName writes it). Returns false with the reason in `error`.
bool chooseTrack(const std::string& argument, const std::vector<std::string>& trackNames,
                 std::string& track, std::string& error);

// Reads the arguments (the program name first). Returns false with the reason in
// `error` when they cannot be used.
bool parseCommandLine(const QStringList& arguments, LaunchRequest& request, std::string& error);

// The drivers of a command-line race, from the --driver values and the saved drivers
// of the profile manager: each value names a saved driver, whole or with a colour
// suffix ":RRGGBB" split off (the whole value wins, so a name may hold a colon); cars
// without a colour are blue, red and yellow in turn. At most maximumRaceDrivers, and no
// driver twice. Returns false with the driver and the reason in `error`.
bool chooseRaceDrivers(const std::vector<std::string>& arguments, std::vector<RaceDriver>& drivers,
                       std::string& error);
