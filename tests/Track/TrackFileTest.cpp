// Track files: written and read back unchanged, refused with the faulty line named, and
// found by name in a folder.
#include "Track/TrackFile.h"
#include "../Data/RecordingLog.h"
#include "Track/Catalogue.h"
#include "Track/TestTrack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

// The Test Track with a driving line, and one of each kind of record that it lacks.
Track::TrackDesc sampleTrack() {
    Track::TrackDesc track = Track::testTrack();
    track.drivingLine = {{30.25f, 67.0f}, {0.1f, -1.0e-3f}, {224.59219f, 150.0f}};
    track.lights[1].kind = 2;
    track.lights[1].specular = {0.25f, 0.5f, 0.75f, 1.0f};
    track.laps = 5;
    track.sky = "night.jpg";
    return track;
}

std::string lineOf(const std::string& text, int number) {
    std::istringstream lines(text);
    std::string line;
    for (int i = 0; i < number && std::getline(lines, line); ++i) {
    }
    return line;
}

// The text with line `number` (from 1) replaced.
std::string replaceLine(const std::string& text, int number, const std::string& replacement) {
    std::istringstream lines(text);
    std::string result;
    std::string line;
    for (int i = 1; std::getline(lines, line); ++i) {
        result += (i == number ? replacement : line) + "\n";
    }
    return result;
}

int lineNumberOf(const std::string& text, const std::string& start) {
    std::istringstream lines(text);
    std::string line;
    for (int i = 1; std::getline(lines, line); ++i) {
        if (line.rfind(start, 0) == 0) {
            return i;
        }
    }
    return -1;
}

struct TempFolder {
    TempFolder() {
        path = std::filesystem::temp_directory_path() /
               ("brumbly-tracks-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path / name) << text;
    }
    std::filesystem::path path;
};

} // namespace

TEST(TrackFileTest, AWrittenTrackReadsBackToTheSameTrack) {
    const Track::TrackDesc track = sampleTrack();
    const std::string text = Track::writeTrack(track);
    Track::TrackDesc read;
    std::string error;
    ASSERT_TRUE(Track::readTrack(text, read, error)) << error;
    EXPECT_EQ(Track::writeTrack(read), text);
    // Spot checks that the text carries the values, not only the same shape.
    EXPECT_EQ(read.name, "Test Track");
    EXPECT_EQ(read.laps, 5u);
    EXPECT_EQ(read.sky, "night.jpg");
    EXPECT_EQ(read.drivingLine, track.drivingLine);
    EXPECT_EQ(read.checkpoints, track.checkpoints);
    EXPECT_EQ(read.startPositions, track.startPositions);
    ASSERT_EQ(read.objects.size(), track.objects.size());
    EXPECT_EQ(read.objects.back().mass, 1.0f);
    EXPECT_EQ(read.objects.back().shapes, std::vector<std::string>{"cube"});
    EXPECT_EQ(read.objects[2].shapes, (std::vector<std::string>{"stick", "stick1"}));
    EXPECT_EQ(read.lights[0].name, "");
    EXPECT_EQ(read.lights[1].specular, track.lights[1].specular);
    EXPECT_EQ(read.terrain.heightMap.directory, "data\\images\\");
}

TEST(TrackFileTest, ADamagedFileIsRefusedNamingTheLine) {
    const std::string good = Track::writeTrack(sampleTrack());
    const int terrain = lineNumberOf(good, "terrain ");
    const int firstObject = lineNumberOf(good, "object ");
    const int firstLine = lineNumberOf(good, "line ");
    const std::string terrainLine = lineOf(good, terrain);
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"", "the file is empty"},
        {"# only a comment\n\n", "the file is empty"},
        {"brumbly-track 2\n", "line 1: no track file"},
        {replaceLine(good, firstObject, "objekt x"),
         "line " + std::to_string(firstObject) + ": unknown record \"objekt\""},
        {replaceLine(good, terrain, terrainLine.substr(0, terrainLine.rfind(' '))),
         "line " + std::to_string(terrain) + ": missing water level"},
        {replaceLine(good, terrain, terrainLine + " 7"),
         "line " + std::to_string(terrain) + ": unexpected \"7\""},
        {replaceLine(good, firstLine, "line 1,5 2"),
         "line " + std::to_string(firstLine) + ": x \"1,5\" is no number"},
        {replaceLine(good, firstLine, "line nan 2"),
         "line " + std::to_string(firstLine) + ": x nan is not within"},
        {replaceLine(good, firstLine, "line 2e7 2"),
         "line " + std::to_string(firstLine) + ": x 2e7 is not within"},
        {replaceLine(good, lineNumberOf(good, "laps "), "laps 0"),
         "line " + std::to_string(lineNumberOf(good, "laps ")) +
             ": laps \"0\" is no whole number from 1 to 100"},
        {replaceLine(good, firstObject,
                     "object House ../../etc/passwd data\\objects\\house\\ 1 2 3 0 0"),
         "line " + std::to_string(firstObject) + ": model \"../../etc/passwd\" is no file name"},
        {replaceLine(good, firstObject, "object House house.dae /etc/ 1 2 3 0 0"),
         "line " + std::to_string(firstObject) + ": folder \"/etc/\" is no folder"},
        {good + "line 1 2\n", "a record after \"end\""},
        // Cut short: at a line's end, and in the middle of a line.
        {good.substr(0, good.rfind("line ")), "the file ends before \"end\": cut short"},
        {good.substr(0, good.rfind("line ") + 8),
         "line " + std::to_string(lineNumberOf(good, "end") - 1) + ": missing z"},
        {replaceLine(good, lineNumberOf(good, "name "), "name "), "the name must have"},
    };
    for (const auto& damaged : cases) {
        Track::TrackDesc track;
        std::string error;
        EXPECT_FALSE(Track::readTrack(damaged.text, track, error)) << damaged.error;
        EXPECT_NE(error.find(damaged.error), std::string::npos)
            << "got \"" << error << "\", wanted \"" << damaged.error << "\"";
    }
    // A record missing from a whole file.
    std::string noCheckpoints;
    std::istringstream lines(good);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("checkpoint ", 0) != 0) {
            noCheckpoints += line + "\n";
        }
    }
    Track::TrackDesc track;
    std::string error;
    EXPECT_FALSE(Track::readTrack(noCheckpoints, track, error));
    EXPECT_EQ(error, "no \"checkpoint\"");
}

TEST(TrackFileTest, TracksAreListedAndFoundByName) {
    const TempFolder folder;
    Track::TrackDesc lakeside = sampleTrack();
    lakeside.name = "Lakeside";
    lakeside.preview = "Lakeside.png";
    Track::TrackDesc hills = sampleTrack();
    hills.name = "hills and dales";
    hills.preview.clear();
    folder.write("a.track", Track::writeTrack(lakeside));
    folder.write("b.track", Track::writeTrack(sampleTrack()));
    folder.write("c.track", Track::writeTrack(hills));
    // The same name again, a file that is no track, and a file of another kind.
    folder.write("d.track", Track::writeTrack(lakeside));
    folder.write("e.track", "not a track\n");
    folder.write("f.line", Track::writeTrack(lakeside));
    // Damaged after its head: listed, refused when loaded.
    const std::string whole = Track::writeTrack(sampleTrack());
    folder.write("g.track", replaceLine(replaceLine(whole, 2, "name Broken"),
                                        lineNumberOf(whole, "line "), "line 5"));

    const std::vector<Track::TrackEntry> tracks = Track::listTracks(folder.path);
    std::vector<std::string> names;
    for (const Track::TrackEntry& entry : tracks) {
        names.push_back(entry.name);
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"Test Track", "Broken", "hills and dales", "Lakeside"}));
    EXPECT_EQ(tracks[3].file, folder.path / "a.track");
    EXPECT_EQ(tracks[3].preview, folder.path.parent_path() / "images" / "Lakeside.png");
    EXPECT_TRUE(tracks[2].preview.empty());

    Track::TrackDesc found;
    ASSERT_TRUE(Track::loadTrack("LAKESIDE", folder.path, found));
    EXPECT_EQ(found.name, "Lakeside");

    RecordingLog log;
    EXPECT_FALSE(Track::loadTrack("Broken", folder.path, found));
    EXPECT_FALSE(Track::loadTrack("Nowhere", folder.path, found));
    ASSERT_EQ(log.errors().size(), 2u);
    const std::string broken = log.errors()[0].getMessage();
    EXPECT_NE(broken.find("g.track, line " + std::to_string(lineNumberOf(whole, "line ")) +
                          ": missing z"),
              std::string::npos)
        << broken;
    EXPECT_NE(log.errors()[1].getMessage().find("\"Nowhere\""), std::string::npos);
}

TEST(TrackFileTest, TheShippedTestTrackIsTheTestTrackLayout) {
    const std::filesystem::path folder = std::filesystem::path(BRUMBLY_BIN_DIR) / "data" / "tracks";
    Track::TrackDesc shipped;
    ASSERT_TRUE(Track::loadTrackFile(folder / Track::testTrackFile, shipped));
    Track::TrackDesc layout = Track::testTrack();
    layout.drivingLine = shipped.drivingLine;
    EXPECT_EQ(Track::writeTrack(shipped), Track::writeTrack(layout));
    EXPECT_GT(shipped.drivingLine.size(), 100u);
    EXPECT_EQ(Track::listTracks(folder).front().name, "Test Track");
}
