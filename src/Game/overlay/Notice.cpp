#include "Game/overlay/Notice.h"

namespace Game {

DialogPtr createNotice(Frame& frame, const std::string& name, const std::string& text,
                       const glm::vec2& centre, const glm::vec2& size, float textShare) {
    const DialogPtr box = frame.createDialog(name, DT_DIALOG);
    if (!box) {
        return nullptr;
    }
    box->setAlignment(DA_CENTRE, DA_CENTRE);
    box->setPosition(centre);
    box->setSize(size);
    box->setColor(NOTICE_BACKDROP);
    auto label = std::make_shared<TextDialog>("Text", &frame);
    label->setAlignment(DA_CENTRE, DA_CENTRE);
    label->setPosition({0.5f, 0.5f});
    label->setSize({0.96f, textShare});
    label->setColor(glm::vec4(1.0f));
    label->setText(text, false);
    addChild(box, label);
    return box;
}

} // namespace Game
