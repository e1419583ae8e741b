#include "Game/overlay/DebugDialog.h"

#include "Game/overlay/Notice.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace Game {

namespace {

// Heights in screen heights: one line of the panel, and its text.
constexpr float LINE = 0.034f;
constexpr float TEXT = 0.75f * LINE;
constexpr float PANEL_WIDTH = 0.46f;
const glm::vec4 GREY(0.75f, 0.75f, 0.75f, 1.0f);

struct LabelSpec {
    const char* name;
    const char* text;
    const char* value; // the switch's value label, if any, on the same line
};

// The fixed lines below the drivers' keys.
const std::array<LabelSpec, 9> LABELS = {{
    {"Cameras", "Home / End    Previous / next camera", nullptr},
    {"Pause", "Pause or P    Pause menu", nullptr},
    {"Escape", "Escape    Pause menu; leave the results", nullptr},
    {"F1", "F1    Show or hide this help", nullptr},
    {"F2", "F2    Toggle Wireframe:", "OFF"},
    {"F3", "F3    Toggle Texture Mode:", "Linear"},
    {"F4", "F4    Toggle MipMap Mode:", "Off"},
    {"F5", "F5    Toggle Render Mode:", "VertexArrays"},
    {"F6", "F6    Toggle Frustum Culling:", "Off"},
}};

// A label whose top lies `top` screen heights below the panel's top edge, which is
// `height` high.
void addLabel(Frame& frame, const DialogPtr& panel, const std::string& name,
              const std::string& text, std::int32_t alignment, float top, float height,
              const glm::vec4& colour) {
    auto label = std::make_shared<TextDialog>(name, &frame);
    label->setAlignment(alignment, DA_HIGH);
    label->setPosition(
        {alignment == DA_HIGH ? 0.96f : 0.04f, 1.0f - (top + 0.5f * (LINE - TEXT)) / height});
    label->setSize({0.92f, TEXT / height});
    label->setColor(colour);
    label->setText(text, false);
    label->setFitToWidth(true);
    addChild(panel, label);
}

} // namespace

std::string frameRateText(float meanFrameTime) {
    const double rate = meanFrameTime > 0.0f ? 1.0 / static_cast<double>(meanFrameTime) : 0.0;
    // Far beyond any real frame rate, and inside the integer's range.
    const double capped = std::min(rate, 1.0e9);
    return "FPS: " + std::to_string(static_cast<long long>(std::floor(capped)));
}

std::unique_ptr<DebugDialog> DebugDialog::create(Frame& frame,
                                                 const std::vector<HelpDriver>& drivers) {
    const DialogPtr panel = frame.createDialog("DebugDialog", DT_DIALOG);
    if (!panel) {
        return nullptr;
    }
    // The frame rate, two lines per driver, the fixed lines, and a margin at each end.
    const float height =
        LINE * (1.0f + 2.0f * static_cast<float>(drivers.size()) + LABELS.size() + 1.0f);
    panel->setAlignment(DA_LOW, DA_HIGH);
    panel->setPosition({0.0f, 1.0f});
    panel->setSize({PANEL_WIDTH, height});
    panel->setColor(NOTICE_BACKDROP);
    float top = 0.5f * LINE;
    addLabel(frame, panel, "FPS", "FPS: ....", DA_HIGH, top, height, glm::vec4(1.0f));
    top += LINE;
    for (std::size_t i = 0; i < drivers.size(); ++i) {
        const HelpDriver& driver = drivers[i];
        const std::string name = "Driver" + std::to_string(i);
        addLabel(frame, panel, name,
                 driver.name + ":  " + driver.keys[0] + " accelerate,  " + driver.keys[1] +
                     " brake",
                 DA_LOW, top, height, glm::vec4(1.0f));
        addLabel(frame, panel, name + "keys",
                 "      " + driver.keys[2] + " / " + driver.keys[3] + " steer,  " + driver.keys[4] +
                     " reset",
                 DA_LOW, top + LINE, height, glm::vec4(1.0f));
        top += 2.0f * LINE;
    }
    for (const LabelSpec& spec : LABELS) {
        addLabel(frame, panel, spec.name, spec.text, DA_LOW, top, height, GREY);
        if (spec.value != nullptr) {
            addLabel(frame, panel, std::string(spec.name) + "text", spec.value, DA_HIGH, top,
                     height, glm::vec4(1.0f));
        }
        top += LINE;
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
