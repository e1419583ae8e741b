#include "Data/HighScores.h"

#include "Data/Profile.h"
#include "Tool/LogManager.h"
#include "Tool/LogText.h"
#include "Tool/RegularFile.h"

#include <algorithm>
#include <charconv>
#include <ctime>

namespace Data {

namespace {

constexpr std::string_view header = "Brumbly high scores 1";
constexpr std::string_view kindWords[] = {"lap", "race"};
constexpr unsigned int mostLaps = 1'000'000;
// Copies set aside within one second get a number after the date.
constexpr int mostCopiesPerSecond = 100;

void logFailure(const std::string& title, const std::filesystem::path& file,
                const std::string& reason, int line, Tool::MessageType type = Tool::MT_ERROR) {
    Tool::LogManager::getInstance().send(
        Tool::Message("HighScores", title, Tool::logExcerpt(file.string()) + ": " + reason,
                      __FILE__, line, type));
}

bool isTrack(const std::string& track) {
    return !track.empty() && track.size() <= HighScores::maximumTrackLength;
}

bool isEntry(unsigned int laps, const HighScore& entry) {
    return laps > 0 && laps <= mostLaps && entry.hundredths > 0 &&
           entry.hundredths <= HighScores::longestTime && entry.date >= 0 &&
           entry.date <= HighScores::latestDate && !entry.driver.empty() &&
           entry.driver.size() <= Profile::maximumNameLength;
}

// Copies the file, as it is, to a new file beside it named after the local date and
// time; the copy's path.
std::filesystem::path copyAside(const std::filesystem::path& file) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char date[32] = "";
    if (localtime_r(&now, &local) != nullptr) {
        std::strftime(date, sizeof date, "%Y-%m-%d-%H%M%S", &local);
    }
    const std::string stem = file.string() + HighScores::setAsideMark + date;
    for (int copy = 1;; ++copy) {
        const std::filesystem::path aside = copy == 1 ? stem : stem + "-" + std::to_string(copy);
        std::error_code error;
        // Never over an earlier copy: the copy fails when the name is taken.
        std::filesystem::copy_file(file, aside, error);
        if (!error) {
            return aside;
        }
        if (error != std::errc::file_exists || copy == mostCopiesPerSecond) {
            throw std::filesystem::filesystem_error("cannot set the damaged high scores aside",
                                                    file, aside, error);
        }
    }
}

bool needsEscape(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return c == '%' || byte < 32 || byte == 127;
}

// A name as a line holds it; a field amid others has its blanks written too.
std::string escape(const std::string& name, bool blanks = false) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string text;
    for (const char c : name) {
        if (needsEscape(c) || (blanks && c == ' ')) {
            const auto byte = static_cast<unsigned char>(c);
            text += '%';
            text += hex[byte >> 4];
            text += hex[byte & 15];
        } else {
            text += c;
        }
    }
    return text;
}

std::optional<std::string> unescape(std::string_view text) {
    std::string name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            if (needsEscape(text[i])) {
                return std::nullopt;
            }
            name += text[i];
            continue;
        }
        unsigned int byte = 0;
        if (text.size() - i < 3) {
            return std::nullopt;
        }
        const char* first = text.data() + i + 1;
        const auto [end, error] = std::from_chars(first, first + 2, byte, 16);
        if (error != std::errc() || end != first + 2) {
            return std::nullopt;
        }
        name += static_cast<char>(byte);
        i += 2;
    }
    return name;
}

// The next blank-separated field of `line`, taken off its front; empty when the line
// does not go on with a field and one blank.
std::string_view takeField(std::string_view& line) {
    const std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos || blank == 0) {
        return {};
    }
    const std::string_view field = line.substr(0, blank);
    line.remove_prefix(blank + 1);
    return field;
}

// A whole number of decimal digits only, up to `limit`.
template <typename T> std::optional<T> number(std::string_view field, T limit) {
    T value{};
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || field.front() == '-' || error != std::errc() ||
        end != field.data() + field.size() || value > limit) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::size_t HighScores::add(HighScoreKind kind, unsigned int laps, const HighScore& entry,
                            const std::string& track) {
    if (!isEntry(laps, entry) || !isTrack(track)) {
        return 0;
    }
    std::vector<HighScore>& table = tables[track][laps][static_cast<std::size_t>(kind)];
    const auto place =
        std::upper_bound(table.begin(), table.end(), entry,
                         [](const auto& a, const auto& b) { return a.hundredths < b.hundredths; });
    const auto rank = static_cast<std::size_t>(place - table.begin()) + 1;
    if (rank > tableSize) {
        return 0;
    }
    table.insert(place, entry);
    if (table.size() > tableSize) {
        table.pop_back();
    }
    return rank;
}

const std::vector<HighScore>& HighScores::get(HighScoreKind kind, unsigned int laps,
                                              const std::string& track) const {
    static const std::vector<HighScore> none;
    const auto onTrack = tables.find(track);
    if (onTrack == tables.end()) {
        return none;
    }
    const auto found = onTrack->second.find(laps);
    return found != onTrack->second.end() ? found->second[static_cast<std::size_t>(kind)] : none;
}

std::vector<unsigned int> HighScores::getLapCounts(const std::string& track) const {
    std::vector<unsigned int> counts;
    if (const auto onTrack = tables.find(track); onTrack != tables.end()) {
        for (const auto& entry : onTrack->second) {
            counts.push_back(entry.first);
        }
    }
    return counts;
}

std::vector<std::string> HighScores::getTracks() const {
    std::vector<std::string> tracks;
    for (const auto& entry : tables) {
        tracks.push_back(entry.first);
    }
    return tracks;
}

std::string HighScores::write() const {
    std::string text(header);
    text += '\n';
    for (const auto& [track, onTrack] : tables) {
        const std::string trackField = track == defaultTrack ? "" : ':' + escape(track, true);
        for (const auto& [laps, both] : onTrack) {
            for (std::size_t kind = 0; kind < both.size(); ++kind) {
                for (const HighScore& entry : both[kind]) {
                    text += std::string(kindWords[kind]) + trackField + ' ' + std::to_string(laps) +
                            ' ' + std::to_string(entry.hundredths) + ' ' +
                            std::to_string(entry.date) + ' ' + escape(entry.driver) + '\n';
                }
            }
        }
    }
    return text;
}

std::optional<HighScores> HighScores::read(std::string_view text, std::string& problem) {
    HighScores scores;
    scores.source = HighScoreSource::WHOLE;
    std::size_t lineNumber = 0;
    std::size_t damaged = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const bool complete = end != std::string_view::npos;
        std::string_view line = text.substr(0, end);
        text.remove_prefix(complete ? end + 1 : text.size());
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (lineNumber == 1) {
            if (line != header) {
                problem =
                    "not a high-score file (its first line is not \"" + std::string(header) + "\")";
                return std::nullopt;
            }
            continue;
        }
        if (line.empty()) {
            continue;
        }
        std::string_view kindWord = takeField(line);
        const std::size_t colon = kindWord.find(':');
        const auto track = colon == std::string_view::npos
                               ? std::optional<std::string>(defaultTrack)
                               : unescape(kindWord.substr(colon + 1));
        kindWord = kindWord.substr(0, colon);
        const auto kind = std::find(std::begin(kindWords), std::end(kindWords), kindWord);
        const auto laps = number<unsigned int>(takeField(line), mostLaps);
        const auto hundredths = number<std::int64_t>(takeField(line), longestTime);
        const auto date = number<std::int64_t>(takeField(line), latestDate);
        const auto driver = unescape(line);
        // A last line without its line end may have lost the end of its name.
        if (!complete || kind == std::end(kindWords) || !track || !isTrack(*track) || !laps ||
            !hundredths || !date || !driver || !isEntry(*laps, {*driver, *hundredths, *date})) {
            if (damaged++ == 0) {
                scores.problem = "line " + std::to_string(lineNumber) +
                                 (complete ? " is damaged" : " is cut short");
            }
            continue;
        }
        scores.add(static_cast<HighScoreKind>(kind - std::begin(kindWords)), *laps,
                   {*driver, *hundredths, *date}, *track);
    }
    if (lineNumber == 0) {
        problem = "the file is empty";
        return std::nullopt;
    }
    if (damaged > 0) {
        if (damaged > 1) {
            scores.problem += " (and " + std::to_string(damaged - 1) + " more damaged line" +
                              (damaged > 2 ? "s)" : ")");
        }
        scores.source = HighScoreSource::DAMAGED_LINES;
        problem = scores.problem;
    }
    return scores;
}

HighScores HighScores::load(const std::filesystem::path& file) {
    std::string text;
    const std::error_code error = Tool::readRegularFile(file, maximumFileSize, text);
    if (error == std::errc::no_such_file_or_directory || (!error && text.empty())) {
        return {};
    }
    std::string reason;
    std::optional<HighScores> scores;
    if (error) {
        reason = error.message();
    } else {
        scores = read(text, reason);
    }
    if (!scores) {
        scores.emplace();
        scores->source = HighScoreSource::UNREADABLE;
        scores->problem = reason;
        logFailure("Couldn't read the high scores .. [Failed]", file,
                   reason + "; the file is kept as it is and no record is saved over it", __LINE__);
    } else if (scores->source == HighScoreSource::DAMAGED_LINES) {
        logFailure("Couldn't read the high scores .. [Failed]", file,
                   reason + "; the other entries are kept, and the file is copied aside before "
                            "the next record is saved",
                   __LINE__);
    }
    return std::move(*scores);
}

bool HighScores::save(const std::filesystem::path& file,
                      const std::function<void(const std::filesystem::path&)>& beforeRename) {
    if (source == HighScoreSource::UNREADABLE) {
        logFailure("Couldn't save the high scores .. [Failed]", file,
                   "the file could not be read (" + problem + ") and is kept as it is", __LINE__);
        return false;
    }
    try {
        if (source == HighScoreSource::DAMAGED_LINES) {
            const std::filesystem::path aside = copyAside(file);
            logFailure("Damaged high scores set aside .. [OK]", file,
                       "copied to " + Tool::logExcerpt(aside.string()) + " (" + problem + ")",
                       __LINE__, Tool::MT_WARNING);
        }
        Tool::replaceRegularFile(file, write(), "high scores", beforeRename);
    } catch (const std::filesystem::filesystem_error& failure) {
        logFailure("Couldn't save the high scores .. [Failed]", file, failure.what(), __LINE__);
        return false;
    }
    source = HighScoreSource::WHOLE;
    problem.clear();
    return true;
}

std::vector<std::filesystem::path> HighScores::findSetAside(const std::filesystem::path& file) {
    const std::string prefix = file.filename().string() + setAsideMark;
    const std::filesystem::path directory =
        file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    std::vector<std::filesystem::path> copies;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(directory, error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->path().filename().string().starts_with(prefix)) {
            copies.push_back(entry->path());
        }
    }
    std::sort(copies.begin(), copies.end());
    return copies;
}

} // namespace Data
