#include "../Data/RecordingLog.h"
#include "ConfigFile.h"
#include "DisplayModes.h"
#include "LauncherTestSupport.h"
#include "RaceOptions.h"
#include "TabOption.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// The Options tab against a real config.ini in a scratch current directory, and the
// race start's reader of the same file.
class OptionsTabTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> scratch;
    QString previousDirectory;
    const ConfigFile config{QStringLiteral("./config.ini")};

    void writeFile(const QByteArray& contents) {
        QFile file(QStringLiteral("config.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    int stored(const QString& section, const QString& key) const {
        bool isNumber = false;
        const int value = config.readText(section, key).value_or(QString()).toInt(&isNumber);
        return isNumber ? value : -12345;
    }
    // The settings as the tab shows them, in the record the race gets.
    static Data::Options shown(const CTabOption& tab) {
        Data::Options options;
        const QStringList size =
            control<QComboBox>(tab, "resolutionList")->currentText().split(" x ");
        options.xResolution = size.value(0).toUInt();
        options.yResolution = size.value(1).toUInt();
        options.colorDepth = 16 + 8 * control<QComboBox>(tab, "colorDepthList")->currentIndex();
        options.fullscreen = control<QCheckBox>(tab, "fullscreenBox")->isChecked();
        options.detail = control<QComboBox>(tab, "detailList")->currentIndex();
        options.splitScreen = control<QCheckBox>(tab, "splitScreenBox")->isChecked();
        options.soundVolume = control<QSlider>(tab, "soundSlider")->value();
        options.musicVolume = control<QSlider>(tab, "musicSlider")->value();
        return options;
    }
    template <class T> static T* control(const CTabOption& tab, const char* name) {
        return childControl<T>(tab, name);
    }
    static void chooseEntry(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

private slots:
    void init() {
        scratch = std::make_unique<QTemporaryDir>();
        previousDirectory = QDir::currentPath();
        QVERIFY(QDir::setCurrent(scratch->path()));
    }
    void cleanup() {
        QDir::setCurrent(previousDirectory);
        scratch.reset();
    }

    void withoutFileTheTabShowsItsDefaultsAndWritesNothing() {
        CTabOption tab(config);
        QCOMPARE(control<QComboBox>(tab, "resolutionList")->currentText(), "1024 x 768");
        QCOMPARE(control<QComboBox>(tab, "colorDepthList")->currentText(), "Truecolor (32 Bit)");
        // What the race will do: it starts in a window.
        QVERIFY(!control<QCheckBox>(tab, "fullscreenBox")->isChecked());
        QCOMPARE(readRaceOptions(config, {}).fullscreen, false);
        QCOMPARE(control<QSlider>(tab, "soundSlider")->value(), 75);
        QCOMPARE(control<QSlider>(tab, "musicSlider")->value(), 50);
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        QVERIFY(!QFile::exists(QStringLiteral("config.ini")));
    }

    void listsOfferTheFixedEntriesInOrder() {
        CTabOption tab(config);
        const auto* resolutions = control<QComboBox>(tab, "resolutionList");
        const QStringList expected = {"640 x 480",   "800 x 600",   "1024 x 768",
                                      "1280 x 720",  "1280 x 768",  "1440 x 900",
                                      "1680 x 1050", "1600 x 1200", "1920 x 1200"};
        QCOMPARE(resolutions->count(), expected.size());
        for (int index = 0; index < expected.size(); ++index) {
            QCOMPARE(resolutions->itemText(index), expected[index]);
        }
        const auto* depths = control<QComboBox>(tab, "colorDepthList");
        QCOMPARE(depths->count(), 3);
        QCOMPARE(depths->itemText(0), "Highcolor (16 Bit)");
        QCOMPARE(depths->itemText(1), "Truecolor (24 Bit)");
        QCOMPARE(depths->itemText(2), "Truecolor (32 Bit)");
    }

    void fileValuesSelectTheMatchingEntries() {
        writeFile("[VideoOptions]\nXResolution=1280\nYResolution=768\nColordepth=16\n"
                  "Fullscreen=0\n[AudioOptions]\nSoundVolume=10\nMusicVolume=90\n");
        CTabOption tab(config);
        QCOMPARE(control<QComboBox>(tab, "resolutionList")->currentIndex(), 4);
        QCOMPARE(control<QComboBox>(tab, "colorDepthList")->currentIndex(), 0);
        QVERIFY(!control<QCheckBox>(tab, "fullscreenBox")->isChecked());
        QCOMPARE(control<QSlider>(tab, "soundSlider")->value(), 10);
        QCOMPARE(control<QSlider>(tab, "musicSlider")->value(), 90);
    }

    // Values that the tab cannot show are not used by the race either: each falls back
    // to its default with a warning naming it, and stays in the file.
    void valuesTheTabCannotShowAreWarnedAboutAndNotUsed() {
        writeFile("[VideoOptions]\nXResolution=800\nYResolution=601\nColordepth=8\n"
                  "Fullscreen=yes\nDetail=ultra\n[AudioOptions]\nSoundVolume=150\n"
                  "MusicVolume=-3\n");
        RecordingLog log;
        CTabOption tab(config);
        QCOMPARE(shown(tab), Data::Options());
        QCOMPARE(log.messages.size(), std::size_t{6});
        const QStringList expected = {
            "[AudioOptions] SoundVolume=150", "[AudioOptions] MusicVolume=-3",
            "[VideoOptions] Colordepth=8",    "[VideoOptions] Detail=ultra",
            "[VideoOptions] Fullscreen=yes",  "[VideoOptions] XResolution=800, YResolution=601"};
        for (std::size_t index = 0; index < log.messages.size(); ++index) {
            QCOMPARE(log.messages[index].getType(), Tool::MT_WARNING);
            QCOMPARE(QString::fromStdString(log.messages[index].getMessage()),
                     expected[static_cast<qsizetype>(index)] + " in ./config.ini");
        }
        QVERIFY(readRaceOptions(config, {}) == Data::Options());
        QCOMPARE(log.messages.size(), std::size_t{12});
        QCOMPARE(stored("VideoOptions", "YResolution"), 601);
        QCOMPARE(stored("AudioOptions", "SoundVolume"), 150);

        // Half a resolution would be a size that nobody chose: both fall back.
        writeFile("[VideoOptions]\nXResolution=-1\nYResolution=600\n");
        QCOMPARE(readRaceOptions(config, {}).getResolutionString(), "1024 x 768");
    }

    // A resolution larger than every mode of the display is refused, in full screen and
    // in a window; a full-screen race takes only sizes the display has, so that it opens
    // at the size chosen.
    void theResolutionMustSuitTheDisplay() {
        DisplayModes display;
        display.modes = {{800, 600}, {1024, 768}, {1280, 1024}};
        display.desktopWidth = 1280;
        display.desktopHeight = 1024;
        // A file of its own for each case: the settings reader keeps what it read while a
        // file's size and time stamp (to the millisecond) stay the same.
        int files = 0;
        const auto race = [&](const QByteArray& settings) {
            const QString name = QStringLiteral("case%1.ini").arg(++files);
            QFile file(name);
            if (!file.open(QIODevice::WriteOnly)) {
                return QStringLiteral("unwritable");
            }
            file.write("[VideoOptions]\n" + settings);
            file.close();
            return QString::fromStdString(
                readRaceOptions(ConfigFile(name), display).getResolutionString());
        };
        RecordingLog log;
        QCOMPARE(race("XResolution=16384\nYResolution=16384\nFullscreen=1\n"), "1024 x 768");
        QCOMPARE(race("XResolution=16384\nYResolution=16384\nFullscreen=0\n"), "1024 x 768");
        QCOMPARE(race("XResolution=1920\nYResolution=1200\nFullscreen=1\n"), "1024 x 768");
        QCOMPARE(log.messages.size(), std::size_t{3});
        QCOMPARE(race("XResolution=1280\nYResolution=1024\nFullscreen=1\n"), "1280 x 1024");
        QCOMPARE(race("XResolution=640\nYResolution=480\nFullscreen=0\n"), "640 x 480");
        QCOMPARE(log.messages.size(), std::size_t{3});
        // A display without 1024 x 768 falls back to its smallest mode.
        display.modes = {{1280, 1024}, {1920, 1080}};
        QCOMPARE(race("XResolution=640\nYResolution=480\nFullscreen=1\n"), "1280 x 1024");
        const ConfigFile last(QStringLiteral("case%1.ini").arg(files));
        QCOMPARE(shown(CTabOption(last, nullptr, display)), readRaceOptions(last, display));
    }

    void everyUserChangeIsWrittenAtOnce() {
        CTabOption tab(config);
        chooseEntry(control<QComboBox>(tab, "resolutionList"), 6);
        QCOMPARE(stored("VideoOptions", "XResolution"), 1680);
        QCOMPARE(stored("VideoOptions", "YResolution"), 1050);

        chooseEntry(control<QComboBox>(tab, "colorDepthList"), 1);
        QCOMPARE(stored("VideoOptions", "Colordepth"), 24);

        // The box starts unticked, as the race would start without a value.
        auto* fullscreen = control<QCheckBox>(tab, "fullscreenBox");
        QTest::mouseClick(fullscreen, Qt::LeftButton);
        QCOMPARE(stored("VideoOptions", "Fullscreen"), 1);
        QTest::mouseClick(fullscreen, Qt::LeftButton);
        QCOMPARE(stored("VideoOptions", "Fullscreen"), 0);

        auto* sound = control<QSlider>(tab, "soundSlider");
        QTest::keyClick(sound, Qt::Key_End);
        QCOMPARE(stored("AudioOptions", "SoundVolume"), 100);
        auto* music = control<QSlider>(tab, "musicSlider");
        QTest::keyClick(music, Qt::Key_Left);
        QCOMPARE(stored("AudioOptions", "MusicVolume"), 49);
        // Nothing else was touched by the slider moves.
        QCOMPARE(stored("AudioOptions", "SoundVolume"), 100);
    }

    // "Default" is what a race does without a settings file: a window.
    void defaultResetsTheControlsAndWritesAllEightKeys() {
        writeFile("[VideoOptions]\nXResolution=640\nYResolution=480\nColordepth=16\n"
                  "Fullscreen=0\nDetail=0\nSplitScreen=0\n[AudioOptions]\nSoundVolume=3\n"
                  "MusicVolume=4\n");
        CTabOption tab(config);
        QTest::mouseClick(control<QPushButton>(tab, "defaultButton"), Qt::LeftButton);
        QCOMPARE(control<QComboBox>(tab, "resolutionList")->currentIndex(), 2);
        QCOMPARE(control<QComboBox>(tab, "colorDepthList")->currentIndex(), 2);
        QCOMPARE(control<QComboBox>(tab, "detailList")->currentText(), "Auto");
        QCOMPARE(stored("VideoOptions", "Detail"), 3);
        QVERIFY(!control<QCheckBox>(tab, "fullscreenBox")->isChecked());
        QVERIFY(control<QCheckBox>(tab, "splitScreenBox")->isChecked());
        QCOMPARE(stored("VideoOptions", "SplitScreen"), 1);
        QCOMPARE(control<QSlider>(tab, "soundSlider")->value(), 75);
        QCOMPARE(control<QSlider>(tab, "musicSlider")->value(), 50);

        QCOMPARE(stored("VideoOptions", "XResolution"), 1024);
        QCOMPARE(stored("VideoOptions", "YResolution"), 768);
        QCOMPARE(stored("VideoOptions", "Colordepth"), 32);
        QCOMPARE(stored("VideoOptions", "Fullscreen"), 0);
        QCOMPARE(stored("AudioOptions", "SoundVolume"), 75);
        QCOMPARE(stored("AudioOptions", "MusicVolume"), 50);
        const Data::Options afterDefault = readRaceOptions(config, {});
        QFile::remove(QStringLiteral("config.ini"));
        QCOMPARE(afterDefault, readRaceOptions(config, {}));
    }

    void defaultCreatesTheFileWhenThereIsNone() {
        CTabOption tab(config);
        QTest::mouseClick(control<QPushButton>(tab, "defaultButton"), Qt::LeftButton);
        QFile file(QStringLiteral("config.ini"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray contents = file.readAll();
        for (const char* line : {"[VideoOptions]", "XResolution=1024", "YResolution=768",
                                 "Colordepth=32", "Fullscreen=0", "Detail=3", "SplitScreen=1",
                                 "[AudioOptions]", "SoundVolume=75", "MusicVolume=50"}) {
            QVERIFY2(contents.contains(line), line);
        }
    }

    void raceReaderDefaultsToAWindowAt1024x768() {
        const Data::Options options = readRaceOptions(config, {});
        QCOMPARE(options.xResolution, 1024u);
        QCOMPARE(options.yResolution, 768u);
        QCOMPARE(options.colorDepth, 32);
        QCOMPARE(options.fullscreen, false);
        QCOMPARE(options.soundVolume, 75);
        QCOMPARE(options.musicVolume, 50);
        QCOMPARE(options.fsaaSamples, Data::Options().fsaaSamples);
        // A new player's detail is left to the game.
        QCOMPARE(options.detail, static_cast<std::int32_t>(Data::DETAIL_AUTO));
    }

    void raceReaderTakesEveryKeyFromTheFile() {
        writeFile("[VideoOptions]\nXResolution=800\nYResolution=600\nColordepth=24\n"
                  "Fullscreen=2\n[AudioOptions]\nSoundVolume=0\nMusicVolume=100\n");
        const Data::Options options = readRaceOptions(config, {});
        QCOMPARE(options.xResolution, 800u);
        QCOMPARE(options.yResolution, 600u);
        QCOMPARE(options.colorDepth, 24);
        QCOMPARE(options.fullscreen, true);
        QCOMPARE(options.soundVolume, 0);
        QCOMPARE(options.musicVolume, 100);
        writeFile("[VideoOptions]\nDetail=0\n");
        QCOMPARE(readRaceOptions(config, {}).detail, static_cast<std::int32_t>(Data::DETAIL_LOW));
    }

    // On unless the file says 0: older files keep a view per person.
    void splitScreenIsOnByDefaultAndTheBoxWritesWhatTheRaceReads() {
        QVERIFY(readRaceOptions(config, {}).splitScreen);
        QVERIFY(control<QCheckBox>(CTabOption(config), "splitScreenBox")->isChecked());
        QVERIFY2(!QFile::exists(QStringLiteral("config.ini")), "showing writes nothing");
        writeFile("[VideoOptions]\nSplitScreen=0\nDetail=1\n");
        CTabOption tab(config);
        auto* box = control<QCheckBox>(tab, "splitScreenBox");
        QCOMPARE(box->text(), "Split screen");
        QVERIFY(!box->isChecked());
        QVERIFY(!readRaceOptions(config, {}).splitScreen);
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(stored("VideoOptions", "SplitScreen"), 1);
        QVERIFY(readRaceOptions(config, {}).splitScreen);
        QCOMPARE(stored("VideoOptions", "Detail"), 1);
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(stored("VideoOptions", "SplitScreen"), 0);
        QCOMPARE(shown(tab), readRaceOptions(config, {}));
        writeFile("[VideoOptions]\nSplitScreen=no\n");
        QVERIFY2(readRaceOptions(config, {}).splitScreen, "a value that is no number: on");
    }

    void detailOffersThreeLevelsAndAutoAndWritesTheChoice() {
        QCOMPARE(control<QComboBox>(CTabOption(config), "detailList")->currentText(), "Auto");
        QVERIFY(!QFile::exists(QStringLiteral("config.ini")));
        writeFile("[VideoOptions]\nDetail=1\n");
        QCOMPARE(control<QComboBox>(CTabOption(config), "detailList")->currentText(), "Medium");
        writeFile("[VideoOptions]\nDetail=12\n"); // no level: the default
        CTabOption tab(config);
        auto* levels = control<QComboBox>(tab, "detailList");
        QCOMPARE(levels->count(), 4);
        QCOMPARE(levels->itemText(0), "Low");
        QCOMPARE(levels->itemText(1), "Medium");
        QCOMPARE(levels->itemText(2), "High");
        QCOMPARE(levels->itemText(3), "Auto");
        QCOMPARE(levels->currentText(), "Auto");
        chooseEntry(levels, 0);
        QCOMPARE(stored("VideoOptions", "Detail"), 0);
        QCOMPARE(readRaceOptions(config, {}).detail, static_cast<std::int32_t>(Data::DETAIL_LOW));
    }

    // A race at Auto stores the level it drew at, and the tab names it; a race at a
    // chosen level leaves the stored one alone.
    void autoShowsTheLevelItDrewTheLastRaceAt() {
        Data::Options options;
        rememberAutoDetail(config, options, Data::DETAIL_MEDIUM);
        QCOMPARE(stored("VideoOptions", "AutoDetail"), 1);
        QCOMPARE(control<QComboBox>(CTabOption(config), "detailList")->itemText(3),
                 "Auto (Medium last race)");
        options.detail = Data::DETAIL_HIGH;
        rememberAutoDetail(config, options, Data::DETAIL_HIGH);
        QCOMPARE(stored("VideoOptions", "AutoDetail"), 1);
        // No level Auto draws at. Not the stored file's size: QSettings would take a
        // same-sized file rewritten within one clock tick for the one it has read.
        writeFile("[VideoOptions]\nAutoDetail=33\n");
        QCOMPARE(control<QComboBox>(CTabOption(config), "detailList")->itemText(3), "Auto");
    }

    void displayModesJoinTheListAndAWindowGetsNoneLargerThanTheDesktop() {
        DisplayModes display;
        display.modes = {{1024, 768}, {2560, 1440}, {1366, 768}, {1920, 1080}, {1366, 768}};
        display.desktopWidth = 1920;
        display.desktopHeight = 1080;
        const std::vector<Data::Options> fixed = {{640, 480}, {1024, 768}, {1600, 1200}};
        const auto sizes = [](const std::vector<Data::Options>& list) {
            QStringList texts;
            for (const Data::Options& entry : list) {
                texts << QString::fromStdString(entry.getResolutionString());
            }
            return texts;
        };
        // Full screen switches the display to the size chosen: only its own sizes.
        QCOMPARE(sizes(offeredResolutions(fixed, display, true)),
                 QStringList({"1024 x 768", "1366 x 768", "1920 x 1080", "2560 x 1440"}));
        QCOMPARE(sizes(offeredResolutions(fixed, display, false)),
                 QStringList({"640 x 480", "1024 x 768", "1366 x 768", "1920 x 1080"}));
        // Without a display the fixed list stays.
        QCOMPARE(sizes(offeredResolutions(fixed, DisplayModes{}, false)), sizes(fixed));

        writeFile("[VideoOptions]\nXResolution=1920\nYResolution=1080\nFullscreen=0\n");
        CTabOption tab(config, nullptr, display);
        auto* list = control<QComboBox>(tab, "resolutionList");
        QCOMPARE(list->currentText(), "1920 x 1080");
        QCOMPARE(list->findText("1920 x 1200"), -1);
        auto* fullscreen = control<QCheckBox>(tab, "fullscreenBox");
        QTest::mouseClick(fullscreen, Qt::LeftButton);
        QVERIFY(list->findText("2560 x 1440") >= 0);
        QCOMPARE(list->findText("1920 x 1200"), -1);
        QCOMPARE(list->currentText(), "1920 x 1080"); // the choice stays
        chooseEntry(list, list->findText("2560 x 1440"));
        QCOMPARE(stored("VideoOptions", "XResolution"), 2560);
        // Back to a window: the chosen size is gone, and the one shown is written.
        QTest::mouseClick(fullscreen, Qt::LeftButton);
        QCOMPARE(stored("VideoOptions", "Fullscreen"), 0);
        QCOMPARE(list->findText("2560 x 1440"), -1);
        QCOMPARE(list->currentText(), "1024 x 768");
        QCOMPARE(stored("VideoOptions", "XResolution"), 1024);
        QCOMPARE(stored("VideoOptions", "YResolution"), 768);
    }

    // A byte-order mark or lines that are no settings once made every write report
    // a failure although the value was written.
    void writesToAnUntidyFileReportNoFalseErrors() {
        writeFile("\xEF\xBB\xBF[VideoOptions]\nXResolution=800\nnot a setting\n");
        RecordingLog log;
        QVERIFY(config.writeInt(ConfigKeys::videoSection, ConfigKeys::fullscreen, 1));
        QVERIFY(config.writeInt(ConfigKeys::audioSection, ConfigKeys::soundVolume, 30));
        QCOMPARE(stored("VideoOptions", "Fullscreen"), 1);
        QCOMPARE(stored("AudioOptions", "SoundVolume"), 30);
        QCOMPARE(stored("VideoOptions", "XResolution"), 800);
        QVERIFY(log.messages.empty());
    }

    void aFileThatCannotBeWrittenIsReportedAndLeavesTheTabWorking() {
        // A plain file stands where the settings file's directory would be.
        QFile blocker(QStringLiteral("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const ConfigFile unwritable(QStringLiteral("blocker/config.ini"));
        QVERIFY(!unwritable.writeInt(ConfigKeys::videoSection, ConfigKeys::fullscreen, 0));
        CTabOption tab(unwritable);
        auto* sound = control<QSlider>(tab, "soundSlider");
        QTest::keyClick(sound, Qt::Key_Home);
        QTest::mouseClick(control<QPushButton>(tab, "defaultButton"), Qt::LeftButton);
        QCOMPARE(sound->value(), 75);
        QVERIFY(!QFile::exists(QStringLiteral("blocker/config.ini")));
    }

    void writesKeepUnrelatedEntries() {
        writeFile("[Other]\nKeep=7\n[VideoOptions]\nFullscreen=1\n");
        QVERIFY(config.writeInt(ConfigKeys::videoSection, ConfigKeys::fullscreen, 0));
        QCOMPARE(stored("Other", "Keep"), 7);
        QCOMPARE(stored("VideoOptions", "Fullscreen"), 0);
    }
};

QTEST_MAIN(OptionsTabTest)
#include "OptionsTabTest.moc"
