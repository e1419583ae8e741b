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
#include "Game/level/TestTrackLayout.h"
#include "Render/FrameCapture.h"
#include "Render/rkernel/RKernel.h"
#include "System/File.h"
#include "Tool/LogManager.h"

#include <GL/glew.h>
#include <algorithm>
#include <filesystem>
#include <glm/gtc/matrix_transform.hpp>
#include <iostream>
#include <memory>
#include <string>

namespace {

constexpr int width = 960;
constexpr int height = 600;
// The level's lights: both shine along their local +z, the first casts shadows.
const glm::mat4 sunRotation = glm::rotate(glm::mat4(1.0f), glm::radians(-45.0f), {0, 1, 0}) *
                              glm::rotate(glm::mat4(1.0f), glm::radians(-60.0f), {1, 0, 0});
const glm::mat4 fillRotation = glm::rotate(glm::mat4(1.0f), glm::radians(-45.0f), {0, 1, 0});

Data::ShaderPtr loadProgram(const std::string& name) {
    return System::File::loadShader({name, "shaders\\"});
}

Data::ImagePtr loadPicture(const std::string& file) {
    return System::File::loadImage({file, "data\\images\\"});
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
        kernel = std::make_unique<Render::RKernel>();
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

    void stop() { kernel.reset(); }

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
    std::unique_ptr<Render::RKernel> kernel;
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

// The Test Track as the level lays it out: the ground built from the height map
// by the terrain's rule (26 x 26 grid, texture stretched once), the water plane,
// the houses, gates, crate pyramid and three cars at the start.
struct TrackScene {
    Data::SGNodePtr scene = std::make_shared<Data::SGNode>();
    Data::SGNodePtr water;
    Data::ImagePtr heightMap;

    float height(float x, float z) const {
        const int px = static_cast<int>(x * (heightMap->picture.getWidth() - 1.0f) / 256.0f);
        const int pz = static_cast<int>(z * (heightMap->picture.getHeight() - 1.0f) / 256.0f);
        RGBQUAD c{};
        heightMap->picture.getPixelColor(static_cast<unsigned>(px), static_cast<unsigned>(pz), &c);
        return (c.rgbRed + c.rgbGreen + c.rgbBlue) / 765.0f * 20.0f;
    }

    void buildGround() {
        constexpr int n = 26;
        const float step = 256.0f / (n - 1);
        auto mesh = std::make_shared<Data::Mesh>("ground");
        mesh->texCoords.resize(1);
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                const float x = j * step, z = i * step;
                const float dx =
                    height(std::min(x + step, 256.0f), z) - height(std::max(x - step, 0.0f), z);
                const float dz =
                    height(x, std::min(z + step, 256.0f)) - height(x, std::max(z - step, 0.0f));
                mesh->vertices.push_back({x, height(x, z), z});
                mesh->normals.push_back(glm::normalize(glm::vec3(-dx, 2 * step, -dz)));
                mesh->texCoords[0].push_back({j / (n - 1.0f), i / (n - 1.0f)});
            }
        }
        for (int j = 0; j + 1 < n; ++j) {
            for (int i = 0; i + 1 < n; ++i) {
                const auto at = [&](int c, int r) { return static_cast<std::uint32_t>(r * n + c); };
                mesh->indices.insert(mesh->indices.end(),
                                     {at(j, i), at(j, i + 1), at(j + 1, i), at(j + 1, i),
                                      at(j, i + 1), at(j + 1, i + 1)});
            }
        }
        auto material = colourMaterial({1, 1, 1, 1}, {0, 0, 0, 1});
        material->set(4, loadPicture("GroundTexture.jpg"));
        mesh->faces.push_back(
            {Data::FT_TRIANGLES, static_cast<std::uint32_t>(mesh->indices.size()), material});
        scene->addChild(std::make_shared<Data::Object>(mesh));

        auto plane = std::make_shared<Data::Mesh>("water");
        plane->vertices = {{0, 2, 0}, {0, 2, 256},   {256, 2, 256},
                           {0, 2, 0}, {256, 2, 256}, {256, 2, 0}};
        plane->normals.assign(6, {0, 1, 0});
        plane->faces.push_back(
            {Data::FT_TRIANGLES, 6, colourMaterial({1, 1, 1, 0.75f}, {0, 0, 0, 1})});
        water = std::make_shared<Data::Object>(plane);
    }

    void place(const std::string& file, const std::string& directory, float x, float z, float yaw,
               float lift = 0.0f, const glm::vec3* colour = nullptr) {
        const Data::SGNodePtr model = System::File::loadMesh({file, directory});
        if (!model) {
            return;
        }
        if (colour != nullptr) {
            if (const Data::SGNodePtr body = model->findByName("body")) {
                body->setMaterial(
                    colourMaterial(glm::vec4(*colour * 1.2f, 1), glm::vec4(*colour * 0.75f, 1)));
            }
        }
        model->setTransformation(glm::translate(glm::mat4(1.0f), {x, height(x, z) + lift, z}) *
                                 glm::rotate(glm::mat4(1.0f), glm::radians(yaw), {0, 1, 0}));
        scene->addChild(model);
    }

    void build() {
        heightMap = loadPicture("GroundHeightmap.jpg");
        buildGround();
        using namespace Game::TestTrackLayout;
        for (const Obstacle& obstacle : obstacles) {
            place(obstacle.file, obstacle.directory, obstacle.x, obstacle.z, obstacle.yaw);
        }
        for (const Crate& crate : crates) {
            place("crate.dae", "data\\objects\\crate\\", cratesX, crate.z, 0, crate.y);
        }
        const glm::vec3 colours[] = {{0.8f, 0.12f, 0.1f}, {0.1f, 0.3f, 0.8f}, {0.95f, 0.8f, 0.1f}};
        for (std::size_t i = 0; i < startPositions.size(); ++i) {
            const Game::TrackPoint& start = startPositions[i];
            place("jeep1_xsi.dae", "data\\vehicles\\jeep\\", start.x, start.z, start.heading, 0,
                  &colours[i]);
        }
    }
};

bool previewTrack(Previewer& previewer, const std::string& out) {
    TrackScene track;
    track.build();
    const glm::vec3 light(-24.0f, 285.0f, 280.0f);
    auto overview = std::make_shared<Data::Camera>(1.0f, 1000.0f, 45.0f, 0);
    overview->setTransformation(glm::translate(glm::mat4(1.0f), {128, 256, 384}) *
                                glm::rotate(glm::mat4(1.0f), glm::radians(-45.0f), {1, 0, 0}));
    const float h = track.height(70, 66);
    bool ok =
        previewer.render(track.scene, track.water, overview, light, out + "track_overview.png");
    ok = previewer.render(track.scene, track.water, cameraAt({40, h + 20, 66}, {70, h + 10, 66}),
                          light, out + "track_chase.png") &&
         ok;
    ok =
        previewer.render(track.scene, track.water, cameraAt({62, h + 2.2f, 61}, {95, h + 1.5f, 70}),
                         light, out + "track_start.png") &&
        ok;
    ok = previewer.render(track.scene, track.water, cameraAt({165, 12, 195}, {120, 2, 130}), light,
                          out + "track_lake.png") &&
         ok;
    return ok;
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
    ok = previewTrack(previewer, out) && ok;
    previewer.stop();
    if (!ok) {
        std::cerr << "preview_models: some previews failed\n";
    }
    return ok ? 0 : 1;
}
