#include "Game/level/Light.h"

#include "Game/level/Level.h"

namespace Game {

Light::Light(const LightDesc& desc)
    : LevelAble(desc.lightName), light(std::make_shared<Data::Light>()),
      shadowCamera(std::make_shared<Data::Camera>(1.0f, 430.0f, 55.0f, 0)) {
    light->ambient = desc.ambient;
    light->diffuse = desc.diffuse;
    light->specular = desc.specular;
    light->spotDirection = desc.spotDirection;
    light->type = desc.kind;
    light->addChild(shadowCamera);
}

void Light::attach(Level* owner, const Data::SGNodePtr& newNode) {
    LevelAble::attach(owner, newNode);
    node->addChild(light);
}

void Light::setVisible(const bool& value) {
    LevelAble::setVisible(value);
    if (level != nullptr) {
        level->refreshLights();
    }
}

} // namespace Game
