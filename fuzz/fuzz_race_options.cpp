// The race start's reader of config.ini: any file gives options that a window and a
// mixer take.
#include "FuzzSupport.h"
#include "RaceOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path file = FuzzSupport::writeInput("config.ini", data, size);
    const Data::Options options =
        readRaceOptions(ConfigFile(QString::fromStdString(file.string())));
    FuzzSupport::require(options.xResolution >= 640 && options.xResolution <= 16384 &&
                             options.yResolution >= 480 && options.yResolution <= 16384,
                         "the resolution is one a window can have");
    FuzzSupport::require(options.colorDepth == 16 || options.colorDepth == 24 ||
                             options.colorDepth == 32,
                         "the colour depth is 16, 24 or 32");
    FuzzSupport::require(options.soundVolume >= 0 && options.soundVolume <= 100 &&
                             options.musicVolume >= 0 && options.musicVolume <= 100,
                         "the volumes lie within 0 to 100");
    return 0;
}
