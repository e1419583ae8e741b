#pragma once

#include "Platform/Keys.h"
#include "Tool/Export.h"

#include <functional>
#include <string>
#include <vector>

// The one game window and its input, with the semantics the game relies on: a single
// window per process, key codes of Platform/Keys.h, held keys repeating as presses
// while key repeat is on, mouse and wheel positions that the game may set (so that
// the next event carries the movement since then), and a close request the game may
// refuse. Events are delivered from pollEvents() (and from swapBuffers() while
// automatic polling is on), on the calling thread.
namespace Platform {

enum class WindowHint {
    RefreshRate,
    NoResize,
    FsaaSamples,
    OpenGLVersionMajor,
    OpenGLVersionMinor,
    OpenGLForwardCompat,
    OpenGLDebugContext
};

enum class WindowMode { Window, Fullscreen };

enum class Feature {
    MouseCursor,   // enabled: the cursor is shown; disabled: hidden and held by the window
    KeyRepeat,     // held keys send presses again (off at start)
    AutoPollEvents // swapBuffers() polls events first (on at start)
};

struct VideoMode {
    int width = 0;
    int height = 0;
    int redBits = 0;
    int greenBits = 0;
    int blueBits = 0;
};

using KeyCallback = std::function<void(int key, int action)>;
using CharCallback = std::function<void(int character, int action)>;
using MouseButtonCallback = std::function<void(int button, int action)>;
using MousePosCallback = std::function<void(int x, int y)>;
using MouseWheelCallback = std::function<void(int position)>;
// Returns true to let the window close, false to keep it open.
using WindowCloseCallback = std::function<bool()>;
using WindowSizeCallback = std::function<void(int width, int height)>;

// Starts the window system; false when there is none (no display). Safe to repeat.
BRUMBLY_API bool init();
// Closes the window and stops the window system; safe when nothing was started.
BRUMBLY_API void terminate();
// Whether the window system is started.
BRUMBLY_API bool isInitialised();
void getVersion(int& major, int& minor, int& revision);

// Hints apply to the next openWindow() only and are reset by it.
void openWindowHint(WindowHint hint, int value);
// Opens the window with its OpenGL context and makes the context current. Colour
// bits of 0 take the defaults. False when a window is already open or none could
// be created.
bool openWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                int depthBits, int stencilBits, WindowMode mode);
void closeWindow();
BRUMBLY_API bool isWindowOpen();

void setWindowTitle(const std::string& title);
void setWindowSize(int width, int height);
void getWindowSize(int& width, int& height);

void swapBuffers();
void swapInterval(int interval);
void pollEvents();

// Seconds since init() or since the last setTime().
double getTime();
void setTime(double seconds);

// At most maxCount modes of the primary monitor, each size and colour depth once,
// ascending. Empty before init(). (Exported, as init, terminate and isWindowOpen,
// for the launcher's choice of resolutions.)
BRUMBLY_API std::vector<VideoMode> getVideoModes(int maxCount);
BRUMBLY_API VideoMode getDesktopMode();

void enable(Feature feature);
void disable(Feature feature);
bool isEnabled(Feature feature);

// Current state of a key (by the codes above) or mouse button: PRESS or RELEASE.
int getKey(int key);
int getMouseButton(int button);

void getMousePos(int& x, int& y);
// Makes (x, y) the current mouse position without moving the pointer on screen.
void setMousePos(int x, int y);
int getMouseWheel();
void setMouseWheel(int position);

// An empty function removes the callback. Setting the size callback reports the
// current size to it at once.
void setKeyCallback(KeyCallback callback);
void setCharCallback(CharCallback callback);
void setMouseButtonCallback(MouseButtonCallback callback);
void setMousePosCallback(MousePosCallback callback);
void setMouseWheelCallback(MouseWheelCallback callback);
void setWindowCloseCallback(WindowCloseCallback callback);
void setWindowSizeCallback(WindowSizeCallback callback);

} // namespace Platform
