#pragma once

#include "Game/overlay/Frame.h"
#include "Game/overlay/TextDialog.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Game {

// "FPS: " followed by the whole frames per second of a mean frame time in seconds
// ("FPS: 0" for a time that is not positive).
std::string frameRateText(float meanFrameTime);

// The help panel in the top-left corner: what F1 to F6 do, the value each of F2 to
// F6 switches, and the frame rate. The value texts are set by whoever owns the
// values; the panel does not read them.
class DebugDialog {
public:
    // Builds "DebugDialog" and its labels on the frame, hidden. Empty when the frame
    // holds a dialog of that name already.
    static std::unique_ptr<DebugDialog> create(Frame& frame);

    const DialogPtr& getDialog() const { return dialog; }
    // The label of that name ("FPS", "F1" ... "F6", "F2text" ... "F6text"), or empty.
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
