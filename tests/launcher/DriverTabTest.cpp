#include "Data/KeyTable.h"
#include "Data/ProfileManager.h"
#include "LauncherTestSupport.h"
#include "TabDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

const QString allRulesFailing = QStringLiteral("* You must enter a Name for the Driver\n"
                                               "You must enter a Nationality\n"
                                               "* You must set a Key to accelerate\n"
                                               "* You must set a Key to brake\n"
                                               "* You must set a Key to steer left\n"
                                               "* You must set a Key to steer right\n"
                                               "* You must set a Key to reset the car\n");

Data::Profile loadFile(const std::string& file) {
    Data::Profile profile;
    profile.loadFromFile(file);
    return profile;
}

} // namespace

// The Drivers tab driven through its widgets, with profiles in a scratch directory.
class DriverTabTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ProfilesFixture> profiles;
    std::unique_ptr<RecordingMessageBoxes> messages;
    std::unique_ptr<CTabDriver> tab;

    template <class T> T* control(const char* name) const { return childControl<T>(*tab, name); }
    void click(const char* button) {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }
    void bindKey(const char* button, Qt::Key key) {
        onNextModalDialog([key](QWidget* dialog) { QTest::keyClick(dialog, key); });
        click(button);
    }
    void bindAllKeys() {
        bindKey("accelerateButton", Qt::Key_Up);
        bindKey("brakeButton", Qt::Key_Down);
        bindKey("steerLeftButton", Qt::Key_Left);
        bindKey("steerRightButton", Qt::Key_Right);
        bindKey("resetButton", Qt::Key_R);
    }
    void fillNewDriver(const QString& name) {
        QTest::keyClicks(control<QLineEdit>("nameEdit"), name);
        control<QComboBox>("nationalityList")->setCurrentIndex(12);
        bindAllKeys();
    }
    void selectProfile(const QString& name) {
        auto* list = control<QComboBox>("profileList");
        const int index = list->findText(name);
        QVERIFY(index >= 0);
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    QString onlyMessage() const {
        if (messages->boxes.size() != 1) {
            return QStringLiteral("<%1 boxes>").arg(messages->boxes.size());
        }
        return messages->boxes.front().text;
    }
    QStringList listedProfiles() const {
        QStringList names;
        const auto* list = control<QComboBox>("profileList");
        for (int index = 0; index < list->count(); ++index) {
            names.append(list->itemText(index));
        }
        return names;
    }

private slots:
    void initTestCase() {
        qputenv("TZ", "UTC");
        tzset();
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Brumbly"));
    }
    void init() {
        profiles = std::make_unique<ProfilesFixture>();
        messages = std::make_unique<RecordingMessageBoxes>();
        tab = std::make_unique<CTabDriver>(*messages);
        tab->show();
    }
    void cleanup() {
        tab.reset();
        profiles.reset();
    }

    void savingAnEmptyFormListsEveryRuleInOrder() {
        click("saveButton");
        QCOMPARE(onlyMessage(), allRulesFailing);
        QCOMPARE(messages->boxes.front().caption, "Brumbly");
        QVERIFY(Data::ProfileManager::getInstance().getResources().empty());
    }

    void theFormStartsInNewDriverMode() {
        QVERIFY(control<QLineEdit>("nameEdit")->isEnabled());
        QVERIFY(!control<QPushButton>("deleteButton")->isEnabled());
        QCOMPARE(control<QComboBox>("nationalityList")->count(), 59);
        QCOMPARE(control<QComboBox>("nationalityList")->itemText(57), "USA");
        QCOMPARE(control<QComboBox>("nationalityList")->currentIndex(), -1);
        QVERIFY(control<QCheckBox>("maleBox")->isChecked());
        QVERIFY(!control<QCheckBox>("femaleBox")->isChecked());
        QVERIFY(control<QCheckBox>("humanBox")->isChecked());
        QVERIFY(control<QCheckBox>("aiBox")->isEnabled());
        QVERIFY(!control<QComboBox>("difficultyList")->isEnabled());
        QCOMPARE(control<QDateTimeEdit>("birthdateEdit")->date(), QDate(1970, 1, 1));
        QCOMPARE(control<QPushButton>("brakeButton")->text(), "Set Key..");
    }

    void aNewDriverIsSavedWithEverythingTheFormShows() {
        fillNewDriver(QStringLiteral("Bob"));
        control<QDateTimeEdit>("birthdateEdit")->setDate(QDate(1990, 3, 3));
        QTest::mouseClick(control<QCheckBox>("femaleBox"), Qt::LeftButton);
        QVERIFY(!control<QCheckBox>("maleBox")->isChecked());
        QCOMPARE(control<QPushButton>("accelerateButton")->text(),
                 QString::fromStdString(Data::KeyTable::name(38)));
        const std::time_t before = std::time(nullptr);
        click("saveButton");
        QVERIFY2(messages->boxes.empty(), qPrintable(onlyMessage()));

        const Data::Profile saved = loadFile(profiles->file("Bob"));
        QCOMPARE(saved.getName(), "Bob");
        QCOMPARE(saved.nationality.getNationString(), "Croatia");
        QCOMPARE(saved.birthday.day, 3);
        QCOMPARE(saved.birthday.month, 3);
        QCOMPARE(saved.birthday.year, 1990);
        QCOMPARE(saved.sex, false);
        QCOMPARE(saved.controls.accelerate, 38u);
        QCOMPARE(saved.controls.brake, 40u);
        QCOMPARE(saved.controls.steerLeft, 37u);
        QCOMPARE(saved.controls.steerRight, 39u);
        QCOMPARE(saved.controls.reset, 82u);
        QCOMPARE(saved.controls.aiEnabled, false);
        // The creation date is the time of saving, in broken-down convention.
        const std::int64_t created = saved.creationDate.getCTime();
        QVERIFY(created >= before && created <= std::time(nullptr));

        // Back in new-driver mode, with the new profile offered.
        QCOMPARE(control<QLineEdit>("nameEdit")->text(), QString());
        QCOMPARE(listedProfiles(), QStringList{"Bob"});
    }

    void aNewDriverNamedLikeAnExistingOneIsRefused() {
        profiles->addProfile("Ann");
        click("clearButton");
        fillNewDriver(QStringLiteral("Ann"));
        click("saveButton");
        QCOMPARE(onlyMessage(), "* The name of the Driver already exists\n");
        QCOMPARE(control<QLineEdit>("nameEdit")->text(), "Ann");
        QCOMPARE(control<QComboBox>("nationalityList")->currentText(), "Croatia");
    }

    // Another launcher on the same folder saved a driver after this one read the
    // folder: the same name, or one that looks the same, must not overwrite it.
    void aNameSavedMeanwhileByAnotherLauncherIsRefused() {
        const std::string theirs = profiles->file("Ann");
        const std::string lookAlike = profiles->file("ZO\xC3\x8B");
        Data::Profile(std::string("Ann"), profiles->path().toStdString(), ".profile").save();
        Data::Profile(std::string("ZO\xC3\x8B"), profiles->path().toStdString(), ".profile").save();
        const auto contents = [](const std::string& file) {
            std::ifstream in(file);
            return std::string(std::istreambuf_iterator<char>(in), {});
        };
        const std::string before = contents(theirs);
        QVERIFY(!Data::ProfileManager::getInstance().exists("Ann"));

        fillNewDriver(QStringLiteral("Ann"));
        click("saveButton");
        QCOMPARE(onlyMessage(), "* The name of the Driver already exists\n");
        QCOMPARE(contents(theirs), before);

        messages->boxes.clear();
        control<QLineEdit>("nameEdit")->setText(QString::fromUtf8("zo\xC3\xAB"));
        click("saveButton");
        QCOMPARE(onlyMessage(), "* The name of the Driver looks the same as an existing one\n");
        QVERIFY(!std::filesystem::exists(profiles->file("zo\xC3\xAB")));
        QVERIFY(std::filesystem::exists(lookAlike));
    }

    void namesThatCannotBeFileNamesAreRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("dot") << ".";
        QTest::newRow("dot dot") << "..";
        QTest::newRow("slash") << "../escape";
        QTest::newRow("backslash") << "a\\b";
        QTest::newRow("too long") << QString(201, 'x');
    }
    void namesThatCannotBeFileNamesAreRefused() {
        QFETCH(QString, name);
        fillNewDriver(QString());
        // Set, not typed: the field takes no more than the check allows.
        control<QLineEdit>("nameEdit")->setText(name);
        click("saveButton");
        QCOMPARE(onlyMessage(), "* The name of the Driver can't be used as a file name\n");
        QVERIFY(Data::ProfileManager::getInstance().getResources().empty());
        QCOMPARE(QDir(profiles->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void theFileNameRuleFollowsTheNameRules() {
        QTest::keyClicks(control<QLineEdit>("nameEdit"), QStringLiteral("a/b"));
        click("saveButton");
        QCOMPARE(onlyMessage(),
                 QStringLiteral("* The name of the Driver can't be used as a file name\n") +
                     allRulesFailing.mid(allRulesFailing.indexOf("You must enter a Nationality")));
    }

    void selectingAProfileShowsItInEditMode() {
        profiles->addProfile("Cid", 57);
        click("clearButton");
        selectProfile(QStringLiteral("Cid"));
        QCOMPARE(control<QLineEdit>("nameEdit")->text(), "Cid");
        QVERIFY(!control<QLineEdit>("nameEdit")->isEnabled());
        QVERIFY(control<QPushButton>("deleteButton")->isEnabled());
        QCOMPARE(control<QComboBox>("nationalityList")->currentText(), "USA");
        QCOMPARE(control<QDateTimeEdit>("birthdateEdit")->date(), QDate(1970, 1, 1));
        QCOMPARE(control<QPushButton>("resetButton")->text(),
                 QString::fromStdString(Data::KeyTable::name('R')));
        QCOMPARE(control<QPushButton>("steerLeftButton")->text(),
                 QString::fromStdString(Data::KeyTable::name(37)));
        QVERIFY(control<QPushButton>("resetButton")->isEnabled());
    }

    void savingAnExistingDriverKeepsItsCreationDate() {
        Data::Profile original("Dee", profiles->path().toStdString(), ".profile");
        original.nationality.set(4u);
        original.controls.accelerate = 'W';
        original.controls.brake = 'S';
        original.controls.steerLeft = 'A';
        original.controls.steerRight = 'D';
        original.controls.reset = 'Q';
        original.creationDate.set(std::int64_t{1000000000});
        original.save();
        profiles->reload();
        click("clearButton");

        selectProfile(QStringLiteral("Dee"));
        bool openAfterSpace = false;
        onNextModalDialog([&](QWidget* dialog) {
            QTest::keyClick(dialog, Qt::Key_Space); // refused: swallowed
            openAfterSpace = dialog->isVisible();
            QTest::keyClick(dialog, Qt::Key_X);
        });
        click("brakeButton");
        QVERIFY(openAfterSpace);
        QCOMPARE(control<QPushButton>("brakeButton")->text(), "X");
        click("saveButton");
        QVERIFY2(messages->boxes.empty(), qPrintable(onlyMessage()));

        const Data::Profile saved = loadFile(profiles->file("Dee"));
        QCOMPARE(saved.controls.brake, unsigned('X'));
        QCOMPARE(saved.controls.accelerate, unsigned('W'));
        QVERIFY(saved.creationDate == original.creationDate);
        QVERIFY(saved.nationality == original.nationality);
    }

    void aComputerDriverNeedsNoKeysUntilSwitchedToHuman() {
        Data::Profile robot("Robo", profiles->path().toStdString(), ".profile");
        robot.controls.aiEnabled = true;
        robot.nationality.set(1u);
        robot.save();
        profiles->reload();
        click("clearButton");

        selectProfile(QStringLiteral("Robo"));
        QVERIFY(control<QCheckBox>("aiBox")->isChecked());
        QVERIFY(!control<QCheckBox>("humanBox")->isChecked());
        QVERIFY(!control<QPushButton>("accelerateButton")->isEnabled());
        QCOMPARE(control<QPushButton>("accelerateButton")->text(), "Set Key..");

        QTest::mouseClick(control<QCheckBox>("humanBox"), Qt::LeftButton);
        QVERIFY(control<QCheckBox>("humanBox")->isChecked());
        QVERIFY(!control<QCheckBox>("aiBox")->isChecked());
        QVERIFY(control<QPushButton>("accelerateButton")->isEnabled());
        click("saveButton");
        QCOMPARE(onlyMessage(), allRulesFailing.mid(allRulesFailing.indexOf("* You must set")));
    }

    void aComputerDriverIsSavedWithItsDifficultyAndNoKeys() {
        QTest::keyClicks(control<QLineEdit>("nameEdit"), QStringLiteral("Hal"));
        control<QComboBox>("nationalityList")->setCurrentIndex(3);
        QTest::mouseClick(control<QCheckBox>("aiBox"), Qt::LeftButton);
        auto* difficulty = control<QComboBox>("difficultyList");
        QVERIFY(difficulty->isEnabled());
        QVERIFY(!control<QPushButton>("brakeButton")->isEnabled());
        difficulty->setCurrentIndex(2);
        emit difficulty->activated(2);
        click("saveButton");
        QVERIFY2(messages->boxes.empty(), qPrintable(onlyMessage()));

        const Data::Profile saved = loadFile(profiles->file("Hal"));
        QVERIFY(saved.controls.aiEnabled);
        QCOMPARE(saved.controls.aiDifficulty, 2u);
        QCOMPARE(saved.controls.accelerate, 0u);
        profiles->reload();
        selectProfile(QStringLiteral("Hal"));
        QVERIFY(control<QCheckBox>("aiBox")->isChecked());
        QCOMPARE(difficulty->currentText(), "Hard");
        QVERIFY(difficulty->isEnabled());
    }

    void bindingTheSameKeyTwiceIsAccepted() {
        QTest::keyClicks(control<QLineEdit>("nameEdit"), QStringLiteral("Twin"));
        control<QComboBox>("nationalityList")->setCurrentIndex(0);
        for (const char* button : {"accelerateButton", "brakeButton", "steerLeftButton",
                                   "steerRightButton", "resetButton"}) {
            bindKey(button, Qt::Key_K);
        }
        click("saveButton");
        QVERIFY2(messages->boxes.empty(), qPrintable(onlyMessage()));
        QCOMPARE(loadFile(profiles->file("Twin")).controls.steerRight, unsigned('K'));
    }

    void escapeInTheKeyDialogChangesNothing() {
        bindKey("steerRightButton", Qt::Key_Escape);
        QCOMPARE(control<QPushButton>("steerRightButton")->text(), "Set Key..");
        click("saveButton");
        QVERIFY(onlyMessage().contains("* You must set a Key to steer right\n"));
    }

    void deletingAfterConfirmationRemovesProfileAndFile() {
        const std::string file = profiles->addProfile("Eve");
        click("clearButton");
        selectProfile(QStringLiteral("Eve"));
        QString caption;
        QString text;
        onNextModalDialog([&](QWidget* dialog) {
            caption = dialog->windowTitle();
            text = dialog->findChild<QLabel*>(QStringLiteral("text"))->text();
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("yesButton")),
                              Qt::LeftButton);
        });
        click("deleteButton");
        QCOMPARE(caption, "Delete Profile ?");
        QCOMPARE(text, "Are you sure you want to delete the Profile ?");
        QVERIFY(!std::filesystem::exists(file));
        QVERIFY(!Data::ProfileManager::getInstance().exists("Eve"));
        QVERIFY(listedProfiles().isEmpty());
        QVERIFY(control<QLineEdit>("nameEdit")->isEnabled());
    }

    void answeringNoKeepsTheProfile() {
        const std::string file = profiles->addProfile("Fay");
        click("clearButton");
        selectProfile(QStringLiteral("Fay"));
        onNextModalDialog([](QWidget* dialog) {
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("noButton")),
                              Qt::LeftButton);
        });
        click("deleteButton");
        QVERIFY(std::filesystem::exists(file));
        QCOMPARE(listedProfiles(), QStringList{"Fay"});
        QCOMPARE(control<QLineEdit>("nameEdit")->text(), "Fay");
    }

    void aNewProfileThatCannotBeWrittenIsReportedAndForgotten() {
        // New profiles go to a directory that does not exist.
        Data::ProfileManager::getInstance().loadFromDirectory(
            (profiles->path() + "/missing").toStdString());
        fillNewDriver(QStringLiteral("Gus"));
        click("saveButton");
        QCOMPARE(messages->boxes.size(), std::size_t{1});
        QCOMPARE(messages->boxes.front().caption, "Error");
        QCOMPARE(int(messages->boxes.front().icon), int(MessageBoxes::Icon::Error));
        QVERIFY(messages->boxes.front().text.contains("Gus"));
        QVERIFY(!Data::ProfileManager::getInstance().exists("Gus"));
        // The form keeps what the user entered.
        QCOMPARE(control<QLineEdit>("nameEdit")->text(), "Gus");
        QVERIFY(control<QPushButton>("resetButton")->text() != "Set Key..");
    }

    void aFailedSaveOfAnExistingProfileKeepsFileAndMemory() {
        const std::string file = profiles->addProfile("Hal");
        const std::string before = [&] {
            std::ifstream in(file);
            return std::string(std::istreambuf_iterator<char>(in), {});
        }();
        click("clearButton");
        selectProfile(QStringLiteral("Hal"));
        bindKey("accelerateButton", Qt::Key_T);
        // The directory disappears behind the launcher's back.
        const std::filesystem::path moved = profiles->path().toStdString() + "-moved";
        std::filesystem::rename(profiles->path().toStdString(), moved);
        click("saveButton");
        std::filesystem::rename(moved, profiles->path().toStdString());

        QCOMPARE(messages->boxes.size(), std::size_t{1});
        QCOMPARE(messages->boxes.front().caption, "Error");
        const auto hal = Data::ProfileManager::getInstance().find("Hal");
        QVERIFY(hal);
        QCOMPARE(hal->controls.accelerate, 38u);
        std::ifstream in(file);
        QCOMPARE(std::string(std::istreambuf_iterator<char>(in), {}), before);
    }

    void aFailedDeleteIsReportedAndKeepsTheProfile() {
        profiles->addProfile("Ida");
        click("clearButton");
        selectProfile(QStringLiteral("Ida"));
        // A non-empty directory where the file should be cannot be removed.
        const std::filesystem::path file = profiles->file("Ida");
        std::filesystem::remove(file);
        std::filesystem::create_directories(file / "inside");
        onNextModalDialog([](QWidget* dialog) {
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("yesButton")),
                              Qt::LeftButton);
        });
        click("deleteButton");
        QCOMPARE(messages->boxes.size(), std::size_t{1});
        QCOMPARE(messages->boxes.front().caption, "Error");
        QVERIFY(messages->boxes.front().text.contains("Ida"));
        QVERIFY(Data::ProfileManager::getInstance().exists("Ida"));
        QCOMPARE(listedProfiles(), QStringList{"Ida"});
    }

    // Names that the list could not tell apart, or that the game takes for one car.
    void namesThatCannotBeToldApartAreRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("problem");
        QTest::newRow("blanks only") << "   "
                                     << "* The name of the Driver must not be blank\n";
        const QString ends = "* The name of the Driver must not begin or end with a blank\n";
        QTest::newRow("leading blank") << " Alice" << ends;
        QTest::newRow("trailing blank") << "Alice\t" << ends;
        const QString same = "* The name of the Driver looks the same as an existing one\n";
        QTest::newRow("letter case") << "alice" << same;
        QTest::newRow("letter case beyond ASCII") << QString::fromUtf8("ZO\xC3\x8B") << same;
        // "Zoë" with its accent as a combining character after the "e".
        QTest::newRow("accent written apart") << QString::fromUtf8("Zoe\xCC\x88") << same;
        QTest::newRow("accent apart, other case") << QString::fromUtf8("ZOE\xCC\x88") << same;
        const QString invisible = "* The name of the Driver must have a visible character\n";
        QTest::newRow("zero-width space") << QString(QChar(0x200B)) << invisible;
        QTest::newRow("format characters and a lone accent")
            << QString::fromUtf8("\xE2\x80\x8D\xCC\x81\xE2\x81\xA0") << invisible;
        QTest::newRow("Hangul filler") << QString(QChar(0x3164)) << invisible;
    }
    void namesThatCannotBeToldApartAreRefused() {
        QFETCH(QString, name);
        QFETCH(QString, problem);
        profiles->addProfile("Alice");
        profiles->addProfile("Zo\xEB");
        click("clearButton");
        fillNewDriver(QString());
        control<QLineEdit>("nameEdit")->setText(name);
        click("saveButton");
        QCOMPARE(onlyMessage(), problem);
        QCOMPARE(Data::ProfileManager::getInstance().getCount(), 2u);
    }

    void theNameFieldTakesAsMuchAsAFileNameMay() {
        auto* name = control<QLineEdit>("nameEdit");
        QTest::keyClicks(name, QString(250, 'x'));
        QCOMPARE(name->text().size(), 200);
        name->clear();
        // Two bytes each.
        for (int typed = 0; typed < 150; ++typed) {
            QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString(QChar(0xEB)),
                                Qt::NoModifier);
        }
        QCOMPARE(name->text(), QString(100, QChar(0xEB)));
    }

    // Older files and character references store names that are no UTF-8: such a
    // driver is shown readably and can be edited and deleted.
    void driversAreFoundByTheirStoredName() {
        const std::string file = profiles->addProfile("Zo\xEB", 3);
        click("clearButton");
        const QString shown = QString::fromUtf8("Zo\xC3\xAB");
        QCOMPARE(listedProfiles(), QStringList{shown});
        selectProfile(shown);
        QCOMPARE(control<QLineEdit>("nameEdit")->text(), shown);
        QCOMPARE(control<QComboBox>("nationalityList")->currentIndex(), 3);
        bindKey("resetButton", Qt::Key_Q);
        click("saveButton");
        QVERIFY2(messages->boxes.empty(), qPrintable(onlyMessage()));
        QCOMPARE(loadFile(file).controls.reset, unsigned('Q'));
        QCOMPARE(Data::ProfileManager::getInstance().getCount(), 1u);

        selectProfile(shown);
        onNextModalDialog([](QWidget* dialog) {
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("yesButton")),
                              Qt::LeftButton);
        });
        click("deleteButton");
        QVERIFY(!std::filesystem::exists(file));
        QCOMPARE(Data::ProfileManager::getInstance().getCount(), 0u);
    }

    // Every selection shows the driver's own date, also where the local midnight of
    // that date does not exist (a clock change at 0:00) or the date itself does not,
    // and saving never writes the date another driver showed before.
    void everySelectionShowsAndSavesTheDriversOwnBirthday() {
        const auto withBirthday = [&](const std::string& name, int day, int month, int year) {
            Data::Profile profile(name, profiles->path().toStdString(), ".profile");
            profile.birthday.day = day;
            profile.birthday.month = month;
            profile.birthday.year = year;
            profile.controls.accelerate = 'W';
            profile.controls.brake = 'S';
            profile.controls.steerLeft = 'A';
            profile.controls.steerRight = 'D';
            profile.controls.reset = 'Q';
            profile.save();
            return profile.getFilePath().string();
        };
        withBirthday("Ann", 3, 3, 1990);
        const std::string bea = withBirthday("Bea", 6, 10, 1996);
        const std::string cal = withBirthday("Cal", 31, 2, 1990);
        profiles->reload();
        qputenv("TZ", "America/Sao_Paulo");
        tzset();
        click("clearButton");

        auto* birthdate = control<QDateTimeEdit>("birthdateEdit");
        selectProfile(QStringLiteral("Ann"));
        QCOMPARE(birthdate->date(), QDate(1990, 3, 3));
        selectProfile(QStringLiteral("Bea"));
        QCOMPARE(birthdate->date(), QDate(1996, 10, 6));
        control<QComboBox>("nationalityList")->setCurrentIndex(5);
        click("saveButton");
        selectProfile(QStringLiteral("Ann"));
        selectProfile(QStringLiteral("Cal"));
        const QDate shownForCal = birthdate->date();
        click("saveButton");
        qputenv("TZ", "UTC");
        tzset();

        QVERIFY2(messages->boxes.empty(), qPrintable(onlyMessage()));
        QVERIFY(shownForCal != QDate(1990, 3, 3));
        const Data::Profile savedBea = loadFile(bea);
        QCOMPARE(savedBea.nationality.getNationIndex(), 5u);
        QCOMPARE(savedBea.birthday.day, 6);
        QCOMPARE(savedBea.birthday.month, 10);
        QCOMPARE(savedBea.birthday.year, 1996);
        QCOMPARE(savedBea.birthday.hours, 0);
        const Data::Profile savedCal = loadFile(cal);
        QCOMPARE(savedCal.birthday.day, 31);
        QCOMPARE(savedCal.birthday.month, 2);
    }

    void unsavedEditsAreTold() {
        profiles->addProfile("Ann");
        click("clearButton");
        QVERIFY(!tab->hasUnsavedEdits());
        QTest::keyClicks(control<QLineEdit>("nameEdit"), QStringLiteral("Ne"));
        QVERIFY(tab->hasUnsavedEdits());
        click("clearButton");
        QVERIFY(!tab->hasUnsavedEdits());
        selectProfile(QStringLiteral("Ann"));
        QVERIFY(!tab->hasUnsavedEdits());
        QTest::mouseClick(control<QCheckBox>("femaleBox"), Qt::LeftButton);
        QVERIFY(tab->hasUnsavedEdits());
        click("saveButton");
        QVERIFY(!tab->hasUnsavedEdits());
    }

    void profilesAreListedInByteOrder() {
        profiles->addProfile("bea");
        profiles->addProfile("Zoe");
        profiles->addProfile("Al");
        click("clearButton");
        QCOMPARE(listedProfiles(), (QStringList{"Al", "Zoe", "bea"}));
        QCOMPARE(control<QComboBox>("profileList")->currentIndex(), -1);
    }
};

QTEST_MAIN(DriverTabTest)
#include "DriverTabTest.moc"
