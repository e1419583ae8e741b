#pragma once

#include <algorithm>
#include <vector>

namespace Game {

// False, and nothing added, when the listener is in the list already.
template <typename Listener> bool attachTo(std::vector<Listener*>& list, Listener* listener) {
    if (std::find(list.begin(), list.end(), listener) != list.end()) {
        return false;
    }
    list.push_back(listener);
    return true;
}

// Removes the first matching entry; nothing happens when it is absent.
template <typename Listener> void detachFrom(std::vector<Listener*>& list, Listener* listener) {
    const auto found = std::find(list.begin(), list.end(), listener);
    if (found != list.end()) {
        list.erase(found);
    }
}

// Calls `call` on every listener of a snapshot of the list: a listener may attach
// or detach others while it handles the event.
template <typename Listener, typename Call>
void fanOut(const std::vector<Listener*>& list, const Call& call) {
    const std::vector<Listener*> snapshot = list;
    for (Listener* listener : snapshot) {
        call(*listener);
    }
}

} // namespace Game
