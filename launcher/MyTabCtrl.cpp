#include "MyTabCtrl.h"

#include "TabDriver.h"
#include "TabHighScore.h"
#include "TabNewGame.h"
#include "TabOption.h"

CMyTabCtrl::CMyTabCtrl(MessageBoxes& messages, const ConfigFile& config, QWidget* parent)
    : QTabWidget(parent), newGame(new CTabNewGame(messages, config, this)),
      driver(new CTabDriver(messages, this)),
      option(new CTabOption(config, this, queryDisplayModes())),
      highScore(new CTabHighScore(this)) {
    addTab(newGame, QStringLiteral("New Game"));
    addTab(driver, QStringLiteral("Drivers"));
    addTab(option, QStringLiteral("Options"));
    addTab(highScore, QStringLiteral("Highscore"));
    setCurrentIndex(0);
    connect(newGame, &CTabNewGame::chosenDriversChanged, this,
            [this] { driver->setRaceDrivers(newGame->chosenNames()); });
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        if (QWidget* page = widget(index)) {
            page->setFocus();
        }
    });
}
