// Simulated seconds of the Test Track's physics per wall-clock second: the generated
// terrain with its walls, the crate pyramid and three of the game's cars driving the
// loop at full throttle with their keys, steered toward the road's centre line. Each
// iteration is one simulated second of the same two minutes of racing, frame by frame
// at 60 frames per second.

#include "Physics/BoxShape.h"
#include "tests/PhysicsTrack/TrackRig.h"

#include <benchmark/benchmark.h>

using namespace Physics;
using namespace TrackRig;

namespace {

// The crate model's box: 2 units wide, its origin at the middle of its bottom face.
void addCrate(Session& session, float y, float z) {
    BoxShapeDesc box;
    box.dimensions = Vec3(1.0f);
    box.localPose.t = Vec3(0.0f, 1.0f, 0.0f);
    BodyDesc body;
    body.mass = 2.0f;
    ActorDesc desc;
    desc.body = &body;
    desc.shapes.push_back(&box);
    desc.globalPose.t = Vec3(150.0f, session.ground().height(150.0f, z) + y, z);
    session.scene().createActor(desc);
}

void testTrack(benchmark::State& state) {
    Session session;
    if (!session.ground().isValid() || JeepGeometry::load().wheels.size() != 4) {
        state.SkipWithError("the generated game data is missing");
        return;
    }
    const float crates[6][2] = {{0.1f, 50.0f},  {0.1f, 47.5f},  {0.1f, 52.5f},
                                {2.2f, 48.75f}, {2.2f, 51.25f}, {4.3f, 50.0f}};
    for (const auto& crate : crates) {
        addCrate(session, crate[0], crate[1]);
    }
    for (const TrackPoint& start : startPositions()) {
        session.addDriver(session.addCar(start));
    }
    for (auto _ : state) {
        session.run(1.0f);
    }
    state.counters["simulated_s_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(testTrack)->Unit(benchmark::kMillisecond)->Iterations(120);
