#pragma once

#include "Data/Camera.h"
#include "Data/Light.h"
#include "Data/Mesh.h"
#include "Data/SGNode.h"
#include "Data/Shader.h"
#include "Render/targets/RTTexture.h"
#include "Tool/Export.h"
#include "demo/DemoApplication.h"
#include "demo/Scenery.h"

namespace Demo {

// A shadowed scene (the jeep, crates, boxes and balls on the ground) under a spot
// light that circles it. Every frame the scene's depth is drawn from the light's
// camera into the shadow map, which the game's program samples in the main pass;
// the shadow map itself is shown in the lower right corner and the light camera's
// view frustum is outlined in the scene.
class BRUMBLY_API ShadowMappingTest : public DemoApplication {
public:
    static constexpr int SHADOW_MAP_SIZE = 1024;

    explicit ShadowMappingTest(const DemoOptions& options);

protected:
    bool animate(double dt) override;
    void drawScene() override;

private:
    void buildScene();
    void drawShadowMap();
    void drawShadowMapView() const;

    Scenery::Sky sky;
    Data::ShaderPtr litProgram;
    Data::ShaderPtr depthProgram;
    Data::ShaderPtr viewProgram;
    Data::CameraPtr lightCamera;
    // The light camera with a near far plane, for its outline.
    Data::CameraPtr lightOutline;
    Data::LightPtr spot;
    Data::LightPtr skyLight;
    Render::RTTexturePtr shadowMap;
    Data::MeshPtr viewQuad;
    float lightAngle = 40.0f;
};

} // namespace Demo
