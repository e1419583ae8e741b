#include "demo/RenderApp/RenderApp.h"

#include "Data/Object.h"
#include "Render/rkernel/RKernel.h"
#include "System/File.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <glm/geometric.hpp>
#include <sstream>

namespace Demo {
namespace {

constexpr float ORBIT_SPEED = 15.0f; // degrees per second
constexpr float ORBIT_HEIGHT = 0.45f;

// Every object below the node, for the model's description.
void countGeometry(const Data::SGNodePtr& node, std::size_t& meshes, std::size_t& triangles) {
    if (const auto* object = dynamic_cast<const Data::Object*>(node.get()))
        for (const Data::MeshPtr& mesh : object->getMeshes()) {
            ++meshes;
            for (const Data::Face& face : mesh->faces)
                if (face.type == Data::FT_TRIANGLES)
                    triangles += face.count / 3;
        }
    for (const auto& [key, child] : node->getChildren())
        countGeometry(child, meshes, triangles);
}

} // namespace

Data::SGNodePtr RenderApp::loadModel(const std::string& path, std::string& error) {
    namespace fs = std::filesystem;
    System::AssetRef asset{"jeep1_xsi.dae", "data\\vehicles\\jeep\\"};
    std::string file = System::File::getPWD() + "data/vehicles/jeep/jeep1_xsi.dae";
    if (!path.empty()) {
        // Asset paths start at the program's folder.
        const fs::path absolute = fs::absolute(path);
        const fs::path programFolder = fs::absolute(System::File::getPWD());
        std::string directory = absolute.parent_path().lexically_relative(programFolder).string();
        asset = {absolute.filename().string(), directory.empty() ? "" : directory + "/"};
        file = path;
    }
    std::ifstream probe(file, std::ios::binary);
    if (!probe || fs::is_directory(file)) {
        error = "cannot read the model file " + file + ": " +
                (probe ? std::string("it is a directory") : std::string(std::strerror(errno)));
        return nullptr;
    }
    Data::SGNodePtr model = System::File::loadMesh(asset);
    if (!model)
        error = "no model could be imported from " + file;
    return model;
}

RenderApp::RenderApp(const DemoOptions& options, const Data::SGNodePtr& model,
                     const std::string& name)
    : DemoApplication(options), program(Scenery::loadProgram("default")),
      sun(Scenery::sunLight({-0.5f, 0.8f, 0.6f}, {1.0f, 0.95f, 0.85f, 1.0f})),
      fill(Scenery::sunLight({0.6f, 0.3f, -0.5f}, {0.35f, 0.4f, 0.5f, 1.0f})) {
    fill->specular = glm::vec4(0.0f);
    scene->addChild(model);

    const Data::BoundingBox box = model->getBoundingBox();
    const glm::vec3 low(box[0], box[1], box[2]);
    const glm::vec3 high(box[3], box[4], box[5]);
    centre = (low + high) / 2.0f;
    const float radius = std::max(glm::length(high - low) / 2.0f, 0.01f);
    // The model's sphere fills the height of the view with a little room around it.
    viewDistance = 1.15f * radius / std::sin(camera->fieldOfView / 2.0f * 0.017453293f);
    // Small models need a near plane close to the camera; it never goes beyond 1,
    // where the on-screen texts stand behind it.
    camera->nearPlane = std::clamp(viewDistance * 0.01f, 0.01f, 1.0f);
    camera->farPlane = std::max(viewDistance * 50.0f, 1000.0f);

    auto grass = std::make_shared<Data::Object>(Scenery::groundMesh(radius * 12.0f, 8, 1.0f));
    grass->setMaterial(
        Scenery::colourMaterial({0.3f, 0.45f, 0.16f, 1.0f}, {0.2f, 0.3f, 0.1f, 1.0f}));
    scene->addChild(Scenery::placed(grass, {centre.x, low.y, centre.z}));

    std::size_t meshes = 0, triangles = 0;
    countGeometry(model, meshes, triangles);
    std::ostringstream info;
    info << name << "\n"
         << meshes << " meshes, " << triangles << " triangles\n"
         << "C: fly the camera yourself";
    setInfoText(info.str());
    animate(0.0);
}

bool RenderApp::animate(double dt) {
    if (cameraMovable)
        return true;
    orbitAngle += static_cast<float>(dt) * ORBIT_SPEED;
    const float a = orbitAngle * 0.017453293f;
    const glm::vec3 direction = glm::normalize(glm::vec3(std::sin(a), ORBIT_HEIGHT, std::cos(a)));
    camera->setTransformation(Scenery::lookFrom(centre + direction * viewDistance, centre));
    return true;
}

void RenderApp::drawScene() {
    Render::RKernel* kernel = Render::RKernel::current();
    sky.bindPictures();
    sky.draw();
    Render::GLShaderMgmt& shaders = kernel->getShaderMgmt();
    shaders.setLights({sun, fill});
    shaders.setGlobalAmbient({0.3f, 0.3f, 0.3f, 1.0f});
    shaders.setCurrentProgram(program);
    kernel->drawNode(scene);
}

} // namespace Demo
