#include "Game/overlay/PauseMenu.h"

#include "Game/overlay/Notice.h"
#include "Platform/Keys.h"

namespace Game {

namespace {

const glm::vec4 GOLD(1.0f, 0.82f, 0.2f, 1.0f);
const glm::vec4 GREY(0.8f, 0.8f, 0.8f, 1.0f);

std::string itemName(std::size_t item) {
    return "Item" + std::to_string(item);
}

} // namespace

std::unique_ptr<PauseMenu> PauseMenu::create(Frame& frame) {
    const DialogPtr box =
        createNotice(frame, "PauseMenu", "Paused", {0.5f, 0.5f}, {0.36f, 0.4f}, 0.2f);
    if (!box) {
        return nullptr;
    }
    findText(box, "Text")->setPosition({0.5f, 0.8f});
    for (std::size_t item = 0; item < ITEMS.size(); ++item) {
        auto text = std::make_shared<TextDialog>(itemName(item), &frame);
        text->setAlignment(DA_CENTRE, DA_CENTRE);
        text->setPosition({0.5f, 0.52f - 0.16f * static_cast<float>(item)});
        text->setSize({0.96f, 0.1f});
        addChild(box, text);
    }
    std::unique_ptr<PauseMenu> menu(new PauseMenu(box));
    menu->choose(RESUME);
    return menu;
}

void PauseMenu::open() {
    choose(RESUME);
    dialog->setVisible(true);
    dialog->setActive(true);
}

void PauseMenu::close() {
    dialog->setVisible(false);
    dialog->setActive(false);
}

std::optional<PauseMenu::Item> PauseMenu::handleKey(int key) {
    const int count = static_cast<int>(ITEMS.size());
    switch (key) {
    case Platform::KEY_UP:
        choose(static_cast<Item>((chosen + count - 1) % count));
        return std::nullopt;
    case Platform::KEY_DOWN:
        choose(static_cast<Item>((chosen + 1) % count));
        return std::nullopt;
    case Platform::KEY_ENTER:
    case Platform::KEY_KP_ENTER:
        return chosen;
    default:
        return std::nullopt;
    }
}

std::string PauseMenu::getItemText(Item item) const {
    return findText(dialog, itemName(item))->getText();
}

void PauseMenu::choose(Item item) {
    chosen = item;
    for (std::size_t i = 0; i < ITEMS.size(); ++i) {
        const TextDialogPtr text = findText(dialog, itemName(i));
        const bool isChosen = i == static_cast<std::size_t>(item);
        changeText(dialog, itemName(i), isChosen ? std::string("> ") + ITEMS[i] + " <" : ITEMS[i]);
        text->setColor(isChosen ? GOLD : GREY);
    }
}

} // namespace Game
