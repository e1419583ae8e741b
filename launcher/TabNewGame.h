#pragma once

#include "RaceStart.h"

#include <QColor>
#include <QPixmap>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

class ColorSwatch;
class MessageBoxes;
class QComboBox;
class QLabel;
class QListWidget;
class QSpinBox;

// The "New Game" tab: the track, the drivers chosen for a race, each with a car
// colour, and the number of laps. The chosen drivers stay until "Clear".
class CTabNewGame : public QWidget {
    Q_OBJECT

public:
    // One chosen driver: the profile name and the car colour.
    using PlayerDesc = RaceDriver;
    using PlayerList = std::vector<std::shared_ptr<PlayerDesc>>;

    explicit CTabNewGame(MessageBoxes& messages, QWidget* parent = nullptr);

    // The chosen drivers in the order in which they were added.
    const PlayerList& players() const { return chosen; }
    // Their names, in the same order.
    std::vector<std::string> chosenNames() const;
    unsigned int laps() const;
    // The name of the track chosen in the Track list.
    std::string track() const;
    // Adds the driver with the next car colour nobody has, as "Add" would; a driver
    // chosen already, or a fourth, is not added.
    void choose(const std::string& name);

signals:
    // A driver was added, or the list cleared.
    void chosenDriversChanged();
    // "Race !" pressed with at least one driver chosen; the race start answers it.
    void raceRequested(const CTabNewGame::PlayerList& players, unsigned int laps);

protected:
    // The driver list is refilled whenever the page is shown or hidden, so that
    // profiles created or deleted on the Drivers tab are offered.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Fits the track's picture to its box.
    void resizeEvent(QResizeEvent* event) override;

private:
    // Shows the chosen track's preview picture, or a note when it has none.
    void showTrackPicture();
    void fitTrackPicture();
    void fillDriverList();
    void chooseColour();
    void addDriver();
    void addChosen(const std::string& name, const QColor& colour);
    // The first of the car colours (blue, red, yellow, green, ...) no chosen driver has.
    QColor nextFreeColour() const;
    void clearDrivers();
    void race();
    // Warns when two chosen drivers share a key; hidden otherwise.
    void updateKeyWarning();

    MessageBoxes& messages;
    PlayerList chosen;
    QLabel* preview;
    QPixmap trackPicture;

    QComboBox* trackList;
    QComboBox* driverList;
    QSpinBox* lapsBox;
    ColorSwatch* swatch;
    QListWidget* chosenList;
    QLabel* keyWarning;
};
