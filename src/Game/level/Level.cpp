#include "Game/level/Level.h"

#include "Data/Image.h"
#include "Data/KeyTable.h"
#include "Data/Object.h"
#include "Data/Shapes.h"
#include "Data/TextDrawable.h"
#include "Game/InputListeners.h"
#include "Game/vehicle/VehicleObject.h"
#include "Physics/PhysicsSDK.h"
#include "Physics/Scene.h"
#include "Platform/Window.h"
#include "Render/GLCapability.h"
#include "Render/rkernel/RKernel.h"
#include "System/File.h"
#include "Tool/LogManager.h"

#include <GL/glew.h>
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <limits>

namespace Game {

namespace {

// The corners of the node's world box.
std::array<glm::vec3, 8> worldCorners(const Data::SGNode& node) {
    const Data::BoundingBox box =
        Data::transformBox(node.getBoundingBox(), node.getWorldTransformation());
    std::array<glm::vec3, 8> corners;
    for (int corner = 0; corner < 8; ++corner) {
        corners[corner] = {box[(corner & 1) ? 3 : 0], box[(corner & 2) ? 4 : 1],
                           box[(corner & 4) ? 5 : 2]};
    }
    return corners;
}

// The texels, from (x0, y0) up to (x1, y1), that the nodes cover in a target of
// that size seen through `view` (the light's projection and view): their world
// boxes' corners, widened by a texel.
std::array<int, 4> texelsCovered(const Data::SGNodeList& nodes, const glm::mat4& view, int width,
                                 int height) {
    glm::vec2 low(std::numeric_limits<float>::max());
    glm::vec2 high(std::numeric_limits<float>::lowest());
    for (const Data::SGNodePtr& node : nodes) {
        for (const glm::vec3& corner : worldCorners(*node)) {
            const glm::vec4 clip = view * glm::vec4(corner, 1.0f);
            // A corner behind a light that looks in perspective has no place on it.
            if (clip.w <= 0.0f) {
                return {0, 0, width, height};
            }
            const glm::vec2 texel =
                (glm::vec2(clip) / clip.w * 0.5f + 0.5f) *
                glm::vec2(static_cast<float>(width), static_cast<float>(height));
            low = glm::min(low, texel);
            high = glm::max(high, texel);
        }
    }
    if (nodes.empty()) {
        return {0, 0, 0, 0};
    }
    const glm::vec2 size(static_cast<float>(width), static_cast<float>(height));
    const glm::ivec2 from(glm::clamp(glm::floor(low) - 1.0f, glm::vec2(0.0f), size));
    const glm::ivec2 to(glm::clamp(glm::ceil(high) + 1.0f, glm::vec2(0.0f), size));
    return {from.x, from.y, to.x, to.y};
}

// The nearest distance, along the light camera's axis, of what casts or takes a
// shadow: the corners of the nodes' world boxes, the highest raised by room for
// jumping cars.
float nearestAlongLight(const Data::SGNodeList& nodes, const Data::Camera& lightCamera) {
    constexpr float headroom = 30.0f;
    const glm::mat4 toLight = glm::inverse(lightCamera.getWorldTransformation());
    float nearest = std::numeric_limits<float>::max();
    for (const Data::SGNodePtr& node : nodes) {
        for (const glm::vec3& corner : worldCorners(*node)) {
            const glm::vec4 raised(corner.x, corner.y + headroom, corner.z, 1.0f);
            // The camera looks down its negative z axis.
            nearest = std::min(nearest, -(toLight * raised).z);
        }
    }
    return nearest;
}

constexpr float skyBoxSize = 50.0f;

Data::ShaderPtr loadProgram(const std::string& programName) {
    return System::File::loadShader({programName, "shaders\\"});
}

System::AssetRef imageAsset(const std::string& file) {
    return {file, "data\\images\\"};
}

// The size the sky's and the models' pictures are decoded at.
System::File::PictureSize scenePictureSize(const DetailSettings& settings) {
    return settings.halfSizeScenePictures ? System::File::PictureSize::Half
                                          : System::File::PictureSize::Whole;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Orders the nodes by the distance of their origins from the eye, nearest first:
// nearer surfaces drawn first hide farther ones, which the renderer then leaves
// unshaded.
void sortNearestFirst(Data::SGNodeList& nodes, const glm::vec3& eye) {
    std::vector<std::pair<float, Data::SGNodePtr>> keyed;
    keyed.reserve(nodes.size());
    for (const Data::SGNodePtr& node : nodes) {
        const glm::vec3 offset = glm::vec3(node->getWorldTransformation()[3]) - eye;
        keyed.emplace_back(glm::dot(offset, offset), node);
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& left, const auto& right) { return left.first < right.first; });
    for (std::size_t k = 0; k < nodes.size(); ++k) {
        nodes[k] = keyed[k].second;
    }
}

} // namespace

float TrackPoint::reach() const {
    return std::sqrt(a * a + b * b);
}

bool TrackPoint::contains(float px, float pz) const {
    return std::hypot(px - x, pz - z) <= reach();
}

bool NoCaseLess::operator()(const std::string& left, const std::string& right) const {
    return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(),
                                        [](char l, char r) {
                                            return std::toupper(static_cast<unsigned char>(l)) <
                                                   std::toupper(static_cast<unsigned char>(r));
                                        });
}

Level::Level(Physics::PhysicsSDK* sdk, std::int32_t detail, Render::RKernel* renderKernel,
             InputListeners* listeners)
    : root(std::make_shared<Data::SGNode>()), labels(std::make_shared<Data::SGNode>()), sdk(sdk),
      renderer(Platform::isWindowOpen() ? renderKernel : nullptr), input(listeners),
      currentCamera(cameras.end()), settings(DetailSettings::of(detail)),
      defaultProgram(loadProgram("default")), skyBoxProgram(loadProgram("SkyBox")),
      shadowProgram(loadProgram("createShadowMap")),
      reflectionProgram(withDefines(loadProgram("defaultReflections"), settings.waterDefines())) {
    root->addChild(labels);
    applySettings();
}

void Level::applySettings() {
    if (renderer == nullptr) {
        return;
    }
    Render::GLTexture::setFilterSettings(1, 1, settings.mipmapMode);
    stillShadowMap =
        std::make_shared<Render::RTTexture>(settings.shadowMapSize, settings.shadowMapSize);
    shadowMap = std::make_shared<Render::RTTexture>(settings.shadowMapSize, settings.shadowMapSize);
    shadowMap->setBase(stillShadowMap);
    stillShadowView.reset();
}

void Level::setDetail(std::int32_t detail) {
    settings = DetailSettings::of(detail);
    litPrograms.clear();
    reflectionProgram = withDefines(loadProgram("defaultReflections"), settings.waterDefines());
    applySettings();
    // Built now rather than halfway through the next frame; a failure is logged.
    buildPrograms();
}

Level::~Level() {
    releaseContent();
}

void Level::releaseContent() {
    // Objects give back their actors and input listeners before the scene goes.
    for (auto& entry : objects) {
        entry.second->release();
    }
    for (auto& entry : vehicles) {
        entry.second->release();
    }
    for (auto& entry : cameras) {
        entry.second->release();
    }
    for (auto& entry : lights) {
        entry.second->release();
    }
    if (terrain) {
        terrain->release();
    }
    checkpoints.clear();
    startPositions.clear();
    shadowMap.reset();
    stillShadowMap.reset();
    terrain.reset();
    objects.clear();
    vehicles.clear();
    lights.clear();
    currentCamera = cameras.end();
    cameras.clear();
    cameraCars.clear();
    drawList.clear();
    root.reset();
    if (scene != nullptr && sdk != nullptr) {
        sdk->releaseScene(*scene);
        scene = nullptr;
    }
}

std::vector<System::File::PictureRequest>
Level::environmentPictures(const std::string& skyPicture, const DetailSettings& settings) {
    // The sky is drawn only, never read pixel by pixel: a detail level may take it
    // smaller.
    return {{imageAsset(skyPicture), scenePictureSize(settings)},
            {imageAsset("CloudShadowMap1.png")},
            {imageAsset("gradient_map.jpg")}};
}

void Level::initialise(const std::string& levelName, float gravity, const std::string& skyPicture) {
    name = levelName;
    if (sdk != nullptr) {
        Physics::SceneDesc desc;
        desc.gravity = {0.0f, gravity, 0.0f};
        scene = sdk->createScene(desc);
    }
    if (scene == nullptr) {
        Tool::LogManager::getInstance().send(
            Tool::Message("Brumbly", "Level::initialise couldn't create PhysX Scene .. [Failed]",
                          "", Tool::MT_MESSAGE));
        return;
    }
    std::vector<Data::ImagePtr> pictures;
    for (const System::File::PictureRequest& request : environmentPictures(skyPicture, settings)) {
        pictures.push_back(System::File::loadImage(request.asset, request.size));
    }
    const Data::ImagePtr& environment = pictures[0];
    const Data::ImagePtr& clouds = pictures[1];
    const Data::ImagePtr& waves = pictures[2];
    sky = std::make_shared<Data::Object>(Data::makeMySkyBox(skyBoxSize, environment));
    root->addChild(sky);
    if (renderer != nullptr) {
        renderer->bindTexture("envMap", environment);
        renderer->bindTexture("cloudShadowMap", clouds);
        renderer->bindTexture("waveBumpMap", waves);
        renderer->getShaderMgmt().setGlobalAmbient({0.3f, 0.3f, 0.3f, 1.0f});
    }
    raceTime = 0.0;
}

void Level::logCreateFailure(const std::string& kind, const std::string& details, int line) {
    Tool::LogManager::getInstance().send(Tool::Message("Level::create",
                                                       "Creating " + kind + " .. [Failed]", details,
                                                       __FILE__, line, Tool::MT_ERROR));
}

template <typename T>
bool Level::nameIsFree(const Map<T>& map, const std::string& objectName, const std::string& kind) {
    if (map.find(objectName) == map.end()) {
        return true;
    }
    logCreateFailure(kind, quoted(objectName) + " already exists", __LINE__);
    return false;
}

Data::SGNodePtr Level::loadModel(const LevelAbleDesc& desc, const std::string& kind) {
    Data::SGNodePtr model =
        System::File::loadMesh({desc.file, desc.directory}, scenePictureSize(settings));
    if (!model) {
        logCreateFailure(kind, quoted(desc.name) + " has no model " + quoted(desc.file), __LINE__);
    } else if (renderer != nullptr) {
        renderer->prepareTextures(model);
    }
    return model;
}

void Level::place(LevelAble& object, const LevelAbleDesc& desc) {
    if (desc.onGround) {
        object.setPositionOnGround(desc.position);
    } else {
        object.setPosition(desc.position);
    }
}

CameraPtr Level::createCamera(const CameraDesc& desc) {
    if (!nameIsFree(cameras, desc.name, "Camera")) {
        return nullptr;
    }
    auto camera = std::make_shared<Camera>(desc.name, desc.flags & CF_MOVABLE);
    cameras.emplace(desc.name, camera);
    camera->attachToLevel(this);
    place(*camera, desc);
    if ((desc.flags & CF_LOOK_AT) != 0) {
        camera->lookAt(desc.target);
    } else {
        camera->setRotation(desc.rotation);
    }
    camera->setVisible(true);
    return camera;
}

LightPtr Level::createLight(const LightDesc& desc) {
    if (!nameIsFree(lights, desc.lightName, "Light")) {
        return nullptr;
    }
    auto light = std::make_shared<Light>(desc);
    lights.emplace(desc.lightName, light);
    light->attach(this, nullptr);
    place(*light, desc);
    light->setRotation(desc.rotation);
    light->setVisible(true);
    Tool::LogManager::getInstance().send(
        Tool::Message("Level::create", "Creating Light .. [Successfully]", quoted(desc.lightName),
                      __FILE__, __LINE__, Tool::MT_MESSAGE));
    return light;
}

template <typename T, typename Create>
std::shared_ptr<T> Level::createObject(const ObjectDesc& desc, const std::string& kind,
                                       const Create& create) {
    if (!nameIsFree(objects, desc.name, kind)) {
        return nullptr;
    }
    const Data::SGNodePtr model = loadModel(desc, kind);
    if (!model) {
        return nullptr;
    }
    auto object = std::make_shared<T>(desc.name);
    objects.emplace(desc.name, object);
    object->attach(this, nullptr);
    create(*object, model);
    place(*object, desc);
    object->setRotation(desc.rotation);
    object->setVisible(true);
    return object;
}

StaticObjectPtr Level::createStaticObject(const ObjectDesc& desc) {
    return createObject<StaticObject>(desc, "StaticObject",
                                      [&](StaticObject& object, const Data::SGNodePtr& model) {
                                          object.create(this, model, desc);
                                      });
}

DynamicObjectPtr Level::createDynamicObject(const DynamicObjectDesc& desc) {
    return createObject<DynamicObject>(desc, "DynamicObject",
                                       [&](DynamicObject& object, const Data::SGNodePtr& model) {
                                           object.createDynamic(this, model, desc, desc.mass);
                                       });
}

std::shared_ptr<VehicleObject> Level::createVehicleObject(const VehicleDesc& desc,
                                                          const glm::vec3& colour) {
    if (!nameIsFree(vehicles, desc.name, "VehicleObject")) {
        return nullptr;
    }
    if (vehicles.size() >= startPositions.size()) {
        logCreateFailure("VehicleObject", "Maximum Numbers of Vehicles reached", __LINE__);
        return nullptr;
    }
    const Data::SGNodePtr model = loadModel(desc, "VehicleObject");
    if (!model) {
        return nullptr;
    }
    const TrackPoint& start = startPositions[vehicles.size()];
    auto vehicle = std::make_shared<VehicleObject>(desc.name);
    vehicles.emplace(desc.name, vehicle);
    vehicle->attach(this, nullptr);
    vehicle->createVehicle(this, model, desc, colour);
    // The car starts standing on its wheels at its start position, facing along it.
    vehicle->setRespawn(start);
    vehicle->placeAt(start);
    vehicle->setVisible(true);
    addVehicleCameras(*vehicle, desc);
    if (input != nullptr) {
        input->attach(static_cast<KeyEventListener*>(vehicle.get()));
    }
    return vehicle;
}

void Level::addVehicleCameras(const VehicleObject& vehicle, const VehicleDesc& desc) {
    CameraDesc side;
    side.name = desc.name + "_SideCamera";
    side.position = {-4.5f, 1.5f, 7.5f};
    side.flags = CF_MOVABLE;
    side.rotation = glm::angleAxis(glm::radians(-25.0f), glm::vec3(0, 1, 0)) *
                    glm::angleAxis(glm::radians(-10.0f), glm::vec3(1, 0, 0));
    CameraDesc chase;
    chase.name = chaseCameraName(desc.name);
    chase.position = {0.0f, 20.0f, -30.0f};
    chase.flags = CF_MOVABLE | CF_LOOK_AT;
    chase.target = {0.0f, 10.0f, 0.0f};
    const auto ride = [&](const CameraDesc& cameraDesc) {
        if (const CameraPtr camera = createCamera(cameraDesc)) {
            camera->attachToNode(vehicle.getNode());
            cameraCars[cameraDesc.name] = vehicle.getName();
        }
    };
    ride(side);
    // The chase camera follows the car's heading but not its roll or pitch.
    if (const CameraPtr camera = createCamera(chase)) {
        camera->follow(vehicle.getNode(), chase.position, chase.target);
        cameraCars[chase.name] = vehicle.getName();
    }
    for (const CameraDesc& cameraDesc : desc.cameras) {
        ride(cameraDesc);
    }
}

TerrainPtr Level::createTerrain(const TerrainDesc& desc) {
    if (terrain) {
        terrain->release();
        removeFromDrawList(terrain->getNode());
    }
    terrain = std::make_shared<Terrain>();
    terrain->create(this, desc);
    if (renderer != nullptr) {
        renderer->prepareTextures(terrain->getNode());
    }
    terrain->setVisible(true);
    return terrain;
}

void Level::setTrack(const std::vector<TrackPoint>& newCheckpoints,
                     const std::vector<TrackPoint>& newStartPositions, unsigned newLaps) {
    checkpoints = newCheckpoints;
    startPositions = newStartPositions;
    laps = newLaps;
    raceTime = 0.0;
    for (std::size_t i = 0; i < checkpoints.size(); ++i) {
        const TrackPoint& point = checkpoints[i];
        const Data::SGNodePtr label =
            Data::makeText(std::to_string(i + 1), "Newsflash", 3.0f, Data::TA_LEFT);
        label->setTransformation(
            glm::translate(glm::mat4(1.0f), {point.x, 20.0f, point.z}) *
            glm::rotate(glm::mat4(1.0f), glm::radians(point.heading + 180.0f), {0, 1, 0}));
        labels->addChild(label);
    }
}

std::shared_ptr<VehicleObject> Level::getCameraCar(const std::string& cameraName) const {
    const auto rider = cameraCars.find(cameraName);
    if (rider == cameraCars.end()) {
        return nullptr;
    }
    const auto car = vehicles.find(rider->second);
    return car == vehicles.end() ? nullptr : car->second;
}

CameraPtr Level::getCurrentCamera() const {
    return currentCamera != cameras.end() ? currentCamera->second : nullptr;
}

bool Level::setCurrentCamera(const std::string& cameraName) {
    const auto found = cameras.find(cameraName);
    if (found == cameras.end()) {
        return false;
    }
    currentCamera = found;
    return true;
}

void Level::selectFirstCamera() {
    currentCamera = cameras.begin();
}

void Level::previousCamera() {
    if (cameras.empty()) {
        return;
    }
    if (currentCamera == cameras.end() || currentCamera == cameras.begin()) {
        currentCamera = std::prev(cameras.end());
    } else {
        --currentCamera;
    }
}

void Level::nextCamera() {
    if (cameras.empty()) {
        return;
    }
    if (currentCamera == cameras.end() || std::next(currentCamera) == cameras.end()) {
        currentCamera = cameras.begin();
    } else {
        ++currentCamera;
    }
}

void Level::update(double dt) {
    // The race clock follows the simulation: time a slow frame drops from the physics
    // does not count either.
    stepTime = dt;
    if (scene != nullptr) {
        scene->simulate(static_cast<float>(dt));
        scene->flushStream();
        scene->fetchResults(Physics::RIGID_BODY_FINISHED, true);
        stepTime = scene->getAdvancedTime();
    }
    if (raceStarted) {
        raceTime += stepTime;
    }
    for (auto& entry : objects) {
        entry.second->update(dt);
    }
    for (auto& entry : vehicles) {
        entry.second->update(dt);
    }
    for (auto& entry : cameras) {
        entry.second->update(dt);
    }
}

bool Level::isDrivingKey(int key) const {
    return std::any_of(vehicles.begin(), vehicles.end(), [key](const auto& entry) {
        const std::array<std::uint32_t, 5> bindings = entry.second->getControl().bindings();
        return std::any_of(bindings.begin(), bindings.end(), [key](std::uint32_t binding) {
            return Data::KeyTable::matches(binding, key);
        });
    });
}

void Level::addToDrawList(const Data::SGNodePtr& node) {
    if (node && std::find(drawList.begin(), drawList.end(), node) == drawList.end()) {
        drawList.push_back(node);
        stillShadowView.reset();
    }
}

void Level::removeFromDrawList(const Data::SGNodePtr& node) {
    drawList.erase(std::remove(drawList.begin(), drawList.end(), node), drawList.end());
    stillShadowView.reset();
}

bool Level::isStill(const Data::SGNodePtr& node) const {
    if (terrain && node == terrain->getNode()) {
        return true;
    }
    return std::any_of(objects.begin(), objects.end(), [&node](const auto& entry) {
        return entry.second->getNode() == node &&
               dynamic_cast<const DynamicObject*>(entry.second.get()) == nullptr;
    });
}

void Level::refreshLights() {
    activeLights.clear();
    for (const auto& entry : lights) {
        if (entry.second->isVisible()) {
            activeLights.push_back(entry.second->getLight());
        }
    }
}

const Data::LightPtr& Level::getShadowLight() const {
    static const Data::LightPtr none;
    return activeLights.empty() ? none : activeLights.front();
}

const Data::ShaderPtr& Level::litProgram() {
    const LightSetup lights = LightSetup::of(activeLights);
    Data::ShaderPtr& program = litPrograms[lights];
    if (!program) {
        program = withDefines(defaultProgram, settings.litDefines(lights));
    }
    return program;
}

bool Level::buildPrograms() {
    if (renderer == nullptr) {
        return true;
    }
    // A program that does not build would leave its part of every frame undrawn:
    // the race does not start without it.
    Render::GLShaderMgmt& shaders = renderer->getShaderMgmt();
    const std::pair<const char*, Data::ShaderPtr> programs[] = {
        {"default", litProgram()},
        {"SkyBox", skyBoxProgram},
        {"createShadowMap", shadowProgram},
        {"defaultReflections", reflectionProgram}};
    for (const auto& [file, program] : programs) {
        const Render::GLShaderPtr built = program ? shaders.getProgram(*program) : nullptr;
        if (!built || !built->isCompiled()) {
            Tool::LogManager::getInstance().send(Tool::Message(
                "Level", "Program " + quoted(file) + " did not build .. [Failed]",
                "from basicLib.glsl, " + std::string(file) + ".vert and " + file + ".frag",
                __FILE__, __LINE__, Tool::MT_ERROR));
            return false;
        }
    }
    return true;
}

Data::CameraPtr Level::shadowCamera() const {
    for (const auto& entry : lights) {
        if (entry.second->getLight() == getShadowLight()) {
            return entry.second->getShadowCamera();
        }
    }
    return nullptr;
}

void Level::renderShadows() {
    const Data::CameraPtr lightCamera = shadowCamera();
    if (!shadowMap || !lightCamera) {
        return;
    }
    renderer->getShaderMgmt().setCurrentProgram(shadowProgram);
    // The shadow maps start at the farthest depth; whoever draws next clears with
    // their own colour.
    std::array<GLfloat, 4> clearColour{};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour.data());
    const GLboolean culling = glIsEnabled(GL_CULL_FACE);
    const GLboolean depthTest = glIsEnabled(GL_DEPTH_TEST);
    GLint culledFace = GL_BACK;
    glGetIntegerv(GL_CULL_FACE_MODE, &culledFace);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glCullFace(GL_FRONT);
    Data::SGNodeList still;
    Data::SGNodeList moving;
    for (const Data::SGNodePtr& node : drawList) {
        (isStill(node) ? still : moving).push_back(node);
    }
    const auto lightViewNow = [&] {
        return lightCamera->getProjection(static_cast<unsigned>(shadowMap->getWidth()),
                                          static_cast<unsigned>(shadowMap->getHeight())) *
               glm::inverse(lightCamera->getWorldTransformation());
    };
    glm::mat4 lightView = lightViewNow();
    if (stillShadowView != lightView) {
        // The near plane moves up to the scene, where the depth map's precision is
        // spent on what is there; it stays between 1 and half the far plane.
        const float nearest = nearestAlongLight(drawList, *lightCamera);
        if (nearest < std::numeric_limits<float>::max()) {
            lightCamera->nearPlane = std::clamp(nearest * 0.9f, 1.0f, lightCamera->farPlane * 0.5f);
            lightView = lightViewNow();
        }
        renderer->setRenderTarget(stillShadowMap);
        renderer->setCamera(lightCamera);
        renderer->drawNodes(still);
        stillShadowMap->end();
        stillShadowView = lightView;
    } else {
        // Elsewhere the shadow map still holds the still depth.
        shadowMap->restoreFromBase(movingShadowArea[0], movingShadowArea[1], movingShadowArea[2],
                                   movingShadowArea[3]);
    }
    movingShadowArea =
        texelsCovered(moving, lightView, shadowMap->getWidth(), shadowMap->getHeight());
    // The shadow map begins as a copy of the still one.
    renderer->setRenderTarget(shadowMap);
    renderer->setCamera(lightCamera);
    renderer->drawNodes(moving);
    shadowMap->end();
    glCullFace(static_cast<GLenum>(culledFace));
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    Render::setCapability(GL_CULL_FACE, culling);
    Render::setCapability(GL_DEPTH_TEST, depthTest);
    renderer->bindTexture("shadowMap", shadowMap);
}

void Level::drawSolids() {
    // The objects first, nearest first, then the ground, which they stand on and
    // partly hide.
    const Data::SGNodePtr ground = terrain ? terrain->getNode() : nullptr;
    Data::SGNodeList solids;
    bool groundShown = false;
    for (const Data::SGNodePtr& node : drawList) {
        if (!node) {
            continue;
        }
        if (node == ground) {
            groundShown = true;
        } else {
            solids.push_back(node);
        }
    }
    sortNearestFirst(solids, renderer->getShaderMgmt().getCameraPosition());
    renderer->drawNodes(solids);
    if (groundShown) {
        renderer->drawNode(ground);
    }
}

void Level::draw(const CameraPtr& camera) {
    if (renderer == nullptr || !camera) {
        return;
    }
    Render::GLShaderMgmt& shaders = renderer->getShaderMgmt();
    shaders.setLights(activeLights);
    const Data::CameraPtr& view = camera->getCamera();

    const Data::ShaderPtr& lit = litProgram();
    const auto useLitProgram = [&] {
        shaders.setCurrentProgram(lit);
        renderer->setCamera(view);
        if (const Data::CameraPtr lightCamera = shadowCamera(); lightCamera && shadowMap) {
            renderer->setProjTexMatrix(lightCamera, shadowMap);
        }
    };
    useLitProgram();
    // The track's solid objects and the sky cover what lies behind them: blending
    // them would change no pixel and cost a read of each.
    const GLboolean blending = glIsEnabled(GL_BLEND);
    glDisable(GL_BLEND);
    renderer->setDrawDistance(settings.drawDistance);
    drawSolids();
    renderer->setDrawDistance(std::numeric_limits<float>::infinity());
    // The sky lies behind everything: drawn after the solid scene, it is coloured
    // only where the scene left the depth buffer clear.
    if (sky) {
        shaders.setCurrentProgram(skyBoxProgram);
        renderer->setCamera(view);
        glDepthMask(GL_FALSE);
        // The shader centres the sky on the camera; its node stays at the origin,
        // where a frustum test would look for it.
        renderer->drawNodesUnculled({sky});
        glDepthMask(GL_TRUE);
    }
    glEnable(GL_BLEND);
    // The labels are blended over what lies behind them, the sky included.
    useLitProgram();
    renderer->drawNode(labels);
    if (terrain && terrain->getWaterNode()) {
        shaders.setCurrentProgram(reflectionProgram);
        renderer->setCamera(view);
        renderer->drawNode(terrain->getWaterNode());
    }
    Render::setCapability(GL_BLEND, blending);
}

} // namespace Game
