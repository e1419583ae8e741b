#include "Game/level/RaceTrack.h"

#include "Tool/LogManager.h"
#include "Tool/LogText.h"
#include "Track/Catalogue.h"
#include "Track/RandomName.h"
#include "TrackGen/Generator.h"
#include "TrackGen/RandomPlan.h"

#include <algorithm>
#include <cmath>

namespace Game {

namespace {

// Half the shipped tracks' ground picture on a side: painted in a quarter of the time,
// which keeps the race start's wait for a new track short.
constexpr int generatedTextureSize = 1024;

BYTE toByte(float value) {
    return static_cast<BYTE>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

// A 24-bit picture of the raster's colours; both count rows from the bottom.
Data::ImagePtr imageOf(const TrackGen::Raster& raster, const std::string& name) {
    auto image = std::make_shared<Data::Image>();
    image->name = name;
    if (!image->picture.setSize(FIT_BITMAP, static_cast<unsigned>(raster.width()),
                                static_cast<unsigned>(raster.height()), 24)) {
        return image;
    }
    for (int y = 0; y < raster.height(); ++y) {
        BYTE* line = image->picture.getScanLine(static_cast<unsigned>(y));
        for (int x = 0; x < raster.width(); ++x) {
            const TrackGen::Colour& colour = raster.at(x, y);
            BYTE* pixel = line + 3 * x;
            pixel[FI_RGBA_RED] = toByte(colour[0]);
            pixel[FI_RGBA_GREEN] = toByte(colour[1]);
            pixel[FI_RGBA_BLUE] = toByte(colour[2]);
        }
    }
    return image;
}

} // namespace

bool findRaceTrack(const std::string& name, const std::filesystem::path& folder,
                   Track::TrackDesc& track) {
    if (!Track::isRandomTrackName(name)) {
        return Track::loadTrack(name, folder, track);
    }
    std::uint32_t seed = 0;
    if (!Track::randomTrackSeed(name, seed)) {
        Tool::LogManager::getInstance().send(
            Tool::Message("Track", "Generating the track .. [Failed]",
                          "the seed of \"" + Tool::logExcerpt(name) +
                              "\" is no whole number from 0 to 4294967295",
                          __FILE__, __LINE__, Tool::MT_ERROR));
        return false;
    }
    TrackGen::GenerateOptions options;
    options.previewSize = 0;
    options.textureSize = generatedTextureSize;
    TrackGen::GeneratedTrack generated =
        TrackGen::generateTrack(TrackGen::randomPlan(seed), options);
    track = std::move(generated.desc);
    track.terrain.heightPicture = imageOf(generated.heightMap, name + " height map");
    track.terrain.texturePicture = imageOf(generated.groundTexture, name + " ground");
    return true;
}

} // namespace Game
