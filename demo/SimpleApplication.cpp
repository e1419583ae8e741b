#include "demo/SimpleApplication.h"

#include "Data/TextDrawable.h"
#include "Platform/Keys.h"
#include "Platform/Window.h"
#include "Render/FrameCapture.h"
#include "Render/glResources/GLTexture.h"
#include "Render/rkernel/RKernel.h"
#include "System/File.h"
#include "Tool/LogManager.h"
#include "demo/SplashScreen.h"

#include <GL/glew.h>
#include <algorithm>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <iomanip>
#include <iostream>
#include <sstream>

namespace Demo {
namespace {

constexpr int WINDOW_WIDTH = 1024;
constexpr int WINDOW_HEIGHT = 768;
constexpr int DEPTH_BITS = 24;
constexpr int FSAA_SAMPLES = 16;
constexpr int MAX_VIDEO_MODES = 200;
constexpr float FRAME_RATE_SCALE = 0.1f;
// On-screen text stands this far in front of the camera (beyond its near plane).
constexpr float SCREEN_TEXT_DISTANCE = 4.0f;

void log(const std::string& title, const std::string& message, Tool::MessageType type, int line) {
    Tool::LogManager::getInstance().send(
        Tool::Message("SimpleApplication", title, message, __FILE__, line, type));
}

std::string fixed2(double value) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(2) << value;
    return text.str();
}

} // namespace

SimpleApplication::SimpleApplication()
    : rootNode(std::make_shared<Data::SGNode>()),
      camera(std::make_shared<Data::Camera>(1.0f, 1000.0f, 45.0f, 0)) {
    camera->moveForward(-15.0f, true);

    renderKernel = std::make_unique<Render::RKernel>();
    windowOpen =
        renderKernel->init(WINDOW_WIDTH, WINDOW_HEIGHT, DEPTH_BITS, FSAA_SAMPLES, false) == 0;
    if (windowOpen) {
        // Many displays offer fewer samples than asked for (Mesa under Xvfb: none or
        // four); the window runs with what it got.
        GLint samples = 0;
        glGetIntegerv(GL_SAMPLES, &samples);
        if (samples < FSAA_SAMPLES)
            log("multisampling: " + std::to_string(samples) + " of " +
                    std::to_string(FSAA_SAMPLES) + " samples granted",
                "", Tool::MT_WARNING, __LINE__);
    }
    handTextureSettings();

    System::File::loadFont({"TimesNewRoman", "data\\images\\Fonts\\"});
    System::File::loadFont({"Arial", "data\\images\\Fonts\\"});
    showStatus("init...");

    listResolutions();
    installCallbacks();
    rootNode->moveUp(1.0f, true);
    rootNode->moveSideways(-1.0f, true);
}

SimpleApplication::~SimpleApplication() {
    // The callbacks point at this application: none may outlive it.
    Platform::setKeyCallback(nullptr);
    Platform::setCharCallback(nullptr);
    Platform::setMouseButtonCallback(nullptr);
    Platform::setMousePosCallback(nullptr);
    Platform::setMouseWheelCallback(nullptr);
    Platform::setWindowCloseCallback(nullptr);
    Platform::setWindowSizeCallback(nullptr);
    // The window and the GPU copies go with the render kernel that the
    // constructor initialised.
    renderKernel.reset();
}

void SimpleApplication::handTextureSettings() const {
    Render::GLTexture::setFilterSettings(textureFilter, textureFilter, mipmapMode);
}

void SimpleApplication::listResolutions() {
    std::cout << "Resolutions:\n";
    for (const Platform::VideoMode& mode : Platform::getVideoModes(MAX_VIDEO_MODES)) {
        std::cout << " " << mode.width << "x" << mode.height << " " << mode.redBits << "/"
                  << mode.greenBits << "/" << mode.blueBits << "\n";
        const std::pair<int, int> size(mode.width, mode.height);
        if (std::find(resolutions.begin(), resolutions.end(), size) == resolutions.end())
            resolutions.push_back(size);
    }
    std::cout.flush();
}

void SimpleApplication::installCallbacks() {
    if (!windowOpen)
        return;
    Platform::setKeyCallback([this](int key, int action) { queueEvent(ET_KEY, key, action); });
    Platform::setCharCallback(
        [this](int character, int action) { queueEvent(ET_CHARACTER, character, action); });
    Platform::setMouseButtonCallback(
        [this](int button, int action) { queueEvent(ET_MOUSE_BUTTON, button, action); });
    Platform::setMousePosCallback([this](int x, int y) { queueEvent(ET_MOUSE_POS, x, y); });
    Platform::setMouseWheelCallback(
        [this](int position) { queueEvent(ET_MOUSE_WHEEL, position, 0); });
    // The window stays open until the close event has ended the loop.
    Platform::setWindowCloseCallback([this]() {
        queueEvent(ET_CLOSE, 0, 0);
        return false;
    });
    Platform::setWindowSizeCallback(
        [this](int width, int height) { queueEvent(ET_SIZE, width, height); });
}

void SimpleApplication::queueEvent(int type, int a, int b) {
    events.push_back({type, a, b});
}

bool SimpleApplication::dispatchEvents() {
    Platform::pollEvents();
    bool running = true;
    while (running && !events.empty()) {
        const Event event = events.front();
        events.pop_front();
        running = onEvent(event.type, event.a, event.b);
    }
    events.clear();
    return running;
}

void SimpleApplication::showStatus(const std::string& text) {
    if (!windowOpen)
        return;
    if (!splash)
        splash = std::make_unique<SplashScreen>("Brumbly.jpg");
    splash->setStatus(text);
}

bool SimpleApplication::run() {
    if (!windowOpen) {
        log("starting main loop .. [Failed]",
            "the window could not be opened, so there is nothing to draw into", Tool::MT_ERROR,
            __LINE__);
        return false;
    }
    showStatus("starting main loop!");
    previousFrameTime = Platform::getTime();
    lastRateTime = previousFrameTime;
    Platform::disable(Platform::Feature::AutoPollEvents);

    Render::RKernel* kernel = renderKernel.get();
    while (dispatchEvents()) {
        const double now = Platform::getTime();
        const double dt = now - previousFrameTime;
        if (cameraMovable) {
            camera->moveForward(static_cast<float>(forwardVelocity * dt), true);
            camera->moveSideways(static_cast<float>(-(sidewaysVelocity * dt)), false);
            camera->moveUp(static_cast<float>(upVelocity * dt), false);
        }
        ++frameCount;
        kernel->setTime(static_cast<float>(now));
        if (!update(dt))
            break;
        previousFrameTime = now;
        measureFrameRate(now);
        showFrameRateText();
        drawFrame();
    }
    return false;
}

void SimpleApplication::measureFrameRate(double now) {
    if (now - lastRateTime > 1.0) {
        framesPerSecond = static_cast<float>(frameCount / (now - lastRateTime));
        frameCount = 0;
        lastRateTime = now;
    }
}

std::string SimpleApplication::frameRateText() const {
    std::ostringstream text;
    text << "FPS: " << std::setw(6) << fixed2(framesPerSecond) << "\nmsPf:";
    // No rate has been measured during the first second.
    if (framesPerSecond > 0.0f)
        text << fixed2(1000.0 / framesPerSecond);
    else
        text << "--.--";
    return text.str();
}

void SimpleApplication::showFrameRateText() {
    if (frameRateNode)
        rootNode->removeChild(frameRateNode);
    frameRateNode.reset();
    if (!showFrameRate)
        return;
    frameRateNode = Data::makeText(frameRateText(), "Arial", FRAME_RATE_SCALE, Data::TA_LEFT);
    placeOnScreen(frameRateNode, -0.97f, 0.96f);
    rootNode->addChild(frameRateNode);
}

void SimpleApplication::placeOnScreen(const Data::SGNodePtr& node, float x, float y) const {
    const float halfHeight =
        SCREEN_TEXT_DISTANCE * std::tan(camera->fieldOfView / 2.0f * 0.017453293f);
    const Render::RTScreenPtr& screen = renderKernel->getScreen();
    const float aspect = static_cast<float>(screen->getWidth()) /
                         static_cast<float>(std::max(screen->getHeight(), 1));
    const glm::mat4 inView = glm::translate(
        glm::mat4(1.0f), glm::vec3(x * halfHeight * aspect, y * halfHeight, -SCREEN_TEXT_DISTANCE));
    node->setTransformation(glm::inverse(rootNode->getWorldTransformation()) *
                            camera->getWorldTransformation() * inView);
}

void SimpleApplication::saveNextFrame(const std::string& path) {
    pendingFramePath = path;
    frameSaved = false;
}

void SimpleApplication::drawFrame() {
    Render::RKernel* kernel = renderKernel.get();
    kernel->setRenderTarget(kernel->getScreen());
    kernel->setCamera(camera);
    draw();
    kernel->drawNode(rootNode);
    if (!pendingFramePath.empty()) {
        frameSaved = Render::saveFrame(pendingFramePath);
        pendingFramePath.clear();
    }
    kernel->getRenderTarget()->end();
}

bool SimpleApplication::update(double) {
    return true;
}

void SimpleApplication::draw() {}

bool SimpleApplication::onEvent(int type, int a, int b) {
    switch (type) {
    case ET_CLOSE:
        return false;
    case ET_KEY:
        return onKey(a, b);
    case ET_MOUSE_BUTTON:
        onMouseButton(a, b);
        return true;
    case ET_MOUSE_POS:
        if (cameraMovable && mouseLook) {
            camera->yaw(-(a * mouseFactor), rotateLocally);
            camera->pitch(-(b * mouseFactor), rotateLocally);
            Platform::setMousePos(0, 0);
        }
        return true;
    case ET_MOUSE_WHEEL:
        if (cameraMovable)
            camera->moveForward(static_cast<float>(a), true);
        Platform::setMouseWheel(0);
        return true;
    case ET_SIZE:
        renderKernel->getScreen()->setSize(a, b);
        return true;
    default:
        return true;
    }
}

void SimpleApplication::onMouseButton(int button, int action) {
    if (button != Platform::MOUSE_BUTTON_LEFT || !cameraMovable)
        return;
    if (action == Platform::PRESS) {
        mouseLook = true;
        Platform::disable(Platform::Feature::MouseCursor);
        Platform::setMousePos(0, 0);
    } else if (action == Platform::RELEASE) {
        mouseLook = false;
        Platform::enable(Platform::Feature::MouseCursor);
    }
}

bool SimpleApplication::onKey(int key, int action) {
    if (action == Platform::RELEASE) {
        if ((key == Platform::KEY_UP && forwardVelocity > 0.0f) ||
            (key == Platform::KEY_DOWN && forwardVelocity < 0.0f))
            forwardVelocity = 0.0f;
        else if (key == Platform::KEY_LEFT || key == Platform::KEY_RIGHT)
            sidewaysVelocity = 0.0f;
        else if (key == Platform::KEY_PAGEUP || key == Platform::KEY_PAGEDOWN)
            upVelocity = 0.0f;
        return true;
    }
    if (action != Platform::PRESS)
        return true;

    Render::RKernel* kernel = renderKernel.get();
    switch (key) {
    case 'B':
        showBoxes = !showBoxes;
        std::cout << "switch drawing OBBs: " << (showBoxes ? "on" : "off") << "\n";
        break;
    case 'C':
        cameraMovable = !cameraMovable;
        std::cout << "cam is " << (cameraMovable ? "" : "not ") << "movable\n";
        break;
    case 'R':
        if (!resolutions.empty()) {
            resolutionIndex = (resolutionIndex + 1) % static_cast<int>(resolutions.size());
            const auto [width, height] = resolutions[resolutionIndex];
            kernel->getScreen()->setSize(width, height);
            Platform::setWindowSize(width, height);
            std::cout << "switch resolution: " << width << "/" << height << "\n";
        }
        break;
    case Platform::KEY_ESC:
        return false;
    case Platform::KEY_F1:
        std::cout << "Keyboard shortcuts\n"
                  << "  F1........this help screen\n"
                  << "  F2........print FPS (vsync off)\n"
                  << "  F3........toggle Wireframe mode\n"
                  << "  F4........switch texture quality\n"
                  << "  F5........switch mip mapping quality\n"
                  << "  F6........switch draw strategy\n"
                  << "  c.........toggle movabillity of the cam\n"
                  << "  r.........toggle resolution\n"
                  << "  b.........toggle show OABB\n"
                  << "  ESC.......stop programm\n\n";
        break;
    case Platform::KEY_F2:
        showFrameRate = !showFrameRate;
        Platform::swapInterval(showFrameRate ? 0 : 1);
        std::cout << (showFrameRate ? "show FPS on (vsync off)\n" : "show FPS off (vsync on)\n");
        break;
    case Platform::KEY_F3:
        wireframe = !wireframe;
        if (windowOpen)
            glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);
        break;
    case Platform::KEY_F4:
        textureFilter = textureFilter == 1 ? 0 : 1;
        handTextureSettings();
        std::cout << "setting texture quality to " << (textureFilter == 1 ? "linear" : "nearest")
                  << "\n";
        break;
    case Platform::KEY_F5:
        mipmapMode = (mipmapMode + 1) % 3;
        handTextureSettings();
        std::cout << (mipmapMode == 1   ? "setting mipMappingQuality to nearest\n"
                      : mipmapMode == 2 ? "setting mipMappingQuality to linear\n"
                                        : "turning off mipMapping\n");
        break;
    case Platform::KEY_F6: {
        const bool toBuffers = kernel->getDrawStrategy() == Render::RKernel::VertexArrays;
        kernel->setDrawStrategy(toBuffers ? Render::RKernel::VertexBufferObjects
                                          : Render::RKernel::VertexArrays);
        std::cout << (toBuffers ? "switching DrawStrategy: VertexBufferObjects\n"
                                : "switching DrawStrategy: VertexArrays\n");
        break;
    }
    case Platform::KEY_UP:
        forwardVelocity = cameraSpeed;
        break;
    case Platform::KEY_DOWN:
        forwardVelocity = -cameraSpeed;
        break;
    case Platform::KEY_LEFT:
        sidewaysVelocity = cameraSpeed;
        break;
    case Platform::KEY_RIGHT:
        sidewaysVelocity = -cameraSpeed;
        break;
    case Platform::KEY_PAGEUP:
        upVelocity = cameraSpeed;
        break;
    case Platform::KEY_PAGEDOWN:
        upVelocity = -cameraSpeed;
        break;
    default:
        break;
    }
    std::cout.flush();
    return true;
}

} // namespace Demo
