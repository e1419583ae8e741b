#include "Game/overlay/TextDialog.h"

#include "Data/TextDrawable.h"
#include "Game/overlay/Frame.h"

#include <glm/gtc/matrix_transform.hpp>

namespace Game {

namespace {

float width(const Data::SGNodePtr& text) {
    const Data::BoundingBox box = text->getBoundingBox();
    return box[3] - box[0];
}

} // namespace

TextDialog::TextDialog(const std::string& name, Frame* frame)
    : Dialog(name, frame), textMaterial(std::make_shared<Data::Material>()) {}

void TextDialog::collect(Data::SGNodeList& drawList) {
    textMaterial->set(Data::MP_AMBIENT, getColor());
    Dialog::collect(drawList);
}

void TextDialog::rebuild() {
    const DialogRect rect = getAbsoluteRect();
    const std::int32_t alignment = getHorizontalAlignment();
    const glm::vec2 anchor(rect.corner.x + alignmentShare(alignment) * rect.size.x,
                           rect.corner.y + rect.size.y);
    // A text's glyph quads hang below its origin and are one glyph scale high; the
    // frame draws two units per screen height.
    auto holder = std::make_shared<Data::SGNode>();
    holder->setMaterial(textMaterial);
    holder->setTransformation(
        glm::translate(glm::mat4(1.0f), glm::vec3(Frame::toDevice(getFrame(), anchor), 0.0f)));
    const float scale = 2.0f * rect.size.y;
    Data::SGNodePtr glyphs = Data::makeText(text, fontName, scale, alignment);
    if (fitToWidth) {
        const float limit = Frame::toDevice(getFrame(), rect.corner + rect.size).x -
                            Frame::toDevice(getFrame(), rect.corner).x;
        std::string shown = text;
        while (!shown.empty() && width(glyphs) > limit) {
            shown.pop_back();
            while (!shown.empty() && shown.back() == ' ') {
                shown.pop_back();
            }
            glyphs = Data::makeText(shown + ".", fontName, scale, alignment);
        }
    }
    holder->addChild(glyphs);
    drawable = holder;
    rebuildChildren();
}

void TextDialog::setText(const std::string& value, const bool& rebuildNow) {
    text = value;
    if (rebuildNow) {
        rebuild();
    }
}

TextDialogPtr findText(const DialogPtr& parent, const std::string& name) {
    return std::dynamic_pointer_cast<TextDialog>(parent->findChild(name));
}

void changeText(const DialogPtr& parent, const std::string& name, const std::string& value) {
    const TextDialogPtr text = findText(parent, name);
    if (text && text->getText() != value) {
        text->setText(value, true);
    }
}

} // namespace Game
