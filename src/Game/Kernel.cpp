#include "Game/Kernel.h"

#include <algorithm>

namespace Game {

namespace {

template <typename Listener> bool attachTo(std::vector<Listener*>& list, Listener* listener) {
    if (std::find(list.begin(), list.end(), listener) != list.end()) {
        return false;
    }
    list.push_back(listener);
    return true;
}

template <typename Listener> void detachFrom(std::vector<Listener*>& list, Listener* listener) {
    const auto found = std::find(list.begin(), list.end(), listener);
    if (found != list.end()) {
        list.erase(found);
    }
}

} // namespace

Kernel& Kernel::getInstance() {
    static Kernel* instance = new Kernel();
    return *instance;
}

Kernel* Kernel::getInstancePtr() {
    return &getInstance();
}

bool Kernel::attach(KeyEventListener* listener) {
    return attachTo(keyListeners, listener);
}

bool Kernel::attach(MouseEventListener* listener) {
    return attachTo(mouseListeners, listener);
}

void Kernel::detach(KeyEventListener* listener) {
    detachFrom(keyListeners, listener);
}

void Kernel::detach(MouseEventListener* listener) {
    detachFrom(mouseListeners, listener);
}

} // namespace Game
