#pragma once

#include "Data/Camera.h"
#include "Data/Light.h"
#include "Game/level/LevelAble.h"
#include "Game/level/LevelAbleDesc.h"

namespace Game {

// A light of the level with the camera its shadows are drawn from. While visible
// its light is one of the level's active lights.
class Light : public LevelAble {
public:
    explicit Light(const LightDesc& desc);

    void attach(Level* owner, const Data::SGNodePtr& newNode) override;
    void setVisible(const bool& value) override;

    const Data::LightPtr& getLight() const { return light; }
    const Data::CameraPtr& getShadowCamera() const { return shadowCamera; }

private:
    Data::LightPtr light;
    Data::CameraPtr shadowCamera;
};

using LightPtr = std::shared_ptr<Light>;

} // namespace Game
