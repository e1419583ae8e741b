#pragma once

#include "ConfigFile.h"
#include "MessageBoxes.h"

#include <QString>
#include <string>
#include <vector>

// The launcher's start-up: the log file, the game library's working directory, the
// profiles below the program, then the main window until it is closed.
class CBrumblyDlg;

class CBrumblyApp {
public:
    CBrumblyApp();

    // Everything before the main window. programFilePath is the program's own file;
    // the working directory and the "profiles" directory are taken from its directory.
    void initInstance(const QString& programFilePath);
    // Shows the main window; returns when it is closed.
    int run();
    // Readies the main window: the high-score file, and on a first start the New Game
    // tab with "Player" and two computer drivers chosen.
    void prepare(CBrumblyDlg& dialog) const;

    const ConfigFile& config() const { return settings; }

private:
    ConfigFile settings;
    QtMessageBoxes messageBoxes;
    // The drivers the New Game tab starts with on a first start.
    std::vector<std::string> startingDrivers;
};
