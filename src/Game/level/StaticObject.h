#pragma once

#include "Game/level/LevelAble.h"
#include "Game/level/LevelAbleDesc.h"
#include "Physics/ActorDesc.h"
#include "Physics/ShapeDesc.h"

#include <memory>
#include <vector>

namespace Physics {
class Actor;
class Material;
} // namespace Physics

namespace Game {

// An obstacle that does not move: a model with a static actor made of boxes
// fitted to the model's parts. The actor exists while the object is visible.
class StaticObject : public LevelAble {
public:
    explicit StaticObject(const std::string& name);
    ~StaticObject() override;

    // Takes the model node and builds the collision boxes of the description's shape
    // list (one box around the whole model when the list is empty). Always true;
    // problems are logged.
    virtual bool create(Level* owner, const Data::SGNodePtr& model, const ObjectDesc& desc);
    virtual Physics::Actor* createActor();
    // A box fitted to the node's meshes (or, for a plain node or with wholeNode, to
    // the node's whole subtree); null for a kind other than a box.
    virtual std::unique_ptr<Physics::ShapeDesc> createShape(const Data::SGNodePtr& shapeNode,
                                                            std::int32_t kind, bool wholeNode);

    // Showing creates the actor, hiding releases it.
    void setVisible(const bool& value) override;
    void release() override;

    Physics::Actor* getActor() const { return actor; }
    const std::vector<std::unique_ptr<Physics::ShapeDesc>>& getShapes() const { return shapes; }

protected:
    // Creates the actor from the shape list at the node's pose; body null for a
    // static actor. Logs as `author`.
    Physics::Actor* createActorWith(const Physics::BodyDesc* body, const std::string& author,
                                    const std::string& title, int line);
    void releaseActor();

    Physics::Actor* actor = nullptr;
    Physics::Material* material = nullptr;
    std::vector<std::unique_ptr<Physics::ShapeDesc>> shapes;
};

using StaticObjectPtr = std::shared_ptr<StaticObject>;

} // namespace Game
