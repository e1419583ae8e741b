// Renders the game data with the game's own renderer and shaders into PNG files,
// for looking at them: every model on a patch of grass under the sky, and the Test
// Track from the overview camera, from behind the first car and from the start line.
//   preview_models <bin folder with data/ and shaders/> <output folder>
// Needs an X display (xvfb-run works).
#include "Data/Camera.h"
#include "Data/Light.h"
#include "Data/Material.h"
#include "Data/Object.h"
#include "Data/Shader.h"
#include "Data/Shapes.h"
#include "Render/FrameCapture.h"
#include "Render/rkernel/RKernel.h"
#include "System/File.h"
#include "Tool/LogManager.h"

#include <GL/glew.h>
#include <filesystem>
#include <glm/gtc/matrix_transform.hpp>
#include <iostream>
#include <string>

namespace {

constexpr int width = 960;
constexpr int height = 600;
// The level's lights: both shine along their local +z, the first casts shadows.
const glm::mat4 sunRotation = glm::rotate(glm::mat4(1.0f), glm::radians(-45.0f), {0, 1, 0}) *
                              glm::rotate(glm::mat4(1.0f), glm::radians(-60.0f), {1, 0, 0});
const glm::mat4 fillRotation = glm::rotate(glm::mat4(1.0f), glm::radians(-45.0f), {0, 1, 0});

Data::ShaderPtr loadProgram(const std::string& name) {
    Data::ShaderPtr shader;
    System::File::loadShader(shader, {name, "shaders\\"});
    return shader;
}

Data::ImagePtr loadPicture(const std::string& file) {
    auto image = std::make_shared<Data::Image>();
    System::File::loadImage(image, {file, "data\\images\\"});
    return image;
}

Data::MaterialPtr colourMaterial(const glm::vec4& diffuse, const glm::vec4& ambient) {
    auto material = std::make_shared<Data::Material>("preview");
    material->set(0, ambient);
    material->set(1, diffuse);
    material->set(2, glm::vec4(0, 0, 0, 1));
    material->set(3, glm::vec4(0, 0, 0, 1));
    material->set(6, 0.0f);
    return material;
}

class Previewer {
public:
    bool start() {
        kernel = Render::RKernel::getInstance();
        if (kernel->init(width, height, 24, 0, false) != 0) {
            return false;
        }
        defaultProgram = loadProgram("default");
        skyProgram = loadProgram("SkyBox");
        shadowProgram = loadProgram("createShadowMap");
        reflectionProgram = loadProgram("defaultReflections");
        sky = loadPicture("brightday1.jpg");
        kernel->bindTexture("envMap", sky);
        kernel->bindTexture("cloudShadowMap", loadPicture("CloudShadowMap1.png"));
        kernel->bindTexture("waveBumpMap", loadPicture("gradient_map.jpg"));
        skyNode = std::make_shared<Data::Object>(Data::makeMySkyBox(50.0f, sky));
        shadowTarget = std::make_shared<Render::RTTexture>(2048, 2048);

        auto sun = std::make_shared<Data::Light>();
        sun->ambient = {0.2f, 0.2f, 0.2f, 1};
        sun->specular = {0, 0, 0, 0};
        sun->setTransformation(sunRotation);
        auto fill = std::make_shared<Data::Light>(*sun);
        fill->diffuse = {0.7f, 0.7f, 0.7f, 1};
        fill->setTransformation(fillRotation);
        kernel->getShaderMgmt().setLights({sun, fill});
        kernel->getShaderMgmt().setGlobalAmbient({0.3f, 0.3f, 0.3f, 1});
        return true;
    }

    void stop() { delete kernel; }

    // Draws one frame of `scene` (and `water`, with the reflection program) seen by
    // `camera`, with shadows from a light camera at `lightPosition`, and saves it.
    bool render(const Data::SGNodePtr& scene, const Data::SGNodePtr& water,
                const Data::CameraPtr& camera, const glm::vec3& lightPosition,
                const std::string& file) {
        auto lightCamera = std::make_shared<Data::Camera>(1.0f, 430.0f, 55.0f, 0);
        lightCamera->setTransformation(glm::translate(glm::mat4(1.0f), lightPosition) *
                                       sunRotation);
        Render::GLShaderMgmt& shaders = kernel->getShaderMgmt();

        shaders.setCurrentProgram(*shadowProgram);
        glClearColor(1, 1, 1, 1);
        glCullFace(GL_FRONT);
        kernel->setRenderTarget(shadowTarget);
        kernel->setCamera(lightCamera);
        kernel->drawNode(scene);
        shadowTarget->end();
        glCullFace(GL_BACK);
        kernel->bindTexture("shadowMap", shadowTarget);

        kernel->setRenderTarget(kernel->getScreen());
        shaders.setCurrentProgram(*skyProgram);
        kernel->setCamera(camera);
        glDisable(GL_DEPTH_TEST);
        kernel->drawNode(skyNode);
        glEnable(GL_DEPTH_TEST);
        shaders.setCurrentProgram(*defaultProgram);
        kernel->setCamera(camera);
        kernel->setProjTexMatrix(lightCamera, shadowTarget);
        kernel->drawNode(scene);
        if (water) {
            shaders.setCurrentProgram(*reflectionProgram);
            kernel->setCamera(camera);
            kernel->drawNode(water);
        }
        return Render::saveFrame(file);
    }

private:
    Render::RKernel* kernel = nullptr;
    Data::ShaderPtr defaultProgram, skyProgram, shadowProgram, reflectionProgram;
    Data::ImagePtr sky;
    Data::SGNodePtr skyNode;
    Render::RTTexturePtr shadowTarget;
};

Data::CameraPtr cameraAt(const glm::vec3& eye, const glm::vec3& target) {
    auto camera = std::make_shared<Data::Camera>(0.5f, 1000.0f, 45.0f, 0);
    camera->setTransformation(glm::inverse(glm::lookAt(eye, target, {0, 1, 0})));
    return camera;
}

// A square of grass under a model, `size` units wide.
Data::SGNodePtr grassPatch(float size) {
    auto mesh = std::make_shared<Data::Mesh>("grass");
    const float h = size / 2;
    mesh->vertices = {{-h, 0, -h}, {-h, 0, h}, {h, 0, h}, {h, 0, -h}};
    mesh->normals.assign(4, {0, 1, 0});
    mesh->indices = {0, 1, 2, 0, 2, 3};
    mesh->faces.push_back(
        {Data::FT_TRIANGLES, 6, colourMaterial({0.3f, 0.45f, 0.16f, 1}, {0.2f, 0.3f, 0.1f, 1})});
    return std::make_shared<Data::Object>(mesh);
}

bool previewModel(Previewer& previewer, const std::string& file, const std::string& directory,
                  const glm::vec3& viewFrom, const std::string& out) {
    const Data::SGNodePtr model = System::File::loadMesh({file, directory});
    if (!model) {
        return false;
    }
    if (const Data::SGNodePtr body = model->findByName("body")) {
        // A driver's colour, as the vehicle paints its body.
        const glm::vec3 c = glm::vec3(200, 40, 30) / 255.0f;
        body->setMaterial(colourMaterial(glm::vec4(c * 1.2f, 1), glm::vec4(c * 0.75f, 1)));
    }
    auto scene = std::make_shared<Data::SGNode>();
    scene->addChild(model);
    scene->addChild(grassPatch(60.0f));
    const Data::BoundingBox box = model->getBoundingBox();
    const glm::vec3 centre((box[0] + box[3]) / 2, (box[1] + box[4]) / 2, (box[2] + box[5]) / 2);
    const float size = glm::length(glm::vec3(box[3] - box[0], box[4] - box[1], box[5] - box[2]));
    const glm::vec3 sun = glm::vec3(sunRotation[2]);
    return previewer.render(scene, nullptr, cameraAt(centre + viewFrom * size * 1.1f, centre),
                            centre + sun * 80.0f, out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: preview_models <bin folder> <output folder>\n";
        return 2;
    }
    System::File::init(std::string(argv[1]) + "/preview");
    const std::string out = std::string(argv[2]) + "/";
    std::filesystem::create_directories(out);
    Previewer previewer;
    if (!previewer.start()) {
        std::cerr << "preview_models: no OpenGL window\n";
        return 1;
    }
    const glm::vec3 frontLeft = glm::normalize(glm::vec3(0.9f, 0.45f, 1.0f));
    const glm::vec3 backRight = glm::normalize(glm::vec3(-0.8f, 0.5f, -1.0f));
    bool ok = previewModel(previewer, "jeep1_xsi.dae", "data\\vehicles\\jeep\\", frontLeft,
                           out + "jeep_front.png");
    ok = previewModel(previewer, "jeep1_xsi.dae", "data\\vehicles\\jeep\\", backRight,
                      out + "jeep_back.png") &&
         ok;
    ok = previewModel(previewer, "house.dae", "data\\objects\\house\\", frontLeft,
                      out + "house.png") &&
         ok;
    ok = previewModel(previewer, "goal.dae", "data\\objects\\goal\\",
                      glm::normalize(glm::vec3(-1.0f, 0.3f, 0.5f)), out + "goal.png") &&
         ok;
    ok = previewModel(previewer, "checkpoint.dae", "data\\objects\\checkpoint\\",
                      glm::normalize(glm::vec3(-1.0f, 0.3f, 0.5f)), out + "checkpoint.png") &&
         ok;
    ok = previewModel(previewer, "crate.dae", "data\\objects\\crate\\", frontLeft,
                      out + "crate.png") &&
         ok;
    previewer.stop();
    if (!ok) {
        std::cerr << "preview_models: some previews failed\n";
    }
    return ok ? 0 : 1;
}
