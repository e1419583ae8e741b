// The level's object maps, its cameras and their input, and levels that lack a
// physics scene or a camera.
#include "LevelTestSupport.h"
#include "Platform/Keys.h"

#include <filesystem>
#include <unistd.h>

using namespace GameTest;

namespace {

Game::CameraDesc cameraAt(const std::string& name, const glm::vec3& position) {
    Game::CameraDesc desc;
    desc.name = name;
    desc.position = position;
    desc.flags = Game::CF_MOVABLE;
    return desc;
}

void pressKey(int key) {
    testInput().sendKey(key, Platform::PRESS);
    testInput().sendKey(key, Platform::RELEASE);
}

void moveMouse(int button, int x, int y) {
    if (button >= 0) {
        testInput().sendMouseButton(button, Platform::PRESS);
    }
    testInput().sendMouseMove(x, y);
    if (button >= 0) {
        testInput().sendMouseButton(button, Platform::RELEASE);
    }
}

} // namespace

TEST_F(LevelTest, NamesClashWithoutRegardToLetterCaseAcrossStaticAndDynamicObjects) {
    buildTestTrack();
    RenderTest::LogRecorder log;
    Game::DynamicObjectDesc crate;
    crate.name = "staticobject_house";
    crate.file = "crate.dae";
    crate.directory = "data\\objects\\crate\\";
    crate.mass = 2.0f;
    EXPECT_EQ(level->createDynamicObject(crate), nullptr);
    const Tool::Message* failure = log.find("Creating DynamicObject .. [Failed]");
    ASSERT_NE(failure, nullptr);
    EXPECT_EQ(failure->getMessage(), "\"staticobject_house\" already exists");
    EXPECT_EQ(failure->getAuthor(), "Level::create");
    EXPECT_EQ(failure->getType(), Tool::MT_ERROR);
    EXPECT_EQ(level->createCamera(cameraAt("OVERVIEW", {})), nullptr);
    EXPECT_NE(log.find("Creating Camera .. [Failed]"), nullptr);
    EXPECT_EQ(level->getObjects().size(), 12u);
}

TEST_F(LevelTest, OnlyTheCurrentCameraFliesAndTurns) {
    buildTestTrack();
    const Game::CameraPtr overview = level->getCurrentCamera();
    ASSERT_EQ(overview->getName(), "Overview");
    const Game::CameraPtr other = level->createCamera(cameraAt("Other", {10, 10, 10}));
    ASSERT_EQ(level->getCurrentCamera(), other) << "a new camera becomes current";
    EXPECT_FALSE(testInput().attach(static_cast<Game::KeyEventListener*>(other.get())));

    const glm::vec3 overviewStart = overview->getPosition();
    pressKey(Platform::KEY_UP);
    pressKey(Platform::KEY_PAGEUP);
    EXPECT_EQ(overview->getPosition(), overviewStart);
    // Up flies forward along the view (the camera looks along its -z), Page Up climbs.
    EXPECT_NEAR(other->getPosition().z, 7.5f, 1e-4f);
    EXPECT_NEAR(other->getPosition().y, 12.5f, 1e-4f);

    const glm::quat facing = other->getRotation();
    moveMouse(-1, 40, 0);
    moveMouse(0, 40, 0);
    EXPECT_EQ(other->getRotation(), facing) << "turns only while the right button is held";
    moveMouse(1, 40, 0);
    const glm::vec3 forward = other->getRotation() * glm::vec3(0, 0, -1);
    EXPECT_NEAR(forward.x, std::sin(glm::radians(10.0f)), 1e-4f)
        << "40 pixels right turn 10 degrees right";

    // The camera keys of the game step through the cameras in name order, wrapping.
    level->nextCamera();
    EXPECT_EQ(level->getCurrentCamera(), overview);
    level->nextCamera();
    EXPECT_EQ(level->getCurrentCamera(), other);
    level->previousCamera();
    EXPECT_EQ(level->getCurrentCamera(), overview);
    EXPECT_FALSE(level->setCurrentCamera("nobody"));
    EXPECT_EQ(level->getCurrentCamera(), overview);
}

TEST_F(LevelTest, ReleasingTheLevelDetachesEveryListener) {
    const std::size_t keysBefore = testInput().getKeyListeners().size();
    const std::size_t mouseBefore = testInput().getMouseListeners().size();
    buildTestTrack();
    level->createCamera(cameraAt("Second", {}));
    EXPECT_EQ(testInput().getKeyListeners().size(), keysBefore + 2);
    level.reset();
    EXPECT_EQ(testInput().getKeyListeners().size(), keysBefore);
    EXPECT_EQ(testInput().getMouseListeners().size(), mouseBefore);
}

TEST_F(LevelTest, WithoutAPhysicsSceneTheTrackStaysUnbuilt) {
    RenderTest::LogRecorder log;
    level = std::make_unique<Game::Level>(nullptr);
    EXPECT_FALSE(level->buildTestTrack(3));
    EXPECT_NE(log.find("Level::initialise couldn't create PhysX Scene .. [Failed]"), nullptr);
    EXPECT_TRUE(level->getObjects().empty());
    EXPECT_FALSE(level->getTerrain());
    level->update(1.0 / 60.0);
    EXPECT_DOUBLE_EQ(level->getRaceTime(), 1.0 / 60.0);
}

TEST_F(LevelTest, WithoutACameraTheFrameIsOnlyCleared) {
    sdk = createSdk();
    level = std::make_unique<Game::Level>(sdk.get(), Data::DETAIL_HIGH, kernel);
    level->initialise("Empty", -9.81f);
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    fipImage frame = drawFrame();
    for (const auto& [x, y] : {std::pair{0, 0}, {WIDTH / 2, HEIGHT / 2}, {WIDTH - 1, HEIGHT - 1}}) {
        EXPECT_EQ(pixel(frame, x, y), glm::ivec3(51, 102, 153));
    }
}

TEST_F(LevelTest, ItsPassesLeaveTheClearColourCullingAndBlendingAsTheyFoundThem) {
    buildTestTrack();
    ASSERT_TRUE(level->getShadowLight());
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    drawFrame();
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    // Whoever draws next clears the screen in their own colour.
    kernel->setRenderTarget(kernel->getScreen());
    fipImage next = capture();
    EXPECT_EQ(pixel(next, WIDTH / 2, HEIGHT / 2), glm::ivec3(51, 102, 153));
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
}

// A game folder whose lit program lacks its vertex stage: the track is refused (the
// race start then reports that the level did not load) with one error naming the
// program, rather than raced with only the sky drawn.
TEST_F(LevelTest, AProgramThatDoesNotBuildRefusesTheTrackWithOneError) {
    const std::filesystem::path bin(BRUMBLY_BIN_DIR);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("brumbly_missing_shader_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "shaders");
    std::filesystem::create_directory_symlink(bin / "data", folder / "data");
    for (const auto& entry : std::filesystem::directory_iterator(bin / "shaders")) {
        if (entry.path().filename() != "default.vert") {
            std::filesystem::create_symlink(entry.path(),
                                            folder / "shaders" / entry.path().filename());
        }
    }
    RenderTest::LogRecorder log;
    System::File::init((folder / "test").string());
    sdk = createSdk();
    level = std::make_unique<Game::Level>(sdk.get(), Data::DETAIL_HIGH, kernel, &testInput());
    const bool built = level->buildTestTrack(3);
    useBinFolder();
    std::filesystem::remove_all(folder);

    EXPECT_FALSE(built);
    const Tool::Message* failure = log.find("Program \"default\" did not build .. [Failed]");
    ASSERT_NE(failure, nullptr);
    EXPECT_EQ(failure->getType(), Tool::MT_ERROR);
    EXPECT_EQ(failure->getAuthor(), "Level");
    std::size_t levelErrors = 0;
    for (const Tool::Message& message : log.messages) {
        levelErrors += message.getAuthor() == "Level" && message.getType() == Tool::MT_ERROR;
    }
    EXPECT_EQ(levelErrors, 1u);
}
