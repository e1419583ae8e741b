#include "demo/DemoApplication.h"

#include "Data/TextDrawable.h"
#include "Render/BuiltinShaders.h"
#include "Render/rkernel/RKernel.h"

#include <GL/glew.h>
#include <memory>

namespace Demo {
namespace {
constexpr float INFO_SCALE = 0.08f;
}

DemoApplication::DemoApplication(const DemoOptions& options)
    : scene(std::make_shared<Data::SGNode>()), options(options) {}

bool DemoApplication::succeeded() const {
    return options.saveFrame.empty() || lastFrameSaved();
}

bool DemoApplication::animate(double) {
    return true;
}

void DemoApplication::setInfoText(const std::string& text) {
    if (infoNode)
        rootNode->removeChild(infoNode);
    infoNode = Data::makeText(text, "Arial", INFO_SCALE, Data::TA_RIGHT);
    placeInfo();
    rootNode->addChild(infoNode);
}

void DemoApplication::placeInfo() {
    if (infoNode)
        placeOnScreen(infoNode, 0.97f, 0.96f);
}

bool DemoApplication::update(double dt) {
    ++framesStarted;
    if (options.frames > 0 && framesStarted > options.frames)
        return false;
    if (framesStarted == options.frames && !options.saveFrame.empty())
        saveNextFrame(options.saveFrame);
    if (!animate(dt))
        return false;
    // The camera may have moved: the text keeps its place on the screen.
    placeInfo();
    return true;
}

void DemoApplication::draw() {
    Render::RKernel* kernel = Render::RKernel::current();
    drawScene();
    if (showBoxes) {
        kernel->getShaderMgmt().setCurrentProgram(Render::makeSimpleProgram());
        kernel->setDebugDrawMode(Render::RKernel::DD_ORIENTED_BOXES);
        kernel->drawNode(scene);
        kernel->setDebugDrawMode(Render::RKernel::DD_NONE);
    }
    // The texts of the root node go over the finished scene.
    glClear(GL_DEPTH_BUFFER_BIT);
    kernel->getShaderMgmt().setCurrentProgram(Render::makeSimpleTextureProgram());
    kernel->setCamera(camera);
}

} // namespace Demo
