// Tracks generated from seeds: every plan is drivable, a seed always gives the same
// track and different seeds different ones, and a computer driver laps one headless.
#include "Game/level/RaceTrack.h"
#include "Track/RandomName.h"
#include "TrackGen/Generator.h"
#include "TrackGen/RandomPlan.h"
#include "TrackGen/RoadLine.h"
#include "TrackGen/TerrainModel.h"
#include "TrackSupport.h"

#include <chrono>
#include <cstring>
#include <ctime>
#include <iostream>
#include <set>

namespace {

// FNV-1a over the bytes of what the level is built from.
class Checksum {
public:
    void add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            value = (value ^ bytes[i]) * 1099511628211ULL;
        }
    }
    void add(float number) { add(&number, sizeof number); }
    void add(const std::string& text) { add(text.data(), text.size() + 1); }
    void add(const ::Track::Place& place) {
        for (float number : {place.a, place.b, place.x, place.z, place.heading}) {
            add(number);
        }
    }
    std::uint64_t get() const { return value; }

private:
    std::uint64_t value = 14695981039346656037ULL;
};

// The checksum of the level a plan makes: the land's grid heights, the driving line,
// the objects, checkpoints and start places.
std::uint64_t levelChecksum(const TrackGen::TrackPlan& plan) {
    Checksum sum;
    const TrackGen::RoadLine road(plan.road);
    const TrackGen::TerrainModel land(plan, road);
    for (float height : land.heights()) {
        sum.add(height);
    }
    const ::Track::TrackDesc track = TrackGen::describeTrack(plan);
    sum.add(track.name);
    for (const glm::vec2& point : track.drivingLine) {
        sum.add(point.x);
        sum.add(point.y);
    }
    for (const ::Track::ObjectSpec& object : track.objects) {
        sum.add(object.name);
        sum.add(object.model.file);
        for (float number :
             {object.position.x, object.position.y, object.position.z, object.yaw, object.mass}) {
            sum.add(number);
        }
    }
    for (const auto* places : {&track.checkpoints, &track.startPositions}) {
        for (const ::Track::Place& place : *places) {
            sum.add(place);
        }
    }
    return sum.get();
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

const std::filesystem::path tracksFolder =
    std::filesystem::path(BRUMBLY_BIN_DIR) / "data" / "tracks";

} // namespace

TEST(RandomTrack, EverySeedGivesItsOwnDrivableTrackAgainAndAgain) {
    // Seeds spread over the whole range, its ends included.
    std::vector<std::uint32_t> seeds = {0u, 1u, 4294967295u};
    for (std::uint32_t k = 1; seeds.size() < 300; ++k) {
        seeds.push_back(k * 2654435761u);
    }
    std::set<std::uint64_t> checksums;
    double slowestPlan = 0.0;
    for (const std::uint32_t seed : seeds) {
        const auto start = std::chrono::steady_clock::now();
        const TrackGen::TrackPlan plan = TrackGen::randomPlan(seed);
        slowestPlan = std::max(slowestPlan, secondsSince(start));
        EXPECT_EQ(plan.name, "Random " + std::to_string(seed));
        for (const std::string& fault : TrackGen::drivabilityFaults(plan)) {
            ADD_FAILURE() << "seed " << seed << ": " << fault;
        }
        EXPECT_GE(plan.checkpoints.size(), 4u) << seed;
        EXPECT_FALSE(plan.houses.empty() && plan.crateGroups.empty()) << seed;
        const std::uint64_t checksum = levelChecksum(plan);
        EXPECT_TRUE(checksums.insert(checksum).second) << "seed " << seed << " repeats a track";
        if (seed % 16 == 0) {
            EXPECT_EQ(levelChecksum(TrackGen::randomPlan(seed)), checksum) << seed;
        }
    }
    // The whole generation the race start runs, pictures included, for a few seeds; the
    // processor time counts every thread.
    double slowestTrack = 0.0;
    double mostProcessor = 0.0;
    for (std::size_t k = 0; k < seeds.size(); k += 60) {
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t processorStart = std::clock();
        ::Track::TrackDesc track;
        ASSERT_TRUE(Game::findRaceTrack(::Track::randomTrackName(seeds[k]), tracksFolder, track));
        slowestTrack = std::max(slowestTrack, secondsSince(start));
        mostProcessor = std::max(mostProcessor, static_cast<double>(std::clock() - processorStart) /
                                                    CLOCKS_PER_SEC);
        ASSERT_TRUE(track.terrain.heightPicture && track.terrain.texturePicture);
        EXPECT_TRUE(track.terrain.heightPicture->isValid() &&
                    track.terrain.texturePicture->isValid());
    }
    std::cout << "slowest plan " << slowestPlan * 1000.0 << " ms, slowest whole track "
              << slowestTrack * 1000.0 << " ms (processor time " << mostProcessor * 1000.0
              << " ms)\n";
}

class RandomTrackRace : public TrackTest::Track {};

// The race start's own path from the name: the level stands on the generated land (no
// picture file is read) and a computer driver finishes a lap.
TEST_F(RandomTrackRace, AComputerDriverLapsATrackGeneratedFromItsName) {
    const std::uint32_t seed = 20261210u;
    ::Track::TrackDesc track;
    ASSERT_TRUE(Game::findRaceTrack(::Track::randomTrackName(seed), tracksFolder, track));
    EXPECT_TRUE(track.terrain.heightMap.file.empty());
    level.reset();
    level = std::make_unique<Game::Level>(sdk.get());
    ASSERT_TRUE(level->buildTrack(track, 1));
    EXPECT_EQ(level->getName(), "Random " + std::to_string(seed));

    const TrackGen::TrackPlan plan = TrackGen::randomPlan(seed);
    const TrackGen::TerrainModel land(plan, TrackGen::RoadLine(plan.road));
    const int vertices = land.gridVertices();
    ASSERT_EQ(level->getTerrain()->getGridColumns(), vertices);
    for (int row = 0; row < vertices; row += 5) {
        for (int column = 0; column < vertices; column += 5) {
            const glm::vec3& drawn =
                level->getTerrain()
                    ->getGrid()[static_cast<std::size_t>(row * vertices + column)]
                    .position;
            // The height map keeps 256 grey levels.
            EXPECT_NEAR(drawn.y, land.vertexHeight(column, row), plan.heightScale / 255.0f)
                << column << ", " << row;
        }
    }

    const auto car = addCar("Computer", 2);
    ASSERT_TRUE(car);
    const double time = runUntil([&] { return car->isFinished(); }, 240.0);
    EXPECT_TRUE(car->isFinished()) << "after " << time << " s";
    std::cout << plan.name << ": a lap in " << time << " s\n";
}

TEST(RandomTrack, ABadSeedFindsNoTrack) {
    ::Track::TrackDesc track;
    EXPECT_FALSE(Game::findRaceTrack("random:4294967296", tracksFolder, track));
    EXPECT_FALSE(Game::findRaceTrack("random:", tracksFolder, track));
}
