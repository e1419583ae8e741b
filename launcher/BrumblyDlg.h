#pragma once

#include "RaceStart.h"
#include "TabNewGame.h"

#include <QDialog>
#include <filesystem>

class CMyTabCtrl;
class ConfigFile;
class MessageBoxes;

// The launcher's main window "Brumbly": the banner above the four tabs.
class CBrumblyDlg : public QDialog {
    Q_OBJECT

public:
    CBrumblyDlg(MessageBoxes& messages, const ConfigFile& config, QWidget* parent = nullptr);

    CMyTabCtrl* tabs() const { return tabControl; }

    // Shows the window and returns when the user closes it, races in between.
    int showUntilClosed();

    // Escape and closing the window end here: a driver being edited and not saved is
    // only thrown away when the user agrees.
    void reject() override;

    // Races go through this kernel instead of the game's (tests record the calls).
    void setRaceKernel(RaceKernel& kernel) { raceKernel = &kernel; }
    // The file the races keep their high scores in, shown on the Highscore tab.
    void setHighScoreFile(const std::filesystem::path& file);

private:
    // Runs the race chosen on the New Game tab. The window is hidden meanwhile: the
    // launcher cannot answer while the race runs on its thread.
    void race(const CTabNewGame::PlayerList& players, unsigned int laps);

    MessageBoxes& messages;
    const ConfigFile& config;
    GameRaceKernel gameKernel;
    RaceKernel* raceKernel;
    CMyTabCtrl* tabControl;
};
