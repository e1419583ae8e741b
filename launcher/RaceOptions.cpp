#include "RaceOptions.h"

Data::Options readRaceOptions(const ConfigFile& config) {
    using namespace ConfigKeys;
    Data::Options options;
    options.soundVolume = config.readInt(audioSection, soundVolume, 75);
    options.musicVolume = config.readInt(audioSection, musicVolume, 50);
    options.xResolution =
        static_cast<std::uint32_t>(config.readInt(videoSection, xResolution, 1024));
    options.yResolution =
        static_cast<std::uint32_t>(config.readInt(videoSection, yResolution, 768));
    options.colorDepth = config.readInt(videoSection, colorDepth, 32);
    options.fullscreen = config.readInt(videoSection, fullscreen, 0) != 0;
    options.detail = config.readInt(videoSection, detail, Data::DETAIL_HIGH);
    return options;
}
