#include "Track/Catalogue.h"

#include "System/File.h"
#include "Tool/LogManager.h"
#include "Tool/LogText.h"
#include "Tool/RegularFile.h"
#include "Track/TestTrack.h"
#include "Track/TrackFile.h"

#include <algorithm>
#include <sstream>
#include <strings.h>

namespace Track {

namespace {

bool sameName(const std::string& left, const std::string& right) {
    return strcasecmp(left.c_str(), right.c_str()) == 0;
}

// The name and preview of a track file from its records before the driving line;
// false when the file is no track file or names no track.
bool readHead(const std::filesystem::path& file, TrackEntry& entry) {
    std::string text;
    if (Tool::readRegularFile(file, maxTrackFileSize, text)) {
        return false;
    }
    std::istringstream lines(text);
    std::string line;
    bool started = false;
    while (std::getline(lines, line)) {
        std::istringstream fields(line.substr(0, line.find('#')));
        std::string keyword;
        if (!(fields >> keyword)) {
            continue;
        }
        std::string value;
        std::getline(fields >> std::ws, value);
        value = value.substr(0, value.find_last_not_of(" \t\r") + 1);
        if (!started) {
            started = keyword == "brumbly-track";
            if (!started) {
                return false;
            }
        } else if (keyword == "name") {
            entry.name = value;
        } else if (keyword == "preview" && !value.empty() &&
                   value.find_first_of("/\\") == std::string::npos) {
            entry.preview = file.parent_path().parent_path() / "images" / value;
        } else if (keyword == "line" || keyword == "end") {
            break;
        }
    }
    entry.file = file;
    return !entry.name.empty();
}

void logFailure(const std::string& details, int line) {
    Tool::LogManager::getInstance().send(Tool::Message("Track", "Finding the track .. [Failed]",
                                                       details, __FILE__, line, Tool::MT_ERROR));
}

} // namespace

std::filesystem::path tracksFolder() {
    return std::filesystem::path(System::File::getPWD()) / "data" / "tracks";
}

std::vector<TrackEntry> listTracks(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().extension() == ".track") {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<TrackEntry> tracks;
    for (const std::filesystem::path& file : files) {
        TrackEntry entry;
        if (readHead(file, entry) &&
            std::none_of(tracks.begin(), tracks.end(), [&](const TrackEntry& other) {
                return sameName(other.name, entry.name);
            })) {
            tracks.push_back(entry);
        }
    }
    std::stable_sort(tracks.begin(), tracks.end(), [](const TrackEntry& a, const TrackEntry& b) {
        const bool aTest = a.name == testTrackName;
        const bool bTest = b.name == testTrackName;
        if (aTest != bTest) {
            return aTest;
        }
        return strcasecmp(a.name.c_str(), b.name.c_str()) < 0;
    });
    return tracks;
}

bool loadTrack(const std::string& name, const std::filesystem::path& folder, TrackDesc& track) {
    for (const TrackEntry& entry : listTracks(folder)) {
        if (sameName(entry.name, name)) {
            return loadTrackFile(entry.file, track);
        }
    }
    logFailure("no track file in " + folder.string() + " names the track \"" +
                   Tool::logExcerpt(name) + "\"",
               __LINE__);
    return false;
}

} // namespace Track
