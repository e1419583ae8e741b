#include "Physics/WheelShape.h"
#include "Physics/TireFunctionDesc.h"

#include "PhysicsFixtures.h"

#include <gtest/gtest.h>

using namespace Physics;
using namespace PhysicsFixtures;

namespace {

constexpr float degree = 3.14159265f / 180.0f;

class WheelShapeTest : public ::testing::Test {
protected:
    WheelShapeTest() : sdk(createPhysicsSDK(SDK_VERSION, &stream)), scene(createGameScene(*sdk)) {
        sdk->setParameter(P_SKIN_WIDTH, 0.005f);
    }

    // Drives with the given torques until the forward speed reaches the target or
    // the time runs out; returns the time taken.
    float driveUntil(const Car& car, float speed, float limit) {
        float time = 0.0f;
        while (car.forwardSpeed() < speed && time < limit) {
            run(*scene, 1.0f / 60.0f);
            time += 1.0f / 60.0f;
        }
        return time;
    }

    RecordingStream stream;
    SdkPtr sdk;
    Scene* scene;
};

} // namespace

TEST(TireFunctionTest, FollowsTheCurveSymmetrically) {
    const TireFunctionDesc lateral{0.25f, 1.6f, 0.5f, 1.0f, 1000000.0f};
    EXPECT_FLOAT_EQ(lateral.hermiteEval(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(lateral.hermiteEval(0.125f), 1.6f * (-0.125f + 0.25f + 0.5f));
    EXPECT_FLOAT_EQ(lateral.hermiteEval(0.25f), 1.6f);
    EXPECT_FLOAT_EQ(lateral.hermiteEval(0.375f), 1.3f);
    EXPECT_FLOAT_EQ(lateral.hermiteEval(0.5f), 1.0f);
    EXPECT_FLOAT_EQ(lateral.hermiteEval(7.0f), 1.0f);
    EXPECT_FLOAT_EQ(lateral.hermiteEval(-0.375f), -1.3f);
    EXPECT_TRUE(lateral.isValid());
    EXPECT_FALSE((TireFunctionDesc{0.5f, 1.0f, 0.25f, 1.0f, 1.0f}).isValid());
}

TEST_F(WheelShapeTest, CarAtRestStandsOnItsWheelsWithoutSinkingOrCreeping) {
    createTerrain(*scene, flat());
    Car car = createCar(*scene, 128, 128, flat());
    ASSERT_NE(car.actor, nullptr);
    ASSERT_EQ(car.wheels.size(), 4u);
    EXPECT_FLOAT_EQ(car.actor->getMass(), 3.0f);
    // The wheels' weight pulls the centre of mass down toward the axles.
    EXPECT_LT(car.actor->getCMassLocalPose().t.y, -0.5f);

    run(*scene, 1.0f);
    const Vec3 settled = car.position();
    float lowest = settled.y;
    float highest = settled.y;
    run(*scene, 3.0f, [&] {
        lowest = std::min(lowest, car.position().y);
        highest = std::max(highest, car.position().y);
    });
    EXPECT_EQ(car.wheelsInContact(), 4);
    EXPECT_LT(highest - lowest, 0.002f);
    EXPECT_LT(glm::length(car.position() - settled), 0.002f);

    WheelContactData contact;
    Shape* ground = car.wheels[0]->getContact(contact);
    ASSERT_NE(ground, nullptr);
    EXPECT_NE(ground->isHeightField(), nullptr);
    // Within the suspension: farther than the radius, nearer than radius + travel.
    EXPECT_GT(contact.contactPosition, 0.45f);
    EXPECT_LT(contact.contactPosition, 0.5f);
    EXPECT_NEAR(contact.contactPoint.y, 2.0f, 0.01f);
    EXPECT_NEAR(contact.contactForce, 3.0f * 9.81f / 4.0f, 0.5f);
    EXPECT_EQ(contact.otherShapeMaterialIndex, ground->getMaterial());
    EXPECT_EQ(contact.contactNormal, Vec3(0, 1, 0));
    EXPECT_NEAR(car.wheels[0]->getAxleSpeed(), 0.0f, 1e-3f);
}

TEST_F(WheelShapeTest, ParkedCarHoldsOnASlopeAcrossAndBrakedUphill) {
    createTerrain(*scene, slope(10.0f), false);
    Car across = createCar(*scene, 100, 60, slope(10.0f));
    Car uphill = createCar(*scene, 60, 150, slope(10.0f), 90.0f);
    uphill.setBrake(100.0f);
    run(*scene, 2.0f);
    const Vec3 acrossStart = across.position();
    const Vec3 uphillStart = uphill.position();
    run(*scene, 3.0f);
    EXPECT_LT(glm::length(across.position() - acrossStart), 0.005f);
    EXPECT_LT(glm::length(uphill.position() - uphillStart), 0.005f);
    EXPECT_EQ(across.wheelsInContact(), 4);

    // Without the brake the uphill car rolls back down.
    uphill.setBrake(0.0f);
    run(*scene, 2.0f);
    EXPECT_LT(uphill.position().x, uphillStart.x - 1.0f);
    EXPECT_LT(uphill.wheels[0]->getAxleSpeed(), -1.0f);
}

TEST_F(WheelShapeTest, ThrottleAcceleratesBrakeStopsAndReleasedCarRollsOut) {
    createTerrain(*scene, flat());
    Car car = createCar(*scene, 20, 20, flat(), 45.0f); // along the diagonal
    run(*scene, 0.5f);
    car.setThrottle(675.0f);
    EXPECT_LT(driveUntil(car, 15.0f, 6.0f), 4.0f);
    EXPECT_LT(driveUntil(car, 20.0f, 6.0f), 6.0f);
    // Driven and free wheels both roll at the road speed.
    const float rolling = car.forwardSpeed() / 0.45f;
    EXPECT_NEAR(car.wheels[0]->getAxleSpeed(), rolling, 0.05f * rolling);
    EXPECT_NEAR(car.wheels[3]->getAxleSpeed(), rolling, 0.05f * rolling);

    car.setThrottle(0.0f);
    car.setBrake(100.0f);
    const Vec3 braking = car.position();
    run(*scene, 3.0f);
    EXPECT_NEAR(car.forwardSpeed(), 0.0f, 0.01f);
    EXPECT_LT(glm::length(car.position() - braking), 30.0f);
    EXPECT_GT(car.up().y, 0.99f);
    EXPECT_NEAR(car.wheels[1]->getAxleSpeed(), 0.0f, 1e-3f);

    car.setBrake(0.0f);
    car.setThrottle(675.0f);
    driveUntil(car, 15.0f, 6.0f);
    car.setThrottle(0.0f);
    run(*scene, 1.0f);
    const float coasting = car.forwardSpeed();
    EXPECT_GT(coasting, 12.0f);
    EXPECT_LT(coasting, 15.0f);
    run(*scene, 1.0f);
    EXPECT_LT(car.forwardSpeed(), coasting);
}

TEST_F(WheelShapeTest, TopSpeedIsLimited) {
    createTerrain(*scene, flat());
    Car car = createCar(*scene, 10, 10, flat(), 45.0f);
    car.setThrottle(675.0f);
    run(*scene, 10.0f);
    const float before = car.forwardSpeed();
    run(*scene, 1.0f);
    const float after = car.forwardSpeed();
    EXPECT_GT(after, 20.0f);
    EXPECT_LT(after, 40.0f);
    EXPECT_LT(after - before, 1.0f); // close to its top speed already
}

TEST_F(WheelShapeTest, FullLockCircleDoesNotRollTheCarOver) {
    createTerrain(*scene, flat());
    Car car = createCar(*scene, 128, 60, flat(), 0.0f);
    run(*scene, 0.5f);
    car.setThrottle(675.0f);
    driveUntil(car, 10.0f, 5.0f);
    car.setSteer(30.0f * degree);
    float lowestUp = 1.0f;
    float minX = 1e9f, maxX = -1e9f;
    run(*scene, 8.0f, [&] {
        car.setThrottle(car.forwardSpeed() < 10.0f ? 675.0f : 0.0f);
        lowestUp = std::min(lowestUp, car.up().y);
        minX = std::min(minX, car.position().x);
        maxX = std::max(maxX, car.position().x);
    });
    EXPECT_GT(lowestUp, 0.9f);
    EXPECT_EQ(car.wheelsInContact(), 4);
    EXPECT_GT(car.forwardSpeed(), 5.0f);
    // Positive steering turns toward +x; the car goes round on a bounded circle.
    EXPECT_GT(maxX, 128.0f + 5.0f);
    EXPECT_LT(maxX - minX, 30.0f);
    EXPECT_LT(minX, 128.0f + 2.0f);
}

TEST_F(WheelShapeTest, ClimbsAFifteenDegreeSlopeFromRest) {
    createTerrain(*scene, slope(15.0f), false);
    Car car = createCar(*scene, 40, 128, slope(15.0f), 90.0f);
    car.setBrake(100.0f);
    run(*scene, 2.0f);
    car.setBrake(0.0f);
    const Vec3 start = car.position();
    car.setThrottle(675.0f);
    run(*scene, 3.0f);
    EXPECT_GT(car.position().x - start.x, 8.0f);
    EXPECT_GT(car.position().y - start.y, 2.0f);
    EXPECT_GT(car.forwardSpeed(), 3.0f);
}

TEST_F(WheelShapeTest, WheelInTheAirReportsNoContact) {
    createTerrain(*scene, flat());
    Car car = createCar(*scene, 128, 128, flat());
    run(*scene, 0.5f);
    EXPECT_EQ(car.wheelsInContact(), 4);
    Mat34 pose = car.actor->getGlobalPose();
    pose.t.y += 5.0f;
    car.actor->setGlobalPose(pose);
    car.wheels[2]->setAxleSpeed(10.0f);
    run(*scene, 1.0f / 60.0f);
    EXPECT_EQ(car.wheelsInContact(), 0);
    WheelContactData contact;
    contact.contactPosition = -1.0f;
    EXPECT_EQ(car.wheels[2]->getContact(contact), nullptr);
    EXPECT_FLOAT_EQ(contact.contactPosition, -1.0f);
    EXPECT_FLOAT_EQ(car.wheels[2]->getAxleSpeed(), 10.0f); // spins freely in the air

    car.wheels[2]->setBrakeTorque(100.0f);
    run(*scene, 1.0f / 60.0f);
    EXPECT_FLOAT_EQ(car.wheels[2]->getAxleSpeed(), 0.0f);
    run(*scene, 2.0f);
    EXPECT_EQ(car.wheelsInContact(), 4);
}

TEST_F(WheelShapeTest, CarCannotLeaveThroughTheWalls) {
    createTerrain(*scene, flat());
    Car toX = createCar(*scene, 240, 60, flat(), 90.0f);
    Car toZ = createCar(*scene, 60, 20, flat(), 180.0f);
    toX.setThrottle(675.0f);
    toZ.setThrottle(675.0f);
    run(*scene, 4.0f);
    EXPECT_LT(toX.position().x, terrainSize);
    EXPECT_GT(toX.position().x, 250.0f);
    EXPECT_GT(toZ.position().z, 0.0f);
    EXPECT_LT(toZ.position().z, 5.0f);
    EXPECT_GT(toX.position().y, 1.0f);
    EXPECT_GT(toZ.position().y, 1.0f);
}

TEST_F(WheelShapeTest, WheelOnACrateDrivesOverIt) {
    createTerrain(*scene, flat());
    Car car = createCar(*scene, 128, 128, flat());
    run(*scene, 0.5f);
    // A crate under a wheel carries part of the car and reports as its ground.
    BoxShapeDesc box;
    box.dimensions = Vec3(0.5f, 0.1f, 0.5f);
    BodyDesc body;
    body.mass = 2.0f;
    ActorDesc desc;
    desc.body = &body;
    desc.shapes.push_back(&box);
    const Vec3 under = car.wheels[0]->getGlobalPosition();
    desc.globalPose.t = Vec3(under.x, 2.1f, under.z);
    Actor* crate = scene->createActor(desc);
    run(*scene, 1.0f);
    WheelContactData contact;
    Shape* ground = car.wheels[0]->getContact(contact);
    ASSERT_NE(ground, nullptr);
    EXPECT_EQ(&ground->getActor(), crate);
    EXPECT_GT(car.wheels[0]->getGlobalPosition().y, under.y + 0.1f);

    scene->releaseActor(*crate);
    EXPECT_NE(car.wheels[0]->getContact(contact), ground);
}

TEST_F(WheelShapeTest, FullSpeedOverHillsKeepsTheCarUpright) {
    const auto hills = [](float x, float z) {
        return 8.0f + 6.0f * std::sin(x * 0.03f) * std::cos(z * 0.025f) +
               2.0f * std::sin(z * 0.07f);
    };
    createTerrain(*scene, hills);
    Car car = createCar(*scene, 20, 20, hills, 45.0f);
    car.setThrottle(675.0f);
    float lowestUp = 1.0f;
    float fastest = 0.0f;
    run(*scene, 10.0f, [&] {
        lowestUp = std::min(lowestUp, car.up().y);
        fastest = std::max(fastest, car.forwardSpeed());
    });
    EXPECT_GT(lowestUp, 0.8f);
    EXPECT_GT(fastest, 20.0f);
    EXPECT_GT(car.position().x, 120.0f);
    EXPECT_GT(car.position().z, 120.0f);
}

TEST_F(WheelShapeTest, RollingCarBrakesWithTheWholeBrakeTorque) {
    // Rolling down 20 degrees, then braked with 2 N*m a wheel: the car must slow at the
    // rate the brake torque gives, wheels and all, and stop where that rate says.
    const float angle = 20.0f * degree;
    const auto ground = slope(20.0f);
    createTerrain(*scene, ground, false);
    // Facing downhill, dropped from a little above so that it lands on all four wheels.
    Car car = createCar(
        *scene, 200, 128, [&](float x, float z) { return ground(x, z) + 0.6f; }, -90.0f);
    run(*scene, 0.5f);
    driveUntil(car, 3.0f, 5.0f);
    const float speed = car.forwardSpeed();
    ASSERT_GT(speed, 2.9f);
    ASSERT_EQ(car.wheelsInContact(), 4);
    const float torque = 2.0f;
    const float radius = car.wheels[0]->getRadius();
    const float wheelInertia = radius * radius / 2.0f; // inverse wheel mass 1
    const float mass = car.actor->getMass();
    const float deceleration = (4.0f * torque / radius - mass * 9.81f * std::sin(angle)) /
                               (mass + 4.0f * wheelInertia / (radius * radius));
    const float expected = speed * speed / (2.0f * deceleration);
    car.setBrake(torque);
    const Vec3 start = car.position();
    run(*scene, 10.0f);
    EXPECT_LT(car.forwardSpeed(), 0.01f);
    EXPECT_NEAR(glm::length(car.position() - start), expected, 0.15f * expected);
}

TEST_F(WheelShapeTest, CarParkedAcrossASlopeDoesNotCreep) {
    for (const float degrees : {10.0f, 20.0f}) {
        SCOPED_TRACE(degrees);
        scene = createGameScene(*sdk);
        createTerrain(*scene, slope(degrees), false);
        Car car = createCar(*scene, 100, 128, slope(degrees)); // facing +z, across the slope
        run(*scene, 2.0f);
        const Vec3 start = car.position();
        run(*scene, 120.0f);
        EXPECT_LT(glm::length(car.position() - start), 0.01f);
        EXPECT_EQ(car.wheelsInContact(), 4);
    }
}

TEST_F(WheelShapeTest, PartialTorqueGivesPartialDrive) {
    createTerrain(*scene, flat());
    // Three cars side by side along the diagonal, with full, half and a hundredth of
    // the engine's torque.
    const float torques[] = {675.0f, 337.5f, 6.75f};
    std::vector<Car> cars;
    for (int i = 0; i < 3; ++i) {
        cars.push_back(createCar(*scene, 20.0f + 30.0f * i, 20.0f, flat(), 45.0f));
    }
    run(*scene, 0.5f);
    for (int i = 0; i < 3; ++i) {
        cars[i].setThrottle(torques[i]);
    }
    run(*scene, 1.5f);
    const float full = cars[0].forwardSpeed();
    EXPECT_GT(full, 5.0f);
    EXPECT_NEAR(cars[1].forwardSpeed() / full, 0.5f, 0.1f);
    EXPECT_LT(cars[2].forwardSpeed() / full, 0.05f);
}
