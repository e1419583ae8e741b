#include "DemoTestSupport.h"

#include "Platform/Keys.h"
#include "Platform/Window.h"
#include "Render/glResources/GLTexture.h"
#include "Render/rkernel/RKernel.h"
#include "tests/Render/RenderTestSupport.h"

#include <FreeImagePlus.h>
#include <GL/glew.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <glm/gtc/matrix_transform.hpp>
#include <memory>
#include <string>

namespace {

using DemoTest::TestApplication;
using Platform::KEY_DOWN;
using Platform::KEY_ESC;
using Platform::KEY_LEFT;
using Platform::KEY_PAGEDOWN;
using Platform::KEY_PAGEUP;
using Platform::KEY_RIGHT;
using Platform::KEY_UP;

constexpr float SPEED = 10.0f;

class SimpleApplicationTest : public ::testing::Test {
protected:
    void SetUp() override {
        GameTest::useBinFolder();
        app = std::make_unique<TestApplication>();
        ASSERT_TRUE(app->hasWindow()) << "the demo frame did not open its window";
    }

    // Hands the queued events to the frame as its loop would; what they print.
    std::string dispatch() {
        ::testing::internal::CaptureStdout();
        EXPECT_TRUE(app->dispatchEvents());
        return ::testing::internal::GetCapturedStdout();
    }
    std::string press(int key) {
        app->press(key);
        return dispatch();
    }
    // Presses the resolution key and waits for the window's answer: asking for the
    // window's size is a round trip to the X server, after which the size events of
    // the switch are queued and reach the frame, not a later frame's check.
    std::string switchResolution() {
        std::string text = press('R');
        int width = 0;
        int height = 0;
        Platform::getWindowSize(width, height);
        return text + dispatch();
    }

    RenderTest::LogRecorder log;
    std::unique_ptr<TestApplication> app;
};

TEST_F(SimpleApplicationTest, EscapeAndCloseEndTheLoopBeforeTheirFrameIsDrawn) {
    app->press(KEY_UP);
    app->press(KEY_ESC);
    app->press('B');
    EXPECT_FALSE(app->run());
    EXPECT_EQ(app->updates, 0);
    EXPECT_EQ(app->draws, 0);
    // Events before Escape were handled; those after it were dropped with the queue.
    EXPECT_EQ(app->forwardVelocity, SPEED);
    EXPECT_FALSE(app->showBoxes);
    dispatch();
    EXPECT_FALSE(app->showBoxes);

    app->onUpdate = [this](double) {
        if (app->updates == 2)
            app->queueEvent(TestApplication::ET_CLOSE, 0, 0);
        return true;
    };
    EXPECT_FALSE(app->run());
    EXPECT_EQ(app->updates, 2);
    EXPECT_EQ(app->draws, 2);
}

TEST_F(SimpleApplicationTest, ShortcutsPrintTheirTextsByteForByte) {
    EXPECT_EQ(press(Platform::KEY_F1), "Keyboard shortcuts\n"
                                       "  F1........this help screen\n"
                                       "  F2........print FPS (vsync off)\n"
                                       "  F3........toggle Wireframe mode\n"
                                       "  F4........switch texture quality\n"
                                       "  F5........switch mip mapping quality\n"
                                       "  F6........switch draw strategy\n"
                                       "  c.........toggle movabillity of the cam\n"
                                       "  r.........toggle resolution\n"
                                       "  b.........toggle show OABB\n"
                                       "  ESC.......stop programm\n\n");

    EXPECT_EQ(press('B'), "switch drawing OBBs: on\n");
    EXPECT_TRUE(app->showBoxes);
    EXPECT_EQ(press('B'), "switch drawing OBBs: off\n");
    EXPECT_EQ(press('C'), "cam is movable\n");
    EXPECT_TRUE(app->cameraMovable);
    EXPECT_EQ(press('C'), "cam is not movable\n");
    EXPECT_FALSE(app->cameraMovable);

    EXPECT_EQ(press(Platform::KEY_F2), "show FPS on (vsync off)\n");
    EXPECT_TRUE(app->showFrameRate);
    EXPECT_EQ(press(Platform::KEY_F2), "show FPS off (vsync on)\n");
    EXPECT_FALSE(app->showFrameRate);

    EXPECT_EQ(press(Platform::KEY_F3), "");
    EXPECT_TRUE(app->wireframe);
    EXPECT_EQ(press(Platform::KEY_F3), "");
    EXPECT_FALSE(app->wireframe);

    // Texture settings reach the render side at once: both filters together.
    EXPECT_EQ(Render::GLTexture::getMinificationLinear(), 1);
    EXPECT_EQ(Render::GLTexture::getMipmapMode(), 0);
    EXPECT_EQ(press(Platform::KEY_F4), "setting texture quality to nearest\n");
    EXPECT_EQ(Render::GLTexture::getMinificationLinear(), 0);
    EXPECT_EQ(Render::GLTexture::getMagnificationLinear(), 0);
    EXPECT_EQ(press(Platform::KEY_F4), "setting texture quality to linear\n");
    EXPECT_EQ(Render::GLTexture::getMagnificationLinear(), 1);

    EXPECT_EQ(press(Platform::KEY_F5), "setting mipMappingQuality to nearest\n");
    EXPECT_EQ(Render::GLTexture::getMipmapMode(), 1);
    EXPECT_EQ(press(Platform::KEY_F5), "setting mipMappingQuality to linear\n");
    EXPECT_EQ(Render::GLTexture::getMipmapMode(), 2);
    EXPECT_EQ(press(Platform::KEY_F5), "turning off mipMapping\n");
    EXPECT_EQ(Render::GLTexture::getMipmapMode(), 0);

    Render::RKernel* kernel = Render::RKernel::current();
    EXPECT_EQ(kernel->getDrawStrategy(), Render::RKernel::VertexBufferObjects);
    EXPECT_EQ(press(Platform::KEY_F6), "switching DrawStrategy: VertexArrays\n");
    EXPECT_EQ(kernel->getDrawStrategy(), Render::RKernel::VertexArrays);
    EXPECT_EQ(press(Platform::KEY_F6), "switching DrawStrategy: VertexBufferObjects\n");
    EXPECT_EQ(kernel->getDrawStrategy(), Render::RKernel::VertexBufferObjects);

    // Releases, characters and unknown keys print and change nothing.
    app->release('B');
    app->release(Platform::KEY_F4);
    app->queueEvent(TestApplication::ET_CHARACTER, 'b', 1);
    app->press('X');
    EXPECT_EQ(dispatch(), "");
    EXPECT_FALSE(app->showBoxes);
    EXPECT_EQ(app->textureFilter, 1);
}

TEST_F(SimpleApplicationTest, ResolutionKeyComesBackToTheFirstEntry) {
    // The window's size events reach the screen target (the first one, from
    // construction, reports the window as it opened).
    const Render::RTScreenPtr& screen = Render::RKernel::current()->getScreen();
    dispatch();
    app->queueEvent(TestApplication::ET_SIZE, 720, 540);
    dispatch();
    EXPECT_EQ(screen->getWidth(), 720);
    EXPECT_EQ(screen->getHeight(), 540);

    // The display's own modes, one entry per size.
    ASSERT_FALSE(app->resolutions.empty());
    for (std::size_t i = 0; i < app->resolutions.size(); ++i)
        switchResolution();
    EXPECT_EQ(app->resolutionIndex, 0);
    EXPECT_EQ(screen->getWidth(), app->resolutions[0].first);
    EXPECT_EQ(screen->getHeight(), app->resolutions[0].second);

    app->resolutions = {{640, 480}, {800, 600}, {1024, 768}};
    EXPECT_EQ(switchResolution(), "switch resolution: 800/600\n");
    EXPECT_EQ(screen->getWidth(), 800);
    EXPECT_EQ(switchResolution(), "switch resolution: 1024/768\n");
    EXPECT_EQ(switchResolution(), "switch resolution: 640/480\n");
    EXPECT_EQ(app->resolutionIndex, 0);
    EXPECT_EQ(screen->getWidth(), 640);
    EXPECT_EQ(screen->getHeight(), 480);
}

TEST_F(SimpleApplicationTest, VelocitiesFollowTheMovementKeys) {
    press(KEY_UP);
    EXPECT_EQ(app->forwardVelocity, SPEED);
    // Releasing Down does not stop a forward movement.
    app->release(KEY_DOWN);
    dispatch();
    EXPECT_EQ(app->forwardVelocity, SPEED);
    // Down while Up is held reverses; releasing Up then leaves the reverse alone.
    press(KEY_DOWN);
    EXPECT_EQ(app->forwardVelocity, -SPEED);
    app->release(KEY_UP);
    dispatch();
    EXPECT_EQ(app->forwardVelocity, -SPEED);
    app->release(KEY_DOWN);
    dispatch();
    EXPECT_EQ(app->forwardVelocity, 0.0f);

    // Up, Down, Up: the last press wins, and releasing Down (not moving back) keeps it.
    press(KEY_UP);
    press(KEY_DOWN);
    press(KEY_UP);
    app->release(KEY_DOWN);
    dispatch();
    EXPECT_EQ(app->forwardVelocity, SPEED);

    // Sideways and vertical movement stop on either key's release.
    press(KEY_LEFT);
    EXPECT_EQ(app->sidewaysVelocity, SPEED);
    press(KEY_RIGHT);
    EXPECT_EQ(app->sidewaysVelocity, -SPEED);
    app->release(KEY_LEFT);
    dispatch();
    EXPECT_EQ(app->sidewaysVelocity, 0.0f);
    press(KEY_PAGEDOWN);
    EXPECT_EQ(app->upVelocity, -SPEED);
    press(KEY_PAGEUP);
    EXPECT_EQ(app->upVelocity, SPEED);
    app->release(KEY_PAGEDOWN);
    dispatch();
    EXPECT_EQ(app->upVelocity, 0.0f);
}

TEST_F(SimpleApplicationTest, UnmovableCameraStaysAndMovesAtOnceWhenMadeMovable) {
    const glm::mat4 start = app->camera->getTransformation();
    EXPECT_EQ(start[3], glm::vec4(0.0f, 0.0f, 15.0f, 1.0f));
    app->press(KEY_UP);
    app->press(KEY_LEFT);
    app->press(KEY_PAGEUP);
    glm::vec3 moved(0.0f);
    app->onUpdate = [&](double dt) {
        if (app->updates <= 3) {
            EXPECT_EQ(app->camera->getTransformation(), start) << "frame " << app->updates;
            // A long frame, so that the movement is plain to see.
            Platform::setTime(Platform::getTime() + 0.25);
        }
        if (app->updates == 3)
            app->press('C');
        if (app->updates == 4) {
            // Made movable by the event before this frame: moved in this frame already.
            EXPECT_GE(dt, 0.25);
            moved = glm::vec3(app->camera->getTransformation()[3]) - glm::vec3(start[3]);
            EXPECT_NEAR(moved.z, -SPEED * dt, 1e-3);
            EXPECT_NEAR(moved.x, -SPEED * dt, 1e-3);
            EXPECT_NEAR(moved.y, SPEED * dt, 1e-3);
            return false;
        }
        return true;
    };
    app->run();
    EXPECT_EQ(app->updates, 4);
    EXPECT_LT(moved.z, -2.0f);
}

TEST_F(SimpleApplicationTest, MouseLooksOnlyWhileTheLeftButtonIsHeld) {
    // The test alone moves the mouse: the pointer of the display is left out.
    Platform::setMousePosCallback(nullptr);
    Platform::setMouseButtonCallback(nullptr);
    const glm::mat4 start = app->camera->getTransformation();
    auto button = [this](int which, int action) {
        app->queueEvent(TestApplication::ET_MOUSE_BUTTON, which, action);
        dispatch();
    };
    auto moveMouse = [this](int x, int y) {
        app->queueEvent(TestApplication::ET_MOUSE_POS, x, y);
        dispatch();
    };

    // An unmovable camera ignores the button and the mouse.
    button(Platform::MOUSE_BUTTON_LEFT, 1);
    EXPECT_FALSE(app->mouseLook);
    moveMouse(200, 100);
    EXPECT_EQ(app->camera->getTransformation(), start);
    button(Platform::MOUSE_BUTTON_LEFT, 0);

    press('C');
    moveMouse(200, 100);
    EXPECT_EQ(app->camera->getTransformation(), start);
    button(Platform::MOUSE_BUTTON_RIGHT, 1);
    EXPECT_FALSE(app->mouseLook);
    moveMouse(200, 100);
    EXPECT_EQ(app->camera->getTransformation(), start);
    button(Platform::MOUSE_BUTTON_RIGHT, 0);

    button(Platform::MOUSE_BUTTON_LEFT, 1);
    EXPECT_TRUE(app->mouseLook);
    EXPECT_FALSE(Platform::isEnabled(Platform::Feature::MouseCursor));
    // 0.005 degrees per unit: yaw by -1 degree, then pitch by -0.5, in the parent's axes.
    moveMouse(200, 100);
    const glm::mat4 turned = glm::rotate(glm::mat4(1.0f), glm::radians(-0.5f), glm::vec3(1, 0, 0)) *
                             glm::rotate(glm::mat4(1.0f), glm::radians(-1.0f), glm::vec3(0, 1, 0)) *
                             start;
    const glm::mat4 looked = app->camera->getTransformation();
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            EXPECT_NEAR(looked[column][row], turned[column][row], 1e-4);

    button(Platform::MOUSE_BUTTON_LEFT, 0);
    EXPECT_FALSE(app->mouseLook);
    EXPECT_TRUE(Platform::isEnabled(Platform::Feature::MouseCursor));
    moveMouse(200, 100);
    EXPECT_EQ(app->camera->getTransformation(), looked);

    // The wheel moves a movable camera along its view and is set back to 0.
    app->queueEvent(TestApplication::ET_MOUSE_WHEEL, 3, 0);
    dispatch();
    const glm::vec3 step = glm::vec3(app->camera->getTransformation()[3]) - glm::vec3(looked[3]);
    EXPECT_NEAR(glm::length(step), 3.0f, 1e-4);
    EXPECT_NEAR(glm::dot(step, -glm::vec3(looked[2])), 3.0f, 1e-4);
    EXPECT_EQ(Platform::getMouseWheel(), 0);
}

TEST_F(SimpleApplicationTest, FrameRateShowsAPlaceholderUntilTheFirstMeasurement) {
    EXPECT_EQ(app->frameRateText(), "FPS:   0.00\nmsPf:--.--");
    const std::filesystem::path picture =
        std::filesystem::path(::testing::TempDir()) / "brumbly-frame-rate.png";
    app->press(Platform::KEY_F2);
    double start = 0.0;
    app->onUpdate = [&](double) {
        if (app->updates == 1)
            start = Platform::getTime();
        if (app->updates <= 3) {
            // Well within the first second: no rate yet, the text is on show.
            EXPECT_EQ(app->framesPerSecond, 0.0f);
            EXPECT_EQ(app->frameRateText(), "FPS:   0.00\nmsPf:--.--");
            Platform::setTime(start);
        }
        if (app->updates == 2) {
            EXPECT_EQ(app->rootNode->getChildren().size(), 1u);
            app->saveNextFrame(picture.string());
        }
        if (app->updates == 3)
            Platform::setTime(start + 3.0);
        if (app->updates == 5) {
            // Four frames in a little over three seconds.
            EXPECT_GT(app->framesPerSecond, 0.0f);
            EXPECT_LE(app->framesPerSecond, 4.0f / 3.0f);
            char expected[64];
            std::snprintf(expected, sizeof expected, "FPS: %6.2f\nmsPf:%.2f",
                          static_cast<double>(app->framesPerSecond),
                          1000.0 / static_cast<double>(app->framesPerSecond));
            EXPECT_EQ(app->frameRateText(), expected);
            return false;
        }
        return true;
    };
    app->run();
    EXPECT_EQ(app->updates, 5);

    // The text stands in the upper left corner of the otherwise empty frame.
    ASSERT_TRUE(app->lastFrameSaved());
    fipImage frame;
    ASSERT_TRUE(frame.load(picture.string().c_str()));
    const int width = static_cast<int>(frame.getWidth());
    const int height = static_cast<int>(frame.getHeight());
    int lit = 0, litOutside = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            RGBQUAD colour{};
            frame.getPixelColor(static_cast<unsigned>(x), static_cast<unsigned>(y), &colour);
            const bool bright =
                colour.rgbRed > 128 && colour.rgbGreen > 128 && colour.rgbBlue > 128;
            if (bright && x < width / 4 && y > height * 3 / 4)
                ++lit;
            else if (bright)
                ++litOutside;
        }
    EXPECT_GT(lit, 200);
    EXPECT_EQ(litOutside, 0);
    std::filesystem::remove(picture);

    // Switched off, the text leaves the scene with the next frame.
    app->press(Platform::KEY_F2);
    app->onUpdate = [this](double) { return app->updates < 7; };
    app->run();
    EXPECT_FALSE(app->showFrameRate);
    EXPECT_TRUE(app->rootNode->getChildren().empty());
}

TEST_F(SimpleApplicationTest, RunsWithTheSamplesTheDisplayGrants) {
    GLint granted = 0;
    glGetIntegerv(GL_SAMPLES, &granted);
    const std::string title =
        "multisampling: " + std::to_string(granted) + " of 16 samples granted";
    if (granted < 16)
        EXPECT_EQ(log.count(title), 1u) << "no line about the samples granted";
    else
        EXPECT_EQ(log.count(title), 0u);
    app->onUpdate = [this](double) { return app->updates < 2; };
    app->run();
    EXPECT_EQ(app->draws, 1);
    EXPECT_EQ(log.count("starting main loop .. [Failed]"), 0u);
}

// Points the window system at a display that does not exist while it lives.
class NoDisplay {
public:
    NoDisplay() {
        const char* display = std::getenv("DISPLAY");
        saved = display ? display : "";
        had = display != nullptr;
        setenv("DISPLAY", ":4711", 1);
    }
    ~NoDisplay() {
        if (had)
            setenv("DISPLAY", saved.c_str(), 1);
        else
            unsetenv("DISPLAY");
    }

private:
    std::string saved;
    bool had = false;
};

TEST(SimpleApplicationWithoutWindowTest, RunEndsAtOnceAndLogsWhy) {
    GameTest::useBinFolder();
    RenderTest::LogRecorder log;
    std::unique_ptr<TestApplication> app;
    {
        NoDisplay noDisplay;
        ::testing::internal::CaptureStdout();
        app = std::make_unique<TestApplication>();
        const std::string output = ::testing::internal::GetCapturedStdout();
        // Without a window system there are no video modes to list.
        EXPECT_EQ(output.substr(output.size() - 13), "Resolutions:\n");
    }
    EXPECT_FALSE(app->hasWindow());
    EXPECT_EQ(log.count("Failed to initialize OpenGL window!"), 1u);
    app->press('B');
    EXPECT_FALSE(app->run());
    EXPECT_EQ(app->updates, 0);
    EXPECT_EQ(app->draws, 0);
    const Tool::Message* why = log.find("starting main loop .. [Failed]");
    ASSERT_NE(why, nullptr);
    EXPECT_EQ(why->getType(), Tool::MT_ERROR);
    EXPECT_EQ(why->getAuthor(), "SimpleApplication");
    EXPECT_FALSE(why->getMessage().empty());
}

} // namespace
