// Writes brightday1.jpg: the sky box's six square faces stacked vertically, +X at
// the top, then -X, +Y, -Y, +Z and -Z. Every pixel is the sky seen in the direction
// the built-in sky box maps to it, so the faces meet without seams.
//   gen_sky <images folder>
#include "TrackGen/Raster.h"
#include "common/SkyModel.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: gen_sky <images folder>\n";
        return 2;
    }
    constexpr int face = 512;
    const Tools::SkyModel sky;
    TrackGen::Raster picture(face, face * 6);
    picture.fill([&](int x, int y) {
        const int f = 5 - y / face; // row 0 is the bottom of the picture
        const float u = (x + 0.5f) / face;
        const float v = (y % face + 0.5f) / face;
        return sky.colour(Tools::SkyModel::faceDirection(f, u, v));
    });
    if (!picture.saveJpeg(std::string(argv[1]) + "/brightday1.jpg", 92)) {
        std::cerr << "gen_sky: could not write brightday1.jpg\n";
        return 1;
    }
    return 0;
}
