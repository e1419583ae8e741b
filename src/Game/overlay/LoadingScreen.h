#pragma once

#include "Data/Camera.h"
#include "Data/Image.h"
#include "Data/SGNode.h"

#include <string>

namespace Render {
class RKernel;
}

namespace Game {

// The picture shown while a race is being prepared, with one status line. It draws
// and presents a frame of its own whenever the status changes, outside the frame
// loop. It draws through the render kernel it is given and does nothing without one
// or while no window is open.
class LoadingScreen {
public:
    // Loads the picture from "data\images\" onto a quad that fills the screen.
    LoadingScreen(Render::RKernel* renderer, const std::string& imageFile,
                  const std::string& fontName);

    // Replaces the status line and presents a frame: the picture, the text near the
    // lower-left corner.
    void setStatus(const std::string& text);

    const std::string& getFontName() const { return fontName; }
    const std::string& getStatus() const { return status; }
    const Data::ImagePtr& getImage() const { return image; }

private:
    // The screen's width over its height; 1 without a window.
    float screenAspect() const;

    Render::RKernel* renderer;
    std::string fontName;
    std::string status;
    Data::ImagePtr image;
    Data::SGNodePtr picture;
    Data::SGNodePtr statusText;
    Data::CameraPtr camera;
};

} // namespace Game
