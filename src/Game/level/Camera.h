#pragma once

#include "Data/Camera.h"
#include "Game/KeyEventListener.h"
#include "Game/MouseEventListener.h"
#include "Game/level/LevelAble.h"

#include <cstdint>
#include <memory>

namespace Game {

// A camera of the level that the player can fly while it is the level's current
// camera: arrow keys and Page Up/Down move it, the mouse turns it while the right
// button is held. The scene camera hangs below the object's node. A camera can
// instead chase a node, keeping the horizon level whatever the node does.
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

    // Chases `target` from now on: every update places the camera at `offset` from
    // the target's origin and aims it at `aim`, both turned by the target's heading,
    // which the camera takes up with a short lag. The target's roll and pitch never
    // reach the view: the horizon stays level, the view's pitch within a comfortable
    // range, and the camera above the terrain.
    void follow(const Data::SGNodePtr& target, const glm::vec3& offset, const glm::vec3& aim);
    // Moves a chasing camera after its target; other cameras stay where they are.
    void update(double dt) override;

    void onKey(int key, int action) override;
    void onMouseMove(const int& x, const int& y) override;
    void onMouseWheel(const int& position) override;

    const Data::CameraPtr& getCamera() const { return camera; }
    std::uint8_t getFlags() const { return flags; }

private:
    std::uint8_t flags;
    Data::CameraPtr camera;
    std::weak_ptr<Data::SGNode> followed;
    glm::vec3 followOffset{0.0f};
    glm::vec3 followAim{0.0f};
    // The heading (radians about +y, 0 facing +z) the camera has taken up so far.
    float heading = 0.0f;
    bool headingKnown = false;
};

using CameraPtr = std::shared_ptr<Camera>;

} // namespace Game
