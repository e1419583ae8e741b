#include "BrumblyDlg.h"
#include "ConfigFile.h"
#include "Data/HighScores.h"
#include "LauncherTestSupport.h"
#include "MyTabCtrl.h"
#include "TabHighScore.h"
#include "TabNewGame.h"

#include <QComboBox>
#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <memory>

using Data::HighScoreKind;

namespace {

// A race that sets a best lap over five laps when it runs.
class RecordingRace final : public RaceKernel {
public:
    bool initialise(const Data::Options&) override { return true; }
    bool createLevel(const std::string&, unsigned int) override { return true; }
    bool createPlayer(std::shared_ptr<Data::Profile>, const glm::vec3&, int) override {
        return true;
    }
    void run() override {
        Data::HighScores scores = Data::HighScores::load(file);
        scores.add(HighScoreKind::BEST_LAP, 5, {"Ann", 3333, 1800000000});
        scores.save(file);
    }
    void releaseAllPlayers() override {}
    void releaseLevel() override {}
    void shutdown() override {}
    std::int32_t drawnDetail() const override { return Data::DETAIL_LOW; }

    std::filesystem::path file;
};

QStringList column(const QTableWidget& table, int index) {
    QStringList texts;
    for (int row = 0; row < table.rowCount(); ++row) {
        texts.append(table.item(row, index)->text());
    }
    return texts;
}

QString date(std::int64_t seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("yyyy-MM-dd"));
}

} // namespace

// The Highscore tab: the tables the file holds, sorting, the newest entry, and a
// refresh after each race.
class HighScoreTabTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> folder;
    std::filesystem::path file;

private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        file = std::filesystem::path(folder->path().toStdString()) / Data::HighScores::fileName;
        Data::HighScores scores;
        scores.add(HighScoreKind::BEST_LAP, 3, {"Ann", 4512, 1700000000});
        scores.add(HighScoreKind::BEST_LAP, 3, {"ben", 4400, 1700100000});
        scores.add(HighScoreKind::BEST_LAP, 3, {"Cid", 599900, 1600000000});
        scores.add(HighScoreKind::BEST_LAP, 3, {"Dan", 600000, 1600000000});
        scores.add(HighScoreKind::RACE_TIME, 3, {"ben", 14000, 1700100000});
        scores.add(HighScoreKind::RACE_TIME, 1, {"Eve", 5000, 1650000000});
        QVERIFY(scores.save(file));
    }

    void showsTheFileSortableWithTheNewestMarked() {
        CTabHighScore tab;
        tab.setFile(file);
        auto* laps = childControl<QComboBox>(tab, "lapsList");
        QCOMPARE(laps->count(), 2);
        QCOMPARE(laps->itemText(0), "1 lap");
        // The races of the newest entry.
        QCOMPARE(laps->currentText(), "3 laps");
        auto* best = childControl<QTableWidget>(tab, "bestLapTable");
        auto* race = childControl<QTableWidget>(tab, "raceTimeTable");
        QCOMPARE(column(*best, 0), QStringList({"1", "2", "3", "4"}));
        QCOMPARE(column(*best, 1), QStringList({"ben", "Ann", "Cid", "Dan"}));
        QCOMPARE(column(*best, 2), QStringList({"00:44:00", "00:45:12", "99:59:00", "100:00:00"}));
        QCOMPARE(column(*best, 3), QStringList({date(1700100000), date(1700000000),
                                                date(1600000000), date(1600000000)}));
        QCOMPARE(column(*race, 1), QStringList({"ben"}));
        QVERIFY(best->item(0, 1)->font().bold());
        QVERIFY(race->item(0, 2)->font().bold());
        QVERIFY(!best->item(1, 1)->font().bold());
        QVERIFY(childControl<QLabel>(tab, "statusLabel")->text().startsWith("Latest record: ben"));

        // By driver without regard to letter case, by time as times, back by rank.
        best->horizontalHeader()->setSortIndicator(1, Qt::AscendingOrder);
        QCOMPARE(column(*best, 1), QStringList({"Ann", "ben", "Cid", "Dan"}));
        best->horizontalHeader()->setSortIndicator(2, Qt::DescendingOrder);
        QCOMPARE(column(*best, 1), QStringList({"Dan", "Cid", "Ann", "ben"}));
        best->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
        QCOMPARE(column(*best, 1), QStringList({"ben", "Ann", "Cid", "Dan"}));

        laps->setCurrentIndex(0);
        QCOMPARE(column(*best, 1), QStringList());
        QCOMPARE(column(*race, 1), QStringList({"Eve"}));
        QVERIFY(!race->item(0, 1)->font().bold());
    }

    // Each track has its own tables; a new record on another track turns the page to it.
    void theTrackChoiceShowsEachTracksTables() {
        CTabHighScore tab;
        tab.setFile(file);
        auto* tracks = childControl<QComboBox>(tab, "trackList");
        auto* laps = childControl<QComboBox>(tab, "lapsList");
        auto* best = childControl<QTableWidget>(tab, "bestLapTable");
        QCOMPARE(tracks->count(), 1);
        QCOMPARE(tracks->currentText(), "Test Track");

        Data::HighScores scores = Data::HighScores::load(file);
        scores.add(HighScoreKind::BEST_LAP, 2, {"Gus", 7000, 1800000000}, "random:7");
        QVERIFY(scores.save(file));
        tab.refresh();
        QCOMPARE(tracks->count(), 2);
        QCOMPARE(tracks->currentText(), "random:7");
        QCOMPARE(laps->count(), 1);
        QCOMPARE(laps->currentText(), "2 laps");
        QCOMPARE(column(*best, 1), QStringList({"Gus"}));
        QVERIFY(childControl<QLabel>(tab, "statusLabel")->text().contains("on random:7"));

        // Back on the Test Track, its lap counts and the race length chosen before.
        tracks->setCurrentIndex(0);
        QCOMPARE(laps->count(), 2);
        laps->setCurrentIndex(laps->findData(3));
        QCOMPARE(column(*best, 1), QStringList({"ben", "Ann", "Cid", "Dan"}));
        tracks->setCurrentIndex(1);
        QCOMPARE(column(*best, 1), QStringList({"Gus"}));
    }

    // One damaged line hid every entry, and the next race saved over the file.
    void aDamagedLineHidesOnlyItselfAndAnUnreadableFileIsNamed() {
        std::ofstream(file, std::ios::app) << "lap 3 oops\n";
        std::ifstream in(file);
        const std::string before((std::istreambuf_iterator<char>(in)), {});
        CTabHighScore tab;
        tab.setFile(file);
        auto* status = childControl<QLabel>(tab, "statusLabel");
        QCOMPARE(childControl<QComboBox>(tab, "lapsList")->count(), 2);
        QCOMPARE(childControl<QTableWidget>(tab, "bestLapTable")->rowCount(), 4);
        QVERIFY(status->text().startsWith(
            "Some high scores could not be read (line 8 is damaged); the others are shown."));
        std::ifstream again(file);
        QCOMPARE(std::string((std::istreambuf_iterator<char>(again)), {}), before);

        // A record copies the damaged file aside, and the page names the copy.
        Data::HighScores scores = Data::HighScores::load(file);
        scores.add(HighScoreKind::BEST_LAP, 3, {"Fay", 4000, 1800000000});
        QVERIFY(scores.save(file));
        tab.refresh();
        const auto aside = Data::HighScores::findSetAside(file);
        QCOMPARE(aside.size(), std::size_t{1});
        QVERIFY(status->text().startsWith("Latest record: Fay"));
        QVERIFY(status->text().contains(QStringLiteral("Damaged high scores were set aside in %1.")
                                            .arg(QString::fromStdString(aside[0].string()))));

        // Not a high-score file: nothing to show, and it stays as it is.
        std::ofstream(file) << "[VideoOptions]\n";
        tab.refresh();
        QCOMPARE(childControl<QComboBox>(tab, "lapsList")->count(), 0);
        QCOMPARE(childControl<QTableWidget>(tab, "bestLapTable")->rowCount(), 0);
        QVERIFY(status->text().startsWith("The high scores could not be read (not a high-score "
                                          "file"));
        QVERIFY(status->text().contains("no new record is kept until it is mended or removed"));

        CTabHighScore none;
        QVERIFY(childControl<QLabel>(none, "statusLabel")->text().startsWith("No high scores"));
    }

    void aRaceRefreshesTheTab() {
        ProfilesFixture profiles;
        profiles.addProfile("Ann");
        QTemporaryDir configFolder;
        const ConfigFile config(configFolder.filePath("config.ini"));
        RecordingMessageBoxes messages;
        RecordingRace race;
        race.file = file;
        CBrumblyDlg window(messages, config);
        window.setRaceKernel(race);
        window.setHighScoreFile(file);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CTabNewGame* newGame = window.tabs()->newGamePage();
        addRaceDriver(*newGame, "Ann");
        QTest::mouseClick(childControl<QPushButton>(*newGame, "raceButton"), Qt::LeftButton);

        CTabHighScore* tab = window.tabs()->highScorePage();
        QCOMPARE(childControl<QComboBox>(*tab, "lapsList")->currentText(), "5 laps");
        const auto* best = childControl<QTableWidget>(*tab, "bestLapTable");
        QCOMPARE(column(*best, 2), QStringList({"00:33:33"}));
        QVERIFY(best->item(0, 0)->font().bold());
    }
};

QTEST_MAIN(HighScoreTabTest)
#include "HighScoreTabTest.moc"
