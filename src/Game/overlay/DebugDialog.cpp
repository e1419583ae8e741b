#include "Game/overlay/DebugDialog.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace Game {

namespace {

struct LabelSpec {
    const char* name;
    std::int32_t horizontalAlignment;
    float x;
    float y;
    bool value; // white value text; the key descriptions are grey
    const char* text;
};

// Every label is right- or left-aligned by its top edge.
const std::array<LabelSpec, 12> LABELS = {{
    {"FPS", DA_HIGH, 0.95f, 0.95f, true, "FPS: ...."},
    {"F1", DA_LOW, 0.07f, 0.825f, false, "F1    Show this help screen"},
    {"F2", DA_LOW, 0.07f, 0.7f, false, "F2    Toggle Wireframe:"},
    {"F2text", DA_HIGH, 0.95f, 0.7f, true, "OFF"},
    {"F3", DA_LOW, 0.07f, 0.575f, false, "F3    Toggle Texture Mode:"},
    {"F3text", DA_HIGH, 0.95f, 0.575f, true, "Linear"},
    {"F4", DA_LOW, 0.07f, 0.45f, false, "F4    Toggle MipMap Mode:"},
    {"F4text", DA_HIGH, 0.95f, 0.45f, true, "Off"},
    {"F5", DA_LOW, 0.07f, 0.325f, false, "F5    Toggle Render Mode:"},
    {"F5text", DA_HIGH, 0.95f, 0.325f, true, "VertexArrays"},
    {"F6", DA_LOW, 0.07f, 0.2f, false, "F6    Toggle Frustrum Cullung:"},
    {"F6text", DA_HIGH, 0.95f, 0.2f, true, "Off"},
}};

} // namespace

std::string frameRateText(float meanFrameTime) {
    const double rate = meanFrameTime > 0.0f ? 1.0 / static_cast<double>(meanFrameTime) : 0.0;
    // Far beyond any real frame rate, and inside the integer's range.
    const double capped = std::min(rate, 1.0e9);
    return "FPS: " + std::to_string(static_cast<long long>(std::floor(capped)));
}

std::unique_ptr<DebugDialog> DebugDialog::create(Frame& frame) {
    const DialogPtr panel = frame.createDialog("DebugDialog", DT_DIALOG);
    if (!panel) {
        return nullptr;
    }
    panel->setAlignment(DA_LOW, DA_HIGH);
    panel->setPosition({0.0f, 1.0f});
    panel->setSize({0.375f, 0.25f});
    panel->setImage("RaceDialog.png");
    panel->setColor({1.0f, 1.0f, 1.0f, 0.6f});
    for (const LabelSpec& spec : LABELS) {
        auto label = std::make_shared<TextDialog>(spec.name, &frame);
        label->setAlignment(spec.horizontalAlignment, DA_HIGH);
        label->setPosition({spec.x, spec.y});
        label->setSize({0.75f, 0.1f});
        label->setColor(spec.value ? glm::vec4(1.0f) : glm::vec4(0.75f, 0.75f, 0.75f, 1.0f));
        label->setText(spec.text, false);
        addChild(panel, label);
    }
    return std::unique_ptr<DebugDialog>(new DebugDialog(panel));
}

TextDialogPtr DebugDialog::getLabel(const std::string& name) const {
    return findText(dialog, name);
}

bool DebugDialog::toggle() {
    show(!dialog->isActive());
    return isShown();
}

void DebugDialog::show(bool shown) {
    dialog->setVisible(shown);
    dialog->setActive(shown);
}

void DebugDialog::setValue(const char* label, const std::string& value) {
    if (const TextDialogPtr text = getLabel(label)) {
        text->setText(value, true);
    }
}

void DebugDialog::setWireframe(bool on) {
    setValue("F2text", on ? "ON" : "OFF");
}

void DebugDialog::setTextureFilterMode(std::int32_t mode) {
    setValue("F3text", mode == 1 ? "Linear" : "Nearest");
}

void DebugDialog::setMipmapMode(std::int32_t mode) {
    setValue("F4text", mode == 1 ? "Nearest" : mode == 2 ? "Linear" : "Off");
}

void DebugDialog::setRenderMode(std::int32_t mode) {
    setValue("F5text", mode == 1 ? "VertexBufferObjects" : "VertexArrays");
}

void DebugDialog::setFrustumCulling(bool on) {
    setValue("F6text", on ? "On" : "Off");
}

void DebugDialog::setFrameRate(float meanFrameTime) {
    setValue("FPS", frameRateText(meanFrameTime));
}

} // namespace Game
