#pragma once

#include "RaceStart.h"

#include <QStringList>
#include <string>
#include <vector>

// What the launcher was asked to do on its command line: show the dialog (the
// default), or run one race and exit.
struct LaunchRequest {
    bool help = false;
    bool race = false;
    std::vector<RaceDriver> drivers;
    unsigned int laps = 3;
    // Seconds of racing after which a benchmark race ends and reports; 0 for none.
    double benchmarkSeconds = 0.0;
    std::string helpText;
};

// Reads the arguments (the program name first). Returns false with the reason in
// `error` when they cannot be used.
bool parseCommandLine(const QStringList& arguments, LaunchRequest& request, std::string& error);
