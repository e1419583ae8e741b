// The Test Track: building its content from the files on disk, and one frame of it
// at 1024 x 768 through the level's own passes (shadow pass, sky, scene, water),
// each pass alone and the whole frame with the buffer swap.
#include "Game/level/Level.h"
#include "BenchWindow.h"
#include "Data/FontManager.h"
#include "Game/vehicle/VehicleDesc.h"
#include "Physics/PhysicsSDK.h"
#include "Platform/Window.h"
#include "Render/rkernel/RKernel.h"
#include "System/File.h"

#include <GL/glew.h>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct Setup {
    std::unique_ptr<Render::RKernel> kernel = std::make_unique<Render::RKernel>();
    Physics::PhysicsSDK* sdk = nullptr;
};

// The window, fonts and SDK, made once; null without a display.
Setup* setup() {
    static Setup* made = [] {
        auto* s = new Setup;
        if (!Bench::openWindow(*s->kernel)) {
            return static_cast<Setup*>(nullptr);
        }
        System::File::loadFont({"Newsflash", "data\\images\\Fonts\\"});
        s->sdk = Physics::createPhysicsSDK(Physics::SDK_VERSION, nullptr);
        return s;
    }();
    return made;
}

void BM_BuildTestTrack(benchmark::State& state) {
    Setup* s = setup();
    if (!s) {
        state.SkipWithError("no window");
        return;
    }
    for (auto _ : state) {
        Game::Level level(s->sdk, Data::DETAIL_HIGH, s->kernel.get());
        level.buildTestTrack(3);
        benchmark::DoNotOptimize(level.getObjects().size());
    }
}

enum Pass { WholeFrame, ShadowOnly, MainOnly };

void levelFrame(benchmark::State& state, Pass pass) {
    Setup* s = setup();
    if (!s) {
        state.SkipWithError("no window");
        return;
    }
    Game::Level level(s->sdk, Data::DETAIL_HIGH, s->kernel.get());
    level.buildTestTrack(3);
    const auto frame = [&] {
        if (pass != MainOnly) {
            level.renderShadows();
        }
        if (pass != ShadowOnly) {
            s->kernel->setRenderTarget(s->kernel->getScreen());
            level.draw();
        }
        if (pass == WholeFrame) {
            s->kernel->getScreen()->end();
        }
        glFinish();
    };
    frame(); // uploads the meshes and textures
    for (auto _ : state) {
        frame();
    }
    Platform::pollEvents();
}

void BM_LevelFrame(benchmark::State& state) {
    levelFrame(state, WholeFrame);
}
void BM_LevelShadowPass(benchmark::State& state) {
    levelFrame(state, ShadowOnly);
}
void BM_LevelMainPass(benchmark::State& state) {
    levelFrame(state, MainOnly);
}

BENCHMARK(BM_BuildTestTrack)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LevelFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_LevelShadowPass)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_LevelMainPass)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace
