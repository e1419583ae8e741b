// Writes GroundBorder.jpg, the earth layers every terrain shows on its sides, into the
// images folder given as the only argument.
#include "TrackGen/Noise.h"
#include "TrackGen/Raster.h"

#include <cmath>
#include <iostream>
#include <string>

namespace {

using namespace TrackGen;

// Earth layers seen on the terrain's sides: a grass fringe at the top (the picture's
// top edge meets the surface), topsoil, clay, sand, gravel and bedrock below.
Raster makeBorder() {
    const Noise noise(91U);
    Raster border(1024, 256);
    struct Layer {
        float top; // fraction of the height from the bottom
        Colour colour;
    };
    const Layer layers[] = {
        {1.00f, rgb(0.25f, 0.40f, 0.12f)}, {0.97f, rgb(0.26f, 0.19f, 0.12f)},
        {0.86f, rgb(0.45f, 0.31f, 0.18f)}, {0.70f, rgb(0.62f, 0.45f, 0.26f)},
        {0.58f, rgb(0.72f, 0.63f, 0.45f)}, {0.47f, rgb(0.50f, 0.46f, 0.40f)},
        {0.33f, rgb(0.38f, 0.37f, 0.36f)},
    };
    border.fill([&](int x, int y) {
        const float u = static_cast<float>(x) / border.width();
        const float v = (y + 0.5f) / border.height();
        Colour c = layers[0].colour;
        for (const Layer& layer : layers) {
            const float wave = 0.025f * noise.fbm(u * 12.0f, layer.top * 7.0f, 3, 0.5f, 12);
            if (v < layer.top + wave) {
                c = layer.colour;
            }
        }
        const float speckle = noise.fbm(u * 160.0f, v * 40.0f, 2, 0.5f, 160);
        const float stones = smoothstep(0.35f, 0.5f, noise.gradient(u * 90.0f, v * 22.0f, 90));
        c = scaled(c, 0.9f + 0.15f * speckle - 0.2f * stones * (v < 0.6f));
        return c;
    });
    return border;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: gen_terrain <images folder>\n";
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    if (!makeBorder().saveJpeg(folder + "GroundBorder.jpg", 90)) {
        std::cerr << "gen_terrain: could not write the terrain's border to " << folder << "\n";
        return 1;
    }
    return 0;
}
