#include "TabHighScore.h"

#include "Data/RaceTime.h"
#include "DriverNames.h"
#include "Track/Catalogue.h"

#include <QComboBox>
#include <QDateTime>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

enum Column { RANK, DRIVER, TIME, DATE, COLUMNS };

const QColor latestBackground(255, 240, 190);

// Sorts by the number it keeps, or by its text without regard to letter case.
class SortItem : public QTableWidgetItem {
public:
    explicit SortItem(const QString& text) : QTableWidgetItem(text) {
        setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    SortItem(const QString& text, qlonglong key) : SortItem(text) { setData(Qt::UserRole, key); }

    bool operator<(const QTableWidgetItem& other) const override {
        const QVariant key = data(Qt::UserRole);
        if (key.isValid()) {
            return key.toLongLong() < other.data(Qt::UserRole).toLongLong();
        }
        return QString::compare(text(), other.text(), Qt::CaseInsensitive) < 0;
    }
};

QTableWidget* makeTable(QWidget* parent) {
    auto* table = new QTableWidget(0, COLUMNS, parent);
    table->setHorizontalHeaderLabels({QStringLiteral("#"), QStringLiteral("Driver"),
                                      QStringLiteral("Time"), QStringLiteral("Date")});
    table->verticalHeader()->setVisible(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(DRIVER, QHeaderView::Stretch);
    table->sortByColumn(RANK, Qt::AscendingOrder);
    table->setSortingEnabled(true);
    return table;
}

QString lapsText(unsigned int laps) {
    return laps == 1 ? QStringLiteral("1 lap") : QStringLiteral("%1 laps").arg(laps);
}

QString timeText(std::int64_t hundredths) {
    return QString::fromStdString(Data::formatHundredths(hundredths));
}

QDateTime dateOf(const Data::HighScore& entry) {
    return QDateTime::fromSecsSinceEpoch(entry.date);
}

} // namespace

CTabHighScore::CTabHighScore(QWidget* parent) : QWidget(parent) {
    trackList = new QComboBox(this);
    lapsList = new QComboBox(this);
    status = new QLabel(this);
    status->setWordWrap(true);
    bestLapTable = makeTable(this);
    raceTimeTable = makeTable(this);

    auto* lapsRow = new QHBoxLayout;
    lapsRow->addWidget(new QLabel(QStringLiteral("Track:"), this));
    lapsRow->addWidget(trackList);
    lapsRow->addWidget(new QLabel(QStringLiteral("Number of Laps:"), this));
    lapsRow->addWidget(lapsList);
    lapsRow->addStretch();

    auto* bestLapGroup = new QGroupBox(QStringLiteral("Best Lap"), this);
    (new QVBoxLayout(bestLapGroup))->addWidget(bestLapTable);
    auto* raceTimeGroup = new QGroupBox(QStringLiteral("Race Time"), this);
    (new QVBoxLayout(raceTimeGroup))->addWidget(raceTimeTable);
    auto* tables = new QHBoxLayout;
    tables->addWidget(bestLapGroup);
    tables->addWidget(raceTimeGroup);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lapsRow);
    layout->addLayout(tables, 1);
    layout->addWidget(status);

    trackList->setObjectName(QStringLiteral("trackList"));
    lapsList->setObjectName(QStringLiteral("lapsList"));
    bestLapTable->setObjectName(QStringLiteral("bestLapTable"));
    raceTimeTable->setObjectName(QStringLiteral("raceTimeTable"));
    status->setObjectName(QStringLiteral("statusLabel"));

    connect(lapsList, &QComboBox::currentIndexChanged, this, &CTabHighScore::showLaps);
    connect(trackList, &QComboBox::currentIndexChanged, this, [this] {
        fillLaps(lapsList->currentData().toUInt());
        showLaps();
    });
    refresh();
}

void CTabHighScore::setFile(const std::filesystem::path& highScoreFile) {
    file = highScoreFile;
    refresh();
}

void CTabHighScore::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        refresh();
    }
}

void CTabHighScore::refresh() {
    scores = file.empty() ? Data::HighScores() : Data::HighScores::load(file);

    // The newest entry of the file, and the table it is in.
    const Data::HighScore* latest = nullptr;
    std::string latestTrack;
    unsigned int latestLaps = 0;
    QString latestWhat;
    for (const std::string& track : scores.getTracks()) {
        for (const unsigned int laps : scores.getLapCounts(track)) {
            for (const auto& [kind, what] :
                 {std::pair(Data::HighScoreKind::BEST_LAP, "best lap"),
                  std::pair(Data::HighScoreKind::RACE_TIME, "race time")}) {
                for (const Data::HighScore& entry : scores.get(kind, laps, track)) {
                    if (!latest || entry.date > latest->date) {
                        latest = &entry;
                        latestTrack = track;
                        latestLaps = laps;
                        latestWhat = QString::fromLatin1(what);
                    }
                }
            }
        }
    }

    const std::string track = shownTrack();
    const unsigned int shownLaps = lapsList->currentData().toUInt();
    const bool newer = latest && latest->date > newest;
    newest = latest ? latest->date : -1;
    {
        // The shipped tracks in the launcher's order, then the others with records.
        std::vector<std::string> names;
        for (const Track::TrackEntry& entry : Track::listTracks(Track::tracksFolder())) {
            names.push_back(entry.name);
        }
        if (names.empty()) {
            names.push_back(Data::HighScores::defaultTrack);
        }
        for (const std::string& name : scores.getTracks()) {
            if (std::find(names.begin(), names.end(), name) == names.end()) {
                names.push_back(name);
            }
        }
        const QSignalBlocker quiet(trackList);
        trackList->clear();
        for (const std::string& name : names) {
            trackList->addItem(QString::fromStdString(name));
        }
        const int kept = trackList->findText(QString::fromStdString(newer ? latestTrack : track));
        trackList->setCurrentIndex(std::max(kept, 0));
    }
    fillLaps(newer ? latestLaps : shownLaps);
    showLaps();

    QString text;
    const QString problem = QString::fromStdString(scores.getProblem());
    if (scores.getSource() == Data::HighScoreSource::UNREADABLE) {
        text = QStringLiteral("The high scores could not be read (%1). The file is kept as it is, "
                              "and no new record is kept until it is mended or removed: %2")
                   .arg(problem, QString::fromStdString(file.string()));
    } else if (scores.getSource() == Data::HighScoreSource::DAMAGED_LINES) {
        text = QStringLiteral("Some high scores could not be read (%1); the others are shown. "
                              "The file is copied aside before the next record is saved.")
                   .arg(problem);
    } else if (!latest) {
        text = QStringLiteral("No high scores yet: finish a race to set the first.");
    } else {
        text = QStringLiteral("Latest record: %1, %2 %3 in a race of %4 on %5, %6")
                   .arg(DriverNames::readable(latest->driver), latestWhat,
                        timeText(latest->hundredths), lapsText(latestLaps),
                        QString::fromStdString(latestTrack),
                        dateOf(*latest).toString(QStringLiteral("yyyy-MM-dd hh:mm")));
    }
    const std::vector<std::filesystem::path> setAside =
        file.empty() ? std::vector<std::filesystem::path>() : Data::HighScores::findSetAside(file);
    if (!setAside.empty()) {
        text += QStringLiteral("\nDamaged high scores were set aside in %1.")
                    .arg(QString::fromStdString(setAside.back().string()));
    }
    status->setText(text);
}

std::string CTabHighScore::shownTrack() const {
    return trackList->count() > 0 ? trackList->currentText().toStdString()
                                  : std::string(Data::HighScores::defaultTrack);
}

void CTabHighScore::fillLaps(unsigned int laps) {
    const QSignalBlocker quiet(lapsList);
    lapsList->clear();
    for (const unsigned int count : scores.getLapCounts(shownTrack())) {
        lapsList->addItem(lapsText(count), count);
    }
    lapsList->setCurrentIndex(std::max(lapsList->findData(laps), 0));
}

void CTabHighScore::showLaps() {
    const unsigned int laps = lapsList->currentData().toUInt();
    const std::string track = shownTrack();
    fill(*bestLapTable, scores.get(Data::HighScoreKind::BEST_LAP, laps, track));
    fill(*raceTimeTable, scores.get(Data::HighScoreKind::RACE_TIME, laps, track));
}

void CTabHighScore::fill(QTableWidget& table, const std::vector<Data::HighScore>& entries) const {
    // Rows would move while they are filled.
    table.setSortingEnabled(false);
    table.clearContents();
    table.setRowCount(static_cast<int>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Data::HighScore& entry = entries[i];
        const QDateTime date = dateOf(entry);
        QTableWidgetItem* cells[COLUMNS] = {
            new SortItem(QString::number(i + 1), static_cast<qlonglong>(i)),
            new SortItem(DriverNames::readable(entry.driver)),
            new SortItem(timeText(entry.hundredths), entry.hundredths),
            new SortItem(date.toString(QStringLiteral("yyyy-MM-dd")), entry.date)};
        cells[DATE]->setToolTip(date.toString(QStringLiteral("yyyy-MM-dd hh:mm")));
        for (int column = 0; column < COLUMNS; ++column) {
            if (entry.date == newest) {
                QFont font = cells[column]->font();
                font.setBold(true);
                cells[column]->setFont(font);
                cells[column]->setBackground(latestBackground);
                cells[column]->setToolTip(
                    QStringLiteral("Latest record") +
                    (column == DATE ? QStringLiteral(", ") + cells[DATE]->toolTip() : QString()));
            }
            table.setItem(static_cast<int>(i), column, cells[column]);
        }
    }
    table.setSortingEnabled(true);
}
