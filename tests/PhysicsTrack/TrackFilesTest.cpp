// Levels built from the shipped track files, headless: the Test Track's file gives the
// level buildTestTrack gives, and computer drivers race every shipped track.
#include "Track/Catalogue.h"
#include "TrackSupport.h"

#include <iostream>

namespace {

const std::filesystem::path tracksFolder =
    std::filesystem::path(BRUMBLY_BIN_DIR) / "data" / "tracks";

void expectSamePoints(const std::vector<Game::TrackPoint>& a,
                      const std::vector<Game::TrackPoint>& b, const char* what) {
    ASSERT_EQ(a.size(), b.size()) << what;
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].a, b[i].a) << what << " " << i;
        EXPECT_EQ(a[i].b, b[i].b) << what << " " << i;
        EXPECT_EQ(a[i].x, b[i].x) << what << " " << i;
        EXPECT_EQ(a[i].z, b[i].z) << what << " " << i;
        EXPECT_EQ(a[i].heading, b[i].heading) << what << " " << i;
    }
}

template <typename Map> void expectSamePlaces(const Map& a, const Map& b, const char* what) {
    ASSERT_EQ(a.size(), b.size()) << what;
    for (auto left = a.begin(), right = b.begin(); left != a.end(); ++left, ++right) {
        EXPECT_EQ(left->first, right->first) << what;
        EXPECT_EQ(left->second->getPosition(), right->second->getPosition()) << left->first;
        EXPECT_EQ(left->second->getRotation(), right->second->getRotation()) << left->first;
    }
}

class TrackFilesTest : public TrackTest::Track {
protected:
    // A second level, from the named track's file, on the same physics SDK.
    std::unique_ptr<Game::Level> buildFromFile(const std::string& name, unsigned laps) {
        ::Track::TrackDesc track;
        EXPECT_TRUE(::Track::loadTrack(name, tracksFolder, track)) << name;
        auto built = std::make_unique<Game::Level>(sdk.get());
        EXPECT_TRUE(built->buildTrack(track, laps)) << name;
        return built;
    }
};

} // namespace

TEST_F(TrackFilesTest, TheTestTrackFromItsFileIsTheTestTrack) {
    const std::unique_ptr<Game::Level> fromFile = buildFromFile("Test Track", 3);
    EXPECT_EQ(fromFile->getName(), level->getName());
    EXPECT_EQ(fromFile->getLaps(), level->getLaps());
    EXPECT_EQ(fromFile->getObjects().size(), 12u);
    expectSamePlaces(fromFile->getObjects(), level->getObjects(), "objects");
    expectSamePlaces(fromFile->getCameras(), level->getCameras(), "cameras");
    expectSamePlaces(fromFile->getLights(), level->getLights(), "lights");
    expectSamePoints(fromFile->getCheckpoints(), level->getCheckpoints(), "checkpoints");
    expectSamePoints(fromFile->getStartPositions(), level->getStartPositions(), "starts");
    ASSERT_FALSE(level->getDrivingLine().empty());
    EXPECT_EQ(fromFile->getDrivingLine().getPoints(), level->getDrivingLine().getPoints());
    for (float x = 10.0f; x < 256.0f; x += 37.0f) {
        EXPECT_EQ(fromFile->getTerrain()->getHeight(x, 256.0f - x),
                  level->getTerrain()->getHeight(x, 256.0f - x));
    }
}

// Each difficulty's computer driver races three laps alone on every shipped track; the
// times are printed, and a harder driver is faster.
TEST_F(TrackFilesTest, ComputerDriversOfEveryDifficultyFinishThreeLapsOnEveryShippedTrack) {
    const std::vector<::Track::TrackEntry> tracks = ::Track::listTracks(tracksFolder);
    ASSERT_GE(tracks.size(), 4u);
    const char* const difficulties[] = {"Easy", "Normal", "Hard"};
    for (const ::Track::TrackEntry& entry : tracks) {
        std::cout << entry.name << ", three laps:";
        double slower = 3 * 240.0;
        for (int difficulty = 0; difficulty < 3; ++difficulty) {
            level.reset();
            level = buildFromFile(entry.name, 3);
            const auto car = addCar("Computer", difficulty);
            ASSERT_TRUE(car) << entry.name;
            const double time = runUntil([&] { return car->isFinished(); }, 3 * 240.0);
            EXPECT_TRUE(car->isFinished())
                << entry.name << ", " << difficulties[difficulty] << ", after " << time << " s";
            EXPECT_LT(time, slower) << entry.name << ", " << difficulties[difficulty];
            slower = time;
            std::cout << " " << difficulties[difficulty] << " " << time << " s";
        }
        std::cout << "\n";
    }
}
