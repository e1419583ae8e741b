#include "Game/level/StaticObject.h"

#include "Data/Object.h"
#include "Game/level/Level.h"
#include "Physics/Actor.h"
#include "Physics/Scene.h"
#include "Tool/LogManager.h"

namespace Game {

namespace {

void logStatic(const std::string& title) {
    Tool::LogManager::getInstance().send(
        Tool::Message("StaticObject", title, "", Tool::MT_MESSAGE));
}

// The transform from a node below `root` into the root's own coordinates.
glm::mat4 transformBelow(const Data::SGNode* node, const Data::SGNode* root) {
    glm::mat4 transform(1.0f);
    for (const Data::SGNode* step = node; step != nullptr && step != root;
         step = step->getParent()) {
        transform = step->getTransformation() * transform;
    }
    return transform;
}

} // namespace

StaticObject::StaticObject(const std::string& name) : LevelAble(name) {}

StaticObject::~StaticObject() {
    releaseActor();
}

bool StaticObject::create(Level* owner, const Data::SGNodePtr& model, const ObjectDesc& desc) {
    attach(owner, model);
    Physics::Scene* scene = owner != nullptr ? owner->getScene() : nullptr;
    if (scene != nullptr) {
        material = scene->createMaterial(desc.material);
    }
    std::vector<std::unique_ptr<Physics::ShapeDesc>> built;
    if (desc.shapes.empty()) {
        logStatic("Creating Shape from Node");
        built.push_back(createShape(node, SK_BOX, false));
    } else {
        for (const ShapeEntry& entry : desc.shapes) {
            const Data::SGNodePtr shapeNode = node->findByName(entry.nodeName);
            if (!shapeNode) {
                Tool::LogManager::getInstance().send(
                    Tool::Message("StaticObject", "Couldn't create Shape from Node; Node not found",
                                  entry.nodeName, __FILE__, __LINE__, Tool::MT_ERROR));
                continue;
            }
            built.push_back(createShape(shapeNode, entry.kind, entry.wholeNode));
        }
    }
    for (auto& shape : built) {
        if (shape) {
            shape->materialIndex = material != nullptr ? material->getMaterialIndex() : 0;
            shapes.push_back(std::move(shape));
        }
    }
    logStatic("Created shapes .. ");
    return true;
}

std::unique_ptr<Physics::ShapeDesc> StaticObject::createShape(const Data::SGNodePtr& shapeNode,
                                                              std::int32_t kind, bool wholeNode) {
    Data::BoundingBox box{};
    const auto* object = dynamic_cast<const Data::Object*>(shapeNode.get());
    if (object != nullptr && !wholeNode) {
        logStatic("Creating Shape from Meshes ..");
        box = Data::Mesh::getBoundingBox(object->getMeshes());
    } else {
        logStatic("Creating Shape from Node ..");
        box = shapeNode->getBoundingBox();
    }
    if (kind != SK_BOX) {
        return nullptr;
    }
    // A part below the model's root is fitted where it sits in the model.
    box = Data::transformBox(box, transformBelow(shapeNode.get(), node.get()));
    auto shape = std::make_unique<Physics::BoxShapeDesc>();
    const glm::vec3 minimum(box[0], box[1], box[2]);
    const glm::vec3 halfSize = (glm::vec3(box[3], box[4], box[5]) - minimum) * 0.5f;
    shape->dimensions = halfSize;
    shape->localPose.t = minimum + halfSize;
    return shape;
}

Physics::Actor* StaticObject::createActor() {
    if (level == nullptr) {
        return nullptr;
    }
    logStatic("Creating Actor for StaticObject ..");
    return createActorWith(nullptr, "StaticObject", "Coudldn't create PhysX Actor", __LINE__);
}

Physics::Actor* StaticObject::createActorWith(const Physics::BodyDesc* body,
                                              const std::string& author, const std::string& title,
                                              int line) {
    Physics::Scene* scene = level != nullptr ? level->getScene() : nullptr;
    Physics::Actor* created = nullptr;
    if (scene != nullptr) {
        Physics::ActorDesc desc;
        desc.body = body;
        desc.density = 0.0f;
        desc.name = getName();
        desc.globalPose = Physics::Mat34(node->getTransformation());
        for (const auto& shape : shapes) {
            desc.shapes.push_back(shape.get());
        }
        created = scene->createActor(desc);
    }
    if (created == nullptr) {
        Tool::LogManager::getInstance().send(
            Tool::Message(author, title, "", __FILE__, line, Tool::MT_ERROR));
    }
    return created;
}

void StaticObject::releaseActor() {
    if (actor != nullptr) {
        actor->getScene().releaseActor(*actor);
        actor = nullptr;
    }
}

void StaticObject::setVisible(const bool& value) {
    if (value == inScene) {
        return;
    }
    if (value) {
        actor = createActor();
    } else {
        releaseActor();
    }
    LevelAble::setVisible(value);
}

void StaticObject::release() {
    setVisible(false);
    detachFromNode();
}

} // namespace Game
