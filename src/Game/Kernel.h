#pragma once

#include "Tool/Export.h"

#include <cstdint>
#include <vector>

namespace Game {

class KeyEventListener;
class Level;
class MouseEventListener;

// The front object of the game library: owns the race's process-wide state (the
// current level, pause and the render switches) and the input listener lists that
// the window handlers fan events out to.
class BRUMBLY_API Kernel {
public:
    static Kernel& getInstance();
    static Kernel* getInstancePtr();

    Kernel(const Kernel&) = delete;
    Kernel& operator=(const Kernel&) = delete;

    Level* getLevel() const { return level; }
    // Makes the level current without taking ownership; null clears it.
    void setLevel(Level* value) { level = value; }

    // False when the listener is attached already.
    bool attach(KeyEventListener* listener);
    bool attach(MouseEventListener* listener);
    // Removes the first matching entry; nothing happens when it is absent.
    void detach(KeyEventListener* listener);
    void detach(MouseEventListener* listener);
    const std::vector<KeyEventListener*>& getKeyListeners() const { return keyListeners; }
    const std::vector<MouseEventListener*>& getMouseListeners() const { return mouseListeners; }

    bool isPaused() const { return paused; }
    bool isWireframe() const { return wireframe; }
    bool isFrustumCulling() const { return frustumCulling; }
    std::int32_t getRenderMode() const { return renderMode; }
    std::int32_t getTextureFilterMode() const { return textureFilterMode; }
    std::int32_t getMipmapMode() const { return mipmapMode; }

private:
    Kernel() = default;

    Level* level = nullptr;
    bool paused = false;
    bool wireframe = false;
    bool frustumCulling = false;
    std::int32_t renderMode = 0;
    std::int32_t textureFilterMode = 0;
    std::int32_t mipmapMode = 0;
    std::vector<KeyEventListener*> keyListeners;
    std::vector<MouseEventListener*> mouseListeners;
};

} // namespace Game
