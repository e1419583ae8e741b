// One frame of a lit, textured, shadowed scene of about 50,000 triangles drawn with
// the game's own programs ("createShadowMap", and "default" as the High detail
// builds it) at 1024 x 768, presented by a buffer swap, under each draw strategy;
// and the two passes alone.
#include "BenchWindow.h"
#include "Data/Options.h"
#include "Game/level/DetailSettings.h"
#include "Platform/Window.h"
#include "Render/rkernel/RKernel.h"
#include "System/File.h"
#include "tests/Render/ShadowScene.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Ground: 2 x 40 x 40 = 3,200 triangles; 20 spheres of 2 x 48 x 23 = 2,208 triangles;
// three boxes of 12: 47,396 triangles in all.
constexpr int GROUND_CELLS = 40;
constexpr int SPHERES = 20;
constexpr int SPHERE_SEGMENTS = 48;

struct Setup {
    std::unique_ptr<Render::RKernel> kernel = std::make_unique<Render::RKernel>();
    RenderTest::ShadowScene scene;
};

// The window and the scene, made once for all benchmarks; null without a display.
Setup* setup() {
    static Setup* made = [] {
        auto* s = new Setup;
        if (!Bench::openWindow(*s->kernel))
            return static_cast<Setup*>(nullptr);
        s->scene =
            RenderTest::makeShadowScene(*s->kernel, GROUND_CELLS, SPHERES, SPHERE_SEGMENTS, 2048);
        const Game::DetailSettings high = Game::DetailSettings::of(Data::DETAIL_HIGH);
        s->scene.mainProgram =
            *Game::withDefines(System::File::loadShader({"default", "shaders\\"}),
                               high.litDefines(Game::LightSetup::of(s->scene.lights)));
        s->scene.shadowProgram = *System::File::loadShader({"createShadowMap", "shaders\\"});
        s->kernel->bindTexture("envMap",
                               System::File::loadImage({"brightday1.jpg", "data\\images\\"}));
        s->kernel->bindTexture("cloudShadowMap",
                               System::File::loadImage({"CloudShadowMap1.png", "data\\images\\"}));
        return s;
    }();
    return made;
}

enum Pass { Frame, ShadowOnly, MainOnly };

void renderPass(benchmark::State& state, std::int32_t strategy, Pass pass) {
    Setup* s = setup();
    if (!s) {
        state.SkipWithError("no window or no game programs");
        return;
    }
    s->kernel->setDrawStrategy(strategy);
    s->scene.draw(*s->kernel); // uploads (under buffer objects) and warms up
    glFinish();
    for (auto _ : state) {
        if (pass != MainOnly)
            s->scene.drawShadowPass(*s->kernel, s->scene.casters);
        if (pass != ShadowOnly)
            s->scene.drawMainPass(*s->kernel);
        if (pass == Frame)
            s->kernel->getScreen()->end();
        glFinish();
    }
    Platform::pollEvents();
}

void BM_FrameVertexArrays(benchmark::State& state) {
    renderPass(state, Render::RKernel::VertexArrays, Frame);
}
void BM_FrameVertexBufferObjects(benchmark::State& state) {
    renderPass(state, Render::RKernel::VertexBufferObjects, Frame);
}
void BM_ShadowPassVertexBufferObjects(benchmark::State& state) {
    renderPass(state, Render::RKernel::VertexBufferObjects, ShadowOnly);
}
void BM_MainPassVertexBufferObjects(benchmark::State& state) {
    renderPass(state, Render::RKernel::VertexBufferObjects, MainOnly);
}

BENCHMARK(BM_FrameVertexArrays)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FrameVertexBufferObjects)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ShadowPassVertexBufferObjects)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MainPassVertexBufferObjects)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
