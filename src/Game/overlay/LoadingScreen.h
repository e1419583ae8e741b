#pragma once

#include "Data/Camera.h"
#include "Data/Image.h"
#include "Data/SGNode.h"

#include "System/AssetRef.h"

#include <chrono>
#include <optional>
#include <string>

namespace Render {
class RKernel;
}

namespace Game {

// The picture shown while a race is being prepared, with one status line. It draws
// and presents a frame of its own when the status changes, outside the frame loop:
// the first time, and afterwards once `frameGap` has passed since the frame before
// (a full-screen frame costs a software renderer several milliseconds, and statuses
// that follow each other faster could not be read anyway). It draws through the
// render kernel it is given and does nothing without one or while no window is open.
class LoadingScreen {
public:
    using Clock = std::chrono::steady_clock;

    // Loads the picture from "data\images\" onto a quad that fills the screen.
    LoadingScreen(Render::RKernel* renderer, const std::string& imageFile,
                  const std::string& fontName, Clock::duration frameGap = Clock::duration::zero());

    // The picture file that a loading screen of that image file shows.
    static System::AssetRef pictureOf(const std::string& imageFile);

    // Replaces the status line and, unless the last frame is more recent than the
    // gap, presents a frame: the picture, the text near the lower-left corner.
    void setStatus(const std::string& text);

    const std::string& getFontName() const { return fontName; }
    const std::string& getStatus() const { return status; }
    const Data::ImagePtr& getImage() const { return image; }

private:
    // The screen's width over its height; 1 without a window.
    float screenAspect() const;

    Render::RKernel* renderer;
    Clock::duration frameGap;
    std::optional<Clock::time_point> lastFrame;
    std::string fontName;
    std::string status;
    Data::ImagePtr image;
    Data::SGNodePtr picture;
    Data::SGNodePtr statusText;
    Data::CameraPtr camera;
};

} // namespace Game
