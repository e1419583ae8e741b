// Simulated seconds of the Test Track per wall-clock second: the real level built
// without a window, with its terrain, walls, obstacles and crates, and the game's three
// cars driven by computer drivers of each difficulty. Each iteration is one simulated
// second of the same race, frame by frame at 60 frames per second.
#include "Game/level/Level.h"
#include "Game/vehicle/VehicleDesc.h"
#include "Physics/PhysicsSDK.h"
#include "System/File.h"

#include <benchmark/benchmark.h>

namespace {

void testTrackRace(benchmark::State& state) {
    System::File::init(std::string(BRUMBLY_BIN_DIR) + "/bench");
    Physics::PhysicsSDK* sdk = Physics::createPhysicsSDK(Physics::SDK_VERSION, nullptr);
    {
        Game::Level level(sdk);
        if (!level.buildTestTrack(100)) {
            state.SkipWithError("the generated game data is missing");
        } else {
            for (std::uint32_t difficulty = 0; difficulty < 3; ++difficulty) {
                Data::Control control;
                control.aiEnabled = true;
                control.aiDifficulty = difficulty;
                level.createVehicleObject(
                    Game::describePlayerCar("Computer" + std::to_string(difficulty), control),
                    {0.0f, 0.0f, 255.0f});
            }
            for (auto _ : state) {
                for (int frame = 0; frame < 60; ++frame) {
                    level.update(1.0 / 60.0);
                }
            }
            state.counters["simulated_s_per_s"] = benchmark::Counter(
                static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
        }
    }
    sdk->release();
}

} // namespace

BENCHMARK(testTrackRace)->Unit(benchmark::kMillisecond)->Iterations(120);
