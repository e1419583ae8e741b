#pragma once

#include "DriverControls.h"
#include "RaceStart.h"

#include <QColor>
#include <QPixmap>
#include <QWidget>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class ColorSwatch;
class ConfigFile;
class MessageBoxes;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTimer;

// The "New Game" tab: the track, the drivers chosen for a race, each with a car
// colour, and the number of laps. The last entry of the Track list, "Random track",
// races a track generated from the seed beside it ("New seed" draws one); its preview
// is drawn from the seed. The chosen drivers stay until "Clear". Each person
// chosen races with the keyboard or a connected pad, as chosen below the list
// ("Keyboard" or "Gamepad N: NAME") and remembered per driver in the settings file; a
// remembered pad that is not connected leaves the keyboard. The pads are listed again
// every second while the tab shows.
class CTabNewGame : public QWidget {
    Q_OBJECT

public:
    // One chosen driver: the profile name, the car colour and the pad.
    using PlayerDesc = RaceDriver;
    using PlayerList = std::vector<std::shared_ptr<PlayerDesc>>;

    CTabNewGame(MessageBoxes& messages, const ConfigFile& config, QWidget* parent = nullptr);

    // Where the connected pads come from (the window system's at first).
    void setPadList(DriverControls::PadList list);

    // The chosen drivers in the order in which they were added.
    const PlayerList& players() const { return chosen; }
    // Their names, in the same order.
    std::vector<std::string> chosenNames() const;
    unsigned int laps() const;
    // The name of the track chosen in the Track list; "random:SEED" for the random track.
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
    // Whether the Track list's choice is the random track.
    bool randomChosen() const;
    // The seed typed beside the Track list; false when it is no whole number in range.
    bool seed(std::uint32_t& value) const;
    void drawNewSeed();
    void fillDriverList();
    void chooseColour();
    void addDriver();
    void addChosen(const std::string& name, const QColor& colour);
    // The first of the car colours (blue, red, yellow, green, ...) no chosen driver has.
    QColor nextFreeColour() const;
    void clearDrivers();
    void race();
    // Warns when two chosen drivers on the keyboard share a key; hidden otherwise.
    void updateKeyWarning();
    // Lists the pads again; the control choices are rebuilt when the pads changed or
    // `rebuild` asks for it.
    void listPads(bool rebuild);
    // One control choice per person chosen, in the list's order, showing the wanted
    // pad when it is connected and the keyboard otherwise.
    void updateControls();

    MessageBoxes& messages;
    const ConfigFile& config;
    PlayerList chosen;
    DriverControls::PadList padList;
    std::vector<Platform::GamepadInfo> pads;
    // The pad slot each chosen person wants, by stored name.
    std::map<std::string, int> wantedPads;
    QLabel* preview;
    QPixmap trackPicture;

    QComboBox* trackList;
    QLineEdit* seedEdit;
    QPushButton* newSeedButton;
    // Draws the random track's preview once the seed has stopped changing.
    QTimer* seedTimer;
    QComboBox* driverList;
    QSpinBox* lapsBox;
    ColorSwatch* swatch;
    QListWidget* chosenList;
    QLabel* keyWarning;
    QWidget* controlsBox;
    QFormLayout* controlsForm;
    QTimer* padTimer;
};
