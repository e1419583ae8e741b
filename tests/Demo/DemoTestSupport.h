#pragma once

#include "demo/SimpleApplication.h"
#include "tests/Game/LevelTestSupport.h"

#include <functional>
#include <gtest/gtest.h>

namespace DemoTest {

// The frame with its state open to the tests, counting the frames it updates and
// draws. `onUpdate` runs inside update() (false ends the loop).
class TestApplication : public Demo::SimpleApplication {
public:
    using SimpleApplication::dispatchEvents;
    using SimpleApplication::frameRateText;
    using SimpleApplication::lastFrameSaved;
    using SimpleApplication::queueEvent;
    using SimpleApplication::saveNextFrame;

    using SimpleApplication::camera;
    using SimpleApplication::cameraMovable;
    using SimpleApplication::forwardVelocity;
    using SimpleApplication::framesPerSecond;
    using SimpleApplication::mouseLook;
    using SimpleApplication::resolutionIndex;
    using SimpleApplication::resolutions;
    using SimpleApplication::rootNode;
    using SimpleApplication::showBoxes;
    using SimpleApplication::showFrameRate;
    using SimpleApplication::sidewaysVelocity;
    using SimpleApplication::textureFilter;
    using SimpleApplication::upVelocity;
    using SimpleApplication::wireframe;

    std::function<bool(double dt)> onUpdate;
    int updates = 0;
    int draws = 0;

    void press(int key) { queueEvent(ET_KEY, key, 1); }
    void release(int key) { queueEvent(ET_KEY, key, 0); }

protected:
    bool update(double dt) override {
        ++updates;
        return onUpdate ? onUpdate(dt) : true;
    }
    void draw() override { ++draws; }
};

} // namespace DemoTest
