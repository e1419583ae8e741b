#include "Game/overlay/CountdownDialog.h"

namespace Game {

namespace {

const glm::vec4 FIGURE_COLOUR(1.0f, 0.8f, 0.1f, 1.0f);
const glm::vec4 GO_COLOUR(0.3f, 1.0f, 0.3f, 1.0f);

} // namespace

std::string countdownText(int step) {
    return step == 0 ? "GO!" : std::to_string(step);
}

std::unique_ptr<CountdownDialog> CountdownDialog::create(Frame& frame) {
    const DialogPtr square = frame.createDialog("CountdownDialog", DT_DIALOG);
    if (!square) {
        return nullptr;
    }
    square->setAlignment(DA_CENTRE, DA_CENTRE);
    square->setPosition({0.5f, 0.62f});
    square->setSize({0.2f, 0.16f});
    square->setColor({0.0f, 0.0f, 0.0f, 0.45f});
    auto text = std::make_shared<TextDialog>("CountdownText", &frame);
    text->setAlignment(DA_CENTRE, DA_CENTRE);
    text->setPosition({0.5f, 0.5f});
    text->setSize({0.9f, 0.75f});
    addChild(square, text);
    return std::unique_ptr<CountdownDialog>(new CountdownDialog(square, text));
}

void CountdownDialog::show(int step) {
    const bool shown = step >= 0 && step <= 3;
    if (shown) {
        text->setColor(step == 0 ? GO_COLOUR : FIGURE_COLOUR);
        text->setText(countdownText(step), true);
    }
    dialog->setVisible(shown);
    dialog->setActive(shown);
}

} // namespace Game
