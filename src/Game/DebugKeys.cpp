#include "Game/DebugKeys.h"

#include "Game/overlay/DebugDialog.h"
#include "Platform/Keys.h"
#include "Render/glResources/GLTexture.h"

namespace Game {

bool DebugKeys::handle(int key, DebugDialog* panel) {
    switch (key) {
    case Platform::KEY_F1:
        if (panel != nullptr) {
            panel->toggle();
        }
        return true;
    case Platform::KEY_F2:
        wireframe = !wireframe;
        if (panel != nullptr) {
            panel->setWireframe(wireframe);
        }
        return true;
    case Platform::KEY_F3:
        textureFilterMode = textureFilterMode != 1 ? 1 : 0;
        if (panel != nullptr) {
            panel->setTextureFilterMode(textureFilterMode);
        }
        applyTextureSettings();
        return true;
    case Platform::KEY_F4:
        mipmapMode = (mipmapMode + 1) % 3;
        if (panel != nullptr) {
            panel->setMipmapMode(mipmapMode);
        }
        applyTextureSettings();
        return true;
    case Platform::KEY_F5:
        renderMode = renderMode == 0 ? 1 : 0;
        if (panel != nullptr) {
            panel->setRenderMode(renderMode);
        }
        return true;
    case Platform::KEY_F6:
        frustumCulling = !frustumCulling;
        if (panel != nullptr) {
            panel->setFrustumCulling(frustumCulling);
        }
        return true;
    default:
        return false;
    }
}

void DebugKeys::applyTextureSettings() const {
    Render::GLTexture::setFilterSettings(textureFilterMode, textureFilterMode, mipmapMode);
}

} // namespace Game
