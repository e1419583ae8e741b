#pragma once

#include "Physics/Actor.h"
#include "Physics/ActorDesc.h"
#include "Physics/Material.h"
#include "Physics/Types.h"

#include <map>
#include <memory>
#include <vector>

namespace Physics {

class PhysicsSDK;
struct World;

struct SceneDesc {
    Vec3 gravity{0.0f};
    float maxTimestep = 1.0f / 60.0f;
    std::uint32_t maxIter = 8;
    TimeStepMethod timeStepMethod = TIMESTEP_FIXED;

    void setToDefault() { *this = SceneDesc(); }
    bool isValid() const;
};

// A simulated world. simulate() advances it in fixed sub-steps of maxTimestep, at most
// maxIter of them per call: the time below one sub-step is carried to the next call,
// time beyond maxIter sub-steps is dropped so that a slow frame cannot snowball.
// Clocks that should stay with the simulation (race and lap times) count
// getAdvancedTime() rather than the elapsed time, and drawing takes the actors'
// interpolated poses. The simulation runs inside simulate(); fetchResults() completes
// the call pair.
class Scene {
public:
    Scene(PhysicsSDK& sdk, const SceneDesc& desc);
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    PhysicsSDK& getPhysicsSDK() const { return sdk; }

    void setGravity(const Vec3& value);
    Vec3 getGravity() const { return gravity; }

    void simulate(float elapsedTime);
    void flushStream() {}
    bool checkResults(SimulationStatus status, bool block = false) const;
    bool fetchResults(SimulationStatus status, bool block = false,
                      std::uint32_t* errorState = nullptr);
    // The step settings and the number of sub-steps the last simulate() made.
    void getTiming(float& maxTimestep, std::uint32_t& maxIter, TimeStepMethod& method,
                   std::uint32_t* numSubSteps = nullptr) const;
    // Simulated time the last simulate() advanced the scene: its sub-steps times
    // maxTimestep (the elapsed time with TIMESTEP_VARIABLE). Less than the elapsed time
    // when time was dropped, or carried to the next call.
    float getAdvancedTime() const { return advancedTime; }
    // Time carried to the next simulate(), below one sub-step (0 with TIMESTEP_VARIABLE).
    float getCarriedTime() const { return static_cast<float>(timeCarried); }

    Material* createMaterial(const MaterialDesc& desc);
    void releaseMaterial(Material& material);
    Material* getMaterialFromIndex(MaterialIndex index) const;
    std::uint32_t getNbMaterials() const { return static_cast<std::uint32_t>(materials.size()); }

    // Null (reported to the output stream) when the description is invalid.
    Actor* createActor(const ActorDesc& desc);
    void releaseActor(Actor& actor);
    std::uint32_t getNbActors() const { return static_cast<std::uint32_t>(actors.size()); }
    Actor* getActor(std::uint32_t index) const {
        return index < actors.size() ? actors[index].get() : nullptr;
    }

    // Bullet side of the scene, for the layer's own use.
    World& getWorld() const { return *world; }

private:
    void step(float dt);
    void rememberPoses();

    PhysicsSDK& sdk;
    Vec3 gravity;
    float maxTimestep;
    std::uint32_t maxIter;
    TimeStepMethod timeStepMethod;
    double timeCarried = 0.0;
    std::uint32_t lastSubSteps = 0;
    float advancedTime = 0.0f;
    bool resultsPending = false;

    std::unique_ptr<World> world;
    std::map<MaterialIndex, std::unique_ptr<Material>> materials;
    std::vector<std::unique_ptr<Actor>> actors;
};

} // namespace Physics
