#pragma once

#include "Data/Camera.h"
#include "Game/KeyEventListener.h"
#include "Game/MouseEventListener.h"
#include "Game/level/LevelAble.h"

#include <cstdint>

namespace Game {

// A camera of the level that the player can fly while it is the level's current
// camera: arrow keys and Page Up/Down move it, the mouse turns it while the right
// button is held. The scene camera hangs below the object's node.
class Camera : public LevelAble, public MouseEventListener, public KeyEventListener {
public:
    Camera(const std::string& name, std::uint8_t flags);

    void release() override;
    // True makes this camera the level's current one; false makes the first camera
    // in name order current. Nothing happens without a level.
    void setVisible(const bool& value) override;
    // Whether this is the level's current camera.
    bool isVisible() override;

    // Joins the level: the camera node hangs below the object's node, which goes
    // into the draw list, and the camera listens to keys and the mouse.
    bool attachToLevel(Level* owner);

    void onKey(int key, int action) override;
    void onMouseMove(const int& x, const int& y) override;
    void onMouseWheel(const int& position) override;

    const Data::CameraPtr& getCamera() const { return camera; }
    std::uint8_t getFlags() const { return flags; }

private:
    std::uint8_t flags;
    Data::CameraPtr camera;
};

using CameraPtr = std::shared_ptr<Camera>;

} // namespace Game
