// Scene data costs paid while a level loads or an overlay updates its text:
// validating a loaded mesh, laying out a line of text and boxing a node tree.
#include "Data/FontManager.h"
#include "Data/Object.h"
#include "Data/TextDrawable.h"

#include <benchmark/benchmark.h>

namespace {

Data::Mesh gridMesh(std::uint32_t side) {
    Data::Mesh mesh("grid");
    for (std::uint32_t z = 0; z < side; ++z) {
        for (std::uint32_t x = 0; x < side; ++x) {
            mesh.vertices.emplace_back(static_cast<float>(x), 0.0f, static_cast<float>(z));
        }
    }
    mesh.normals.assign(mesh.vertices.size(), glm::vec3(0, 1, 0));
    for (std::uint32_t z = 0; z + 1 < side; ++z) {
        for (std::uint32_t x = 0; x + 1 < side; ++x) {
            const std::uint32_t i = z * side + x;
            mesh.indices.insert(mesh.indices.end(),
                                {i, i + side, i + 1, i + 1, i + side, i + side + 1});
        }
    }
    mesh.faces.push_back(
        {Data::FT_TRIANGLES, static_cast<std::uint32_t>(mesh.indices.size()), nullptr});
    return mesh;
}

void meshCheck(benchmark::State& state) {
    Data::Mesh mesh = gridMesh(static_cast<std::uint32_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(mesh.check());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(mesh.indices.size()));
}
BENCHMARK(meshCheck)->Arg(64)->Arg(256);

void textLine(benchmark::State& state) {
    auto font = std::make_shared<Data::Font>();
    font->image = std::make_shared<Data::Image>();
    font->image->picture.setSize(FIT_BITMAP, 256, 256, 32);
    Data::FontManager::getInstance().registerFont("bench", font);
    const std::string text = "Lap 2/3  01:23.45  Best 00:41.20\nPosition 1";
    for (auto _ : state) {
        benchmark::DoNotOptimize(Data::makeText(text, "bench", 0.5f, Data::TA_CENTER));
    }
}
BENCHMARK(textLine);

void treeBoundingBox(benchmark::State& state) {
    auto mesh = std::make_shared<Data::Mesh>(gridMesh(16));
    auto root = std::make_shared<Data::SGNode>();
    for (int i = 0; i < state.range(0); ++i) {
        auto child = std::make_shared<Data::Object>(mesh);
        child->moveSideways(static_cast<float>(i), false);
        child->yaw(static_cast<float>(i), true);
        root->addChild(child);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(root->getBoundingBox());
    }
}
BENCHMARK(treeBoundingBox)->Arg(100);

} // namespace
