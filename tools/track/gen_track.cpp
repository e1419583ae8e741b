// Generates a shipped track from its plan: gen_track <data folder> <truetype folder>
// <stem> writes the track's height map, painted ground and preview into the data
// folder's images, and its track file and driving line (the road's centre line in
// driving order, one "x z" pair per line, a point about every two units, closing on
// itself) into its tracks folder.
#include "Track/TrackFile.h"
#include "TrackGen/Generator.h"
#include "common/TextPainter.h"
#include "plans/Plans.h"

#include <cstdio>
#include <fstream>
#include <iostream>

namespace {

bool writeLine(const std::string& path, const std::vector<glm::vec2>& points) {
    std::ofstream line(path);
    line << "# Brumbly driving line: x z in driving order, a closed loop\n";
    for (const glm::vec2& point : points) {
        char text[64];
        std::snprintf(text, sizeof text, "%.2f %.2f\n", point.x, point.y);
        line << text;
    }
    return static_cast<bool>(line);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: gen_track <data folder> <truetype folder> <track file stem>\n";
        return 2;
    }
    const std::string images = std::string(argv[1]) + "/images/";
    const std::string tracks = std::string(argv[1]) + "/tracks/";
    TrackGen::TrackPlan plan;
    if (!Plans::findShipped(argv[3], plan)) {
        std::cerr << "gen_track: no shipped track is called " << argv[3] << "\n";
        return 2;
    }
    const Tools::TextPainter font(std::string(argv[2]) + "/LiberationSans-Bold.ttf", 18);
    TrackGen::GenerateOptions options;
    options.label = [&](TrackGen::Raster& picture, const std::string& text, int centre,
                        int baseline, const TrackGen::Colour& colour) {
        font.drawCentred(picture, text, centre, baseline, colour);
    };
    const TrackGen::GeneratedTrack track = TrackGen::generateTrack(plan, options);
    for (const std::string& fault : TrackGen::drivabilityFaults(plan)) {
        std::cerr << "gen_track: " << plan.name << ": " << fault << "\n";
    }
    TrackGen::ensureParentDirectory(tracks + plan.trackFile);
    std::ofstream file(tracks + plan.trackFile);
    file << "# Brumbly track: written by gen_track from the track's plan\n"
         << Track::writeTrack(track.desc);
    const bool ok = track.heightMap.saveJpeg(images + plan.heightMapFile, 100) &&
                    track.groundTexture.saveJpeg(images + plan.textureFile, 90) &&
                    track.preview.savePng(images + plan.previewFile) &&
                    writeLine(tracks + plan.lineFile, track.desc.drivingLine) &&
                    static_cast<bool>(file);
    if (!ok) {
        std::cerr << "gen_track: could not write " << plan.name << "'s files into " << argv[1]
                  << "\n";
        return 1;
    }
    return 0;
}
