#include "TabNewGame.h"

#include "ColorSwatch.h"
#include "ConfigFile.h"
#include "Data/ProfileManager.h"
#include "DialogUnits.h"
#include "DriverNames.h"
#include "KeyConflicts.h"
#include "MessageBoxes.h"
#include "Track/Catalogue.h"
#include "Track/RandomName.h"
#include "Track/TestTrack.h"
#include "TrackGen/Generator.h"
#include "TrackGen/RandomPlan.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QResizeEvent>
#include <QShowEvent>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <random>

namespace {

const std::array<QColor, 8> carColours = {
    QColor(0, 0, 255),   QColor(255, 0, 0),    QColor(255, 215, 0),   QColor(0, 170, 0),
    QColor(255, 128, 0), QColor(160, 32, 200), QColor(255, 255, 255), QColor(20, 20, 20)};

QColor colourOf(const RaceDriver& driver) {
    return QColor(static_cast<int>(driver.colour.r), static_cast<int>(driver.colour.g),
                  static_cast<int>(driver.colour.b));
}

QIcon colourIcon(const QColor& colour) {
    QPixmap pixmap(14, 14);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// Marks the Track list's entry of the random track.
constexpr int randomTrackRole = Qt::UserRole + 1;

const QString seedRange = QStringLiteral("The seed is a whole number from 0 to 4294967295");

// Writes a preview's label with the launcher's bold font, 18 pixels high.
void paintLabel(TrackGen::Raster& picture, const std::string& text, int centre, int baseline,
                const TrackGen::Colour& colour) {
    QImage layer(picture.width(), picture.height(), QImage::Format_ARGB32);
    layer.fill(Qt::transparent);
    QPainter painter(&layer);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(18);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QString label = QString::fromStdString(text);
    painter.drawText(centre - painter.fontMetrics().horizontalAdvance(label) / 2, baseline, label);
    painter.end();
    for (int y = 0; y < layer.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        for (int x = 0; x < layer.width(); ++x) {
            if (const int coverage = qAlpha(line[x]); coverage > 0) {
                // The raster counts rows from the bottom.
                TrackGen::Colour& pixel = picture.at(x, picture.height() - 1 - y);
                pixel = TrackGen::lerp(pixel, colour,
                                       colour[3] * static_cast<float>(coverage) / 255.0f);
            }
        }
    }
}

// The preview of the track generated from `seed`, as the shipped tracks' are drawn.
QImage randomTrackPicture(std::uint32_t seed) {
    TrackGen::GenerateOptions options;
    // Only the preview is wanted; the ground picture is the smallest there is.
    options.textureSize = 1;
    options.label = paintLabel;
    const TrackGen::Raster preview =
        TrackGen::generateTrack(TrackGen::randomPlan(seed), options).preview;
    QImage image(preview.width(), preview.height(), QImage::Format_RGB32);
    for (int y = 0; y < preview.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(preview.height() - 1 - y));
        for (int x = 0; x < preview.width(); ++x) {
            const TrackGen::Colour& c = preview.at(x, y);
            line[x] = QColor::fromRgbF(std::clamp(c[0], 0.0f, 1.0f), std::clamp(c[1], 0.0f, 1.0f),
                                       std::clamp(c[2], 0.0f, 1.0f))
                          .rgb();
        }
    }
    return image;
}

bool isPerson(const std::string& name) {
    const auto profile = Data::ProfileManager::getInstance().find(name);
    return profile && !profile->controls.aiEnabled;
}

// The order of the chosen list: readable names, letter case aside.
bool shownBefore(const std::string& a, const std::string& b) {
    return QString::compare(DriverNames::readable(a), DriverNames::readable(b),
                            Qt::CaseInsensitive) < 0;
}

} // namespace

CTabNewGame::CTabNewGame(MessageBoxes& messages, const ConfigFile& config, QWidget* parent)
    : QWidget(parent), messages(messages), config(config), padList(Platform::getGamepads) {
    // Select Track.
    auto* gameModeList = new QComboBox(this);
    gameModeList->addItem(QStringLiteral("Training"));
    gameModeList->setCurrentIndex(0);
    lapsBox = new QSpinBox(this);
    lapsBox->setRange(1, 100);
    lapsBox->setValue(3);
    lapsBox->setAlignment(Qt::AlignRight);
    // Every shipped track, each with its preview picture's path; one car so far, which
    // the race does not take from its list.
    trackList = new QComboBox(this);
    for (const Track::TrackEntry& track : Track::listTracks(Track::tracksFolder())) {
        trackList->addItem(QString::fromStdString(track.name),
                           QString::fromStdString(track.preview.string()));
    }
    // Without track files the Test Track is offered still, and refused at race start.
    if (trackList->count() == 0) {
        trackList->addItem(QString::fromLatin1(Track::testTrackName));
    }
    trackList->addItem(QStringLiteral("Random track"));
    trackList->setItemData(trackList->count() - 1, true, randomTrackRole);
    trackList->setCurrentIndex(0);
    // Up to ten digits; the range is checked when the race starts.
    seedEdit = new QLineEdit(this);
    seedEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,10}")), this));
    seedEdit->setAlignment(Qt::AlignRight);
    newSeedButton = new QPushButton(QStringLiteral("New seed"), this);
    seedTimer = new QTimer(this);
    seedTimer->setSingleShot(true);
    seedTimer->setInterval(300);
    auto* seedRow = new QHBoxLayout;
    seedRow->addWidget(seedEdit, 1);
    seedRow->addWidget(newSeedButton);

    auto* trackGroup = new QGroupBox(QStringLiteral("Select Track"), this);
    auto* trackLayout = new QFormLayout(trackGroup);
    trackLayout->addRow(QStringLiteral("Gamemode:"), gameModeList);
    trackLayout->addRow(QStringLiteral("Number of Laps"), lapsBox);
    trackLayout->addRow(QStringLiteral("Track:"), trackList);
    trackLayout->addRow(QStringLiteral("Seed:"), seedRow);

    // The track preview area below the track group: the picture of the track that the
    // build renders from the track's data, scaled to the box.
    preview = new QLabel(this);
    preview->setObjectName(QStringLiteral("trackPreview"));
    preview->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    preview->setMinimumHeight(DialogUnits::toPixels(*this, QSize(0, 60)).height());
    preview->setMinimumWidth(1);
    preview->setAlignment(Qt::AlignCenter);
    preview->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    drawNewSeed();
    showTrackPicture();

    // Select Drivers. Long names must not widen the window.
    driverList = new QComboBox(this);
    driverList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    driverList->setMinimumContentsLength(12);
    auto* carList = new QComboBox(this);
    carList->addItem(QStringLiteral("Jeep"));
    carList->setCurrentIndex(0);
    swatch = new ColorSwatch(QColor(0, 0, 255), this);
    swatch->setMinimumHeight(driverList->sizeHint().height());
    auto* addButton = new QPushButton(QStringLiteral("Add"), this);
    auto* clearButton = new QPushButton(QStringLiteral("Clear"), this);
    chosenList = new QListWidget(this);
    chosenList->setSelectionMode(QAbstractItemView::NoSelection);
    chosenList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    keyWarning = createKeyWarningLabel(this);
    controlsBox = new QWidget(this);
    controlsForm = new QFormLayout(controlsBox);
    controlsForm->setContentsMargins(0, 0, 0, 0);
    controlsBox->hide();
    padTimer = new QTimer(this);
    padTimer->setInterval(1000);

    auto* driverForm = new QFormLayout;
    driverForm->addRow(QStringLiteral("Driver:"), driverList);
    driverForm->addRow(QStringLiteral("Car:"), carList);
    driverForm->addRow(QStringLiteral("Color:"), swatch);
    auto* driverButtons = new QHBoxLayout;
    driverButtons->addStretch();
    driverButtons->addWidget(addButton);
    driverButtons->addWidget(clearButton);

    auto* driversGroup = new QGroupBox(QStringLiteral("Select Drivers"), this);
    auto* driversLayout = new QVBoxLayout(driversGroup);
    driversLayout->addLayout(driverForm);
    driversLayout->addLayout(driverButtons);
    driversLayout->addWidget(chosenList, 1);
    driversLayout->addWidget(controlsBox);
    driversLayout->addWidget(keyWarning);

    auto* raceButton = new QPushButton(QStringLiteral("Race !"), this);
    QFont raceFont = raceButton->font();
    raceFont.setBold(true);
    raceButton->setFont(raceFont);
    raceButton->setMinimumWidth(DialogUnits::toPixels(*this, QSize(70, 0)).width());

    auto* trackColumn = new QVBoxLayout;
    trackColumn->addWidget(trackGroup);
    trackColumn->addWidget(preview, 1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(trackColumn, 1);
    columns->addWidget(driversGroup, 1);
    auto* raceRow = new QHBoxLayout;
    raceRow->addStretch();
    raceRow->addWidget(raceButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(raceRow);

    gameModeList->setObjectName(QStringLiteral("gameModeList"));
    lapsBox->setObjectName(QStringLiteral("lapsBox"));
    trackList->setObjectName(QStringLiteral("trackList"));
    seedEdit->setObjectName(QStringLiteral("seedEdit"));
    newSeedButton->setObjectName(QStringLiteral("newSeedButton"));
    driverList->setObjectName(QStringLiteral("driverList"));
    carList->setObjectName(QStringLiteral("carList"));
    swatch->setObjectName(QStringLiteral("colorSwatch"));
    addButton->setObjectName(QStringLiteral("addButton"));
    clearButton->setObjectName(QStringLiteral("clearButton"));
    chosenList->setObjectName(QStringLiteral("chosenList"));
    keyWarning->setObjectName(QStringLiteral("keyConflictLabel"));
    controlsBox->setObjectName(QStringLiteral("driverControls"));
    raceButton->setObjectName(QStringLiteral("raceButton"));

    connect(swatch, &ColorSwatch::clicked, this, &CTabNewGame::chooseColour);
    connect(addButton, &QPushButton::clicked, this, &CTabNewGame::addDriver);
    connect(clearButton, &QPushButton::clicked, this, &CTabNewGame::clearDrivers);
    connect(raceButton, &QPushButton::clicked, this, &CTabNewGame::race);
    connect(trackList, &QComboBox::currentIndexChanged, this, &CTabNewGame::showTrackPicture);
    connect(seedEdit, &QLineEdit::textChanged, this, [this] {
        if (randomChosen()) {
            seedTimer->start();
        }
    });
    connect(seedTimer, &QTimer::timeout, this, &CTabNewGame::showTrackPicture);
    connect(newSeedButton, &QPushButton::clicked, this, &CTabNewGame::drawNewSeed);
    connect(padTimer, &QTimer::timeout, this, [this] { listPads(false); });

    fillDriverList();
}

std::vector<std::string> CTabNewGame::chosenNames() const {
    std::vector<std::string> names;
    for (const auto& player : chosen) {
        names.push_back(player->name);
    }
    return names;
}

std::string CTabNewGame::track() const {
    std::uint32_t value = 0;
    if (randomChosen() && seed(value)) {
        return Track::randomTrackName(value);
    }
    return trackList->currentText().toStdString();
}

bool CTabNewGame::randomChosen() const {
    return trackList->currentData(randomTrackRole).toBool();
}

bool CTabNewGame::seed(std::uint32_t& value) const {
    return Track::randomTrackSeed(Track::randomTrackPrefix + seedEdit->text().toStdString(), value);
}

void CTabNewGame::drawNewSeed() {
    std::random_device device;
    seedEdit->setText(QString::number(device()));
}

unsigned int CTabNewGame::laps() const {
    return static_cast<unsigned int>(lapsBox->value());
}

void CTabNewGame::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Spontaneous events come from the window system (a popup, the window being
    // minimised), not from switching tabs.
    if (!event->spontaneous()) {
        fillDriverList();
        // Keys, and who is a person, may have changed on the Drivers tab.
        listPads(true);
        padTimer->start();
    }
}

void CTabNewGame::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        fillDriverList();
        padTimer->stop();
    }
}

void CTabNewGame::fillDriverList() {
    std::vector<std::string> names;
    for (const auto& entry : Data::ProfileManager::getInstance().getResources()) {
        names.push_back(entry.first);
    }
    std::stable_sort(names.begin(), names.end(), shownBefore);
    // Refilling an unchanged list would close an open drop-down and lose the choice.
    std::vector<std::string> listed;
    for (int i = 0; i < driverList->count(); ++i) {
        listed.push_back(DriverNames::stored(*driverList, i));
    }
    if (listed == names) {
        return;
    }
    const std::string chosenName = DriverNames::stored(*driverList, driverList->currentIndex());
    driverList->clear();
    int keep = -1;
    for (const std::string& name : names) {
        if (name == chosenName) {
            keep = driverList->count();
        }
        DriverNames::addItem(*driverList, name);
    }
    driverList->setCurrentIndex(keep);
}

void CTabNewGame::chooseColour() {
    QColorDialog dialog(swatch->colour(), this);
    if (dialog.exec() == QDialog::Accepted) {
        swatch->setColour(dialog.selectedColor());
    }
}

void CTabNewGame::addDriver() {
    addChosen(DriverNames::stored(*driverList, driverList->currentIndex()), swatch->colour());
}

void CTabNewGame::choose(const std::string& name) {
    addChosen(name, nextFreeColour());
}

QColor CTabNewGame::nextFreeColour() const {
    for (const QColor& colour : carColours) {
        if (std::none_of(chosen.begin(), chosen.end(),
                         [&](const auto& player) { return colourOf(*player) == colour; })) {
            return colour;
        }
    }
    return carColours.front();
}

void CTabNewGame::addChosen(const std::string& name, const QColor& colour) {
    if (name.empty()) {
        return;
    }
    const bool alreadyChosen = std::any_of(
        chosen.begin(), chosen.end(), [&](const auto& player) { return player->name == name; });
    if (alreadyChosen) {
        return;
    }
    if (chosen.size() >= maximumRaceDrivers) {
        messages.message(this,
                         QStringLiteral("* At most %1 Players can race").arg(maximumRaceDrivers));
        return;
    }
    chosen.push_back(std::make_shared<PlayerDesc>(PlayerDesc{
        name, glm::vec3(static_cast<float>(colour.red()), static_cast<float>(colour.green()),
                        static_cast<float>(colour.blue()))}));

    // The list shows the names sorted; the race keeps the order of adding.
    const QString text = DriverNames::readable(name);
    int row = 0;
    while (row < chosenList->count() &&
           QString::compare(chosenList->item(row)->text(), text, Qt::CaseInsensitive) <= 0) {
        ++row;
    }
    chosenList->insertItem(row, new QListWidgetItem(colourIcon(colour), text));
    swatch->setColour(nextFreeColour());
    listPads(true);
    emit chosenDriversChanged();
}

void CTabNewGame::clearDrivers() {
    chosenList->clear();
    chosen.clear();
    wantedPads.clear();
    swatch->setColour(nextFreeColour());
    updateControls();
    emit chosenDriversChanged();
}

void CTabNewGame::updateKeyWarning() {
    std::vector<RaceKeys> drivers;
    for (const auto& player : chosen) {
        const auto profile = Data::ProfileManager::getInstance().find(player->name);
        if (profile && player->gamepad == Game::Kernel::noGamepad) {
            drivers.push_back({player->name, profile->controls});
        }
    }
    showKeyWarning(*keyWarning, keyConflictWarning(drivers, findKeyConflicts(drivers)));
}

void CTabNewGame::setPadList(DriverControls::PadList list) {
    padList = std::move(list);
    listPads(true);
}

void CTabNewGame::listPads(bool rebuild) {
    // Only people choose a control: without one chosen the window system is not asked.
    const bool people = std::any_of(chosen.begin(), chosen.end(),
                                    [](const auto& player) { return isPerson(player->name); });
    std::vector<Platform::GamepadInfo> now;
    if (people && padList) {
        now = padList();
    }
    if (now != pads || rebuild) {
        pads = std::move(now);
        updateControls();
    }
}

void CTabNewGame::updateControls() {
    while (controlsForm->rowCount() > 0) {
        controlsForm->removeRow(0);
    }
    PlayerList people;
    for (const auto& player : chosen) {
        player->gamepad = Game::Kernel::noGamepad;
        if (isPerson(player->name)) {
            people.push_back(player);
        }
    }
    std::stable_sort(people.begin(), people.end(),
                     [](const auto& a, const auto& b) { return shownBefore(a->name, b->name); });
    for (const auto& player : people) {
        auto* choice = new QComboBox(controlsBox);
        choice->setObjectName(QStringLiteral("controlChoice"));
        const QString name = DriverNames::readable(player->name);
        choice->setAccessibleName(name);
        choice->addItem(QStringLiteral("Keyboard"), Game::Kernel::noGamepad);
        const auto wanted =
            wantedPads.try_emplace(player->name, DriverControls::remembered(config, player->name));
        for (const Platform::GamepadInfo& pad : pads) {
            choice->addItem(DriverControls::label(pad), pad.slot);
            if (pad.slot == wanted.first->second) {
                choice->setCurrentIndex(choice->count() - 1);
                player->gamepad = pad.slot;
            }
        }
        connect(choice, &QComboBox::activated, this, [this, player, choice](int index) {
            player->gamepad = choice->itemData(index).toInt();
            wantedPads[player->name] = player->gamepad;
            DriverControls::remember(config, player->name, player->gamepad);
            updateKeyWarning();
        });
        controlsForm->addRow(name + QLatin1Char(':'), choice);
    }
    controlsBox->setVisible(!people.empty());
    updateKeyWarning();
}

void CTabNewGame::race() {
    if (chosen.empty()) {
        messages.message(this, QStringLiteral("* No Player selected"));
        return;
    }
    std::uint32_t value = 0;
    if (randomChosen() && !seed(value)) {
        messages.message(this, QStringLiteral("* ") + seedRange);
        return;
    }
    emit raceRequested(chosen, laps());
}

void CTabNewGame::showTrackPicture() {
    const bool random = randomChosen();
    seedEdit->setEnabled(random);
    newSeedButton->setEnabled(random);
    std::uint32_t value = 0;
    const bool badSeed = random && !seed(value);
    if (random) {
        seedTimer->stop();
        trackPicture = badSeed ? QPixmap() : QPixmap::fromImage(randomTrackPicture(value));
    } else {
        const QString file = trackList->currentData().toString();
        trackPicture = file.isEmpty() ? QPixmap() : QPixmap(file);
    }
    if (trackPicture.isNull()) {
        preview->clear();
        preview->setText(badSeed ? seedRange : QStringLiteral("No preview of this track"));
    } else {
        fitTrackPicture();
    }
}

void CTabNewGame::fitTrackPicture() {
    if (!trackPicture.isNull()) {
        preview->setPixmap(trackPicture.scaled(preview->contentsRect().size(), Qt::KeepAspectRatio,
                                               Qt::SmoothTransformation));
    }
}

void CTabNewGame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitTrackPicture();
}
