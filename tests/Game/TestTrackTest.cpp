// The Test Track as the game builds it: its content, its physics and its pictures.
#include "Track/TestTrack.h"
#include "Game/level/TestTrackLayout.h"
#include "LevelTestSupport.h"

#include <glm/gtc/matrix_transform.hpp>
#include <set>

using namespace GameTest;

namespace {

struct Brightness {
    glm::vec3 world;
    float value;
};

} // namespace

class TestTrackTest : public LevelTest {
protected:
    float ground(float x, float z) const { return level->getTerrain()->getHeight(x, z); }

    Game::CameraPtr addCamera(const std::string& name, const glm::vec3& position,
                              const glm::vec3& target) {
        Game::CameraDesc desc;
        desc.name = name;
        desc.position = position;
        desc.flags = Game::CF_LOOK_AT;
        desc.target = target;
        return level->createCamera(desc);
    }

    // Mean colour of the 3 x 3 pixels where the current camera sees `world`.
    glm::vec3 colourAt(fipImage& frame, const glm::vec3& world) {
        const Data::CameraPtr& camera = level->getCurrentCamera()->getCamera();
        const glm::vec4 clip = camera->getProjection(WIDTH, HEIGHT) *
                               glm::inverse(camera->getWorldTransformation()) *
                               glm::vec4(world, 1.0f);
        const glm::vec2 ndc = glm::vec2(clip) / clip.w;
        const int x = static_cast<int>((ndc.x + 1.0f) * 0.5f * WIDTH);
        const int y = static_cast<int>((ndc.y + 1.0f) * 0.5f * HEIGHT);
        glm::vec3 sum(0.0f);
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                sum += glm::vec3(pixel(frame, x + dx, y + dy));
            }
        }
        return sum / 9.0f;
    }

    // Mean brightness of the 3 x 3 pixels where the current camera sees `world`.
    float brightnessAt(fipImage& frame, const glm::vec3& world) {
        const glm::vec3 colour = colourAt(frame, world);
        return (colour.r + colour.g + colour.b) / 3.0f;
    }

    // Where the sun throws a goal post's shadow, and open ground further off, seen
    // from above with the goal and without it. The goal is hidden afterwards.
    struct GoalShadow {
        float shaded = 0.0f;
        float shadedWithoutGoal = 0.0f;
        float open = 0.0f;
        float openWithoutGoal = 0.0f;
    };
    GoalShadow lookAtGoalShadow(const char* picture) {
        const float goalX = Game::TestTrackLayout::checkpoints[0].x;
        const float goalZ = Game::TestTrackLayout::checkpoints[0].z - 7.0f;
        const float base = ground(goalX, goalZ);
        if (level->getCameras().find("AboveTheGoal") == level->getCameras().end()) {
            addCamera("AboveTheGoal", {goalX + 1, base + 60, goalZ + 4},
                      {goalX + 1, base, goalZ - 1});
        }
        level->setCurrentCamera("AboveTheGoal");
        // The shadow map is drawn by the light's perspective camera: shadows fall
        // along the rays from its position.
        const glm::vec3 light =
            level->getLights().begin()->second->getShadowCamera()->getWorldTransformation()[3];
        const glm::vec3 postMiddle(goalX, base + 3.5f, goalZ);
        const glm::vec3 ray = glm::normalize(postMiddle - light);
        const glm::vec3 shadow = postMiddle + ray * (3.5f / -ray.y);
        const glm::vec3 open(goalX - 6.0f, ground(goalX - 6, goalZ - 10), goalZ - 10.0f);
        GoalShadow result;
        fipImage withGoal = drawFrame();
        withGoal.save(picture);
        result.shaded = brightnessAt(withGoal, shadow);
        result.open = brightnessAt(withGoal, open);
        level->getObjects().at("StaticObject_Goal")->setVisible(false);
        fipImage withoutGoal = drawFrame();
        result.shadedWithoutGoal = brightnessAt(withoutGoal, shadow);
        result.openWithoutGoal = brightnessAt(withoutGoal, open);
        return result;
    }

    // Mean absolute difference of two frames per colour channel, 0 to 255.
    static float meanDifference(fipImage& a, fipImage& b) {
        double sum = 0.0;
        for (int y = 0; y < HEIGHT; ++y) {
            for (int x = 0; x < WIDTH; ++x) {
                const glm::ivec3 d = glm::abs(pixel(a, x, y) - pixel(b, x, y));
                sum += d.r + d.g + d.b;
            }
        }
        return static_cast<float>(sum / (3.0 * WIDTH * HEIGHT));
    }

    static std::size_t colourCount(fipImage& frame) {
        std::set<int> colours;
        for (int y = 0; y < HEIGHT; y += 2) {
            for (int x = 0; x < WIDTH; x += 2) {
                const glm::ivec3 c = pixel(frame, x, y);
                colours.insert((c.r << 16) | (c.g << 8) | c.b);
            }
        }
        return colours.size();
    }
};

TEST_F(TestTrackTest, BuildsItsWholeContentWithoutErrors) {
    RenderTest::LogRecorder log;
    buildTestTrack(3);
    for (const Tool::Message& message : log.messages) {
        EXPECT_NE(message.getType(), Tool::MT_ERROR)
            << message.getAuthor() << ": " << message.getTitle() << " " << message.getMessage();
    }
    EXPECT_EQ(level->getName(), "Test Track");
    EXPECT_EQ(level->getLaps(), 3u);
    EXPECT_EQ(level->getCheckpoints().size(), 6u);
    EXPECT_EQ(level->getStartPositions().size(), 3u);
    EXPECT_FLOAT_EQ(level->getCheckpoints().at(0).reach(), std::sqrt(50.0f));
    EXPECT_EQ(level->getCameras().size(), 1u);
    EXPECT_EQ(level->getCurrentCamera()->getName(), "Overview");
    EXPECT_EQ(log.count("Creating Light .. [Successfully]"), 2u);
    ASSERT_EQ(level->getLights().size(), 2u);
    EXPECT_EQ(level->getLights().begin()->first, "") << "the sun comes first and casts the shadows";
    EXPECT_EQ(level->getShadowLight(), level->getLights().begin()->second->getLight());
    // The lights stand beyond the terrain's corner, at the corner's height plus 280.
    EXPECT_FLOAT_EQ(level->getLights().begin()->second->getPosition().y, ground(0, 256) + 280.0f);

    const char* names[] = {"StaticObject_House",   "StaticObject_House1",  "StaticObject_Goal",
                           "Checkpoint_1",         "Checkpoint_2",         "Checkpoint_3",
                           "DynamicObject_Crate",  "DynamicObject_Crate1", "DynamicObject_Crate2",
                           "DynamicObject_Crate3", "DynamicObject_Crate4", "DynamicObject_Crate5"};
    ASSERT_EQ(level->getObjects().size(), 12u);
    for (const char* name : names) {
        const auto found = level->getObjects().find(name);
        ASSERT_NE(found, level->getObjects().end()) << name;
        EXPECT_NE(found->second->getActor(), nullptr) << name;
    }
    // Houses get one box around the whole model, gates one box per post.
    EXPECT_EQ(level->getObjects().at("StaticObject_House")->getShapes().size(), 1u);
    EXPECT_EQ(level->getObjects().at("Checkpoint_2")->getShapes().size(), 2u);
}

TEST_F(TestTrackTest, CratePyramidStandsUntilSomethingHitsIt) {
    buildTestTrack();
    run(1.0);
    std::vector<glm::vec3> settled;
    for (int i = 0; i < 6; ++i) {
        const std::string name =
            i == 0 ? "DynamicObject_Crate" : "DynamicObject_Crate" + std::to_string(i);
        settled.push_back(level->getObjects().at(name)->getPosition());
    }
    run(10.0);
    const Game::StaticObjectPtr& top = level->getObjects().at("DynamicObject_Crate5");
    EXPECT_NEAR(glm::distance(top->getPosition(), settled[5]), 0.0f, 0.02f);
    EXPECT_NEAR(
        glm::distance(level->getObjects().at("DynamicObject_Crate")->getPosition(), settled[0]),
        0.0f, 0.02f);
    EXPECT_GT(top->getPosition().y, ground(150, 50) + 3.9f)
        << "the top crate sits on the second row";

    // A heavy box thrown into the pyramid's side brings it down.
    addBox(*level->getScene(), {138.0f, ground(138, 50) + 2.0f, 50.0f}, glm::vec3(1.0f), 40.0f,
           {25.0f, 0.0f, 0.0f});
    run(4.0);
    EXPECT_LT(top->getPosition().y, settled[5].y - 1.5f);
}

TEST_F(TestTrackTest, HousesAreSolidAndGatesOnlyAtTheirPosts) {
    buildTestTrack();
    Physics::Scene& scene = *level->getScene();
    const auto& house = level->getObjects().at("StaticObject_House");
    const Physics::BoxShapeDesc& houseBox =
        dynamic_cast<const Physics::BoxShapeDesc&>(*house->getShapes().at(0));
    const float roof = house->getPosition().y + houseBox.localPose.t.y + houseBox.dimensions.y;
    Physics::Actor* dropped = addBox(scene, {178.0f, roof + 10.0f, 33.0f}, glm::vec3(0.5f), 1.0f);

    // A car-sized box drives under the goal's banner; one aimed at a post stops there.
    const float goalX = Game::TestTrackLayout::checkpoints[0].x;
    const float goalZ = Game::TestTrackLayout::checkpoints[0].z;
    const glm::vec3 carHalf(0.75f, 0.75f, 0.75f);
    Physics::Actor* through = addBox(scene, {goalX - 8.0f, ground(goalX - 8, goalZ) + 0.9f, goalZ},
                                     carHalf, 3.0f, {18.0f, 0.0f, 0.0f});
    Physics::Actor* intoPost =
        addBox(scene, {goalX - 8.0f, ground(goalX - 8, goalZ - 7) + 0.9f, goalZ - 7.0f}, carHalf,
               3.0f, {18.0f, 0.0f, 0.0f});
    run(3.0);
    EXPECT_NEAR(dropped->getGlobalPosition().y, roof + 0.5f, 0.1f) << "rests on the roof";
    EXPECT_GT(through->getGlobalPosition().x, goalX + 5.0f);
    EXPECT_LT(intoPost->getGlobalPosition().x, goalX);
}

TEST_F(TestTrackTest, FramesShowTrackSkyAndShadows) {
    buildTestTrack();
    run(0.5);
    fipImage overview = drawFrame();
    overview.save("TestTrack_overview.png");
    EXPECT_GT(colourCount(overview), 500u);

    const float h = ground(70, 66);
    addCamera("StartStraight", {40, h + 6, 62}, {100, h + 2, 70});
    fipImage start = drawFrame();
    start.save("TestTrack_start.png");
    EXPECT_GT(colourCount(start), 500u);
    for (int x = 0; x < WIDTH; x += WIDTH / 8) {
        const glm::ivec3 sky = pixel(start, x, HEIGHT - 3);
        EXPECT_GT(sky.b, sky.r) << "sky at the top, column " << x;
        EXPECT_GT(sky.b, 150);
    }

    const GoalShadow goal = lookAtGoalShadow("TestTrack_goal_shadow.png");
    EXPECT_LT(goal.shaded, 0.8f * goal.shadedWithoutGoal);
    EXPECT_NEAR(goal.open, goal.openWithoutGoal, 2.0f);
}

// Every detail level draws the same track: its frames stay close to those of the
// highest level, the goal's posts cast their shadows and the open ground is lit.
TEST_F(TestTrackTest, EveryDetailLevelShowsTheTrackAndItsShadows) {
    buildTestTrack(3, Data::DETAIL_HIGH);
    run(0.5);
    fipImage highOverview = drawFrame();
    const GoalShadow high = lookAtGoalShadow("TestTrack_detail_High_goal.png");

    const struct {
        std::int32_t detail;
        const char* name;
    } levels[] = {{Data::DETAIL_MEDIUM, "Medium"}, {Data::DETAIL_LOW, "Low"}};
    for (const auto& detail : levels) {
        SCOPED_TRACE(detail.name);
        buildTestTrack(3, detail.detail);
        run(0.5);
        fipImage overview = drawFrame();
        overview.save((std::string("TestTrack_detail_") + detail.name + ".png").c_str());
        EXPECT_GT(colourCount(overview), 500u);
        EXPECT_LT(meanDifference(overview, highOverview), 3.0f);
        // The lake is drawn: its middle is bluer than green, unlike the grass.
        const Data::ObjectPtr& water = level->getTerrain()->getWaterNode();
        ASSERT_NE(water, nullptr);
        const Data::BoundingBox lake = water->getMeshes().at(0)->getBoundingBox();
        const glm::vec3 lakeColour =
            colourAt(overview, {(lake[0] + lake[3]) / 2.0f, lake[1], (lake[2] + lake[5]) / 2.0f});
        EXPECT_GT(lakeColour.b, lakeColour.g) << "water in the lake's middle";

        const GoalShadow goal = lookAtGoalShadow(
            (std::string("TestTrack_detail_") + detail.name + "_goal.png").c_str());
        EXPECT_LT(goal.shaded, 0.8f * goal.shadedWithoutGoal);
        EXPECT_NEAR(goal.open, goal.openWithoutGoal, 2.0f);
        EXPECT_NEAR(goal.open, high.open, 0.08f * high.open) << "the open ground as bright";
        EXPECT_NEAR(goal.shaded, high.shaded, 0.2f * high.shaded) << "the shadow as dark";
    }
}

// The shadow map keeps the still track from frame to frame and draws what moves
// anew: at Low a crate lifted over open ground throws its shadow where it is now,
// and leaves none where it was; the goal's shadow stays, and goes with the goal.
TEST_F(TestTrackTest, KeptShadowsFollowWhatMoves) {
    buildTestTrack(3, Data::DETAIL_LOW);
    run(0.5);
    const glm::vec3 light =
        level->getLights().begin()->second->getShadowCamera()->getWorldTransformation()[3];
    const Game::StaticObjectPtr& crate = level->getObjects().at("DynamicObject_Crate5");
    // Holds the crate 8 above the ground at (x, z); where its shadow falls.
    const auto holdCrateAt = [&](float x, float z) {
        const glm::vec3 held(x, ground(x, z) + 8.0f, z);
        crate->setPosition(held);
        const glm::vec3 ray = glm::normalize(held - light);
        return held + ray * (8.0f / -ray.y);
    };
    // Open ground beside the goal, and further off.
    const float x = Game::TestTrackLayout::checkpoints[0].x - 6.0f;
    const float z = Game::TestTrackLayout::checkpoints[0].z - 10.0f;
    holdCrateAt(x - 30.0f, z);
    const glm::vec3 shadow = holdCrateAt(x, z);
    addCamera("AboveTheCrate", {shadow.x, shadow.y + 70, shadow.z + 1}, shadow);
    level->setCurrentCamera("AboveTheCrate");
    fipImage here = drawFrame();
    here.save("TestTrack_kept_shadow_crate.png");
    holdCrateAt(x - 30.0f, z);
    fipImage away = drawFrame();
    EXPECT_LT(brightnessAt(here, shadow), 0.8f * brightnessAt(away, shadow))
        << "the crate's shadow where it is";
    holdCrateAt(x, z);
    fipImage back = drawFrame();
    EXPECT_NEAR(brightnessAt(back, shadow), brightnessAt(here, shadow), 2.0f)
        << "the shadow follows it back";

    const GoalShadow goal = lookAtGoalShadow("TestTrack_kept_shadow_goal.png");
    EXPECT_LT(goal.shaded, 0.8f * goal.shadedWithoutGoal);
    EXPECT_NEAR(goal.open, goal.openWithoutGoal, 2.0f);
}

// The shaders take the light camera's range from it: another near and far plane
// moves no shadow.
TEST_F(TestTrackTest, ALightCameraOfAnotherRangeCastsTheSameShadows) {
    buildTestTrack();
    run(0.5);
    const GoalShadow usual = lookAtGoalShadow("TestTrack_goal_usual_range.png");
    const Data::CameraPtr lightCamera = level->getLights().begin()->second->getShadowCamera();
    lightCamera->nearPlane = 20.0f;
    lightCamera->farPlane = 1500.0f;
    level->getObjects().at("StaticObject_Goal")->setVisible(true);
    const GoalShadow other = lookAtGoalShadow("TestTrack_goal_other_range.png");
    EXPECT_LT(other.shaded, 0.8f * other.shadedWithoutGoal);
    EXPECT_NEAR(other.open, usual.open, 2.0f);
    EXPECT_NEAR(other.shaded, usual.shaded, 0.1f * usual.shaded);
}

// What a level says it loads is what it loads: decoded ahead at each detail level,
// every picture is taken by the level's own loads, none is decoded twice.
TEST_F(TestTrackTest, PicturesDecodedAheadAreTheOnesTheLevelLoads) {
    for (const std::int32_t detail : {Data::DETAIL_LOW, Data::DETAIL_MEDIUM, Data::DETAIL_HIGH}) {
        SCOPED_TRACE(detail);
        level.reset();
        const std::vector<System::File::PictureRequest> pictures =
            Game::Level::picturesOf(Track::testTrack(), detail);
        // A picture another test still holds is shared, not decoded again.
        const System::File::Prefetch prefetch(pictures);
        ASSERT_GT(prefetch.untaken(), 0u);
        buildTestTrack(1, detail);
        EXPECT_EQ(prefetch.untaken(), 0u);
    }
}
