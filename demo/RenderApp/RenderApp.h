#pragma once

#include "Data/Light.h"
#include "Data/SGNode.h"
#include "Data/Shader.h"
#include "Tool/Export.h"
#include "demo/DemoApplication.h"
#include "demo/Scenery.h"

#include <glm/vec3.hpp>
#include <memory>
#include <string>

namespace Demo {

// A model viewer: one model, lit and textured by the game's program, on a patch of
// grass under the sky. The camera circles the model until "C" hands it over.
class BRUMBLY_API RenderApp : public DemoApplication {
public:
    // The model of a file given on the command line (relative to the current
    // directory), or the jeep of the game data when `path` is empty. An empty
    // pointer, with the reason in `error`, when the file cannot be read or holds
    // no model.
    static Data::SGNodePtr loadModel(const std::string& path, std::string& error);

    RenderApp(const DemoOptions& options, const Data::SGNodePtr& model, const std::string& name);

protected:
    bool animate(double dt) override;
    void drawScene() override;

private:
    Scenery::Sky sky;
    Data::ShaderPtr program;
    Data::LightPtr sun;
    Data::LightPtr fill;
    glm::vec3 centre{0.0f};
    float viewDistance = 10.0f;
    float orbitAngle = 35.0f;
};

} // namespace Demo
