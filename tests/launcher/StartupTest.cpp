#include "BrumblyApp.h"
#include "BrumblyDlg.h"
#include "Data/ProfileManager.h"
#include "LauncherTestSupport.h"
#include "MyTabCtrl.h"
#include "System/File.h"
#include "TabDriver.h"
#include "TabHighScore.h"
#include "TabNewGame.h"
#include "TabOption.h"
#include "Tool/LogListener.h"
#include "Tool/LogManager.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QtTest>
#include <algorithm>
#include <unistd.h>
#include <vector>

namespace {

class RecordingListener : public Tool::LogListener {
public:
    void process(const Tool::LogCommand& command) override {
        if (command.kind == Tool::LC_MESSAGE) {
            messages.push_back(command.message);
        }
    }
    std::vector<Tool::Message> messages;
};

} // namespace

// Start-up of the launcher and its main window.
class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void startUpLogsThreeMessagesAndLoadsTheProfiles() {
        ProfilesFixture programDirectory;
        // The profiles live in "profiles" beside the program.
        QVERIFY(QDir(programDirectory.path()).mkdir(QStringLiteral("profiles")));
        for (const char* name : {"Ann", "Ben"}) {
            Data::Profile profile(name, (programDirectory.path() + "/profiles").toStdString(),
                                  ".profile");
            profile.save();
        }
        QTemporaryDir workingDirectory;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(workingDirectory.path()));

        RecordingListener listener;
        Tool::LogManager& log = Tool::LogManager::getInstance();
        log.attachLogListener(&listener, false);
        CBrumblyApp application;
        application.initInstance(programDirectory.path() + "/Brumbly");
        log.detachLogListener(&listener);

        QCOMPARE(QGuiApplication::applicationDisplayName(), "Brumbly");
        QCOMPARE(listener.messages.size(), std::size_t{3});
        const std::string directory = programDirectory.path().toStdString() + "/";
        for (const Tool::Message& message : listener.messages) {
            QCOMPARE(message.getAuthor(), "Brumbly");
            QCOMPARE(message.getType(), Tool::MT_MESSAGE);
        }
        const std::string& version = listener.messages[0].getTitle();
        QVERIFY(version.starts_with("v0.5 - "));
        QVERIFY(version.ends_with("\n"));
        QVERIFY(version.find("2010") != std::string::npos);
        QCOMPARE(listener.messages[0].getMessage(), "");
        QCOMPARE(listener.messages[1].getTitle(), "Filesystem initialised .. [OK]");
        QCOMPARE(listener.messages[1].getMessage(), directory);
        QCOMPARE(listener.messages[2].getTitle(), "ProfileManager initialised and loaded .. [OK]");
        QCOMPARE(listener.messages[2].getMessage(), "2 Profile(s) loaded");

        QVERIFY(System::File::getPWD().starts_with(directory));
        QVERIFY(Data::ProfileManager::getInstance().exists("Ben"));
        // The log file is written in the current directory, not the program's.
        QFile logFile(QStringLiteral("Brumbly.log"));
        QVERIFY(logFile.open(QIODevice::ReadOnly));
        QVERIFY(logFile.readAll().contains("2 Profile(s) loaded"));
        QCOMPARE(application.config().fileName(), "./config.ini");
        QDir::setCurrent(previous);
    }

    void theMainWindowShowsFourTabsAndWritesNothing() {
        ProfilesFixture profiles;
        profiles.addProfile("Amy");
        QTemporaryDir workingDirectory;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(workingDirectory.path()));

        RecordingMessageBoxes messages;
        const ConfigFile config(QStringLiteral("./config.ini"));
        CBrumblyDlg window(messages, config);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), "Brumbly");
        QVERIFY(!window.windowIcon().isNull());

        CMyTabCtrl* tabs = window.tabs();
        QCOMPARE(tabs->count(), 4);
        QCOMPARE(tabs->tabText(0), "New Game");
        QCOMPARE(tabs->tabText(1), "Drivers");
        QCOMPARE(tabs->tabText(2), "Options");
        QCOMPARE(tabs->tabText(3), "Highscore");
        QVERIFY(qobject_cast<CTabNewGame*>(tabs->widget(0)));
        QVERIFY(qobject_cast<CTabDriver*>(tabs->widget(1)));
        QVERIFY(qobject_cast<CTabOption*>(tabs->widget(2)));
        QVERIFY(qobject_cast<CTabHighScore*>(tabs->widget(3)));
        QCOMPARE(tabs->currentIndex(), 0);
        QVERIFY(tabs->widget(0)->isVisible());

        for (int index : {1, 2, 3, 0}) {
            QTabBar* bar = tabs->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
            QCOMPARE(tabs->currentIndex(), index);
            QVERIFY(tabs->widget(index)->isVisible());
            QVERIFY(tabs->widget(index)->hasFocus() ||
                    tabs->widget(index)->isAncestorOf(QApplication::focusWidget()));
        }
        // Without a high-score file the high-score tables are empty.
        for (const char* table : {"bestLapTable", "raceTimeTable"}) {
            QCOMPARE(childControl<QTableWidget>(*tabs->widget(3), table)->rowCount(), 0);
        }
        // Looking at every page writes no settings.
        QVERIFY(!QFile::exists(QStringLiteral("config.ini")));
        QVERIFY(messages.boxes.empty());

        // A profile created meanwhile is offered when the New Game page comes back.
        profiles.addProfile("Ned");
        tabs->setCurrentIndex(1);
        tabs->setCurrentIndex(0);
        QVERIFY(
            tabs->widget(0)->findChild<QComboBox*>(QStringLiteral("driverList"))->findText("Ned") >=
            0);
        QDir::setCurrent(previous);
    }

    // A fresh build has no "profiles" folder: start-up makes it with a keyboard driver and
    // three computer drivers, chooses three of them for the first race, and the player's
    // own first driver can be saved beside them. Drivers deleted are not given again.
    void aFirstStartIsOneClickFromARace() {
        QTemporaryDir programDirectory;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(programDirectory.path()));
        CBrumblyApp application;
        application.initInstance(programDirectory.path() + "/Brumbly");
        QVERIFY(QFileInfo(programDirectory.path() + "/profiles").isDir());
        Data::ProfileManager& profiles = Data::ProfileManager::getInstance();
        for (const char* name : {"Player", "Pebbles", "Dusty", "Blaze"}) {
            QVERIFY2(QFile::exists(programDirectory.path() + "/profiles/" + name + ".profile"),
                     name);
        }
        const Data::Control& player = profiles.find("Player")->controls;
        QVERIFY(!player.aiEnabled);
        QCOMPARE(player.bindings(), (std::array<std::uint32_t, 5>{38, 40, 37, 39, 8}));
        QVERIFY(profiles.find("Blaze")->controls.aiEnabled);
        QCOMPARE(profiles.find("Blaze")->controls.aiDifficulty, 2u);
        QCOMPARE(profiles.find("Pebbles")->nationality.getNationString(), "");

        RecordingMessageBoxes messages;
        CBrumblyDlg window(messages, application.config());
        application.prepare(window);
        const CTabNewGame::PlayerList chosen = window.tabs()->newGamePage()->players();
        QCOMPARE(chosen.size(), std::size_t{3});
        QCOMPARE(chosen[0]->name, "Player");
        QCOMPARE(chosen[1]->name, "Pebbles");
        QCOMPARE(chosen[2]->name, "Dusty");
        QVERIFY(chosen[0]->colour != chosen[1]->colour && chosen[1]->colour != chosen[2]->colour);
        CTabDriver* drivers = window.tabs()->driverPage();
        QTest::keyClicks(childControl<QLineEdit>(*drivers, "nameEdit"), QStringLiteral("Neo"));
        childControl<QComboBox>(*drivers, "nationalityList")->setCurrentIndex(7);
        for (const char* button : {"accelerateButton", "brakeButton", "steerLeftButton",
                                   "steerRightButton", "resetButton"}) {
            onNextModalDialog([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_K); });
            QTest::mouseClick(childControl<QPushButton>(*drivers, button), Qt::LeftButton);
        }
        QTest::mouseClick(childControl<QPushButton>(*drivers, "saveButton"), Qt::LeftButton);
        QVERIFY(messages.boxes.empty());
        QVERIFY(QFile::exists(programDirectory.path() + "/profiles/Neo.profile"));

        profiles.remove("Player", true);
        profiles.releaseAll();
        CBrumblyApp again;
        again.initInstance(programDirectory.path() + "/Brumbly");
        QVERIFY(!profiles.exists("Player"));
        QCOMPARE(profiles.getCount(), 4u);
        CBrumblyDlg secondWindow(messages, again.config());
        again.prepare(secondWindow);
        QVERIFY(secondWindow.tabs()->newGamePage()->players().empty());
        profiles.releaseAll();
        QDir::setCurrent(previous);
    }

    // A driver's save interrupted by a kill left its temporary file behind for ever.
    void startUpRemovesTheTemporaryFileOfAnInterruptedSave() {
        QTemporaryDir programDirectory;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(programDirectory.path()));
        QVERIFY(QDir(programDirectory.path()).mkdir(QStringLiteral("profiles")));
        // Named after this process, which has saved nothing yet, like a process of the
        // same number before it.
        const QString leftover =
            programDirectory.path() + QStringLiteral("/profiles/.save-%1-0.tmp").arg(getpid());
        QFile file(leftover);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        RecordingListener listener;
        Tool::LogManager::getInstance().attachLogListener(&listener, false);
        CBrumblyApp application;
        application.initInstance(programDirectory.path() + "/Brumbly");
        Tool::LogManager::getInstance().detachLogListener(&listener);
        QVERIFY(!QFile::exists(leftover));
        QVERIFY(std::any_of(listener.messages.begin(), listener.messages.end(), [](const auto& m) {
            return m.getTitle() == "Removed a leftover temporary file .. [OK]";
        }));
        QDir::setCurrent(previous);
    }

    // Escape and closing the window ask before a driver being typed is thrown away.
    void closingAsksBeforeUnsavedEditsAreLost() {
        ProfilesFixture profiles;
        RecordingMessageBoxes messages;
        const ConfigFile config(profiles.path() + "/config.ini");
        CBrumblyDlg window(messages, config);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.tabs()->setCurrentIndex(1);
        auto* name = childControl<QLineEdit>(*window.tabs()->driverPage(), "nameEdit");
        QTest::keyClicks(name, QStringLiteral("Half"));

        messages.answer = false;
        QTest::keyClick(name, Qt::Key_Escape);
        QVERIFY(window.isVisible());
        window.close();
        QVERIFY(window.isVisible());
        QCOMPARE(messages.boxes.size(), std::size_t{2});
        QCOMPARE(int(messages.boxes[0].icon), int(MessageBoxes::Icon::Question));
        QCOMPARE(name->text(), "Half");

        messages.answer = true;
        QTest::keyClick(name, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Rejected));

        // Without edits, Escape closes at once.
        window.show();
        QTest::mouseClick(childControl<QPushButton>(*window.tabs()->driverPage(), "clearButton"),
                          Qt::LeftButton);
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QCOMPARE(messages.boxes.size(), std::size_t{3});
    }

    // Long driver names must not widen the window (and squeeze its pages).
    void longNamesKeepTheWindowsWidth() {
        ProfilesFixture profiles;
        profiles.addProfile("Amy");
        RecordingMessageBoxes messages;
        const ConfigFile config(profiles.path() + "/config.ini");
        const int width = CBrumblyDlg(messages, config).sizeHint().width();
        profiles.addProfile(std::string(200, 'W'));
        QCOMPARE(CBrumblyDlg(messages, config).sizeHint().width(), width);
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
