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

// The high scores of the track: for every number of laps a race was run over, the ten
// best laps and the ten best race times, each best first. Kept in one text file: a
// first line "Brumbly high scores 1", then one line per entry,
// "<lap|race> <laps> <hundredths> <date> <driver>", the driver's name last, with "%"
// and control characters written as "%" and two hexadecimal digits.
class BRUMBLY_API HighScores {
public:
    static constexpr std::size_t tableSize = 10;
    // The file's name; it lies in the profiles directory, beside the drivers.
    static constexpr const char* fileName = "highscores.txt";
    // Far beyond a real file (at most two tables of ten per lap count).
    static constexpr std::size_t maximumFileSize = 4 * 1024 * 1024;

    // Puts the entry into its table behind every entry with an equal or better time,
    // so that of two equal times the earlier stays ahead, and keeps the ten best.
    // Returns the rank it took (1 for the best), or 0 when it did not make the ten
    // (also for a time that is not positive, a lap count of 0 or a driver without
    // name).
    std::size_t add(HighScoreKind kind, unsigned int laps, const HighScore& entry);
    // Best first; empty for a lap count without entries.
    const std::vector<HighScore>& get(HighScoreKind kind, unsigned int laps) const;
    // The lap counts that have entries, ascending.
    std::vector<unsigned int> getLapCounts() const;
    bool empty() const { return tables.empty(); }

    // The file's text.
    std::string write() const;
    // The tables of a file's text; empty, with the reason in `problem`, when any line
    // is not as write() makes it (blank lines and "\r\n" line ends are accepted).
    static std::optional<HighScores> read(std::string_view text, std::string& problem);

    // The tables in the file; empty tables when there is no file. A file that cannot
    // be read, is empty, too large or damaged gives empty tables, a log line and the
    // reason in `problem` (when given); the file itself is left as it is.
    static HighScores load(const std::filesystem::path& file, std::string* problem = nullptr);
    // Replaces the file through a temporary file and a rename, so that the old tables
    // stay whole until the new ones are complete. False, with a log line, when it
    // cannot be written. `beforeRename` is called as Tool::replaceRegularFile says.
    bool save(const std::filesystem::path& file,
              const std::function<void(const std::filesystem::path&)>& beforeRename = {}) const;

private:
    using Tables = std::array<std::vector<HighScore>, 2>;
    std::map<unsigned int, Tables> tables;
};

} // namespace Data
