#include "Physics/Scene.h"

#include "Physics/BulletBridge.h"
#include "Physics/HeightFieldShape.h"
#include "Physics/PhysicsSDK.h"
#include "Physics/WheelShape.h"
#include "Physics/WheelSolver.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Physics {

namespace {

// The material of the shape a contact wrapper stands for. Compound children and
// height-field triangles are wrapped below their shape; walk up to the shape that
// carries the material index.
const Material* materialOf(const btCollisionObjectWrapper* wrapper) {
    while (wrapper != nullptr && wrapper->getCollisionShape()->getUserIndex() < 0) {
        wrapper = wrapper->m_parent;
    }
    if (wrapper == nullptr) {
        return nullptr;
    }
    const auto* actor = static_cast<const Actor*>(wrapper->getCollisionObject()->getUserPointer());
    if (actor == nullptr) {
        return nullptr;
    }
    const Scene& scene = actor->getScene();
    const auto index = static_cast<MaterialIndex>(wrapper->getCollisionShape()->getUserIndex());
    const Material* material = scene.getMaterialFromIndex(index);
    return material != nullptr ? material : scene.getMaterialFromIndex(0);
}

bool combineMaterials(btManifoldPoint& point, const btCollisionObjectWrapper* first, int, int,
                      const btCollisionObjectWrapper* second, int, int) {
    const Material* a = materialOf(first);
    const Material* b = materialOf(second);
    if (a != nullptr && b != nullptr) {
        point.m_combinedFriction = Material::combinedFriction(*a, *b);
        point.m_combinedRestitution = Material::combinedRestitution(*a, *b);
    }
    return true;
}

// Whether the bounds of a body lie wholly above a height field's surface, so that the
// two cannot touch (a car on its wheels, a crate on a box).
bool clearAbove(const HeightFieldShape& field, const btBroadphaseProxy& body) {
    const Mat34 toField = field.getGlobalPose().inverse();
    Vec3 low(std::numeric_limits<float>::max());
    Vec3 high(-std::numeric_limits<float>::max());
    for (int corner = 0; corner < 8; ++corner) {
        const Vec3 point((corner & 1) != 0 ? body.m_aabbMax.x() : body.m_aabbMin.x(),
                         (corner & 2) != 0 ? body.m_aabbMax.y() : body.m_aabbMin.y(),
                         (corner & 4) != 0 ? body.m_aabbMax.z() : body.m_aabbMin.z());
        const Vec3 local = toField.transform(point);
        low = glm::min(low, local);
        high = glm::max(high, local);
    }
    return low.y > field.getHighestPointIn(low.x, low.z, high.x, high.z);
}

// The narrow phase, skipped for a body and a height field while the body's bounds
// (which include the contact threshold) are clear of the surface under them; contacts
// kept from earlier steps are dropped then.
void nearCallback(btBroadphasePair& pair, btCollisionDispatcher& dispatcher,
                  const btDispatcherInfo& info) {
    const btBroadphaseProxy* proxies[2] = {pair.m_pProxy0, pair.m_pProxy1};
    const btCollisionObject* objects[2] = {
        static_cast<const btCollisionObject*>(proxies[0]->m_clientObject),
        static_cast<const btCollisionObject*>(proxies[1]->m_clientObject)};
    if (!dispatcher.needsCollision(objects[0], objects[1])) {
        return;
    }
    for (int i = 0; i < 2; ++i) {
        const btCollisionObject* object = objects[i];
        const HeightFieldShape* field = heightFieldOf(object);
        if (field != nullptr && clearAbove(*field, *proxies[1 - i])) {
            if (pair.m_algorithm != nullptr) {
                btManifoldArray manifolds;
                pair.m_algorithm->getAllContactManifolds(manifolds);
                for (int m = 0; m < manifolds.size(); ++m) {
                    manifolds[m]->clearManifold();
                }
            }
            return;
        }
    }
    btCollisionDispatcher::defaultNearCallback(pair, dispatcher, info);
}

} // namespace

void DynamicsWorld::solveConstraints(btContactSolverInfo& info) {
    for (const auto& actor : actors) {
        if (!actor->getWheels().empty()) {
            WheelSolver::step(*actor, *this, info.m_timeStep);
        }
    }
    WheelSolver::centreSideContacts(*getDispatcher(), getGravity());
    btDiscreteDynamicsWorld::solveConstraints(info);
}

World::World(const std::vector<std::unique_ptr<Actor>>& actors)
    : world(&dispatcher, &broadphase, &solver, &configuration, actors) {
    gContactAddedCallback = combineMaterials;
    dispatcher.setNearCallback(nearCallback);
    // Static objects move only through setGlobalPose, which updates their bounds.
    world.setForceUpdateAllAabbs(false);
}

World::~World() = default;

bool SceneDesc::isValid() const {
    return maxTimestep > 0.0f && maxIter >= 1 &&
           (timeStepMethod == TIMESTEP_FIXED || timeStepMethod == TIMESTEP_VARIABLE);
}

Scene::Scene(PhysicsSDK& sdk, const SceneDesc& desc)
    : sdk(sdk), gravity(desc.gravity), maxTimestep(desc.maxTimestep), maxIter(desc.maxIter),
      timeStepMethod(desc.timeStepMethod), world(std::make_unique<World>(actors)) {
    world->world.setGravity(toBullet(gravity));
    materials[0] = std::make_unique<Material>(*this, 0, MaterialDesc());
}

Scene::~Scene() {
    actors.clear();
}

void Scene::setGravity(const Vec3& value) {
    gravity = value;
    world->world.setGravity(toBullet(value));
}

void Scene::simulate(float elapsedTime) {
    if (!std::isfinite(elapsedTime) || elapsedTime < 0.0f) {
        sdk.report(E_INVALID_PARAMETER,
                   "Scene::simulate: elapsed time must be a finite, non-negative number", __FILE__,
                   __LINE__);
        return;
    }
    if (resultsPending) {
        sdk.report(E_INVALID_OPERATION, "Scene::simulate: results of the last call not fetched",
                   __FILE__, __LINE__);
        return;
    }
    resultsPending = true;
    if (timeStepMethod == TIMESTEP_VARIABLE) {
        lastSubSteps = elapsedTime > 0.0f ? 1 : 0;
        advancedTime = elapsedTime;
        if (lastSubSteps > 0) {
            rememberPoses();
            step(elapsedTime);
        }
        return;
    }
    // A tiny tolerance keeps 1/30 s from counting as 1.999... sub-steps.
    timeCarried += elapsedTime;
    const double steps = std::floor(timeCarried / maxTimestep + 1e-4);
    timeCarried = std::max(0.0, timeCarried - steps * maxTimestep);
    lastSubSteps = static_cast<std::uint32_t>(std::min<double>(steps, maxIter));
    advancedTime = static_cast<float>(lastSubSteps) * maxTimestep;
    for (std::uint32_t i = 0; i < lastSubSteps; ++i) {
        if (i + 1 == lastSubSteps) {
            rememberPoses();
        }
        step(maxTimestep);
    }
}

// Keeps the poses before the coming sub-step, the start of the interpolated stretch.
void Scene::rememberPoses() {
    for (const auto& actor : actors) {
        ActorBody& body = actor->getBody();
        if (body.rigidBody) {
            body.previousPose = body.rigidBody->getCenterOfMassTransform();
        }
    }
}

void Scene::step(float dt) {
    world->world.stepSimulation(dt, 0, dt);
    recordContactImpulses(world->dispatcher);
}

bool Scene::checkResults(SimulationStatus, bool) const {
    return resultsPending;
}

bool Scene::fetchResults(SimulationStatus, bool, std::uint32_t* errorState) {
    if (errorState != nullptr) {
        *errorState = 0;
    }
    const bool pending = resultsPending;
    resultsPending = false;
    return pending;
}

void Scene::getTiming(float& timestep, std::uint32_t& iterations, TimeStepMethod& method,
                      std::uint32_t* numSubSteps) const {
    timestep = maxTimestep;
    iterations = maxIter;
    method = timeStepMethod;
    if (numSubSteps != nullptr) {
        *numSubSteps = lastSubSteps;
    }
}

Material* Scene::createMaterial(const MaterialDesc& desc) {
    if (!desc.isValid()) {
        sdk.report(E_INVALID_PARAMETER, "Scene::createMaterial: material description invalid",
                   __FILE__, __LINE__);
        return nullptr;
    }
    MaterialIndex index = 1;
    while (materials.contains(index)) {
        if (index == 0xFFFF) {
            sdk.report(E_OUT_OF_MEMORY, "Scene::createMaterial: no free material index", __FILE__,
                       __LINE__);
            return nullptr;
        }
        ++index;
    }
    auto& material = materials[index];
    material = std::make_unique<Material>(*this, index, desc);
    return material.get();
}

void Scene::releaseMaterial(Material& material) {
    if (material.getMaterialIndex() == 0) {
        sdk.report(E_INVALID_OPERATION, "Scene::releaseMaterial: the default material stays",
                   __FILE__, __LINE__);
        return;
    }
    materials.erase(material.getMaterialIndex());
}

Material* Scene::getMaterialFromIndex(MaterialIndex index) const {
    const auto found = materials.find(index);
    return found != materials.end() ? found->second.get() : nullptr;
}

Actor* Scene::createActor(const ActorDesc& desc) {
    if (!desc.isValid()) {
        sdk.report(E_INVALID_PARAMETER, "Scene::createActor: actor description invalid", __FILE__,
                   __LINE__);
        return nullptr;
    }
    actors.push_back(std::unique_ptr<Actor>(new Actor(*this, desc)));
    return actors.back().get();
}

void Scene::releaseActor(Actor& actor) {
    for (const auto& other : actors) {
        for (WheelShape* wheel : other->getWheels()) {
            WheelSolver::forgetContactWith(*wheel, actor);
        }
    }
    std::erase_if(actors, [&actor](const auto& owned) { return owned.get() == &actor; });
}

} // namespace Physics
