#pragma once

#include "Tool/Export.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Data {

// One entry of a high-score table.
struct HighScore {
    std::string driver;
    // The time in whole hundredths of a second, as the race overlay shows it.
    std::int64_t hundredths = 0;
    // When it was set, in seconds since 1 January 1970 (UTC).
    std::int64_t date = 0;

    bool operator==(const HighScore& other) const = default;
};

// What a table ranks: the fastest single laps, or the fastest whole races.
enum class HighScoreKind : std::size_t { BEST_LAP = 0, RACE_TIME = 1 };

// What the tables were read from, and so whether they may be saved over their file.
enum class HighScoreSource {
    // No file yet, or an empty one: new tables.
    NO_FILE,
    // A file of which every line was read.
    WHOLE,
    // A high-score file with lines that were refused; the others are in the tables.
    // Before the tables are saved over it, the file is copied aside.
    DAMAGED_LINES,
    // Nothing could be read (no permission, too large, no regular file, not a
    // high-score file): the tables are empty and are never saved over the file.
    UNREADABLE,
};

// The high scores of every track: for every track and number of laps a race was run
// over, the ten best laps and the ten best race times, each best first. Kept in one
// text file: a first line "Brumbly high scores 1", then one line per entry,
// "<lap|race>[:<track>] <laps> <hundredths> <date> <driver>", the driver's name last,
// with "%" and control characters (and in the track's name blanks) written as "%" and
// two hexadecimal digits. A line without a track belongs to defaultTrack, as every
// line of the files written before tracks were told apart does. Every line ends with
// "\n": a last line without one was cut short.
class BRUMBLY_API HighScores {
public:
    static constexpr std::size_t tableSize = 10;
    // The track of the lines that name none.
    static constexpr const char* defaultTrack = "Test Track";
    // The longest track name a line may hold.
    static constexpr std::size_t maximumTrackLength = 64;
    // The file's name; it lies in the profiles directory, beside the drivers.
    static constexpr const char* fileName = "highscores.txt";
    // Far beyond a real file (at most two tables of ten per lap count).
    static constexpr std::size_t maximumFileSize = 4 * 1024 * 1024;
    // The longest time an entry can have: one day.
    static constexpr std::int64_t longestTime = 24 * 60 * 60 * 100;
    // The latest date an entry can have: the end of the year 9999.
    static constexpr std::int64_t latestDate = 253'402'300'799;
    // What comes after the file's name in the name of a copy set aside:
    // "highscores.txt.bad-2026-12-10-023512".
    static constexpr const char* setAsideMark = ".bad-";

    // Puts the entry into its table behind every entry with an equal or better time,
    // so that of two equal times the earlier stays ahead, and keeps the ten best.
    // Returns the rank it took (1 for the best), or 0 when it did not make the ten
    // (also for a time that is not positive or longer than longestTime, a date
    // before 1970 or after latestDate, a lap count of 0, a driver without name or a
    // track name that is empty or longer than maximumTrackLength).
    std::size_t add(HighScoreKind kind, unsigned int laps, const HighScore& entry,
                    const std::string& track = defaultTrack);
    // Best first; empty for a lap count without entries.
    const std::vector<HighScore>& get(HighScoreKind kind, unsigned int laps,
                                      const std::string& track = defaultTrack) const;
    // The lap counts that have entries on the track, ascending.
    std::vector<unsigned int> getLapCounts(const std::string& track = defaultTrack) const;
    // The tracks that have entries, by name.
    std::vector<std::string> getTracks() const;
    bool empty() const { return tables.empty(); }

    HighScoreSource getSource() const { return source; }
    // Why lines or the whole file were refused; "" when nothing was.
    const std::string& getProblem() const { return problem; }

    // The file's text.
    std::string write() const;
    // The tables of a file's text. A line that is not as write() makes it is refused
    // and the others kept: the source is then DAMAGED_LINES, and `problem` and
    // getProblem() name the first such line. Without the first line of a high-score
    // file nothing is read: none, with the reason in `problem`. Blank lines and
    // "\r\n" line ends are accepted.
    static std::optional<HighScores> read(std::string_view text, std::string& problem);

    // The tables in the file: new ones when there is no file or an empty one. Refused
    // lines or an unreadable file are logged once, and getSource() and getProblem()
    // tell them; the file itself is left as it is.
    static HighScores load(const std::filesystem::path& file);
    // Replaces the file through a temporary file and a rename, so that the old tables
    // stay whole until the new ones are complete; `beforeRename` is called as
    // Tool::replaceRegularFile says. Tables read from an unreadable file are never
    // saved over it; a file with refused lines is first copied aside (file name,
    // setAsideMark, local date and time), and the copy is logged. False, with a log
    // line, when nothing was written.
    bool save(const std::filesystem::path& file,
              const std::function<void(const std::filesystem::path&)>& beforeRename = {});
    // The copies that save() set aside beside the file, oldest first.
    static std::vector<std::filesystem::path> findSetAside(const std::filesystem::path& file);

private:
    using Tables = std::array<std::vector<HighScore>, 2>;
    std::map<std::string, std::map<unsigned int, Tables>> tables;
    HighScoreSource source = HighScoreSource::NO_FILE;
    std::string problem;
};

} // namespace Data
