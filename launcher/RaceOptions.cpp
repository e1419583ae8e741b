#include "RaceOptions.h"

#include "Tool/LogManager.h"
#include "Tool/Message.h"

#include <optional>

namespace {

// The key's value (defaultValue when it is missing), or nothing, with a warning in
// the log, when `valid` refuses the value in the file.
template <class Valid>
std::optional<int> read(const ConfigFile& config, const QString& section, const QString& key,
                        int defaultValue, Valid valid) {
    const int value = config.readInt(section, key, defaultValue);
    if (valid(value)) {
        return value;
    }
    Tool::LogManager::getInstance().send(
        Tool::Message("Brumbly", "Setting out of range, using the default",
                      QStringLiteral("[%1] %2=%3 in %4")
                          .arg(section, key, QString::number(value), config.fileName())
                          .toStdString(),
                      __FILE__, __LINE__, Tool::MT_WARNING));
    return std::nullopt;
}

bool isVolume(int value) {
    return value >= 0 && value <= 100;
}

bool isWidth(int value) {
    return value >= 640 && value <= 16384;
}

bool isHeight(int value) {
    return value >= 480 && value <= 16384;
}

bool isColorDepth(int value) {
    return value == 16 || value == 24 || value == 32;
}

} // namespace

Data::Options readRaceOptions(const ConfigFile& config) {
    using namespace ConfigKeys;
    const Data::Options defaults;
    Data::Options options;
    options.soundVolume = read(config, audioSection, soundVolume, defaults.soundVolume, isVolume)
                              .value_or(defaults.soundVolume);
    options.musicVolume = read(config, audioSection, musicVolume, defaults.musicVolume, isVolume)
                              .value_or(defaults.musicVolume);
    const std::optional<int> width =
        read(config, videoSection, xResolution, static_cast<int>(defaults.xResolution), isWidth);
    const std::optional<int> height =
        read(config, videoSection, yResolution, static_cast<int>(defaults.yResolution), isHeight);
    // Half a resolution from the file and half from the defaults would be a size that
    // nobody chose: both fall back together.
    if (width && height) {
        options.xResolution = static_cast<std::uint32_t>(*width);
        options.yResolution = static_cast<std::uint32_t>(*height);
    }
    options.colorDepth = read(config, videoSection, colorDepth, defaults.colorDepth, isColorDepth)
                             .value_or(defaults.colorDepth);
    options.fullscreen = config.readInt(videoSection, fullscreen, defaults.fullscreen ? 1 : 0) != 0;
    options.detail = config.readInt(videoSection, detail, defaults.detail);
    return options;
}
