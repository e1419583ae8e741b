// Writes the effect and overlay pictures:
//   CloudShadowMap1.png  tileable cloud shadows (white and opaque = sunlit)
//   gradient_map.jpg     tileable wave bump map (normals: red/green x/z, blue up)
//   RaceDialog.png       translucent rounded panel of the race overlay
//   Brumbly.jpg          the loading screen: the title over a view of the track
//   gen_effects <images folder> <truetype folder>
#include "LoadingScreen.h"
#include "TrackGen/Noise.h"
#include "TrackGen/Raster.h"

#include <cmath>
#include <iostream>
#include <string>

namespace {

using namespace Tools;

Raster cloudShadows() {
    const Noise noise(601U);
    Raster picture(256, 256);
    picture.fill([&](int x, int y) {
        const float n = noise.fbm(x / 64.0f, y / 64.0f, 5, 0.55f, 4);
        const float shade = 1.0f - 0.85f * smoothstep(0.0f, 0.35f, n);
        // Alpha carries the same light share (a 32-bit picture needs a real alpha).
        return rgb(shade, shade, shade, shade);
    });
    return picture;
}

Raster waveBumps() {
    const Noise noise(602U);
    constexpr int size = 256;
    constexpr float twoPi = 6.2831853f;
    // Waves with whole numbers of crests across the tile, so that it repeats.
    const struct {
        float kx, kz, amplitude, phase;
    } waves[] = {
        {3, 1, 0.5f, 0.3f}, {-2, 4, 0.35f, 1.9f}, {5, -3, 0.22f, 4.1f}, {1, 7, 0.15f, 2.6f}};
    auto height = [&](float u, float v) {
        float h = 0.18f * noise.fbm(u * 8.0f, v * 8.0f, 3, 0.5f, 8);
        for (const auto& w : waves) {
            h += w.amplitude * std::sin(twoPi * (w.kx * u + w.kz * v) + w.phase) / 10.0f;
        }
        return h;
    };
    Raster picture(size, size);
    picture.fill([&](int x, int y) {
        const float u = static_cast<float>(x) / size;
        const float v = static_cast<float>(y) / size;
        const float e = 1.0f / size;
        const float dx = (height(u + e, v) - height(u - e, v)) / (2 * e) * 0.08f;
        const float dz = (height(u, v + e) - height(u, v - e)) / (2 * e) * 0.08f;
        const float length = std::sqrt(dx * dx + 1.0f + dz * dz);
        return rgb(0.5f - 0.5f * dx / length, 0.5f - 0.5f * dz / length, 0.5f + 0.5f / length);
    });
    return picture;
}

Raster raceDialog() {
    constexpr int w = 512;
    constexpr int h = 128;
    constexpr float radius = 30.0f;
    Raster picture(w, h);
    picture.fill([&](int x, int y) {
        // Signed distance to the rounded rectangle's outline (negative inside).
        const float px = std::fabs(x + 0.5f - w / 2.0f) - (w / 2.0f - radius - 2.0f);
        const float py = std::fabs(y + 0.5f - h / 2.0f) - (h / 2.0f - radius - 2.0f);
        const float outside = std::hypot(std::max(px, 0.0f), std::max(py, 0.0f)) +
                              std::min(std::max(px, py), 0.0f) - radius;
        const float v = (y + 0.5f) / h;
        Colour c = lerp(rgb(0.02f, 0.04f, 0.09f), rgb(0.10f, 0.16f, 0.28f), v);
        // A soft gloss over the upper half.
        c = lerp(c, rgb(0.35f, 0.45f, 0.6f), smoothstep(0.55f, 1.0f, v) * 0.35f);
        c[3] = 0.82f;
        const float rim = smoothstep(3.5f, 2.0f, std::fabs(outside + 3.0f));
        c = lerp(c, rgb(0.75f, 0.85f, 1.0f, 0.95f), rim);
        c[3] *= smoothstep(0.5f, -0.5f, outside);
        return c;
    });
    return picture;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: gen_effects <images folder> <truetype folder>\n";
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    const bool ok = cloudShadows().savePng(folder + "CloudShadowMap1.png") &&
                    waveBumps().saveJpeg(folder + "gradient_map.jpg", 95) &&
                    raceDialog().savePng(folder + "RaceDialog.png") &&
                    loadingScreen(argv[2]).saveJpeg(folder + "Brumbly.jpg", 92);
    if (!ok) {
        std::cerr << "gen_effects: could not write the pictures to " << folder << "\n";
        return 1;
    }
    return 0;
}
