#pragma once

#include "Data/HighScores.h"

#include <QWidget>
#include <cstdint>
#include <filesystem>

class QComboBox;
class QLabel;
class QTableWidget;

// The "Highscore" tab: the ten best laps and the ten best race times of the track and
// the number of laps chosen, each with driver and date. The Track list holds every
// shipped track and every other track (a random one) that has high scores. The tables sort by any
// column; the newest entries are marked in bold on a light background. The file is read again
// whenever the page is shown and after each race. Below the tables, the page says why
// a file could not be read, or only in part, and names the newest damaged copy set
// aside.
class CTabHighScore : public QWidget {
    Q_OBJECT

public:
    explicit CTabHighScore(QWidget* parent = nullptr);

    // Where the high scores are kept; read at once. Without a file the tables are empty.
    void setFile(const std::filesystem::path& highScoreFile);
    // Reads the file again. When it holds a newer entry than the page has shown, the
    // page turns to that entry's track and number of laps.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Lists the chosen track's lap counts, choosing `laps` when listed (else the first).
    void fillLaps(unsigned int laps);
    void showLaps();
    std::string shownTrack() const;
    void fill(QTableWidget& table, const std::vector<Data::HighScore>& entries) const;

    std::filesystem::path file;
    Data::HighScores scores;
    // The date of the newest entry in the file, -1 with none.
    std::int64_t newest = -1;

    QComboBox* trackList;
    QComboBox* lapsList;
    QTableWidget* bestLapTable;
    QTableWidget* raceTimeTable;
    QLabel* status;
};
