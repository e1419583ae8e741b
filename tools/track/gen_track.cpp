// Writes the Test Track's files into the folder given as the only argument: its
// driving line, TestTrack.line (the road's centre line in driving order from the start
// straight, one "x z" pair per line, a point about every two units, closing on
// itself), and its track file, TestTrack.track, with the same driving line.
#include "Track/TestTrack.h"
#include "Track/TrackFile.h"
#include "common/TrackLayout.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>

namespace {

// The centre line at a point every two units, to the hundredth of a unit.
std::vector<glm::vec2> drivingLine() {
    const Tools::TrackLayout layout;
    constexpr std::size_t every = 4; // samples are half a unit apart
    const auto& samples = layout.samples();
    std::vector<glm::vec2> points;
    for (std::size_t i = 0; i < samples.size(); i += every) {
        glm::vec2 point;
        for (auto [value, coordinate] :
             {std::pair{samples[i].x, &point.x}, std::pair{samples[i].z, &point.y}}) {
            char text[32];
            const int length = std::snprintf(text, sizeof text, "%.2f", value);
            std::from_chars(text, text + length, *coordinate);
        }
        points.push_back(point);
    }
    return points;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: gen_track <tracks folder>\n";
        return 2;
    }
    const std::string folder = argv[1];
    Track::TrackDesc track = Track::testTrack();
    track.drivingLine = drivingLine();
    std::ofstream line(folder + "/" + Track::testTrackLineFile);
    line << "# Brumbly driving line: x z in driving order, a closed loop\n";
    for (const glm::vec2& point : track.drivingLine) {
        char text[64];
        std::snprintf(text, sizeof text, "%.2f %.2f\n", point.x, point.y);
        line << text;
    }
    std::ofstream file(folder + "/" + Track::testTrackFile);
    file << "# Brumbly track: written by gen_track from the Test Track's layout\n"
         << Track::writeTrack(track);
    return line && file ? 0 : 1;
}
