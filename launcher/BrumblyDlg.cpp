#include "BrumblyDlg.h"

#include "Artwork.h"
#include "DialogUnits.h"
#include "DisplayModes.h"
#include "MessageBoxes.h"
#include "MyTabCtrl.h"
#include "RaceOptions.h"
#include "TabDriver.h"
#include "TabHighScore.h"

#include <QEventLoop>
#include <QPushButton>
#include <QVBoxLayout>

CBrumblyDlg::CBrumblyDlg(MessageBoxes& messages, const ConfigFile& config, QWidget* parent)
    : QDialog(parent), messages(messages), config(config), raceKernel(&gameKernel),
      tabControl(new CMyTabCtrl(messages, config, this)) {
    setWindowTitle(QStringLiteral("Brumbly"));
    setWindowIcon(Artwork::applicationIcon());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);

    tabControl->setMinimumSize(DialogUnits::toPixels(*this, QSize(378, 251)));
    tabControl->setObjectName(QStringLiteral("tabControl"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new CBanner(this), 0, Qt::AlignLeft);
    layout->addWidget(tabControl, 1);

    // The pages are forms, not button boxes: Enter in a field must not press a button
    // (or close the window).
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
    }
    connect(tabControl->newGamePage(), &CTabNewGame::raceRequested, this, &CBrumblyDlg::race);
}

int CBrumblyDlg::showUntilClosed() {
    // Not QDialog::exec(): its loop ends whenever the window is hidden, and a race
    // hides it.
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    show();
    loop.exec();
    return result();
}

void CBrumblyDlg::race(const CTabNewGame::PlayerList& players, unsigned int laps) {
    std::vector<RaceDriver> drivers;
    for (const auto& player : players) {
        drivers.push_back(*player);
    }
    hide();
    const Data::Options options = readRaceOptions(config, queryDisplayModes());
    const std::string error =
        startRace(*raceKernel, options, drivers, tabControl->newGamePage()->track(), laps);
    if (error.empty()) {
        rememberAutoDetail(config, options, raceKernel->drawnDetail());
    }
    tabControl->highScorePage()->refresh();
    show();
    raise();
    activateWindow();
    if (!error.empty()) {
        messages.error(tabControl->newGamePage(), QString::fromStdString(error));
    }
}

void CBrumblyDlg::setHighScoreFile(const std::filesystem::path& file) {
    tabControl->highScorePage()->setFile(file);
}

void CBrumblyDlg::reject() {
    if (tabControl->driverPage()->hasUnsavedEdits() &&
        !messages.ask(this, QStringLiteral("The driver on the Drivers tab has not been saved.\n"
                                           "Close Brumbly and discard the changes?"))) {
        return;
    }
    QDialog::reject();
}
