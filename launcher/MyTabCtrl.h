#pragma once

#include <QTabWidget>

class ConfigFile;
class CTabDriver;
class CTabHighScore;
class CTabNewGame;
class CTabOption;
class MessageBoxes;

// The main window's tabs: "New Game", "Drivers", "Options" and "Highscore", in this
// order, with "New Game" shown first. The page switched to gets the keyboard focus.
// The Drivers tab learns which drivers are chosen for the race on the New Game tab.
class CMyTabCtrl : public QTabWidget {
    Q_OBJECT

public:
    CMyTabCtrl(MessageBoxes& messages, const ConfigFile& config, QWidget* parent = nullptr);

    CTabNewGame* newGamePage() const { return newGame; }
    CTabDriver* driverPage() const { return driver; }
    CTabHighScore* highScorePage() const { return highScore; }

private:
    CTabNewGame* newGame;
    CTabDriver* driver;
    CTabOption* option;
    CTabHighScore* highScore;
};
