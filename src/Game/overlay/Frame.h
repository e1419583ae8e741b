#pragma once

#include "Data/Camera.h"
#include "Game/overlay/Dialog.h"

#include <cstdint>
#include <glm/vec2.hpp>
#include <map>
#include <string>
#include <utility>

namespace Render {
class RKernel;
}

namespace Game {

// Kinds of dialog that createDialog makes.
enum DialogType : std::int32_t { DT_DIALOG = 0, DT_TEXT = 1 };

// The root of the overlay: owns the top-level dialogs by name, updates them and
// draws them over the scene. Screen space runs from 0 to 1 on both axes; it is drawn
// through an orthographic camera that shows -aspect..aspect by -1..1, so that
// drawables keep their proportions on any window shape.
class Frame {
public:
    // Without a render kernel the frame measures a 1 x 1 screen and draws nothing.
    explicit Frame(Render::RKernel* kernel);
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;
    virtual ~Frame();

    // Width and height of the screen render target; (0, 0) without a render kernel.
    virtual std::pair<unsigned, unsigned> getScreenSize() const;
    // Width / height of the screen; 1 without a render kernel.
    virtual float getAspect() const;
    // Passes the frame time to every top-level dialog that has no parent.
    virtual void update(double dt);
    // Draws the shown dialogs over the current picture, without depth testing. When
    // the screen has changed shape since the last draw every dialog is rebuilt first.
    virtual void draw();

    // A new dialog stored under the name (a text dialog for type 1); empty, with
    // nothing changed, when a top-level dialog of that name exists.
    DialogPtr createDialog(const std::string& name, const std::int32_t& type);
    DialogPtr findDialog(const std::string& name) const;
    const std::map<std::string, DialogPtr>& getDialogs() const { return dialogs; }

    // The drawables of every shown top-level dialog without parent, in name order.
    Data::SGNodeList collect() const;

    // A screen-space point in the units the frame draws in (x scaled by the aspect
    // of the frame's screen, both axes from -1 to 1); a missing frame counts as a
    // square screen.
    static glm::vec2 toDevice(const Frame* frame, const glm::vec2& point);

private:
    Render::RKernel* kernel;
    std::map<std::string, DialogPtr> dialogs;
    Data::CameraPtr camera;
    float builtAspect;
};

} // namespace Game
