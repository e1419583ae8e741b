#include "TrackRig.h"

#include "Data/Image.h"
#include "Data/Object.h"
#include "System/File.h"

#include <algorithm>
#include <cmath>

using namespace Physics;

namespace TrackRig {

namespace {

constexpr float degree = 3.14159265f / 180.0f;
constexpr float gridStep = TrackGround::size / (TrackGround::gridVertices - 1);

std::shared_ptr<Data::Image> loadHeightMap() {
    useGameData();
    return System::File::loadImage({"GroundHeightmap.jpg", "data\\images\\"});
}

Data::BoundingBox meshBox(const Data::SGNodePtr& node) {
    const auto object = std::dynamic_pointer_cast<Data::Object>(node);
    return object ? Data::Mesh::getBoundingBox(object->getMeshes()) : Data::BoundingBox{};
}

JeepGeometry readJeep() {
    useGameData();
    JeepGeometry jeep;
    const Data::SGNodePtr root =
        System::File::loadMesh({"jeep1_xsi.dae", "data\\vehicles\\jeep\\"});
    if (!root) {
        return jeep;
    }
    const Data::BoundingBox body = meshBox(root->findByName("body"));
    jeep.bodyCentre = Vec3(body[0] + body[3], body[1] + body[4], body[2] + body[5]) * 0.5f;
    jeep.bodyHalfExtents = Vec3(body[3] - body[0], body[4] - body[1], body[5] - body[2]) * 0.5f;
    for (const char* name : {"wheelBL", "wheelBR", "wheelFL", "wheelFR"}) {
        const Data::SGNodePtr node = root->findByName(name);
        if (!node) {
            return JeepGeometry();
        }
        const Data::BoundingBox box = node->getBoundingBox();
        jeep.wheels.push_back({name, Vec3(node->getTransformation()[3]), 0.5f * (box[4] - box[1])});
    }
    return jeep;
}

float cellHeight(const std::array<float, TrackGround::gridVertices * TrackGround::gridVertices>& g,
                 int column, int row) {
    return g[static_cast<std::size_t>(row * TrackGround::gridVertices + column)];
}

} // namespace

const std::vector<TrackPoint>& checkpoints() {
    static const std::vector<TrackPoint> points = {{82.383f, 68.174f, 5, 90}, {187, 66, 15, 90},
                                                   {224, 150, 15, 0},         {150, 204, 15, -90},
                                                   {65, 187, 15, -90},        {32, 110, 15, 180}};
    return points;
}

const std::vector<TrackPoint>& startPositions() {
    static const std::vector<TrackPoint> points = {
        {70, 66, 1, 90}, {50, 66, 1, 90}, {25, 66, 1, 90}};
    return points;
}

void useGameData() {
    System::File::init(std::string(BRUMBLY_BIN_DIR) + "/test");
}

TrackGround::TrackGround() {
    static const std::shared_ptr<Data::Image> heightMap = loadHeightMap();
    map = heightMap;
    for (int row = 0; row < gridVertices; ++row) {
        for (int column = 0; column < gridVertices; ++column) {
            // The height field keeps hundredths, truncated toward zero.
            const float y =
                height(static_cast<float>(column) * gridStep, static_cast<float>(row) * gridStep);
            grid[static_cast<std::size_t>(row * gridVertices + column)] =
                std::trunc(y * 100.0f) / 100.0f;
        }
    }
}

bool TrackGround::isValid() const {
    return map->isValid();
}

float TrackGround::height(float x, float z) const {
    if (!isValid()) {
        return 0.0f;
    }
    const auto px =
        static_cast<unsigned>(x * static_cast<float>(map->picture.getWidth() - 1) / size);
    const auto pz =
        static_cast<unsigned>(z * static_cast<float>(map->picture.getHeight() - 1) / size);
    RGBQUAD colour{};
    map->picture.getPixelColor(px, pz, &colour);
    return static_cast<float>(colour.rgbRed + colour.rgbGreen + colour.rgbBlue) / 765.0f *
           heightScale;
}

float TrackGround::surface(float x, float z) const {
    const float fx = std::clamp(x / gridStep, 0.0f, gridVertices - 1.001f);
    const float fz = std::clamp(z / gridStep, 0.0f, gridVertices - 1.001f);
    const int c = static_cast<int>(fx);
    const int r = static_cast<int>(fz);
    const float tx = fx - static_cast<float>(c);
    const float tz = fz - static_cast<float>(r);
    // Each cell is split along the diagonal from (c + 1, r) to (c, r + 1).
    if (tx + tz <= 1.0f) {
        const float h00 = cellHeight(grid, c, r);
        return h00 + (cellHeight(grid, c + 1, r) - h00) * tx +
               (cellHeight(grid, c, r + 1) - h00) * tz;
    }
    const float h11 = cellHeight(grid, c + 1, r + 1);
    return h11 + (cellHeight(grid, c, r + 1) - h11) * (1.0f - tx) +
           (cellHeight(grid, c + 1, r) - h11) * (1.0f - tz);
}

Actor* TrackGround::create(Scene& scene) const {
    return PhysicsFixtures::createTerrain(scene, [this](float x, float z) { return height(x, z); });
}

const JeepGeometry& JeepGeometry::load() {
    static const JeepGeometry jeep = readJeep();
    return jeep;
}

void ValueRamp::update(float dt) {
    const float low = std::min(minimum, maximum);
    const float high = std::max(minimum, maximum);
    if (mode == 1) {
        current = std::min(current + std::fabs(driveRate) * dt, high);
    } else if (mode == 2) {
        current = std::max(current - std::fabs(driveRate) * dt, low);
    } else if (current != target) {
        const float step = std::fabs(returnRate) * dt;
        current =
            current < target ? std::min(current + step, target) : std::max(current - step, target);
    }
}

Jeep::Jeep(Scene& scene, const TrackGround& ground, const TrackPoint& start) {
    const JeepGeometry& jeep = JeepGeometry::load();
    PhysicsFixtures::CarShape shape{jeep.bodyHalfExtents, jeep.bodyCentre, {}, true};
    for (const JeepGeometry::Wheel& wheel : jeep.wheels) {
        shape.wheels.push_back({wheel.mount, wheel.radius});
    }
    // Level at the point, facing its heading, the wheels just touching the ground:
    // rows (cos h, 0, sin h), (0, 1, 0), (-sin h, 0, cos h).
    const float h = start.heading * degree;
    car = PhysicsFixtures::assembleCar(
        scene, shape,
        Mat34(glm::transpose(Mat33(Vec3(std::cos(h), 0, std::sin(h)), Vec3(0, 1, 0),
                                   Vec3(-std::sin(h), 0, std::cos(h)))),
              Vec3(start.x, ground.height(start.x, start.z) + 0.03f, start.z)));
    // The front wheels drive and steer.
    driven = {car.wheels[2], car.wheels[3]};
}

void Jeep::press(Key key) {
    held[key] = true;
    switch (key) {
    case ACCELERATE:
        throttle.mode = 1;
        break;
    case BRAKE:
        brake.mode = 1;
        break;
    case LEFT:
        steer.mode = 1;
        break;
    case RIGHT:
        steer.mode = 2;
        break;
    case KEY_COUNT:
        break;
    }
}

void Jeep::release(Key key) {
    held[key] = false;
    switch (key) {
    case ACCELERATE:
        throttle.mode = 0;
        brake.current = brake.minimum;
        break;
    case BRAKE:
        brake.mode = 0;
        throttle.current = throttle.minimum;
        break;
    case LEFT:
    case RIGHT:
        steer.mode = 0;
        break;
    case KEY_COUNT:
        break;
    }
}

float Jeep::torqueAt(float rpm) {
    static constexpr float curve[6] = {675, 450, 480, 495, 420, 390};
    const float u = std::clamp(rpm, 1000.0f, 6000.0f) / 1000.0f - 1.0f;
    const int k = static_cast<int>(u);
    if (k >= 5) {
        return curve[5];
    }
    return curve[k] + (curve[k + 1] - curve[k]) * (u - static_cast<float>(k));
}

void Jeep::update(float dt) {
    throttle.update(dt);
    brake.update(dt);
    steer.update(dt);
    float axle = 0.0f;
    for (const WheelShape* wheel : car.wheels) {
        axle += wheel->getAxleSpeed();
    }
    axle /= static_cast<float>(car.wheels.size());
    const float rpm = axle * 60.0f / 6.28f;
    const float motor = torqueAt(rpm) * std::clamp(throttle.current, 0.0f, 1.0f);
    for (WheelShape* wheel : driven) {
        wheel->setMotorTorque(motor);
        wheel->setSteerAngle(std::clamp(steer.current, -1.0f, 1.0f) * 30.0f * 6.28f / 360.0f);
    }
    for (WheelShape* wheel : car.wheels) {
        wheel->setBrakeTorque(brake.current);
    }
}

Driver::Driver(const Tools::TrackLayout& road, Jeep& car) : road(road), car(car) {}

void Driver::drive() {
    if (!car.isHeld(Jeep::ACCELERATE)) {
        car.press(Jeep::ACCELERATE);
    }
    follow();
}

void Driver::follow() {
    const auto& line = road.samples();
    const int n = static_cast<int>(line.size());
    const Mat34 pose = car.actor().getGlobalPose();
    const Vec3 p = pose.t;
    if (index < 0) {
        index = road.nearest(p.x, p.z).index;
    }
    // Follow the nearest centre-line sample forward (or back) from the last one.
    const auto squared = [&](int i) {
        const float dx = line[static_cast<std::size_t>(i)].x - p.x;
        const float dz = line[static_cast<std::size_t>(i)].z - p.z;
        return dx * dx + dz * dz;
    };
    float best = squared(index);
    for (const int direction : {1, -1}) {
        for (int k = 1; k < 40; ++k) {
            const int i = (index + direction * k + n) % n;
            const float d = squared(i);
            if (d >= best) {
                break;
            }
            best = d;
            index = i;
        }
    }
    distance = std::sqrt(best);
    // Steer to run along the road a little ahead (heading error; the steering needs
    // time to follow) and back onto its centre line (cross-track error, weighed less
    // at speed), measured at the front axle.
    const float speed = std::max(0.0f, glm::dot(car.actor().getLinearVelocity(), pose.M[2]));
    const int ahead = index + static_cast<int>(speed * anticipation * 2.0f);
    const auto& before = line[static_cast<std::size_t>((ahead + n - 2) % n)];
    const auto& after = line[static_cast<std::size_t>((ahead + 2) % n)];
    const Vec3 tangent = glm::normalize(Vec3(after.x - before.x, 0.0f, after.z - before.z));
    const Vec3 f = glm::normalize(Vec3(pose.M[2].x, 0.0f, pose.M[2].z));
    const Vec3 l = pose.M[0];
    const Vec3 front = p + f * 1.3f;
    const Vec3 roadLeft(tangent.z, 0.0f, -tangent.x);
    const float crossTrack = glm::dot(front - Vec3(line[static_cast<std::size_t>(index)].x, p.y,
                                                   line[static_cast<std::size_t>(index)].z),
                                      roadLeft);
    const float headingError = std::atan2(glm::dot(tangent, l), glm::dot(tangent, f));
    const float angle = headingError - std::atan(0.5f * crossTrack / (speed + 1.0f));
    const float wanted = std::clamp(angle / (30.0f * degree), -1.0f, 1.0f);
    const float current = car.steering();
    if (wanted > current + 0.05f) {
        holdOnly(Jeep::LEFT);
    } else if (wanted < current - 0.05f) {
        holdOnly(Jeep::RIGHT);
    } else {
        holdOnly(Jeep::KEY_COUNT);
    }
}

// Holds one steering key (or none), releasing the other first.
void Driver::holdOnly(Jeep::Key key) {
    for (const Jeep::Key k : {Jeep::LEFT, Jeep::RIGHT}) {
        if (k != key && car.isHeld(k)) {
            car.release(k);
        }
    }
    if (key != Jeep::KEY_COUNT && !car.isHeld(key)) {
        car.press(key);
    }
}

void RaceLog::record(float dt) {
    const Vec3 p = car.position();
    lowestUp = std::min(lowestUp, car.up().y);
    topSpeed = std::max(topSpeed, car.forwardSpeed());
    lowestClearance = std::min(lowestClearance, p.y - ground.surface(p.x, p.z));
    if (car.wheelsOnGround() == 0) {
        airborne += dt;
        if (driver.offRoad() <= Tools::TrackLayout::roadHalfWidth + 1.0f) {
            airborneOnRoad += dt;
        }
        flying += dt;
        longestAirborne = std::max(longestAirborne, flying);
    } else {
        flying = 0.0f;
    }
    lapTime += dt;
    const TrackPoint& target = checkpoints()[static_cast<std::size_t>(next)];
    if (std::hypot(p.x - target.x, p.z - target.z) > target.reach()) {
        return;
    }
    const int count = static_cast<int>(checkpoints().size());
    if (next == 0 && last == count - 1) {
        lapTimes.push_back(lapTime);
        lapTime = 0.0f;
    }
    ++checkpointsPassed;
    last = next;
    next = (next + 1) % count;
}

Session::Session()
    : sdk(Physics::createPhysicsSDK(SDK_VERSION, &stream)),
      world(PhysicsFixtures::createGameScene(*sdk)) {
    sdk->setParameter(P_SKIN_WIDTH, 0.005f);
    terrain.create(*world);
}

Jeep& Session::addCar(const TrackPoint& start) {
    cars.push_back(std::make_unique<Jeep>(*world, terrain, start));
    return *cars.back();
}

Driver& Session::addDriver(Jeep& car) {
    drivers.push_back(std::make_unique<Driver>(road(), car));
    return *drivers.back();
}

void Session::frame(float dt, const std::function<void()>& keys) {
    for (const auto& driver : drivers) {
        driver->drive();
    }
    if (keys) {
        keys();
    }
    world->simulate(dt);
    world->flushStream();
    world->fetchResults(RIGID_BODY_FINISHED, true);
    for (const auto& car : cars) {
        car->update(dt);
    }
}

void Session::run(float seconds, const std::function<void()>& keys, float dt) {
    const int frames = static_cast<int>(std::lround(seconds / dt));
    for (int i = 0; i < frames; ++i) {
        frame(dt, keys);
    }
}

const Tools::TrackLayout& Session::road() {
    static const Tools::TrackLayout layout;
    return layout;
}

} // namespace TrackRig
