// The Test Track's land, read from the generated pictures with the terrain's own
// height rule: the road around the checkpoints stays dry and climbable on the
// 26 x 26 grid the ground mesh and the physics use, and the places where cars,
// crates and houses stand are level.
#include "GameDataSupport.h"
#include "TrackGen/RoadLine.h"
#include "track/plans/Plans.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace GameDataTest;

namespace {

constexpr int gridCount = 26;
constexpr float step = 256.0f / 25.0f;
constexpr float water = 2.0f;
// Rise over run the car is given to climb between neighbouring grid vertices.
constexpr float maxRoadSlope = 0.2f;

using Game::TestTrackLayout::checkpoints;
using Game::TestTrackLayout::obstacles;
using Game::TestTrackLayout::startPositions;

class TestTrackLand : public ::testing::Test {
protected:
    void SetUp() override {
        useBinFolder();
        map = loadImage("GroundHeightmap.jpg", "data\\images\\");
        ASSERT_TRUE(map->isValid());
        for (int row = 0; row < gridCount; ++row) {
            for (int column = 0; column < gridCount; ++column) {
                grid[row][column] = terrainHeight(map, column * step, row * step);
            }
        }
    }

    // Height of the drawn ground between grid vertices (the ground mesh's two
    // triangles per cell, split from (c, r + 1) to (c + 1, r)).
    float groundHeight(float x, float z) const {
        const float fx = std::clamp(x / step, 0.0f, 24.999f);
        const float fz = std::clamp(z / step, 0.0f, 24.999f);
        const int c = static_cast<int>(fx);
        const int r = static_cast<int>(fz);
        const float tx = fx - c;
        const float tz = fz - r;
        if (tx + tz <= 1.0f) {
            return grid[r][c] + (grid[r][c + 1] - grid[r][c]) * tx +
                   (grid[r + 1][c] - grid[r][c]) * tz;
        }
        return grid[r + 1][c + 1] + (grid[r + 1][c] - grid[r + 1][c + 1]) * (1 - tx) +
               (grid[r][c + 1] - grid[r + 1][c + 1]) * (1 - tz);
    }

    bool nearRoad(float x, float z, float reach) const {
        return track.nearest(x, z).distance <= reach;
    }

    Data::ImagePtr map;
    float grid[gridCount][gridCount] = {};
    TrackGen::RoadLine track{Plans::testTrack().road};
};

} // namespace

TEST_F(TestTrackLand, RoadPassesEveryCheckpointGateAndStartPosition) {
    for (std::size_t i = 0; i < checkpoints.size(); ++i) {
        const Game::TrackPoint& c = checkpoints[i];
        EXPECT_LE(track.nearest(c.x, c.z).distance, std::hypot(c.a, c.b) - 3)
            << "checkpoint " << i + 1;
    }
    for (const Game::TestTrackLayout::Obstacle& g : obstacles) {
        if (g.gate) {
            EXPECT_LT(track.nearest(g.x, g.z).distance, 2.0f) << "gate at " << g.x << ", " << g.z;
        }
    }
    for (const Game::TrackPoint& s : startPositions) {
        EXPECT_LT(track.nearest(s.x, s.z).distance, 2.0f) << "start at " << s.x;
    }
    // The checkpoints come in driving order along the road.
    float previous = -1.0f;
    int wraps = 0;
    for (const Game::TrackPoint& c : checkpoints) {
        const float s = track.nearest(c.x, c.z).s;
        wraps += s < previous ? 1 : 0;
        previous = s;
    }
    EXPECT_LE(wraps, 1);
}

TEST_F(TestTrackLand, RoadStaysAboveTheWaterEveryUnit) {
    float lowest = 100.0f;
    for (float s = 0.0f; s < track.length(); s += 1.0f) {
        const auto& sample = track.samples()[static_cast<std::size_t>(s * 2.0f)];
        lowest = std::min(lowest, terrainHeight(map, sample.x, sample.z));
        lowest = std::min(lowest, groundHeight(sample.x, sample.z));
    }
    EXPECT_GT(lowest, water + 0.5f);
}

TEST_F(TestTrackLand, RoadIsClimbableBetweenGridVertices) {
    const float reach = Tools::TrackLayout::roadHalfWidth + 2.0f;
    int edges = 0;
    for (int row = 0; row < gridCount; ++row) {
        for (int column = 0; column < gridCount; ++column) {
            if (!nearRoad(column * step, row * step, reach)) {
                continue;
            }
            if (column + 1 < gridCount && nearRoad((column + 1) * step, row * step, reach)) {
                ++edges;
                EXPECT_LT(std::fabs(grid[row][column + 1] - grid[row][column]) / step, maxRoadSlope)
                    << "grid row " << row << ", columns " << column << "-" << column + 1;
            }
            if (row + 1 < gridCount && nearRoad(column * step, (row + 1) * step, reach)) {
                ++edges;
                EXPECT_LT(std::fabs(grid[row + 1][column] - grid[row][column]) / step, maxRoadSlope)
                    << "grid column " << column << ", rows " << row << "-" << row + 1;
            }
        }
    }
    EXPECT_GT(edges, 20);
    // The surface under every point of the road, tilt across included.
    for (const auto& sample : track.samples()) {
        const float e = 0.5f;
        const float dx =
            (groundHeight(sample.x + e, sample.z) - groundHeight(sample.x - e, sample.z)) / (2 * e);
        const float dz =
            (groundHeight(sample.x, sample.z + e) - groundHeight(sample.x, sample.z - e)) / (2 * e);
        EXPECT_LT(std::hypot(dx, dz), 0.25f) << "at " << sample.x << ", " << sample.z;
    }
}

// The grid's triangles meet at kinks. A car at full speed (about 30) flies off a crest
// whose grade falls by more than its suspension can follow, so along the centre line
// and the wheels' tracks 3 units either side the grade changes little from unit to unit.
TEST_F(TestTrackLand, RoadProfileHasNoKinkThatThrowsACarAtFullSpeed) {
    const auto& line = track.samples();
    const std::size_t n = line.size();
    for (const float offset : {-3.0f, 0.0f, 3.0f}) {
        std::vector<float> heights(n);
        for (std::size_t i = 0; i < n; ++i) {
            const auto& a = line[i];
            const auto& b = line[(i + 1) % n];
            const float length = std::hypot(b.x - a.x, b.z - a.z);
            heights[i] = groundHeight(a.x - (b.z - a.z) / length * offset,
                                      a.z + (b.x - a.x) / length * offset);
        }
        float worst = 0.0f;
        float where = 0.0f;
        for (std::size_t i = 0; i < n; ++i) {
            // Samples lie half a unit apart: grades over one unit before and after.
            const float before = heights[i] - heights[(i + n - 2) % n];
            const float after = heights[(i + 2) % n] - heights[i];
            if (before - after > worst) {
                worst = before - after;
                where = line[i].s;
            }
        }
        EXPECT_LT(worst, 0.035f) << "offset " << offset << ", " << where << " units along the road";
    }
}

TEST_F(TestTrackLand, StartGridCratePadAndHousePlotsAreLevel) {
    struct Pad {
        const char* what;
        float x0, z0, x1, z1;
    };
    const Pad pads[] = {{"start grid", 20, 62, 90, 72},
                        {"crate pyramid", 147, 46, 153, 54},
                        {"house at (178, 33)", 172, 28, 184, 38},
                        {"house at (70, 210)", 64, 205, 76, 215}};
    for (const Pad& pad : pads) {
        float low = 100.0f;
        float high = -100.0f;
        for (float z = pad.z0; z <= pad.z1; z += 0.5f) {
            for (float x = pad.x0; x <= pad.x1; x += 0.5f) {
                const float h = terrainHeight(map, x, z);
                low = std::min(low, std::min(h, groundHeight(x, z)));
                high = std::max(high, std::max(h, groundHeight(x, z)));
            }
        }
        EXPECT_LT(high - low, 0.15f) << pad.what;
        EXPECT_GT(low, water + 0.5f) << pad.what;
    }
}

TEST_F(TestTrackLand, HillsRiseTowardTheEdgesAndALakeLiesInsideTheLoop) {
    float edgeSum = 0.0f, innerSum = 0.0f, highest = 0.0f;
    int edgeCount = 0, innerCount = 0, flooded = 0;
    for (int row = 0; row < gridCount; ++row) {
        for (int column = 0; column < gridCount; ++column) {
            const float h = grid[row][column];
            highest = std::max(highest, h);
            const bool edge =
                row < 2 || column < 2 || row > gridCount - 3 || column > gridCount - 3;
            (edge ? edgeSum : innerSum) += h;
            ++(edge ? edgeCount : innerCount);
            // Inside the loop: between the start straight and the far side.
            const float x = column * step, z = row * step;
            if (x > 60 && x < 200 && z > 85 && z < 180 && h < water - 0.5f) {
                ++flooded;
                EXPECT_FALSE(nearRoad(x, z, 15.0f));
            }
        }
    }
    EXPECT_GT(edgeSum / edgeCount, innerSum / innerCount + 4.0f);
    EXPECT_GT(highest, 14.0f);
    EXPECT_GE(flooded, 6) << "grid vertices under water inside the loop";
}

// The ground texture is stretched over the land the same way round as the height
// map: the road is drawn where the road runs and the start line at the goal.
TEST_F(TestTrackLand, GroundTextureDrawsTheRoadAndTheStartLine) {
    const Data::ImagePtr texture = loadImage("GroundTexture.jpg", "data\\images\\");
    ASSERT_TRUE(texture->isValid());
    const float scale = static_cast<float>(texture->picture.getWidth()) / 256.0f;
    auto at = [&](float x, float z) {
        return pixel(texture, static_cast<int>(x * scale), static_cast<int>(z * scale));
    };
    auto grassy = [](const Rgb& c) { return c.g > c.r + 10; };
    int roadGrass = 0, offRoadGrass = 0, offRoad = 0;
    for (const auto& sample : track.samples()) {
        roadGrass += grassy(at(sample.x, sample.z)) ? 1 : 0;
    }
    for (float z = 8; z < 248; z += 8) {
        for (float x = 8; x < 248; x += 8) {
            const float h = terrainHeight(map, x, z);
            if (!nearRoad(x, z, 15.0f) && h > 3.0f && h < 10.0f) {
                ++offRoad;
                offRoadGrass += grassy(at(x, z)) ? 1 : 0;
            }
        }
    }
    EXPECT_LT(roadGrass, static_cast<int>(track.samples().size()) / 50);
    EXPECT_GT(offRoadGrass, offRoad / 2);
    // Black and white squares across the road at the goal.
    int dark = 0, light = 0;
    for (float z = 63.0f; z < 71.0f; z += 0.25f) {
        const Rgb c = at(82.383f, z);
        dark += c.r + c.g + c.b < 150 ? 1 : 0;
        light += c.r + c.g + c.b > 600 ? 1 : 0;
    }
    EXPECT_GT(dark, 5);
    EXPECT_GT(light, 5);
}
