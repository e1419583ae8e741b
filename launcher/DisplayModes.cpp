#include "DisplayModes.h"

#include "Platform/Window.h"

#include <algorithm>

DisplayModes queryDisplayModes() {
    DisplayModes display;
    // Started here only for the question, the window layer is stopped again; one that
    // was running already (a race, or one about to open its window) keeps running.
    const bool inUse = Platform::isInitialised();
    if (!Platform::init()) {
        return display;
    }
    // A size listed again in another colour depth is offered once (offeredResolutions).
    for (const Platform::VideoMode& mode : Platform::getVideoModes(256)) {
        display.modes.emplace_back(static_cast<unsigned>(mode.width),
                                   static_cast<unsigned>(mode.height));
    }
    const Platform::VideoMode desktop = Platform::getDesktopMode();
    display.desktopWidth = static_cast<unsigned>(std::max(desktop.width, 0));
    display.desktopHeight = static_cast<unsigned>(std::max(desktop.height, 0));
    if (!inUse) {
        Platform::terminate();
    }
    return display;
}

const std::vector<Data::Options>& standardResolutions() {
    static const std::vector<Data::Options> list = {{640, 480},   {800, 600},   {1024, 768},
                                                    {1280, 720},  {1280, 768},  {1440, 900},
                                                    {1680, 1050}, {1600, 1200}, {1920, 1200}};
    return list;
}

std::vector<Data::Options> offeredResolutions(const std::vector<Data::Options>& fixed,
                                              const DisplayModes& display, bool fullscreen) {
    const auto has = [](const std::vector<Data::Options>& list, const Data::Options& mode) {
        return findResolution(list, mode.xResolution, mode.yResolution).has_value();
    };
    const bool modesKnown = !display.modes.empty();
    std::vector<Data::Options> offered;
    for (const Data::Options& mode : fixed) {
        if (!fullscreen || !modesKnown || has(display.modes, mode)) {
            offered.push_back(mode);
        }
    }
    std::vector<Data::Options> own;
    for (const Data::Options& mode : display.modes) {
        if (!has(fixed, mode) && !has(own, mode)) {
            own.push_back(mode);
        }
    }
    std::stable_sort(own.begin(), own.end(), [](const Data::Options& a, const Data::Options& b) {
        return a.xResolution * a.yResolution < b.xResolution * b.yResolution;
    });
    offered.insert(offered.end(), own.begin(), own.end());
    const bool desktopKnown = display.desktopWidth > 0 && display.desktopHeight > 0;
    if (!fullscreen && desktopKnown) {
        std::erase_if(offered, [&](const Data::Options& mode) {
            return mode.xResolution > display.desktopWidth ||
                   mode.yResolution > display.desktopHeight;
        });
    }
    return offered;
}

std::optional<std::size_t> findResolution(const std::vector<Data::Options>& offered, unsigned width,
                                          unsigned height) {
    for (std::size_t index = 0; index < offered.size(); ++index) {
        if (offered[index].xResolution == width && offered[index].yResolution == height) {
            return index;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> resolutionToShow(const std::vector<Data::Options>& offered,
                                            unsigned width, unsigned height) {
    const Data::Options defaults;
    if (const auto own = findResolution(offered, width, height)) {
        return own;
    }
    if (const auto fallback = findResolution(offered, defaults.xResolution, defaults.yResolution)) {
        return fallback;
    }
    return offered.empty() ? std::nullopt : std::optional<std::size_t>(0);
}
