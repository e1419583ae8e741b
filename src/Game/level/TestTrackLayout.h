#pragma once

// Where everything on the Test Track lies: the one place the game, the data
// generators and the tests read the track's layout from. Plain values only, so that
// the generators include it without the game's libraries.
#include "Game/level/TrackPoint.h"

#include <array>

namespace Game::TestTrackLayout {

// Checkpoints in the order a lap passes them; the first is the goal line.
inline constexpr std::array<TrackPoint, 6> checkpoints{{{5, 5, 82.383f, 68.174f, 90},
                                                        {15, 15, 187, 66, 90},
                                                        {15, 15, 224, 150, 0},
                                                        {15, 15, 150, 204, -90},
                                                        {15, 15, 65, 187, -90},
                                                        {15, 15, 32, 110, 180}}};
// The start grid, in the order cars take their places; all face +x.
inline constexpr std::array<TrackPoint, 3> startPositions{
    {{1, 1, 70, 66, 90}, {1, 1, 50, 66, 90}, {1, 1, 25, 66, 90}}};

// A model standing on the ground: a gate collides with its two posts, a house with one
// box around it.
struct Obstacle {
    const char* name;
    const char* file;
    const char* directory;
    float x, z, yaw;
    bool gate;
};
inline constexpr std::array<Obstacle, 6> obstacles{{
    {"StaticObject_House", "house.dae", "data\\objects\\house\\", 178.0f, 33.0f, 0.0f, false},
    {"StaticObject_House1", "house.dae", "data\\objects\\house\\", 70.0f, 210.0f, 0.0f, false},
    {"StaticObject_Goal", "goal.dae", "data\\objects\\goal\\", 82.383f, 68.174f, 0.0f, true},
    {"Checkpoint_1", "checkpoint.dae", "data\\objects\\checkpoint\\", 224.5922f, 150.0f, -90.0f,
     true},
    {"Checkpoint_2", "checkpoint.dae", "data\\objects\\checkpoint\\", 150.0f, 198.573f, 0.0f, true},
    {"Checkpoint_3", "checkpoint.dae", "data\\objects\\checkpoint\\", 29.4545f, 110.0f, -90.0f,
     true},
}};

// The crate pyramid at x = cratesX: each crate's height above the ground and its z.
struct Crate {
    const char* name;
    float y, z;
};
inline constexpr float cratesX = 150.0f;
inline constexpr std::array<Crate, 6> crates{{{"DynamicObject_Crate", 0.1f, 50.0f},
                                              {"DynamicObject_Crate1", 0.1f, 47.5f},
                                              {"DynamicObject_Crate2", 0.1f, 52.5f},
                                              {"DynamicObject_Crate3", 2.2f, 48.75f},
                                              {"DynamicObject_Crate4", 2.2f, 51.25f},
                                              {"DynamicObject_Crate5", 4.3f, 50.0f}}};

} // namespace Game::TestTrackLayout
