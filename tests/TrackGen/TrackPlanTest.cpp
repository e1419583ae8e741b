// The track generator: every shipped track's files are what its plan generates and its
// plan is drivable, the Test Track's plan gives the Test Track, the drivability check
// finds each kind of fault, and generation repeats itself exactly.
#include "Track/Catalogue.h"
#include "Track/TestTrack.h"
#include "Track/TrackFile.h"
#include "TrackGen/Generator.h"
#include "TrackGen/TerrainModel.h"
#include "track/plans/Plans.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>

namespace {

const std::filesystem::path dataFolder = std::filesystem::path(BRUMBLY_BIN_DIR) / "data";

std::string faultsOf(const TrackGen::TrackPlan& plan) {
    std::string text;
    for (const std::string& fault : TrackGen::drivabilityFaults(plan)) {
        text += fault + "\n";
    }
    return text;
}

} // namespace

TEST(TrackPlanTest, EveryShippedTrackIsItsDrivablePlan) {
    const std::vector<Track::TrackEntry> listed = Track::listTracks(dataFolder / "tracks");
    const std::vector<TrackGen::TrackPlan> plans = Plans::shipped();
    ASSERT_EQ(plans.size(), 4u);
    for (const TrackGen::TrackPlan& plan : plans) {
        SCOPED_TRACE(plan.name);
        EXPECT_EQ(faultsOf(plan), "");
        Track::TrackDesc shipped;
        ASSERT_TRUE(Track::loadTrackFile(dataFolder / "tracks" / plan.trackFile, shipped));
        EXPECT_EQ(Track::writeTrack(shipped), Track::writeTrack(TrackGen::describeTrack(plan)));
        EXPECT_TRUE(std::any_of(listed.begin(), listed.end(), [&](const Track::TrackEntry& e) {
            return e.name == plan.name && std::filesystem::is_regular_file(e.preview);
        }));
        for (const std::string& picture : {plan.heightMapFile, plan.textureFile}) {
            EXPECT_TRUE(std::filesystem::is_regular_file(dataFolder / "images" / picture));
        }
        // At least as much to see as the Test Track.
        EXPECT_GE(shipped.objects.size(), 12u);
        EXPECT_GE(shipped.checkpoints.size(), 4u);
        EXPECT_EQ(shipped.startPositions.size(), 3u);
    }
}

TEST(TrackPlanTest, TheTestTrackPlanDescribesTheTestTrack) {
    Track::TrackDesc described = TrackGen::describeTrack(Plans::testTrack());
    ASSERT_EQ(described.drivingLine.size(), 299u);
    EXPECT_EQ(described.drivingLine.front(), glm::vec2(30.0f, 67.0f));
    described.drivingLine.clear();
    EXPECT_EQ(Track::writeTrack(described), Track::writeTrack(Track::testTrack()));
}

TEST(TrackPlanTest, TheDrivabilityCheckFindsEachFault) {
    const TrackGen::TrackPlan sound = Plans::lakeside();
    ASSERT_EQ(faultsOf(sound), "");
    struct Breakage {
        const char* fault;
        std::function<void(TrackGen::TrackPlan&)> breakPlan;
    };
    const Breakage breakages[] = {
        {"house StaticObject_House stands on the road",
         [](auto& p) { p.houses[0].x = p.road[2].x, p.houses[0].z = p.road[2].z; }},
        {"crates DynamicObject_CrateB stand on the road",
         [](auto& p) {
             p.crateGroups[1].x = p.road[9].x + 6.0f, p.crateGroups[1].z = p.road[9].z;
         }},
        {"comes before the one before it",
         [](auto& p) { std::swap(p.checkpoints[1], p.checkpoints[2]); }},
        {"is off the road",
         [](auto& p) { p.checkpoints[3].x = 130.0f, p.checkpoints[3].z = 128.0f; }},
        {"leaves the terrain", [](auto& p) { p.road[7].x = 250.0f; }},
        {"bends with a radius",
         [](auto& p) {
             p.road[7] = {150.0f, 104.0f}, p.road[8] = {150.0f, 112.0f};
         }},
        {"of itself",
         [](auto& p) {
             p.road[13] = {120.0f, 46.0f};
         }},
        {"climbs",
         [](auto& p) {
             p.roadWave = 4.0f, p.maxGrade = 0.6f, p.roundOff = 2.0f;
             p.hills.push_back({222.0f, 130.0f, 14.0f, 6.0f});
         }},
        {"under water",
         [](auto& p) {
             p.dips.push_back({222.0f, 130.0f, 30.0f, 2.0f});
         }},
        {"is not on a straight toward the goal",
         [](auto& p) { p.startPositions[2].heading += 20.0f; }},
        {"does not stand across the road", [](auto& p) { p.gates[1].yaw += 90.0f; }},
        {"a track needs a start grid", [](auto& p) { p.startPositions.clear(); }},
    };
    for (const Breakage& breakage : breakages) {
        TrackGen::TrackPlan plan = sound;
        breakage.breakPlan(plan);
        EXPECT_NE(faultsOf(plan).find(breakage.fault), std::string::npos)
            << breakage.fault << " in:\n"
            << faultsOf(plan);
    }
}

TEST(TrackPlanTest, AGeneratedTrackRepeatsItselfAndItsHeightMapCarriesTheGrid) {
    TrackGen::TrackPlan plan = Plans::quarry();
    TrackGen::GenerateOptions options;
    options.textureSize = 256;
    options.previewSize = 64;
    const TrackGen::GeneratedTrack first = TrackGen::generateTrack(plan, options);
    const TrackGen::GeneratedTrack second = TrackGen::generateTrack(plan, options);
    ASSERT_EQ(first.heights.size(), static_cast<std::size_t>(41 * 41));
    EXPECT_EQ(first.heights, second.heights);
    EXPECT_EQ(Track::writeTrack(first.desc), Track::writeTrack(second.desc));
    ASSERT_EQ(first.groundTexture.width(), 256);
    ASSERT_EQ(first.preview.width(), 64);
    for (int y = 0; y < 256; y += 17) {
        for (int x = 0; x < 256; x += 13) {
            EXPECT_EQ(first.groundTexture.at(x, y), second.groundTexture.at(x, y));
        }
    }
    // The game reads each grid vertex from the pixel x (width - 1) / size, truncated.
    const int pixels = first.heightMap.width();
    ASSERT_EQ(pixels, 513);
    const float step = plan.terrainSize / 40.0f;
    for (int row = 0; row < 41; row += 5) {
        for (int column = 0; column < 41; column += 3) {
            const int px = static_cast<int>(column * step * (pixels - 1) / plan.terrainSize);
            const int pz = static_cast<int>(row * step * (pixels - 1) / plan.terrainSize);
            EXPECT_NEAR(first.heightMap.at(px, pz)[0] * plan.heightScale,
                        first.heights[static_cast<std::size_t>(row * 41 + column)],
                        plan.heightScale / 510.0f);
        }
    }
}

namespace {

// What a lap of a plan's road is like: its length, the length of its long straights (100
// units or more, heading within 3 degrees) together, how many hairpins (turning half round within
// 60 units), how far it climbs from its lowest to its highest point, and how long it runs under
// water.
struct RoadCharacter {
    float length = 0.0f;
    float longStraights = 0.0f;
    int hairpins = 0;
    float relief = 0.0f;
    float underWater = 0.0f;
};

RoadCharacter characterOf(const TrackGen::TrackPlan& plan) {
    const TrackGen::RoadLine road(plan.road);
    const TrackGen::TerrainModel terrain(plan, road);
    const auto& samples = road.samples();
    const int n = static_cast<int>(samples.size());
    const auto heading = [&](int i) {
        const TrackGen::GroundPoint d = road.direction(i);
        return std::atan2(d.x, d.z);
    };
    const auto turn = [&](int from, int to) {
        return std::remainder(heading(to) - heading(from), 2.0f * std::numbers::pi_v<float>);
    };
    RoadCharacter character;
    character.length = road.length();
    float lowest = 1e9f;
    float highest = -1e9f;
    const int hairpinReach = static_cast<int>(60.0f / TrackGen::RoadLine::spacing);
    for (int i = 0; i < n; ++i) {
        const float h = terrain.heightAt(samples[i].x, samples[i].z);
        lowest = std::min(lowest, h);
        highest = std::max(highest, h);
        character.underWater += h < plan.waterLevel ? TrackGen::RoadLine::spacing : 0.0f;
    }
    for (int i = 0; i < n;) {
        int j = i;
        while (j - i < n && std::fabs(turn(i, j)) < 3.0f * std::numbers::pi_v<float> / 180.0f) {
            ++j;
        }
        const float straight = static_cast<float>(j - i) * TrackGen::RoadLine::spacing;
        character.longStraights += straight >= 100.0f ? straight : 0.0f;
        i = std::max(j, i + 1);
    }
    character.relief = highest - lowest;
    // Hairpins counted once each: a half turn within reach, then skip past it.
    for (int i = 0; i < n;) {
        if (std::fabs(turn(i, i + hairpinReach)) > 2.8f) {
            ++character.hairpins;
            i += hairpinReach;
        } else {
            ++i;
        }
    }
    return character;
}

} // namespace

TEST(TrackPlanTest, EachNewTrackHasItsOwnCharacter) {
    const RoadCharacter test = characterOf(Plans::testTrack());
    const RoadCharacter lakeside = characterOf(Plans::lakeside());
    const RoadCharacter forest = characterOf(Plans::forestHills());
    const RoadCharacter quarry = characterOf(Plans::quarry());
    // Lakeside: the long straights, fast and flat, round its lake.
    EXPECT_GT(lakeside.longStraights, 300.0f);
    EXPECT_GT(lakeside.longStraights, 2.0f * std::max(forest.longStraights, quarry.longStraights));
    EXPECT_LT(lakeside.relief, 3.0f);
    // Forest Hills: hairpins, and the most climbing.
    EXPECT_GE(forest.hairpins, 2);
    EXPECT_EQ(test.hairpins + lakeside.hairpins, 0);
    EXPECT_GT(forest.relief, 6.0f);
    EXPECT_GT(forest.relief, std::max({test.relief, lakeside.relief}));
    // Quarry: the shortest lap, and the only one through water, but not deep.
    EXPECT_LT(quarry.length, std::min({test.length, lakeside.length, forest.length}));
    EXPECT_GT(quarry.underWater, 10.0f);
    EXPECT_EQ(test.underWater + lakeside.underWater + forest.underWater, 0.0f);
}
