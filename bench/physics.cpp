// One simulated second of the Test Track's physics: the terrain with its walls, the
// six crates of the pyramid and three cars driving circles at their start positions.

#include "Physics/BoxShape.h"
#include "Physics/PhysicsSDK.h"
#include "tests/Physics/PhysicsFixtures.h"

#include <benchmark/benchmark.h>
#include <cmath>

using namespace Physics;
using namespace PhysicsFixtures;

namespace {

float hills(float x, float z) {
    return 8.0f + 6.0f * std::sin(x * 0.03f) * std::cos(z * 0.025f) + 2.0f * std::sin(z * 0.07f);
}

void addCrate(Scene& scene, float y, float z) {
    BoxShapeDesc box;
    box.dimensions = Vec3(1.0f);
    BodyDesc body;
    body.mass = 2.0f;
    ActorDesc desc;
    desc.body = &body;
    desc.shapes.push_back(&box);
    desc.globalPose.t = Vec3(150.0f, hills(150.0f, z) + 1.0f + y, z);
    scene.createActor(desc);
}

void testTrack(benchmark::State& state) {
    SdkPtr sdk(createPhysicsSDK(SDK_VERSION, nullptr));
    sdk->setParameter(P_SKIN_WIDTH, 0.005f);
    Scene* scene = createGameScene(*sdk);
    createTerrain(*scene, hills);
    const float crates[6][2] = {{0.1f, 50.0f},  {0.1f, 47.5f},  {0.1f, 52.5f},
                                {2.2f, 48.75f}, {2.2f, 51.25f}, {4.3f, 50.0f}};
    for (const auto& crate : crates) {
        addCrate(*scene, crate[0], crate[1]);
    }
    std::vector<Car> cars;
    for (const float x : {70.0f, 50.0f, 25.0f}) {
        cars.push_back(createCar(*scene, x, 66.0f, hills, 90.0f));
    }
    for (std::size_t i = 0; i < cars.size(); ++i) {
        cars[i].setSteer((i % 2 == 0 ? 20.0f : -20.0f) * 3.14159265f / 180.0f);
    }
    const auto drive = [&cars] {
        for (const Car& car : cars) {
            car.setThrottle(car.forwardSpeed() < 8.0f ? 675.0f : 0.0f);
        }
    };
    for (auto _ : state) {
        run(*scene, 1.0f, drive);
    }
    state.counters["simulated_s_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(testTrack)->Unit(benchmark::kMillisecond);
