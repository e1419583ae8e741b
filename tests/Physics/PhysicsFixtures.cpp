#include "PhysicsFixtures.h"

#include "Physics/HeightField.h"

#include <glm/gtc/matrix_transform.hpp>

using namespace Physics;

namespace PhysicsFixtures {

Actor* createTerrain(Scene& scene, const std::function<float(float, float)>& height, bool walls) {
    PhysicsSDK& sdk = scene.getPhysicsSDK();
    MaterialDesc groundDesc;
    groundDesc.staticFriction = 0.5f;
    groundDesc.dynamicFriction = 0.5f;
    Material* ground = scene.createMaterial(groundDesc);

    const int n = terrainSamples;
    const float step = terrainSize / static_cast<float>(n - 1);
    std::vector<HeightFieldSample> samples(static_cast<std::size_t>(n) * n);
    for (int column = 0; column < n; ++column) {
        for (int row = 0; row < n; ++row) {
            HeightFieldSample& sample = samples[static_cast<std::size_t>(column) * n + row];
            sample.height = static_cast<std::int16_t>(height(column * step, row * step) * 100.0f);
            sample.materialIndex0 = ground->getMaterialIndex();
            sample.materialIndex1 = ground->getMaterialIndex();
        }
    }
    HeightFieldDesc fieldDesc;
    fieldDesc.nbRows = n;
    fieldDesc.nbColumns = n;
    fieldDesc.sampleStride = sizeof(HeightFieldSample);
    fieldDesc.samples = samples.data();
    fieldDesc.verticalExtent = -1000.0f;
    HeightField* field = sdk.createHeightField(fieldDesc);

    HeightFieldShapeDesc shapeDesc;
    shapeDesc.heightField = field;
    shapeDesc.heightScale = 0.01f;
    shapeDesc.rowScale = step;
    shapeDesc.columnScale = step;
    shapeDesc.holeMaterial = 2;
    shapeDesc.meshFlags = MESH_SMOOTH_SPHERE_COLLISIONS;

    ActorDesc actorDesc;
    actorDesc.shapes.push_back(&shapeDesc);
    std::vector<BoxShapeDesc> wallDescs(4);
    const float s = terrainSize;
    const Vec3 centres[4] = {
        {2 * s - 0.05f, 0, 0}, {0.05f - s, 0, 0}, {0, 0, 2 * s - 0.05f}, {0, 0, 0.05f - s}};
    if (walls) {
        for (int i = 0; i < 4; ++i) {
            wallDescs[i].dimensions = Vec3(s, terrainHeightScale, s);
            wallDescs[i].localPose.t = centres[i];
            actorDesc.shapes.push_back(&wallDescs[i]);
        }
    }
    return scene.createActor(actorDesc);
}

WheelShapeDesc gameWheel(const Vec3& mount, float radius, MaterialIndex material) {
    WheelShapeDesc wheel;
    wheel.localPose.t = mount;
    wheel.radius = radius;
    wheel.suspensionTravel = 0.05f;
    wheel.suspension = {0.0f, 8000.0f, 0.0f};
    wheel.longitudalTireForceFunction = {0.5f, 20.0f, 0.75f, 1.75f, 1000000.0f};
    wheel.lateralTireForceFunction = {0.25f, 1.6f, 0.5f, 1.0f, 1000000.0f};
    wheel.wheelFlags = 0x46;
    wheel.mass = 20.0f;
    wheel.inverseWheelMass = 1.0f;
    wheel.materialIndex = material;
    wheel.tuning.fullDriveTorque = 675.0f;
    return wheel;
}

void Car::setThrottle(float torque) const {
    wheels[2]->setMotorTorque(torque);
    wheels[3]->setMotorTorque(torque);
}

void Car::setBrake(float torque) const {
    for (WheelShape* wheel : wheels) {
        wheel->setBrakeTorque(torque);
    }
}

void Car::setSteer(float radians) const {
    wheels[2]->setSteerAngle(radians);
    wheels[3]->setSteerAngle(radians);
}

float Car::forwardSpeed() const {
    return glm::dot(actor->getLinearVelocity(), forward());
}

int Car::wheelsInContact() const {
    int count = 0;
    WheelContactData data;
    for (const WheelShape* wheel : wheels) {
        count += wheel->getContact(data) != nullptr ? 1 : 0;
    }
    return count;
}

Car assembleCar(Scene& scene, const CarShape& shape, const Mat34& pose) {
    MaterialDesc wheelMaterialDesc;
    wheelMaterialDesc.flags = MF_DISABLE_FRICTION;
    const Material* wheelMaterial = scene.createMaterial(wheelMaterialDesc);

    BoxShapeDesc bodyDesc;
    bodyDesc.dimensions = shape.bodyHalfExtents;
    bodyDesc.localPose.t = shape.bodyCentre;
    if (shape.bodyMaterial) {
        bodyDesc.materialIndex = scene.createMaterial(MaterialDesc())->getMaterialIndex();
    }
    std::vector<WheelShapeDesc> wheelDescs;
    for (const CarShape::Wheel& wheel : shape.wheels) {
        wheelDescs.push_back(
            gameWheel(wheel.mount, wheel.radius, wheelMaterial->getMaterialIndex()));
    }
    ActorDesc actorDesc;
    actorDesc.shapes.push_back(&bodyDesc);
    for (WheelShapeDesc& wheel : wheelDescs) {
        actorDesc.shapes.push_back(&wheel);
    }
    BodyDesc body;
    body.mass = 3.0f;
    body.airDrag = 0.007f;
    actorDesc.body = &body;
    actorDesc.globalPose = pose;
    Car car;
    car.actor = scene.createActor(actorDesc);
    for (std::uint32_t i = 1; i < car.actor->getNbShapes(); ++i) {
        car.wheels.push_back(car.actor->getShape(i)->isWheel());
    }
    return car;
}

Car createCar(Scene& scene, float x, float z, const std::function<float(float, float)>& height,
              float heading) {
    const CarShape shape{Vec3(1.0f, 0.75f, 2.0f),
                         Vec3(0.0f),
                         {{{-0.85f, -0.75f, -1.4f}, 0.45f},
                          {{0.85f, -0.75f, -1.4f}, 0.45f},
                          {{-0.85f, -0.75f, 1.4f}, 0.45f},
                          {{0.85f, -0.75f, 1.4f}, 0.45f}},
                         false};
    const float radians = heading * 3.14159265f / 180.0f;
    return assembleCar(scene, shape,
                       Mat34(Mat33(glm::rotate(glm::mat4(1.0f), radians, Vec3(0, 1, 0))),
                             Vec3(x, height(x, z) + 1.25f, z)));
}

Scene* createGameScene(PhysicsSDK& sdk) {
    SceneDesc desc;
    desc.gravity = Vec3(0.0f, -9.81f, 0.0f);
    Scene* scene = sdk.createScene(desc);
    Material* standard = scene->getMaterialFromIndex(0);
    standard->setStaticFriction(0.5f);
    standard->setDynamicFriction(0.5f);
    return scene;
}

void run(Scene& scene, float seconds, const std::function<void()>& perFrame) {
    const int frames = static_cast<int>(std::lround(seconds * 60.0f));
    for (int i = 0; i < frames; ++i) {
        if (perFrame) {
            perFrame();
        }
        scene.simulate(1.0f / 60.0f);
        scene.flushStream();
        scene.fetchResults(RIGID_BODY_FINISHED, true);
    }
}

} // namespace PhysicsFixtures
