#pragma once

#include <cstdint>

namespace Game {

class DebugDialog;

// The switches of F1 to F6 and what each key does: F1 shows or hides the help panel,
// F2 toggles wireframe, F3 the texture filter, F4 steps through the mipmap modes, F5
// toggles the render mode, F6 frustum culling. The help panel shows each value.
class DebugKeys {
public:
    // Acts on a pressed key (a window-layer code); false for keys other than F1 to F6.
    // The panel, when there is one, is kept up to date.
    bool handle(int key, DebugDialog* panel);

    bool isWireframe() const { return wireframe; }
    bool isFrustumCulling() const { return frustumCulling; }
    std::int32_t getRenderMode() const { return renderMode; }
    std::int32_t getTextureFilterMode() const { return textureFilterMode; }
    std::int32_t getMipmapMode() const { return mipmapMode; }

private:
    void applyTextureSettings() const;

    bool wireframe = false;
    // On from the start: the edge barrier's pieces and the objects behind the camera
    // cost a software renderer a millisecond or more of vertex work each frame.
    bool frustumCulling = true;
    std::int32_t renderMode = 0;
    std::int32_t textureFilterMode = 0;
    std::int32_t mipmapMode = 0;
};

} // namespace Game
