// What a race draws over the scene every frame at 1024 x 768, with a glFinish after
// each frame and no buffer swap: the race overlay of three drivers (times that change
// every frame, ranking panels), the race map with three dots, and three name tags;
// and a cleared screen alone to subtract. Processor time counts every thread of the
// process, the software rasteriser's included.
#include "BenchWindow.h"
#include "Data/Camera.h"
#include "Game/level/DrivingLine.h"
#include "Game/level/TestTrackLayout.h"
#include "Game/overlay/Frame.h"
#include "Game/overlay/RaceOverlay.h"
#include "Game/views/MiniMap.h"
#include "Game/views/NameTags.h"
#include "Platform/Window.h"
#include "Render/rkernel/RKernel.h"
#include "System/File.h"
#include "Track/TestTrack.h"

#include <GL/glew.h>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

const std::vector<std::string> NAMES{"Hal", "Max", "Alice"};
const std::vector<glm::vec3> COLOURS{{255, 40, 40}, {40, 120, 255}, {250, 220, 40}};

struct Setup {
    std::unique_ptr<Render::RKernel> kernel = std::make_unique<Render::RKernel>();
    std::unique_ptr<Game::Frame> frame;
    std::unique_ptr<Game::RaceOverlay> race;
    std::unique_ptr<Game::MiniMap> map;
    std::unique_ptr<Game::NameTags> tags;
};

// The window and the overlay, made once for all benchmarks; null without a display.
Setup* setup() {
    static Setup* made = [] {
        auto* s = new Setup;
        if (!Bench::openWindow(*s->kernel))
            return static_cast<Setup*>(nullptr);
        for (const char* name : {"Arial", "TimesNewRoman", "Newsflash"})
            System::File::loadFont({name, "data\\images\\Fonts\\"});
        s->frame = std::make_unique<Game::Frame>(s->kernel.get());
        s->race = Game::RaceOverlay::create(*s->frame, NAMES, COLOURS);
        const std::vector<Game::TrackPoint> checkpoints(Game::TestTrackLayout::checkpoints.begin(),
                                                        Game::TestTrackLayout::checkpoints.end());
        Game::DrivingLine line;
        line.load({Track::testTrackLineFile, "data\\tracks\\"});
        s->map = std::make_unique<Game::MiniMap>(glm::vec2(256.0f), line.getPoints(), checkpoints);
        s->tags = std::make_unique<Game::NameTags>(NAMES, COLOURS);
        return s;
    }();
    return made;
}

enum Part { Clear, RaceOverlay, MapAndTags };

void drawOverlay(benchmark::State& state, Part part) {
    Setup* s = setup();
    if (!s) {
        state.SkipWithError("no window");
        return;
    }
    std::vector<Game::PlayerStanding> standings(NAMES.size());
    standings[1].lapTimes = {41.25};
    standings[1].bestLap = 41.25;
    const Data::Camera camera(1.0f, 1000.0f, 45.0f, 0);
    const std::vector<glm::vec3> cars{{0, 0, -20}, {6, 0, -30}, {-6, 0, -45}};
    const Game::PixelRect view{0.0f, 0.0f, 1024.0f, 768.0f};
    double time = 0.0;
    for (auto _ : state) {
        // A frame's worth of race time: the times shown change every frame.
        time += 1.0 / 60.0;
        for (std::size_t i = 0; i < standings.size(); ++i)
            standings[i].lapTime = time + static_cast<double>(i);
        s->kernel->setRenderTarget(s->kernel->getScreen());
        if (part == RaceOverlay) {
            s->race->update(time, "Test Track", 3, standings);
            s->frame->draw();
        } else if (part == MapAndTags) {
            const std::vector<Game::MapCar> dots{
                {{20, 30}, COLOURS[0]}, {{120, 90}, COLOURS[1]}, {{200, 180}, COLOURS[2]}};
            s->tags->draw(*s->kernel, view, camera, cars, std::nullopt);
            s->map->draw(*s->kernel, view, dots, 0);
        }
        glFinish();
    }
    Platform::pollEvents();
}

void BM_ClearOnly(benchmark::State& state) {
    drawOverlay(state, Clear);
}
void BM_RaceOverlay(benchmark::State& state) {
    drawOverlay(state, RaceOverlay);
}
void BM_MapAndNameTags(benchmark::State& state) {
    drawOverlay(state, MapAndTags);
}

BENCHMARK(BM_ClearOnly)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_RaceOverlay)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_MapAndNameTags)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime()->UseRealTime();

} // namespace
