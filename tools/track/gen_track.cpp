// Writes the Test Track's driving line, TestTrack.line, into the folder given as the
// only argument: the road's centre line in driving order from the start straight,
// one "x z" pair per line, a point about every two units, closing on itself.
#include "common/TrackLayout.h"

#include <cstdio>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: gen_track <tracks folder>\n";
        return 2;
    }
    const Tools::TrackLayout layout;
    std::ofstream out(std::string(argv[1]) + "/TestTrack.line");
    out << "# Brumbly driving line: x z in driving order, a closed loop\n";
    constexpr std::size_t every = 4; // samples are half a unit apart
    const auto& samples = layout.samples();
    for (std::size_t i = 0; i < samples.size(); i += every) {
        char text[64];
        std::snprintf(text, sizeof text, "%.2f %.2f\n", samples[i].x, samples[i].z);
        out << text;
    }
    return out ? 0 : 1;
}
