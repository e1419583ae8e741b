#include "Game/overlay/Frame.h"

#include "Game/overlay/OverlayDrawing.h"
#include "Game/overlay/TextDialog.h"
#include "Render/rkernel/RKernel.h"

namespace Game {

Frame::Frame(Render::RKernel* kernel)
    // Orthographic, looking down -z from the origin: the overlay lies in z = 0.
    : kernel(kernel), camera(std::make_shared<Data::Camera>(-1.0f, 1.0f, 45.0f, 1)),
      builtAspect(getAspect()) {}

Frame::~Frame() {
    // Dialogs may outlive the frame in their holders' shared pointers.
    for (const auto& [name, dialog] : dialogs) {
        dialog->detachFromFrame();
    }
}

std::pair<unsigned, unsigned> Frame::getScreenSize() const {
    if (!kernel) {
        return {0, 0};
    }
    const Render::RTScreenPtr& screen = kernel->getScreen();
    return {static_cast<unsigned>(screen->getWidth()), static_cast<unsigned>(screen->getHeight())};
}

float Frame::getAspect() const {
    const auto [width, height] = getScreenSize();
    if (width == 0 || height == 0) {
        return 1.0f;
    }
    return static_cast<float>(width) / static_cast<float>(height);
}

void Frame::update(double dt) {
    for (const auto& [name, dialog] : dialogs) {
        if (!dialog->getParent()) {
            dialog->update(dt);
        }
    }
}

Data::SGNodeList Frame::collect() const {
    Data::SGNodeList drawList;
    for (const auto& [name, dialog] : dialogs) {
        // A stored dialog that was made another's child is drawn by its parent.
        if (!dialog->getParent()) {
            dialog->collect(drawList);
        }
    }
    return drawList;
}

void Frame::draw() {
    if (!kernel) {
        return;
    }
    if (getAspect() != builtAspect) {
        builtAspect = getAspect();
        for (const auto& [name, dialog] : dialogs) {
            if (!dialog->getParent()) {
                dialog->rebuild();
            }
        }
    }
    const Data::SGNodeList drawList = collect();
    if (!drawList.empty()) {
        drawFlat(*kernel, camera, drawList);
    }
}

DialogPtr Frame::createDialog(const std::string& name, const std::int32_t& type) {
    if (dialogs.count(name) > 0) {
        return nullptr;
    }
    DialogPtr dialog = type == DT_TEXT ? std::make_shared<TextDialog>(name, this)
                                       : std::make_shared<Dialog>(name, this);
    dialog->rebuild();
    dialogs.emplace(name, dialog);
    return dialog;
}

DialogPtr Frame::findDialog(const std::string& name) const {
    const auto found = dialogs.find(name);
    return found == dialogs.end() ? nullptr : found->second;
}

glm::vec2 Frame::toDevice(const Frame* frame, const glm::vec2& point) {
    const float aspect = frame ? frame->getAspect() : 1.0f;
    return {(2.0f * point.x - 1.0f) * aspect, 2.0f * point.y - 1.0f};
}

} // namespace Game
