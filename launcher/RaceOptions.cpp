#include "RaceOptions.h"

#include "Tool/LogManager.h"
#include "Tool/Message.h"

#include <optional>

namespace {

void warn(const ConfigFile& config, const std::string& title, const QString& setting) {
    Tool::LogManager::getInstance().send(
        Tool::Message("Brumbly", title, (setting + " in " + config.fileName()).toStdString(),
                      __FILE__, __LINE__, Tool::MT_WARNING));
}

// The key's value; nothing when the key is missing, and nothing with a warning when the
// value is no whole number or `valid` refuses it.
template <class Valid>
std::optional<int> read(const ConfigFile& config, const QString& section, const QString& key,
                        Valid valid) {
    const std::optional<QString> text = config.readText(section, key);
    if (!text) {
        return std::nullopt;
    }
    const QString setting = QStringLiteral("[%1] %2=%3").arg(section, key, *text);
    bool isNumber = false;
    const int value = text->toInt(&isNumber);
    if (!isNumber) {
        warn(config, "Setting is not a whole number, using the default", setting);
        return std::nullopt;
    }
    if (!valid(value)) {
        warn(config, "Setting out of range, using the default", setting);
        return std::nullopt;
    }
    return value;
}

bool anyNumber(int) {
    return true;
}

bool isPositive(int value) {
    return value > 0;
}

bool isVolume(int value) {
    return value >= 0 && value <= 100;
}

bool isColorDepth(int value) {
    return value == 16 || value == 24 || value == 32;
}

bool isDetail(int value) {
    return value >= Data::DETAIL_LOW && value <= Data::DETAIL_AUTO;
}

bool isDrawnDetail(int value) {
    return value >= Data::DETAIL_LOW && value <= Data::DETAIL_HIGH;
}

} // namespace

Data::Options readRaceOptions(const ConfigFile& config, const DisplayModes& display) {
    using namespace ConfigKeys;
    const Data::Options defaults;
    Data::Options options;
    options.soundVolume =
        read(config, audioSection, soundVolume, isVolume).value_or(defaults.soundVolume);
    options.musicVolume =
        read(config, audioSection, musicVolume, isVolume).value_or(defaults.musicVolume);
    options.colorDepth =
        read(config, videoSection, colorDepth, isColorDepth).value_or(defaults.colorDepth);
    options.detail = read(config, videoSection, detail, isDetail).value_or(defaults.detail);
    options.fullscreen =
        read(config, videoSection, fullscreen, anyNumber).value_or(defaults.fullscreen ? 1 : 0) !=
        0;
    options.splitScreen =
        read(config, videoSection, splitScreen, anyNumber).value_or(defaults.splitScreen ? 1 : 0) !=
        0;

    const std::vector<Data::Options> offered =
        offeredResolutions(standardResolutions(), display, options.fullscreen);
    const std::optional<int> width = read(config, videoSection, xResolution, isPositive);
    const std::optional<int> height = read(config, videoSection, yResolution, isPositive);
    // Half a resolution from the file and half from the defaults would be a size that
    // nobody chose: both fall back together.
    const bool fromFile = width && height;
    const auto wanted = [fromFile](const std::optional<int>& value, unsigned fallback) {
        return fromFile ? static_cast<unsigned>(*value) : fallback;
    };
    const unsigned wantedWidth = wanted(width, defaults.xResolution);
    const unsigned wantedHeight = wanted(height, defaults.yResolution);
    if (fromFile && !findResolution(offered, wantedWidth, wantedHeight)) {
        warn(config,
             options.fullscreen ? "Resolution not offered in full screen, using the default"
                                : "Resolution not offered in a window, using the default",
             QStringLiteral("[%1] %2=%3, %4=%5")
                 .arg(videoSection, xResolution, QString::number(*width), yResolution,
                      QString::number(*height)));
    }
    if (const auto shown = resolutionToShow(offered, wantedWidth, wantedHeight)) {
        options.xResolution = offered[*shown].xResolution;
        options.yResolution = offered[*shown].yResolution;
    }
    return options;
}

std::optional<std::int32_t> lastAutoDetail(const ConfigFile& config) {
    return read(config, ConfigKeys::videoSection, ConfigKeys::autoDetail, isDrawnDetail);
}

void rememberAutoDetail(const ConfigFile& config, const Data::Options& options,
                        std::int32_t drawnDetail) {
    if (options.detail == Data::DETAIL_AUTO && isDrawnDetail(drawnDetail)) {
        config.writeInt(ConfigKeys::videoSection, ConfigKeys::autoDetail, drawnDetail);
    }
}
