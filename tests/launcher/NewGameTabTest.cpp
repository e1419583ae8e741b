#include "ColorSwatch.h"
#include "ConfigFile.h"
#include "Data/ProfileManager.h"
#include "LauncherTestSupport.h"
#include "System/File.h"
#include "TabNewGame.h"

#include <QAbstractItemView>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <fstream>
#include <memory>

Q_DECLARE_METATYPE(CTabNewGame::PlayerList)

// The New Game tab: choosing drivers with colours and controls, the laps, and "Race !".
class NewGameTabTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ProfilesFixture> profiles;
    std::unique_ptr<RecordingMessageBoxes> messages;
    std::unique_ptr<QTemporaryDir> configFolder;
    std::unique_ptr<ConfigFile> config;
    std::unique_ptr<CTabNewGame> tab;
    // The pads the tab finds connected.
    std::vector<Platform::GamepadInfo> connectedPads;

    template <class T> T* control(const char* name) const { return childControl<T>(*tab, name); }
    void click(const char* button) {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }
    void chooseDriver(const QString& name) {
        auto* list = control<QComboBox>("driverList");
        const int index = list->findText(name);
        QVERIFY(index >= 0);
        list->setCurrentIndex(index);
    }
    void addDriver(const QString& name) {
        chooseDriver(name);
        click("addButton");
    }
    void pickColour(const QColor& colour) {
        // The chooser opens at the colour the next driver would get.
        const QColor current = control<ColorSwatch>("colorSwatch")->colour();
        QColor offered;
        onNextModalDialog([&](QWidget* dialog) {
            auto* chooser = qobject_cast<QColorDialog*>(dialog);
            QVERIFY(chooser);
            offered = chooser->currentColor();
            chooser->setCurrentColor(colour);
            chooser->accept();
        });
        QTest::mouseClick(control<QWidget>("colorSwatch"), Qt::LeftButton);
        QCOMPARE(offered, current);
    }
    QStringList chosenNames() const {
        QStringList names;
        const auto* list = control<QListWidget>("chosenList");
        for (int row = 0; row < list->count(); ++row) {
            names.append(list->item(row)->text());
        }
        return names;
    }
    // The control choices shown, by driver name.
    std::vector<QComboBox*> controlChoices() const {
        QList<QComboBox*> found = tab->findChildren<QComboBox*>(QStringLiteral("controlChoice"));
        std::vector<QComboBox*> choices(found.begin(), found.end());
        std::sort(choices.begin(), choices.end(), [](QComboBox* a, QComboBox* b) {
            return a->accessibleName() < b->accessibleName();
        });
        return choices;
    }
    // Picks an item as a person would, which the tab remembers.
    static void pick(QComboBox* choice, int index) {
        choice->setCurrentIndex(index);
        emit choice->activated(index);
    }
    CTabNewGame::PlayerList raceWith() {
        QSignalSpy raced(tab.get(), &CTabNewGame::raceRequested);
        click("raceButton");
        if (raced.size() != 1) {
            return {};
        }
        return raced.front().front().value<CTabNewGame::PlayerList>();
    }

private slots:
    void initTestCase() {
        qRegisterMetaType<CTabNewGame::PlayerList>();
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Brumbly"));
    }
    void init() {
        profiles = std::make_unique<ProfilesFixture>();
        profiles->addProfile("zed");
        profiles->addProfile("Amy");
        profiles->addProfile("Bob");
        messages = std::make_unique<RecordingMessageBoxes>();
        configFolder = std::make_unique<QTemporaryDir>();
        config = std::make_unique<ConfigFile>(configFolder->filePath("config.ini"));
        connectedPads.clear();
        tab = std::make_unique<CTabNewGame>(*messages, *config);
        tab->setPadList([this] { return connectedPads; });
        tab->show();
        QVERIFY(QTest::qWaitForWindowExposed(tab.get()));
    }
    void cleanup() {
        tab.reset();
        profiles.reset();
    }

    void lapsStartAtThreeAndStayBetweenOneAndAHundred() {
        QCOMPARE(control<QComboBox>("gameModeList")->currentText(), "Training");
        auto* laps = control<QSpinBox>("lapsBox");
        QCOMPARE(tab->laps(), 3u);
        for (int step = 0; step < 5; ++step) {
            QTest::keyClick(laps, Qt::Key_Down);
        }
        QCOMPARE(tab->laps(), 1u);
        QTest::keyClick(laps, Qt::Key_PageUp);
        for (int step = 0; step < 20; ++step) {
            QTest::keyClick(laps, Qt::Key_PageUp);
        }
        QCOMPARE(tab->laps(), 100u);
    }

    void theDriverListOffersEveryProfileSortedAndNoneChosen() {
        const auto* drivers = control<QComboBox>("driverList");
        QCOMPARE(drivers->count(), 3);
        QCOMPARE(drivers->itemText(0), "Amy");
        QCOMPARE(drivers->itemText(1), "Bob");
        QCOMPARE(drivers->itemText(2), "zed");
        QCOMPARE(drivers->currentIndex(), -1);
    }

    void raceWithoutDriversShowsANoticeAndStartsNothing() {
        QSignalSpy raced(tab.get(), &CTabNewGame::raceRequested);
        click("raceButton");
        QCOMPARE(raced.size(), 0);
        QCOMPARE(messages->boxes.size(), std::size_t{1});
        QCOMPARE(messages->boxes.front().text, "* No Player selected");
        QCOMPARE(messages->boxes.front().caption, "Brumbly");
    }

    void addWithNoProfilesDoesNothing() {
        profiles.reset();
        profiles = std::make_unique<ProfilesFixture>();
        tab->hide();
        tab->show();
        QCOMPARE(control<QComboBox>("driverList")->count(), 0);
        click("addButton");
        QVERIFY(tab->players().empty());
    }

    void addingTheSameDriverTwiceAddsItOnce() {
        addDriver(QStringLiteral("Bob"));
        addDriver(QStringLiteral("Bob"));
        QCOMPARE(tab->players().size(), std::size_t{1});
        QCOMPARE(chosenNames(), QStringList{"Bob"});
    }

    // The track has three start positions: a fourth driver is refused when added, not
    // when the race starts.
    void aFourthDriverIsRefusedWhenAdded() {
        profiles->addProfile("Cy");
        tab->hide();
        tab->show();
        for (const char* name : {"Amy", "Bob", "Cy"}) {
            addDriver(QString::fromLatin1(name));
        }
        QVERIFY(messages->boxes.empty());
        addDriver(QStringLiteral("zed"));
        QCOMPARE(messages->boxes.size(), std::size_t{1});
        QCOMPARE(messages->boxes.front().text, "* At most 3 Players can race");
        QCOMPARE(chosenNames(), (QStringList{"Amy", "Bob", "Cy"}));
        QCOMPARE(raceWith().size(), std::size_t{3});
    }

    void eachDriverTakesTheNextFreeColourUnlessOneIsChosen() {
        addDriver(QStringLiteral("zed"));
        addDriver(QStringLiteral("Amy"));
        pickColour(QColor(10, 20, 30));
        addDriver(QStringLiteral("Bob"));

        const CTabNewGame::PlayerList players = raceWith();
        QCOMPARE(players.size(), std::size_t{3});
        // The race keeps the order of adding, the list shows them sorted.
        QCOMPARE(players[0]->name, "zed");
        QCOMPARE(players[0]->colour, glm::vec3(0.0f, 0.0f, 255.0f));
        QCOMPARE(players[1]->name, "Amy");
        QCOMPARE(players[1]->colour, glm::vec3(255.0f, 0.0f, 0.0f));
        QCOMPARE(players[2]->colour, glm::vec3(10.0f, 20.0f, 30.0f));
        QCOMPARE(chosenNames(), (QStringList{"Amy", "Bob", "zed"}));
        // The list shows each driver's colour.
        const auto* list = control<QListWidget>("chosenList");
        QCOMPARE(list->item(0)->icon().pixmap(14, 14).toImage().pixelColor(7, 7),
                 QColor(255, 0, 0));
        // The next driver would get yellow; the chooser opens at it.
        QCOMPARE(control<ColorSwatch>("colorSwatch")->colour(), QColor(255, 215, 0));
        QVERIFY(messages->boxes.empty());
    }

    void raceHandsOverTheLaps() {
        addDriver(QStringLiteral("Amy"));
        control<QSpinBox>("lapsBox")->setValue(7);
        QSignalSpy raced(tab.get(), &CTabNewGame::raceRequested);
        click("raceButton");
        QCOMPARE(raced.size(), 1);
        QCOMPARE(raced.front().at(1).toUInt(), 7u);
    }

    void cancellingTheColourChooserKeepsTheColour() {
        onNextModalDialog([](QWidget* dialog) {
            auto* chooser = qobject_cast<QColorDialog*>(dialog);
            chooser->setCurrentColor(Qt::green);
            chooser->reject();
        });
        QTest::mouseClick(control<QWidget>("colorSwatch"), Qt::LeftButton);
        addDriver(QStringLiteral("Bob"));
        QCOMPARE(tab->players().front()->colour, glm::vec3(0.0f, 0.0f, 255.0f));
    }

    void clearEmptiesTheChosenDrivers() {
        addDriver(QStringLiteral("Amy"));
        addDriver(QStringLiteral("Bob"));
        click("clearButton");
        QVERIFY(tab->players().empty());
        QCOMPARE(control<QListWidget>("chosenList")->count(), 0);
        click("raceButton");
        QCOMPARE(messages->boxes.size(), std::size_t{1});
    }

    void theDriverListFollowsProfilesWhenThePageIsShownAgain() {
        addDriver(QStringLiteral("Amy"));
        profiles->addProfile("Cy");
        tab->hide();
        tab->show();
        QCOMPARE(control<QComboBox>("driverList")->count(), 4);
        QVERIFY(control<QComboBox>("driverList")->findText("Cy") >= 0);
        // Chosen drivers stay across page switches.
        QCOMPARE(chosenNames(), QStringList{"Amy"});
    }

    void theOneCarIsShownChosen() {
        QCOMPARE(control<QComboBox>("carList")->currentText(), "Jeep");
    }

    // The Track list holds every track file of the game's data, the Test Track first,
    // and shows the chosen track's picture.
    void theTrackListShowsEveryTrackWithItsPicture() {
        QTemporaryDir data;
        QVERIFY(QDir(data.path()).mkpath(QStringLiteral("data/tracks")));
        QVERIFY(QDir(data.path()).mkpath(QStringLiteral("data/images")));
        const auto write = [&](const QString& name, const std::string& text) {
            std::ofstream(data.filePath(QStringLiteral("data/tracks/") + name).toStdString())
                << text;
        };
        write(QStringLiteral("a.track"), "brumbly-track 1\nname Lakeside\n");
        write(QStringLiteral("b.track"),
              "brumbly-track 1\nname Test Track\npreview TrackPreview.png\n");
        QImage picture(40, 20, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QVERIFY(picture.save(data.filePath(QStringLiteral("data/images/TrackPreview.png"))));
        System::File::init(data.filePath(QStringLiteral("Brumbly")).toStdString());
        CTabNewGame withTracks(*messages, *config);
        System::File::init(std::string());

        auto* tracks = childControl<QComboBox>(withTracks, "trackList");
        auto* preview = childControl<QLabel>(withTracks, "trackPreview");
        QCOMPARE(tracks->count(), 3);
        QCOMPARE(tracks->itemText(0), "Test Track");
        QCOMPARE(tracks->itemText(1), "Lakeside");
        QCOMPARE(tracks->itemText(2), "Random track");
        QCOMPARE(withTracks.track(), "Test Track");
        withTracks.resize(600, 400);
        withTracks.show();
        QVERIFY(QTest::qWaitForWindowExposed(&withTracks));
        QVERIFY(!preview->pixmap().isNull());
        QVERIFY(!childControl<QLineEdit>(withTracks, "seedEdit")->isEnabled());
        tracks->setCurrentIndex(1);
        QCOMPARE(withTracks.track(), "Lakeside");
        QVERIFY(preview->pixmap().isNull());
        QCOMPARE(preview->text(), "No preview of this track");
        tracks->setCurrentIndex(2);
        QVERIFY(childControl<QLineEdit>(withTracks, "seedEdit")->isEnabled());
        QVERIFY(!preview->pixmap().isNull());
    }

    // The random track races under its seed's name with the seed's preview; the seed is
    // typed only for it, and one out of range stops the race with a notice.
    void theRandomTrackRacesTheSeedTyped() {
        auto* tracks = control<QComboBox>("trackList");
        auto* seed = control<QLineEdit>("seedEdit");
        auto* preview = control<QLabel>("trackPreview");
        // Without track files the Test Track is offered still.
        QCOMPARE(tab->track(), "Test Track");
        QVERIFY(!seed->isEnabled());
        tracks->setCurrentIndex(tracks->findText(QStringLiteral("Random track")));
        QVERIFY(seed->isEnabled());
        QVERIFY(!preview->pixmap().isNull());
        const QImage drawn = preview->pixmap().toImage();

        seed->clear();
        QTest::keyClicks(seed, QStringLiteral("00123x"));
        QCOMPARE(seed->text(), "00123");
        QCOMPARE(tab->track(), "random:123");
        QTRY_VERIFY(!preview->pixmap().isNull() && preview->pixmap().toImage() != drawn);
        const QImage seed123 = preview->pixmap().toImage();
        click("newSeedButton");
        QVERIFY(tab->track() != "random:123");
        QTRY_VERIFY(preview->pixmap().toImage() != seed123);

        addDriver(QStringLiteral("Amy"));
        seed->setText(QStringLiteral("4294967295"));
        QCOMPARE(raceWith().size(), std::size_t{1});
        QCOMPARE(tab->track(), "random:4294967295");
        seed->setText(QStringLiteral("4294967296"));
        QVERIFY(raceWith().empty());
        QCOMPARE(messages->boxes.back().text, "* The seed is a whole number from 0 to 4294967295");
        QTRY_VERIFY(preview->pixmap().isNull());
        QCOMPARE(preview->text(), "The seed is a whole number from 0 to 4294967295");
    }

    void anOpenDriverListKeepsItsNamesAndChoiceWhenThePageIsShownOrHidden() {
        auto* drivers = control<QComboBox>("driverList");
        chooseDriver(QStringLiteral("Bob"));
        drivers->showPopup();
        QTRY_VERIFY(drivers->view()->isVisible());
        QSignalSpy removed(drivers->model(), &QAbstractItemModel::rowsRemoved);
        QHideEvent hidden;
        QShowEvent shown;
        QCoreApplication::sendEvent(tab.get(), &hidden);
        QCoreApplication::sendEvent(tab.get(), &shown);
        QVERIFY(drivers->view()->isVisible());
        // The open list is not emptied and refilled.
        QCOMPARE(removed.size(), 0);
        QCOMPARE(drivers->view()->model()->rowCount(), 3);
        const QModelIndex first = drivers->view()->model()->index(0, 0);
        QCOMPARE(first.data().toString(), "Amy");
        QVERIFY(!drivers->view()->visualRect(first).isEmpty());
        QCOMPARE(drivers->currentText(), "Bob");
        drivers->hidePopup();
    }

    void eachPersonRacesWithTheKeyboardOrAConnectedPadRememberedPerDriver() {
        connectedPads = {{0, "Pad A"}, {2, "Pad C"}};
        Data::ProfileManager::getInstance().find("zed")->controls.aiEnabled = true;
        addDriver(QStringLiteral("Amy"));
        addDriver(QStringLiteral("Bob"));
        addDriver(QStringLiteral("zed"));
        std::vector<QComboBox*> choices = controlChoices();
        QCOMPARE(choices.size(), std::size_t{2}); // a computer driver chooses none
        QCOMPARE(choices[0]->accessibleName(), "Amy");
        QCOMPARE(choices[1]->accessibleName(), "Bob");
        QStringList offered;
        for (int i = 0; i < choices[0]->count(); ++i) {
            offered.append(choices[0]->itemText(i));
        }
        QCOMPARE(offered, (QStringList{"Keyboard", "Gamepad 1: Pad A", "Gamepad 3: Pad C"}));
        QCOMPARE(choices[0]->currentText(), "Keyboard");
        const auto* keyWarning = control<QLabel>("keyConflictLabel");
        QVERIFY(keyWarning->isVisible()); // Amy and Bob share the arrow keys

        // Amy takes pad 3: she races with it, her keys no longer clash, and the choice
        // is written for her.
        pick(choices[0], 2);
        QVERIFY(!keyWarning->isVisible());
        CTabNewGame::PlayerList players = raceWith();
        QCOMPARE(players.size(), std::size_t{3});
        QCOMPARE(players[0]->gamepad, 2);
        QCOMPARE(players[1]->gamepad, Game::Kernel::noGamepad);
        QCOMPARE(players[2]->gamepad, Game::Kernel::noGamepad);
        QCOMPARE(config->readText(QStringLiteral("Gamepads"), QStringLiteral("Amy")),
                 std::optional<QString>(QStringLiteral("3")));

        // Pad 3 pulled out: Amy is on the keyboard until it is back, found while the
        // tab shows.
        connectedPads = {{0, "Pad A"}};
        tab->hide();
        tab->show();
        QCOMPARE(controlChoices()[0]->currentText(), "Keyboard");
        QCOMPARE(raceWith()[0]->gamepad, Game::Kernel::noGamepad);
        connectedPads = {{0, "Pad A"}, {2, "Pad C"}};
        QTRY_COMPARE(controlChoices()[0]->currentText(), "Gamepad 3: Pad C");

        // Chosen again, or on another launcher with the same settings, she has her pad.
        click("clearButton");
        QVERIFY(control<QWidget>("driverControls")->isHidden());
        addDriver(QStringLiteral("Amy"));
        QCOMPARE(controlChoices()[0]->currentText(), "Gamepad 3: Pad C");
        CTabNewGame other(*messages, *config);
        other.setPadList([this] { return connectedPads; });
        other.choose("Amy");
        QCOMPARE(other.players().front()->gamepad, 2);
    }

    void aDriverIsRacedUnderItsStoredName() {
        profiles->addProfile("Zo\xEB");
        tab->hide();
        tab->show();
        addDriver(QString::fromUtf8("Zo\xC3\xAB"));
        QCOMPARE(tab->players().size(), std::size_t{1});
        QCOMPARE(tab->players().front()->name, "Zo\xEB");
        QCOMPARE(chosenNames(), QStringList{QString::fromUtf8("Zo\xC3\xAB")});
    }
};

QTEST_MAIN(NewGameTabTest)
#include "NewGameTabTest.moc"
