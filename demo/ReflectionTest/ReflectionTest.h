#pragma once

#include "Data/Light.h"
#include "Data/SGNode.h"
#include "Data/Shader.h"
#include "Tool/Export.h"
#include "demo/DemoApplication.h"
#include "demo/Scenery.h"

namespace Demo {

// The game's water, drawn with its reflection program (the sky's picture mirrored
// in waves from the wave bump map), beside mirror-like spheres and boxes drawn with
// the same program, an island with a house, and a sandy floor seen through the
// water. The camera is free to fly from the start.
class BRUMBLY_API ReflectionTest : public DemoApplication {
public:
    explicit ReflectionTest(const DemoOptions& options);

protected:
    void drawScene() override;

private:
    void buildLitParts();
    void buildMirrors();

    Scenery::Sky sky;
    Data::ShaderPtr litProgram;
    Data::ShaderPtr reflectionProgram;
    Data::LightPtr sun;
    // Drawn in this order: the lit parts, the mirrors, then the water over them.
    Data::SGNodePtr lit;
    Data::SGNodePtr mirrors;
    Data::SGNodePtr water;
};

} // namespace Demo
