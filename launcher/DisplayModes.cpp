#include "DisplayModes.h"

#include "Platform/Window.h"

#include <algorithm>

namespace {

bool sameSize(const Data::Options& a, const Data::Options& b) {
    return a.xResolution == b.xResolution && a.yResolution == b.yResolution;
}

} // namespace

DisplayModes queryDisplayModes() {
    DisplayModes display;
    // Started here only for the question, the window layer is stopped again, unless
    // a race holds it.
    const bool inUse = Platform::isWindowOpen();
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

std::vector<Data::Options> offeredResolutions(const std::vector<Data::Options>& fixed,
                                              const DisplayModes& display, bool fullscreen) {
    std::vector<Data::Options> own;
    for (const Data::Options& mode : display.modes) {
        if (std::none_of(fixed.begin(), fixed.end(),
                         [&](const Data::Options& entry) { return sameSize(entry, mode); }) &&
            std::none_of(own.begin(), own.end(),
                         [&](const Data::Options& entry) { return sameSize(entry, mode); })) {
            own.push_back(mode);
        }
    }
    std::stable_sort(own.begin(), own.end(), [](const Data::Options& a, const Data::Options& b) {
        return a.xResolution * a.yResolution < b.xResolution * b.yResolution;
    });
    std::vector<Data::Options> offered = fixed;
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
