#include "Game/overlay/TextDialog.h"

#include "Data/TextDrawable.h"
#include "Game/overlay/Frame.h"

#include <algorithm>
#include <glm/gtc/matrix_transform.hpp>
#include <vector>

namespace Game {

namespace {

float width(const Data::SGNodePtr& text) {
    const Data::BoundingBox box = text->getBoundingBox();
    return box[3] - box[0];
}

// The text split into characters: a UTF-8 sequence stays whole.
std::vector<std::string> characters(const std::string& text) {
    std::vector<std::string> split;
    for (const char byte : text) {
        if (split.empty() || (static_cast<unsigned char>(byte) & 0xC0U) != 0x80U) {
            split.emplace_back();
        }
        split.back() += byte;
    }
    return split;
}

// The characters [from, to) joined.
std::string join(const std::vector<std::string>& split, std::size_t from, std::size_t to) {
    std::string joined;
    for (std::size_t i = from; i < to; ++i) {
        joined += split[i];
    }
    return joined;
}

} // namespace

std::string elideMiddle(const std::string& text,
                        const std::function<bool(const std::string&)>& fits,
                        std::optional<std::size_t> keep) {
    if (fits(text)) {
        return text;
    }
    const std::vector<std::string> split = characters(text);
    const std::size_t length = split.size();
    // The character holding byte `keep`.
    std::optional<std::size_t> kept;
    if (keep && *keep < text.size()) {
        std::size_t bytes = 0;
        kept = 0;
        while (bytes + split[*kept].size() <= *keep) {
            bytes += split[(*kept)++].size();
        }
    }
    // `count` characters of the text, ".." where some were dropped.
    const auto shorten = [&](std::size_t count) {
        std::size_t head = (count + 1) / 2;
        std::size_t tail = count - head;
        if (!kept || *kept < head || *kept >= length - tail) {
            return join(split, 0, head) + ".." + join(split, length - tail, length);
        }
        head = count / 3;
        tail = count / 3;
        const std::size_t stretch = count - head - tail;
        const std::size_t from =
            std::clamp(*kept - std::min(*kept, stretch / 2), head, length - tail - stretch);
        return join(split, 0, head) + (from > head ? ".." : "") +
               join(split, from, from + stretch) + (from + stretch < length - tail ? ".." : "") +
               join(split, length - tail, length);
    };
    // The most characters that fit: shorter texts are never wider.
    std::size_t low = 0;
    std::size_t high = length > 0 ? length - 1 : 0;
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (fits(shorten(middle))) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return shorten(low);
}

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
    shownText = text;
    if (fitToWidth) {
        const float limit = Frame::toDevice(getFrame(), rect.corner + rect.size).x -
                            Frame::toDevice(getFrame(), rect.corner).x;
        shownText = elideMiddle(
            text,
            [&](const std::string& shown) {
                return width(Data::makeText(shown, fontName, scale, alignment)) <= limit;
            },
            keepVisible);
    }
    holder->addChild(Data::makeText(shownText, fontName, scale, alignment));
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
