#pragma once

#include "Data/Camera.h"
#include "Data/SGNode.h"
#include "Tool/Export.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Render {
class RKernel;
}

namespace Demo {

class SplashScreen;

// The frame of the stand-alone render demonstrations: its own window through the
// render kernel, a root scene node, a free-flying camera, the window's callbacks
// turned into queued events, and a frame loop with a frame-rate display and
// keyboard shortcuts for the render switches. Derived classes build their scene
// and react to update() and onEvent().
class BRUMBLY_API SimpleApplication {
public:
    // The kinds of queued events and what their two values carry.
    enum EventType : std::int32_t {
        ET_KEY = 0,          // key code, action (1 press, 0 release)
        ET_CHARACTER = 1,    // character, action
        ET_MOUSE_BUTTON = 2, // button (0 left), action
        ET_MOUSE_POS = 3,    // x, y (movement since the position was last set)
        ET_MOUSE_WHEEL = 4,  // wheel position
        ET_CLOSE = 5,        // the window's close button
        ET_SIZE = 6          // width, height
    };

    struct Event {
        std::int32_t type;
        std::int32_t a;
        std::int32_t b;
    };

    // Opens the 1024 x 768 window, shows the splash screen, lists the video modes on
    // standard output and installs the window callbacks. When the window cannot be
    // opened the application stays without one and run() ends at once.
    SimpleApplication();
    SimpleApplication(const SimpleApplication&) = delete;
    SimpleApplication& operator=(const SimpleApplication&) = delete;
    // Releases the scene and closes the window (the render kernel goes with it).
    virtual ~SimpleApplication();

    // The frame loop, until an event handler or update() ends it. Returns false.
    bool run();

    // Whether construction opened the window.
    bool hasWindow() const { return windowOpen; }

protected:
    // Called once per frame before drawing, with the seconds since the previous
    // frame; false ends the loop.
    virtual bool update(double dt);
    // Handles one queued event; false ends the loop.
    virtual bool onEvent(int type, int a, int b);
    // Draws the demonstration's own passes into the screen target, after the camera
    // is set and before the root node is drawn; the root node is then drawn with the
    // program this leaves current. Does nothing here.
    virtual void draw();

    // Appends an event to the queue (what the window callbacks do).
    void queueEvent(int type, int a, int b);
    // Polls the window's events, then hands every queued event to onEvent() in
    // arrival order until one returns false; the queue is emptied either way. False
    // when an event ended the loop.
    bool dispatchEvents();
    // Shows a status line on the splash screen at once (one frame of its own).
    void showStatus(const std::string& text);
    // The frame-rate text for the last measured rate; a placeholder stands for the
    // milliseconds per frame until a rate has been measured.
    std::string frameRateText() const;
    // Places a node under the root so that it appears at (x, y) of the view (-1 to
    // 1 across and up), facing the camera, for text that stays on screen.
    void placeOnScreen(const Data::SGNodePtr& node, float x, float y) const;
    // Writes the next frame, as drawn before it is presented, to a PNG file.
    void saveNextFrame(const std::string& path);
    // Whether the last frame asked for by saveNextFrame() was written.
    bool lastFrameSaved() const { return frameSaved; }

    bool showFrameRate = false;
    std::uint32_t frameCount = 0;
    float framesPerSecond = 0.0f;
    bool cameraMovable = false;
    bool rotateLocally = false;
    double lastRateTime = 0.0;
    double previousFrameTime = 0.0;
    bool showBoxes = false;
    bool wireframe = false;
    std::int32_t resolutionIndex = 0;
    std::int32_t textureFilter = 1; // 1 linear, 0 nearest
    std::int32_t mipmapMode = 0;    // 0 off, 1 nearest, 2 linear
    Data::SGNodePtr rootNode;
    std::vector<std::pair<int, int>> resolutions;
    Data::CameraPtr camera;
    float cameraSpeed = 10.0f; // units per second
    float mouseFactor = 0.005f;
    float forwardVelocity = 0.0f;
    float sidewaysVelocity = 0.0f;
    float upVelocity = 0.0f;
    bool mouseLook = false;

private:
    bool onKey(int key, int action);
    void onMouseButton(int button, int action);
    void handTextureSettings() const;
    void listResolutions();
    void installCallbacks();
    void measureFrameRate(double now);
    void showFrameRateText();
    void drawFrame();

    std::unique_ptr<Render::RKernel> renderKernel;
    bool windowOpen = false;
    std::deque<Event> events;
    std::unique_ptr<SplashScreen> splash;
    Data::SGNodePtr frameRateNode;
    std::string pendingFramePath;
    bool frameSaved = false;
};

} // namespace Demo
