#pragma once

#include "Data/Light.h"
#include "Data/Options.h"
#include "Data/SGNode.h"
#include "Data/Shader.h"
#include "Game/level/Camera.h"
#include "Game/level/DetailSettings.h"
#include "Game/level/DrivingLine.h"
#include "Game/level/DynamicObject.h"
#include "Game/level/LevelAbleDesc.h"
#include "Game/level/Light.h"
#include "Game/level/StaticObject.h"
#include "Game/level/Terrain.h"
#include "Game/level/TrackPoint.h"
#include "Render/targets/RTTexture.h"

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Physics {
class PhysicsSDK;
class Scene;
} // namespace Physics

namespace Render {
class RKernel;
}

namespace Track {
struct TrackDesc;
}

namespace Game {

class InputListeners;
class VehicleObject;
struct VehicleDesc;

// Orders names without regard to letter case.
struct NoCaseLess {
    bool operator()(const std::string& left, const std::string& right) const;
};

// One race track: the physics scene, the scene graph, every named object on the
// track, the checkpoints and start positions, and the render resources the track
// is drawn with. Works without a window too (physics only); then it draws nothing.
class Level {
public:
    template <typename T> using Map = std::map<std::string, std::shared_ptr<T>, NoCaseLess>;

    // Everything the level needs comes from its owner: the physics, the detail (a
    // Data::Detail value) it is drawn at, the render kernel that draws it (none, or
    // one without a window: it draws nothing) and the input its cameras and cars
    // listen to (none: they hear no keys).
    explicit Level(Physics::PhysicsSDK* sdk, std::int32_t detail = Data::DETAIL_HIGH,
                   Render::RKernel* renderer = nullptr, InputListeners* input = nullptr);
    ~Level();
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    // Creates the physics scene with gravity (0, g, 0), the sky (a picture in
    // data/images) and the environment textures. Callers check getScene() afterwards.
    void initialise(const std::string& levelName, float gravity,
                    const std::string& skyPicture = "brightday1.jpg");
    // Builds the content of a track for a race of `laps` laps. False when the physics
    // scene could not be made or, with a window, a program that draws the track did
    // not build.
    bool buildTrack(const Track::TrackDesc& track, unsigned laps);
    // The same for the "Test Track" as its layout gives it.
    bool buildTestTrack(unsigned laps);
    // The pictures a level at that detail loads from files for the track, in the
    // order and at the sizes it loads them: a prefetch of them decodes them ahead.
    static std::vector<System::File::PictureRequest> picturesOf(const Track::TrackDesc& track,
                                                                std::int32_t detail);

    // Each returns an empty pointer, with the reason logged, on a name clash.
    CameraPtr createCamera(const CameraDesc& desc);
    LightPtr createLight(const LightDesc& desc);
    StaticObjectPtr createStaticObject(const ObjectDesc& desc);
    DynamicObjectPtr createDynamicObject(const DynamicObjectDesc& desc);
    TerrainPtr createTerrain(const TerrainDesc& desc);
    // A car in the body colour (red, green, blue 0..255) at the next free start
    // position, with its cameras; empty when every start position is taken.
    std::shared_ptr<VehicleObject> createVehicleObject(const VehicleDesc& desc,
                                                       const glm::vec3& colour);

    // Takes the checkpoints (in order of passage), the start positions and the lap
    // count, resets the race time and labels the checkpoints.
    void setTrack(const std::vector<TrackPoint>& newCheckpoints,
                  const std::vector<TrackPoint>& newStartPositions, unsigned newLaps);

    // The name of the camera that chases the vehicle of that name.
    static std::string chaseCameraName(const std::string& vehicleName) {
        return vehicleName + "_DefaultCamera";
    }
    CameraPtr getCurrentCamera() const;
    // The car that the camera of that name rides with (its chase and side cameras);
    // none for the level's own cameras.
    std::shared_ptr<VehicleObject> getCameraCar(const std::string& cameraName) const;
    // False, leaving the current camera, when no camera has that name.
    bool setCurrentCamera(const std::string& cameraName);
    // The first camera in name order, or none when there is no camera.
    void selectFirstCamera();
    // Steps through the cameras in name order, wrapping around.
    void previousCamera();
    void nextCamera();

    // Steps the physics, the race time and every object, vehicle and camera.
    void update(double dt);
    // Before the start the physics and the objects go on, but the race clock stands
    // and the cars wait on their brakes. A new level has started.
    void setRaceStarted(bool started) { raceStarted = started; }
    bool isRaceStarted() const { return raceStarted; }
    // Draws the scene's depth from the first light into the shadow map. The still
    // part of the track (the ground and the static objects) is drawn once into a
    // map of its own and copied each frame; only what moves is drawn anew. It is
    // drawn again when the light moves or an object is shown or hidden.
    void renderShadows();
    // Draws sky, scene and water from the current camera into the current target.
    // Both leave the OpenGL state they change (clear colour, culling, blending) as
    // they found it.
    void draw() { draw(getCurrentCamera()); }
    // The same from that camera (nothing without one), into the current viewport.
    void draw(const CameraPtr& camera);

    // Whether a car of this level is driven with that window-layer key.
    bool isDrivingKey(int key) const;

    // Draws at another detail level (a Data::Detail value) from the next frame on:
    // programs and shadow maps are built anew.
    void setDetail(std::int32_t detail);
    const DetailSettings& getDetailSettings() const { return settings; }

    void addToDrawList(const Data::SGNodePtr& node);
    void removeFromDrawList(const Data::SGNodePtr& node);
    // Rebuilds the active light list from the visible lights, in name order.
    void refreshLights();

    Physics::PhysicsSDK* getPhysicsSDK() const { return sdk; }
    // The input the level's cameras and cars listen to; none when not given.
    InputListeners* getInput() const { return input; }
    Physics::Scene* getScene() const { return scene; }
    const TerrainPtr& getTerrain() const { return terrain; }
    const std::string& getName() const { return name; }
    const Data::SGNodePtr& getRoot() const { return root; }
    const Data::SGNodeList& getDrawList() const { return drawList; }
    const Map<Camera>& getCameras() const { return cameras; }
    const Map<Light>& getLights() const { return lights; }
    const Map<StaticObject>& getObjects() const { return objects; }
    const Map<VehicleObject>& getVehicles() const { return vehicles; }
    const std::vector<TrackPoint>& getCheckpoints() const { return checkpoints; }
    const std::vector<TrackPoint>& getStartPositions() const { return startPositions; }
    // The line around the track that computer drivers follow; empty when the track
    // has none.
    const DrivingLine& getDrivingLine() const { return drivingLine; }
    unsigned getLaps() const { return laps; }
    double getRaceTime() const { return raceTime; }
    // The simulated time the last update advanced the race by: whole physics
    // sub-steps, so 0 in frames shorter than one and less than the frame after a hitch.
    double getStepTime() const { return stepTime; }
    const Data::LightPtr& getShadowLight() const;
    const Render::RTTexturePtr& getShadowMap() const { return shadowMap; }

private:
    // The sky's, the clouds' and the waves' pictures, as initialise loads them.
    static std::vector<System::File::PictureRequest>
    environmentPictures(const std::string& skyPicture, const DetailSettings& settings);
    // Logs "Creating <kind> .. [Failed]" with the details.
    static void logCreateFailure(const std::string& kind, const std::string& details, int line);
    template <typename T>
    bool nameIsFree(const Map<T>& map, const std::string& objectName, const std::string& kind);
    Data::SGNodePtr loadModel(const LevelAbleDesc& desc, const std::string& kind);
    // An obstacle of the kind: name checked, model loaded, `create` run on it, placed
    // and shown.
    template <typename T, typename Create>
    std::shared_ptr<T> createObject(const ObjectDesc& desc, const std::string& kind,
                                    const Create& create);
    void place(LevelAble& object, const LevelAbleDesc& desc);
    void addVehicleCameras(const VehicleObject& vehicle, const VehicleDesc& desc);
    Data::CameraPtr shadowCamera() const;
    // Makes the render resources the detail settings ask for.
    void applySettings();
    // Whether the node belongs to the ground or a static object: nothing that moves.
    bool isStill(const Data::SGNodePtr& node) const;
    // The lit program built for the active lights: their number and kinds.
    const Data::ShaderPtr& litProgram();
    // Builds every program the track is drawn with; false, with one error naming
    // the first that failed.
    bool buildPrograms();
    void releaseContent();
    // The solid scene from the current camera: the objects nearest first, then the
    // ground.
    void drawSolids();

    Data::SGNodeList drawList;
    Data::SGNodePtr root;
    Data::SGNodePtr sky;
    Data::SGNodePtr labels;
    Physics::PhysicsSDK* sdk;
    Render::RKernel* renderer;
    InputListeners* input;
    Physics::Scene* scene = nullptr;
    Map<Camera> cameras;
    Map<Camera>::iterator currentCamera;
    // The car's name for each camera that rides with a car.
    std::map<std::string, std::string, NoCaseLess> cameraCars;
    Map<Light> lights;
    std::vector<Data::LightPtr> activeLights;
    Map<StaticObject> objects;
    Map<VehicleObject> vehicles;
    TerrainPtr terrain;
    DetailSettings settings;
    Data::ShaderPtr defaultProgram;
    std::map<LightSetup, Data::ShaderPtr> litPrograms;
    Data::ShaderPtr skyBoxProgram;
    Data::ShaderPtr shadowProgram;
    Data::ShaderPtr reflectionProgram;
    Render::RTTexturePtr shadowMap;
    Render::RTTexturePtr stillShadowMap;
    // The light's projection and view the still shadow map was drawn with; empty:
    // it is to be drawn.
    std::optional<glm::mat4> stillShadowView;
    // The texels of the shadow map that the moving objects drew into last time:
    // only these need the still depth back.
    std::array<int, 4> movingShadowArea{};
    std::vector<TrackPoint> checkpoints;
    std::vector<TrackPoint> startPositions;
    DrivingLine drivingLine;
    double raceTime = 0.0;
    double stepTime = 0.0;
    bool raceStarted = true;
    unsigned laps = 0;
    std::string name = "Default";
};

} // namespace Game
