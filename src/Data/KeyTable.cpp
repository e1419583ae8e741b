#include "Data/KeyTable.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace Data {

namespace {

// Window-layer key codes (GLFW 2.7 values).
namespace WindowKey {
constexpr int Left = 285, Up = 283, Right = 286, Down = 284;
constexpr int LeftShift = 287, RightShift = 288, LeftCtrl = 289, RightCtrl = 290;
constexpr int LeftAlt = 291, RightAlt = 292;
constexpr int Tab = 293, Backspace = 295, Insert = 296, Delete = 297;
constexpr int PageUp = 298, PageDown = 299, Home = 300, End = 301;
constexpr int Keypad0 = 302, KeypadDivide = 312, KeypadMultiply = 313, KeypadSubtract = 314;
constexpr int KeypadAdd = 315, KeypadDecimal = 316;
} // namespace WindowKey

struct KeyEntry {
    unsigned int virtualKey;
    std::string_view name;
    std::array<int, 2> windowKeys;
    std::size_t windowKeyCount;
};

constexpr KeyEntry single(unsigned int virtualKey, std::string_view name, int windowKey) {
    return {virtualKey, name, {windowKey, 0}, 1};
}

constexpr KeyEntry pair(unsigned int virtualKey, std::string_view name, int left, int right) {
    return {virtualKey, name, {left, right}, 2};
}

constexpr std::string_view digitNames[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
constexpr std::string_view letterNames[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                            "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                            "S", "T", "U", "V", "W", "X", "Y", "Z"};
constexpr std::string_view keypadNames[] = {"Num 0", "Num 1", "Num 2", "Num 3", "Num 4",
                                            "Num 5", "Num 6", "Num 7", "Num 8", "Num 9"};

// Every accepted virtual-key code, ascending. Digits and letters keep their ASCII
// codes in the window layer.
constexpr auto buildTable() {
    std::array<KeyEntry, 72> table{};
    std::size_t next = 0;
    const auto add = [&](const KeyEntry& entry) { table[next++] = entry; };
    add(single(8, "Backspace", WindowKey::Backspace));
    add(single(9, "Tab", WindowKey::Tab));
    add(pair(16, "Shift", WindowKey::LeftShift, WindowKey::RightShift));
    add(pair(17, "Ctrl", WindowKey::LeftCtrl, WindowKey::RightCtrl));
    add(pair(18, "Alt", WindowKey::LeftAlt, WindowKey::RightAlt));
    add(single(33, "Page Up", WindowKey::PageUp));
    add(single(34, "Page Down", WindowKey::PageDown));
    add(single(35, "End", WindowKey::End));
    add(single(36, "Home", WindowKey::Home));
    add(single(37, "Left", WindowKey::Left));
    add(single(38, "Up", WindowKey::Up));
    add(single(39, "Right", WindowKey::Right));
    add(single(40, "Down", WindowKey::Down));
    add(single(45, "Insert", WindowKey::Insert));
    add(single(46, "Delete", WindowKey::Delete));
    for (unsigned int digit = 0; digit < 10; ++digit) {
        add(single(48 + digit, digitNames[digit], static_cast<int>(48 + digit)));
    }
    for (unsigned int letter = 0; letter < 26; ++letter) {
        add(single(65 + letter, letterNames[letter], static_cast<int>(65 + letter)));
    }
    for (unsigned int digit = 0; digit < 10; ++digit) {
        add(single(96 + digit, keypadNames[digit], WindowKey::Keypad0 + static_cast<int>(digit)));
    }
    add(single(106, "Num *", WindowKey::KeypadMultiply));
    add(single(107, "Num +", WindowKey::KeypadAdd));
    // The keypad separator (a comma on some layouts) reaches the window layer as the
    // keypad decimal key.
    add(single(108, "Num Separator", WindowKey::KeypadDecimal));
    add(single(109, "Num -", WindowKey::KeypadSubtract));
    add(single(110, "Num .", WindowKey::KeypadDecimal));
    add(single(111, "Num /", WindowKey::KeypadDivide));
    add(single(160, "Left Shift", WindowKey::LeftShift));
    add(single(161, "Right Shift", WindowKey::RightShift));
    add(single(162, "Left Ctrl", WindowKey::LeftCtrl));
    add(single(163, "Right Ctrl", WindowKey::RightCtrl));
    // Accepted by the key dialog, but no key of the window layer produces it.
    add({255, "Key 255", {0, 0}, 0});
    return table;
}

constexpr auto keyTable = buildTable();

static_assert(keyTable.back().virtualKey == 255, "every entry of the key table is filled");
static_assert(std::is_sorted(keyTable.begin(), keyTable.end(),
                             [](const KeyEntry& a, const KeyEntry& b) {
                                 return a.virtualKey < b.virtualKey;
                             }),
              "the key table is sorted by virtual-key code");

const KeyEntry* lookup(unsigned int virtualKey) {
    const auto found = std::lower_bound(
        keyTable.begin(), keyTable.end(), virtualKey,
        [](const KeyEntry& entry, unsigned int key) { return entry.virtualKey < key; });
    return found != keyTable.end() && found->virtualKey == virtualKey ? &*found : nullptr;
}

} // namespace

bool KeyTable::isAccepted(unsigned int virtualKey) {
    return lookup(virtualKey) != nullptr;
}

std::vector<unsigned int> KeyTable::acceptedKeys() {
    std::vector<unsigned int> keys;
    keys.reserve(keyTable.size());
    for (const KeyEntry& entry : keyTable) {
        keys.push_back(entry.virtualKey);
    }
    return keys;
}

std::string KeyTable::name(unsigned int virtualKey) {
    const KeyEntry* entry = lookup(virtualKey);
    return entry != nullptr ? std::string(entry->name) : "Key " + std::to_string(virtualKey);
}

std::span<const int> KeyTable::windowKeys(unsigned int virtualKey) {
    const KeyEntry* entry = lookup(virtualKey);
    if (entry == nullptr) {
        return {};
    }
    return std::span<const int>(entry->windowKeys.data(), entry->windowKeyCount);
}

bool KeyTable::matches(unsigned int virtualKey, int windowKey) {
    const std::span<const int> keys = windowKeys(virtualKey);
    return std::find(keys.begin(), keys.end(), windowKey) != keys.end();
}

} // namespace Data
