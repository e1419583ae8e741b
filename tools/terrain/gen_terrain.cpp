// Writes the Test Track's land: GroundHeightmap.jpg, GroundTexture.jpg and
// GroundBorder.jpg into the images folder given as the only argument.
#include "GroundPainter.h"
#include "common/Noise.h"
#include "common/Raster.h"
#include "common/TerrainModel.h"

#include <cmath>
#include <iostream>
#include <string>

namespace {

using namespace Tools;

constexpr int heightMapSize = 513; // one pixel every half unit
constexpr int textureSize = 2048;

Colour grey(float height) {
    const float level = std::round(height / TerrainModel::heightScale * 255.0f) / 255.0f;
    return rgb(level, level, level);
}

// The terrain reads one pixel per grid vertex: the one at x (width - 1) / 256,
// truncated, in single precision as the game computes it.
int vertexPixel(int vertex) {
    const float position = static_cast<float>(vertex) * TrackLayout::gridStep;
    return static_cast<int>(position * static_cast<float>(heightMapSize - 1) /
                            TrackLayout::terrainSize);
}

// The drawn surface everywhere, and at the pixels the grid vertices are read from,
// the vertex heights themselves.
Raster makeHeightMap(const TerrainModel& terrain) {
    Raster map(heightMapSize, heightMapSize);
    const float unitsPerPixel = TrackLayout::terrainSize / (heightMapSize - 1);
    map.fill(
        [&](int x, int y) { return grey(terrain.heightAt(x * unitsPerPixel, y * unitsPerPixel)); });
    for (int row = 0; row < TrackLayout::gridVertices; ++row) {
        for (int column = 0; column < TrackLayout::gridVertices; ++column) {
            map.at(vertexPixel(column), vertexPixel(row)) = grey(terrain.vertexHeight(column, row));
        }
    }
    return map;
}

Raster makeGroundTexture(const GroundPainter& painter) {
    Raster texture(textureSize, textureSize);
    const float unitsPerPixel = TrackLayout::terrainSize / textureSize;
    texture.fill([&](int x, int y) {
        return painter.colourAt((x + 0.5f) * unitsPerPixel, (y + 0.5f) * unitsPerPixel);
    });
    return texture;
}

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
    const TrackLayout track;
    const TerrainModel terrain(track);
    const GroundPainter painter(track, terrain);
    const bool ok = makeHeightMap(terrain).saveJpeg(folder + "GroundHeightmap.jpg", 100) &&
                    makeGroundTexture(painter).saveJpeg(folder + "GroundTexture.jpg", 90) &&
                    makeBorder().saveJpeg(folder + "GroundBorder.jpg", 90);
    if (!ok) {
        std::cerr << "gen_terrain: could not write the terrain images to " << folder << "\n";
        return 1;
    }
    return 0;
}
