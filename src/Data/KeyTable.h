#pragma once

#include "Tool/Export.h"

#include <span>
#include <string>
#include <vector>

namespace Data {

// Key bindings are stored as Windows virtual-key codes. This table covers every code
// the launcher's key dialog accepts: 8, 9, 16-18, 33-40, 45, 46, 48-57, 65-90,
// 96-111, 160-163 and 255. For each it gives a readable name and the window layer's
// key codes (GLFW 2.7 values) that the code stands for; 16, 17 and 18 (Shift,
// Control, Alt) stand for both the left and the right key.
class BRUMBLY_API KeyTable {
public:
    // Whether the key dialog accepts the code as a binding.
    static bool isAccepted(unsigned int virtualKey);
    // Every accepted code, ascending.
    static std::vector<unsigned int> acceptedKeys();
    // A readable, never empty name; the same code always gives the same name
    // ("Key <code>" for codes without a name of their own).
    static std::string name(unsigned int virtualKey);
    // The window layer's key codes for the code; empty when none (including 0).
    static std::span<const int> windowKeys(unsigned int virtualKey);
    // Whether a window-layer key event with `windowKey` is the bound key `virtualKey`.
    static bool matches(unsigned int virtualKey, int windowKey);
};

} // namespace Data
