#pragma once

#include "Data/Light.h"
#include "Data/SGNode.h"
#include "Data/Shader.h"
#include "Tool/Export.h"
#include "demo/DemoApplication.h"
#include "demo/Scenery.h"

#include <cstddef>

namespace Demo {

// A field of crates, GRID x GRID of them, flown over in a wide circle. F7 (or the
// command line) switches frustum culling on and off; the window shows how many
// crates were drawn and the time a frame takes, so that the gain is visible.
class BRUMBLY_API FrustumCullingTest : public DemoApplication {
public:
    static constexpr int GRID = 60;

    FrustumCullingTest(const DemoOptions& options, bool culling);

    // Crates that passed the frustum test in the last frame drawn.
    std::size_t getDrawnObjects() const { return drawnObjects; }
    std::size_t getObjectCount() const { return crates.size(); }

protected:
    bool animate(double dt) override;
    void drawScene() override;
    bool onEvent(int type, int a, int b) override;

private:
    void showInfo();

    Scenery::Sky sky;
    Data::ShaderPtr program;
    Data::LightPtr sun;
    Data::SGNodeList crates;
    float flightAngle = 0.0f;
    std::size_t drawnObjects = 0;
};

} // namespace Demo
