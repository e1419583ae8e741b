#pragma once

#include "Data/SGNode.h"

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>
#include <memory>
#include <string>

namespace Game {

class Level;

// Base of everything a level holds: a named object that owns a scene node, knows
// its level, can be shown or hidden there, and can be placed, moved and turned.
// The node's local matrix is always translation(position) x rotation.
class LevelAble {
public:
    explicit LevelAble(const std::string& name);
    virtual ~LevelAble();
    LevelAble(const LevelAble&) = delete;
    LevelAble& operator=(const LevelAble&) = delete;

    virtual const std::string& getName() const { return name; }
    // Remembers the level and, when a node is given, takes it as the object's node.
    virtual void attach(Level* owner, const Data::SGNodePtr& newNode);
    virtual void update(double dt);
    virtual void release();
    // Adds the node to the level's draw list (true) or removes it (false) when the
    // value changes and a level is attached.
    virtual void setVisible(const bool& value);
    virtual bool isVisible();

    virtual void setPosition(const glm::vec3& value);
    // y is taken relative to the height of the level's terrain at (x, z).
    virtual void setPositionOnGround(const glm::vec3& value);
    const glm::vec3& getPosition() const { return position; }
    virtual void setRotation(const glm::quat& value);
    const glm::quat& getRotation() const { return rotation; }

    // Steps along the object's own axes: moveX subtracts the rotated x axis times
    // the distance, moveY and moveZ add their axes.
    void moveX(float distance);
    void moveY(float distance);
    void moveZ(float distance);
    // Turns about the object's own x or y axis.
    void rotateX(float degrees);
    void rotateY(float degrees);
    // Turns the object from its position toward the target, up being +y.
    void lookAt(const glm::vec3& target);

    // Hangs the node under a parent node so that the object follows it.
    void attachToNode(const Data::SGNodePtr& parent);
    void detachFromNode();

    const Data::SGNodePtr& getNode() const { return node; }
    Level* getLevel() const { return level; }

protected:
    void updateMatrix();

    Level* level = nullptr;
    Data::SGNodePtr node;
    bool inScene = false;
    Data::SGNodePtr parentNode;
    glm::vec3 position{0.0f};
    glm::quat rotation{1.0f, 0.0f, 0.0f, 0.0f};
    std::string name;
};

} // namespace Game
