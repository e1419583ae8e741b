#include "BrumblyDlg.h"
#include "ConfigFile.h"
#include "Data/Profile.h"
#include "LauncherTestSupport.h"
#include "MyTabCtrl.h"
#include "TabNewGame.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// "Race !" on the New Game tab drives one race through the kernel's life cycle.
class RaceStartTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ProfilesFixture> profiles;
    std::unique_ptr<QTemporaryDir> configFolder;
    std::unique_ptr<ConfigFile> config;
    std::unique_ptr<RecordingMessageBoxes> messages;
    std::unique_ptr<RecordingKernel> kernel;
    std::unique_ptr<CBrumblyDlg> window;

    void race() {
        QTest::mouseClick(childControl<QPushButton>(*window->tabs()->newGamePage(), "raceButton"),
                          Qt::LeftButton);
    }

private slots:
    void init() {
        profiles = std::make_unique<ProfilesFixture>();
        profiles->addProfile("Ann");
        profiles->addProfile("Ben");
        configFolder = std::make_unique<QTemporaryDir>();
        config = std::make_unique<ConfigFile>(configFolder->filePath("config.ini"));
        messages = std::make_unique<RecordingMessageBoxes>();
        kernel = std::make_unique<RecordingKernel>();
        window = std::make_unique<CBrumblyDlg>(*messages, *config);
        window->setRaceKernel(*kernel);
        kernel->window = window.get();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        addRaceDriver(*window->tabs()->newGamePage(), "Ben");
        addRaceDriver(*window->tabs()->newGamePage(), "Ann");
    }
    void cleanup() {
        window.reset();
        profiles.reset();
    }

    void aRaceRunsTheWholeLifeCycleWithTheLauncherHidden() {
        race();
        const std::vector<std::string> expected = {"initialise 1024 x 768",
                                                   "createLevel 3 Test Track",
                                                   "createPlayer Ben 0,0,255",
                                                   "createPlayer Ann 255,0,0",
                                                   "run",
                                                   "releaseAllPlayers",
                                                   "releaseLevel",
                                                   "shutdown"};
        QCOMPARE(kernel->calls, expected);
        QVERIFY(!kernel->windowShownDuringRace);
        QVERIFY(window->isVisible());
        QVERIFY(messages->boxes.empty());
    }

    void aDriverOnAPadRacesWithIt() {
        CTabNewGame& page = *window->tabs()->newGamePage();
        page.setPadList([] { return std::vector<Platform::GamepadInfo>{{1, "Pad"}}; });
        for (QComboBox* choice : page.findChildren<QComboBox*>(QStringLiteral("controlChoice"))) {
            if (choice->accessibleName() == QStringLiteral("Ann")) {
                choice->setCurrentIndex(1);
                emit choice->activated(1);
            }
        }
        race();
        QCOMPARE(kernel->calls[2], "createPlayer Ben 0,0,255");
        QCOMPARE(kernel->calls[3], "createPlayer Ann 255,0,0 gamepad 1");
        QCOMPARE(config->readText(QStringLiteral("Gamepads"), QStringLiteral("Ann")),
                 std::optional<QString>(QStringLiteral("2")));
    }

    void theLauncherStaysOpenAfterARace() {
        // The race runs from the window's own event loop, as a click would start it;
        // the loop must go on after the race until the user closes the window.
        bool openAfterRace = false;
        QTimer::singleShot(0, window.get(), [this] { race(); });
        QTimer::singleShot(100, window.get(), [this, &openAfterRace] {
            openAfterRace = window->isVisible();
            window->reject();
        });
        QTimer::singleShot(10000, window.get(), [this] { window->reject(); });
        window->showUntilClosed();
        QCOMPARE(kernel->calls.back(), "shutdown");
        QVERIFY(openAfterRace);
        QVERIFY(!window->isVisible());
    }

    void eachFailureShowsItsBoxAndUnwinds() {
        const struct {
            const char* failing;
            const char* box;
            std::vector<std::string> calls;
        } cases[] = {
            {"initialise",
             "Couldn't initialise level (see log for details)",
             {"initialise 1024 x 768", "shutdown"}},
            {"createLevel",
             "Couldn't load level (see log for details)",
             {"initialise 1024 x 768", "createLevel 3 Test Track", "releaseLevel", "shutdown"}},
            {"createPlayer",
             "Couldn't create Players (see log for details)",
             {"initialise 1024 x 768", "createLevel 3 Test Track", "createPlayer Ben 0,0,255",
              "releaseAllPlayers", "releaseLevel", "shutdown"}},
        };
        for (const auto& failure : cases) {
            kernel->calls.clear();
            messages->boxes.clear();
            kernel->failing = failure.failing;
            race();
            QCOMPARE(kernel->calls, failure.calls);
            QCOMPARE(messages->boxes.size(), std::size_t{1});
            QCOMPARE(messages->boxes.front().caption, "Error");
            QCOMPARE(messages->boxes.front().text, failure.box);
            QVERIFY(window->isVisible());
        }
    }

    void aDriverDeletedAfterBeingChosenCannotRace() {
        QFile::remove(QString::fromStdString(profiles->file("Ann")));
        profiles->reload();
        race();
        QCOMPARE(kernel->calls.back(), "shutdown");
        QCOMPARE(messages->boxes.front().text, "Couldn't create Players (see log for details)");
    }
};

QTEST_MAIN(RaceStartTest)
#include "RaceStartTest.moc"
