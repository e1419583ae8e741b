#pragma once

#include "Data/SGNode.h"
#include "Tool/Export.h"
#include "demo/SimpleApplication.h"

#include <string>

namespace Demo {

// What every demonstration program takes from its command line.
struct DemoOptions {
    // Frames to draw before the program ends by itself; 0 runs until Escape.
    unsigned frames = 0;
    // Where the last of those frames is written as a PNG file; empty: nowhere.
    std::string saveFrame;
};

// The common part of the four demonstrations: the scene is drawn by drawScene()
// with the demonstration's own programs, the oriented boxes of its objects are
// drawn over it while "B" has switched them on, and the on-screen texts of the
// root node (frame rate, information) are drawn over everything.
class BRUMBLY_API DemoApplication : public SimpleApplication {
public:
    explicit DemoApplication(const DemoOptions& options);

    // False when a frame was to be saved and could not be written.
    bool succeeded() const;

protected:
    // Animation and off-screen passes of one frame, before it is drawn; false ends
    // the loop. Does nothing here.
    virtual bool animate(double dt);
    // Draws the scene into the screen target; the camera is set.
    virtual void drawScene() = 0;

    // Shows the text in the upper right corner of the window, right-aligned.
    void setInfoText(const std::string& text);

    // The demonstration's objects: what "B" outlines.
    Data::SGNodePtr scene;

private:
    bool update(double dt) final;
    void draw() final;
    void placeInfo();

    DemoOptions options;
    unsigned framesStarted = 0;
    Data::SGNodePtr infoNode;
};

} // namespace Demo
