#pragma once

#include "Data/Camera.h"
#include "Data/SGNode.h"

#include <string>

namespace Demo {

// A picture filling the window with one status line below its centre, drawn as a
// frame of its own whenever the status changes (while a demonstration starts).
class SplashScreen {
public:
    // Loads the picture from "data\images\"; the status is written in the current
    // font of the font registry.
    explicit SplashScreen(const std::string& imageFile);

    // Replaces the status line and draws the splash screen into the window at once.
    void setStatus(const std::string& text);

private:
    Data::CameraPtr camera;
    Data::SGNodePtr picture;
    Data::SGNodePtr status;
};

} // namespace Demo
