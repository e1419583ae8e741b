#include "BrumblyDlg.h"
#include "ConfigFile.h"
#include "Data/ProfileManager.h"
#include "KeyConflicts.h"
#include "LauncherTestSupport.h"
#include "MyTabCtrl.h"
#include "TabDriver.h"
#include "TabNewGame.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// The warning on the New Game and Drivers tabs when two drivers chosen for one race
// share a key.
class KeyConflictTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ProfilesFixture> profiles;
    std::unique_ptr<QTemporaryDir> configFolder;
    std::unique_ptr<ConfigFile> config;
    std::unique_ptr<RecordingMessageBoxes> messages;
    std::unique_ptr<CBrumblyDlg> window;

    // A saved driver with the keys accelerate, brake, left, right, reset.
    void saveDriver(const std::string& name, std::array<unsigned int, 5> keys,
                    bool computer = false) {
        profiles->addProfile(name);
        const auto profile = Data::ProfileManager::getInstance().find(name);
        profile->controls.accelerate = keys[0];
        profile->controls.brake = keys[1];
        profile->controls.steerLeft = keys[2];
        profile->controls.steerRight = keys[3];
        profile->controls.reset = keys[4];
        profile->controls.aiEnabled = computer;
        profile->save();
    }
    CTabNewGame* newGame() const { return window->tabs()->newGamePage(); }
    CTabDriver* drivers() const { return window->tabs()->driverPage(); }
    // The warning the page shows; "" while it is hidden.
    static QString warning(const QWidget& page) {
        const auto* label = childControl<QLabel>(page, "keyConflictLabel");
        return label->isVisibleTo(&page) ? label->text() : QString();
    }
    void clearChosen() {
        window->tabs()->setCurrentWidget(newGame());
        QTest::mouseClick(childControl<QPushButton>(*newGame(), "clearButton"), Qt::LeftButton);
        window->tabs()->setCurrentWidget(drivers());
    }
    void edit(const char* name) {
        auto* list = childControl<QComboBox>(*drivers(), "profileList");
        const int index = list->findText(QString::fromUtf8(name));
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

private slots:
    void init() {
        profiles = std::make_unique<ProfilesFixture>();
        saveDriver("Ann", {38, 40, 37, 39, 'R'});
        saveDriver("Ben", {38, 'S', 'A', 'D', 'F'}); // shares Up with Ann
        saveDriver("Cid", {'W', 'X', 'Y', 'Z', 'V'});
        saveDriver("Bot", {38, 40, 37, 39, 'R'}, true); // a computer driver takes no keys
        saveDriver("Sam", {16, 'J', 'K', 'L', 'M'});    // Shift: either Shift key
        saveDriver("Lee", {'1', '2', '3', '4', 160});   // the left Shift key alone
        profiles->reload();
        configFolder = std::make_unique<QTemporaryDir>();
        config = std::make_unique<ConfigFile>(configFolder->filePath("config.ini"));
        messages = std::make_unique<RecordingMessageBoxes>();
        window = std::make_unique<CBrumblyDlg>(*messages, *config);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() {
        window.reset();
        profiles.reset();
    }

    void theNewGameTabWarnsOfSharedKeysOnly() {
        addRaceDriver(*newGame(), "Ann");
        addRaceDriver(*newGame(), "Cid");
        addRaceDriver(*newGame(), "Bot");
        QCOMPARE(warning(*newGame()), QString());
        // A race takes three drivers: Ben comes in for Cid.
        clearChosen();
        addRaceDriver(*newGame(), "Ann");
        addRaceDriver(*newGame(), "Bot");
        addRaceDriver(*newGame(), "Ben");
        QCOMPARE(warning(*newGame()),
                 "Ann and Ben share the key Up: one key press would drive both cars.");
        clearChosen();
        QCOMPARE(warning(*newGame()), QString());

        addRaceDriver(*newGame(), "Lee");
        addRaceDriver(*newGame(), "Sam");
        addRaceDriver(*newGame(), "Ann");
        QCOMPARE(warning(*newGame()),
                 "Lee and Sam share the key Left Shift: one key press would drive both cars.");
    }

    void theDriversTabWarnsWhileAChosenDriverSharesKeys() {
        addRaceDriver(*newGame(), "Ann");
        addRaceDriver(*newGame(), "Ben");
        window->tabs()->setCurrentWidget(drivers());
        edit("Cid");
        QCOMPARE(warning(*drivers()), QString()); // Cid is not chosen for the race
        edit("Ann");
        QCOMPARE(warning(*drivers()),
                 "Ann and Ben share the key Up: one key press would drive both cars.");

        // A new accelerator in the form ends the clash before it is saved.
        onNextModalDialog([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Q); });
        QTest::mouseClick(childControl<QPushButton>(*drivers(), "accelerateButton"),
                          Qt::LeftButton);
        QCOMPARE(warning(*drivers()), QString());

        // Ann's saved keys count for the others; a computer driver takes no keys.
        edit("Ben");
        QCOMPARE(warning(*drivers()),
                 "Ben and Ann share the key Up: one key press would drive both cars.");
        QTest::mouseClick(childControl<QWidget>(*drivers(), "aiBox"), Qt::LeftButton);
        QCOMPARE(warning(*drivers()), QString());
        edit("Ben");
        QVERIFY(!warning(*drivers()).isEmpty());
        clearChosen();
        QCOMPARE(warning(*drivers()), QString()); // no race chosen
    }

    void everyKeyOfAPairIsNamed() {
        Data::Control arrows;
        arrows.accelerate = 38;
        arrows.brake = 40;
        arrows.steerLeft = 37;
        arrows.steerRight = 39;
        arrows.reset = 'R';
        Data::Control keypad = arrows;
        keypad.reset = 'T';
        const std::vector<RaceKeys> race = {{"Ann", arrows}, {"Ben", keypad}, {"Cid", {}}};
        const std::vector<KeyConflict> conflicts = findKeyConflicts(race);
        QCOMPARE(conflicts.size(), std::size_t{1});
        QCOMPARE(conflicts[0].keys, (std::vector<unsigned int>{38, 40, 37, 39}));
        QCOMPARE(keyConflictWarning(race, conflicts),
                 "Ann and Ben share the keys Up, Down, Left and Right: one key press would "
                 "drive both cars.");
    }
};

QTEST_MAIN(KeyConflictTest)
#include "KeyConflictTest.moc"
