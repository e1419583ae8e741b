#pragma once

#include "Game/overlay/Frame.h"
#include "Game/overlay/TextDialog.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Game {

// "FPS: " followed by the whole frames per second of a mean frame time in seconds
// ("FPS: 0" for a time that is not positive).
std::string frameRateText(float meanFrameTime);

// A driver at the keyboard as the help panel lists them: the name and the names of
// the five keys (accelerate, brake, steer left, steer right, reset).
struct HelpDriver {
    std::string name;
    std::array<std::string, 5> keys;
};

// The help panel in the top-left corner, on a dark backdrop: each driver's keys, the
// cameras, pause and Escape, what F1 to F6 do with the value each of F2 to F6
// switches, and the frame rate. The value texts are set by whoever owns the values;
// the panel does not read them.
class DebugDialog {
public:
    // Builds "DebugDialog" and its labels on the frame, hidden: "FPS", per driver
    // "Driver<i>" (name, accelerate and brake keys) and "Driver<i>keys" (steering and
    // reset keys), "Cameras", "Pause", "Escape", "F1" ... "F6", "F2text" ... "F6text".
    // Empty when the frame holds a dialog of that name already.
    static std::unique_ptr<DebugDialog> create(Frame& frame,
                                               const std::vector<HelpDriver>& drivers = {});

    const DialogPtr& getDialog() const { return dialog; }
    // The label of that name, or empty.
    TextDialogPtr getLabel(const std::string& name) const;

    // Shows the panel when it is inactive and hides it otherwise; true when shown.
    bool toggle();
    // Sets visible and active on the panel and all its labels.
    void show(bool shown);
    bool isShown() const { return dialog->isActive(); }

    void setWireframe(bool on);                   // "ON" or "OFF"
    void setTextureFilterMode(std::int32_t mode); // "Linear" (1) or "Nearest"
    void setMipmapMode(std::int32_t mode);        // "Nearest" (1), "Linear" (2) or "Off"
    void setRenderMode(std::int32_t mode);        // "VertexBufferObjects" (1) or "VertexArrays"
    void setFrustumCulling(bool on);              // "On" or "Off"
    void setFrameRate(float meanFrameTime);       // see frameRateText

private:
    explicit DebugDialog(const DialogPtr& dialog) : dialog(dialog) {}
    void setValue(const char* label, const std::string& value);

    DialogPtr dialog;
};

} // namespace Game
