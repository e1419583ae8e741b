#include "Platform/Window.h"

#include "Tool/LogManager.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>
#include <utility>

namespace Platform {
namespace {

// GLFW 3 key -> game key for every key that is not printable. Printable keys keep
// their code (GLFW 3 numbers them by their US-layout ASCII character).
constexpr std::array<std::pair<int, int>, 80> SPECIAL_KEYS{{
    {GLFW_KEY_ESCAPE, KEY_ESC},
    {GLFW_KEY_ENTER, KEY_ENTER},
    {GLFW_KEY_TAB, KEY_TAB},
    {GLFW_KEY_BACKSPACE, KEY_BACKSPACE},
    {GLFW_KEY_INSERT, KEY_INSERT},
    {GLFW_KEY_DELETE, KEY_DEL},
    {GLFW_KEY_RIGHT, KEY_RIGHT},
    {GLFW_KEY_LEFT, KEY_LEFT},
    {GLFW_KEY_DOWN, KEY_DOWN},
    {GLFW_KEY_UP, KEY_UP},
    {GLFW_KEY_PAGE_UP, KEY_PAGEUP},
    {GLFW_KEY_PAGE_DOWN, KEY_PAGEDOWN},
    {GLFW_KEY_HOME, KEY_HOME},
    {GLFW_KEY_END, KEY_END},
    {GLFW_KEY_CAPS_LOCK, KEY_CAPS_LOCK},
    {GLFW_KEY_SCROLL_LOCK, KEY_SCROLL_LOCK},
    {GLFW_KEY_NUM_LOCK, KEY_KP_NUM_LOCK},
    {GLFW_KEY_PAUSE, KEY_PAUSE},
    {GLFW_KEY_F1, KEY_F1},
    {GLFW_KEY_F2, KEY_F2},
    {GLFW_KEY_F3, KEY_F3},
    {GLFW_KEY_F4, KEY_F4},
    {GLFW_KEY_F5, KEY_F5},
    {GLFW_KEY_F6, KEY_F6},
    {GLFW_KEY_F7, KEY_F7},
    {GLFW_KEY_F8, KEY_F8},
    {GLFW_KEY_F9, KEY_F9},
    {GLFW_KEY_F10, KEY_F10},
    {GLFW_KEY_F11, KEY_F11},
    {GLFW_KEY_F12, KEY_F12},
    {GLFW_KEY_F13, KEY_F13},
    {GLFW_KEY_F14, KEY_F14},
    {GLFW_KEY_F15, KEY_F15},
    {GLFW_KEY_F16, KEY_F16},
    {GLFW_KEY_F17, KEY_F17},
    {GLFW_KEY_F18, KEY_F18},
    {GLFW_KEY_F19, KEY_F19},
    {GLFW_KEY_F20, KEY_F20},
    {GLFW_KEY_F21, KEY_F21},
    {GLFW_KEY_F22, KEY_F22},
    {GLFW_KEY_F23, KEY_F23},
    {GLFW_KEY_F24, KEY_F24},
    {GLFW_KEY_F25, KEY_F25},
    {GLFW_KEY_KP_0, KEY_KP_0},
    {GLFW_KEY_KP_1, KEY_KP_1},
    {GLFW_KEY_KP_2, KEY_KP_2},
    {GLFW_KEY_KP_3, KEY_KP_3},
    {GLFW_KEY_KP_4, KEY_KP_4},
    {GLFW_KEY_KP_5, KEY_KP_5},
    {GLFW_KEY_KP_6, KEY_KP_6},
    {GLFW_KEY_KP_7, KEY_KP_7},
    {GLFW_KEY_KP_8, KEY_KP_8},
    {GLFW_KEY_KP_9, KEY_KP_9},
    {GLFW_KEY_KP_DECIMAL, KEY_KP_DECIMAL},
    {GLFW_KEY_KP_DIVIDE, KEY_KP_DIVIDE},
    {GLFW_KEY_KP_MULTIPLY, KEY_KP_MULTIPLY},
    {GLFW_KEY_KP_SUBTRACT, KEY_KP_SUBTRACT},
    {GLFW_KEY_KP_ADD, KEY_KP_ADD},
    {GLFW_KEY_KP_ENTER, KEY_KP_ENTER},
    {GLFW_KEY_KP_EQUAL, KEY_KP_EQUAL},
    {GLFW_KEY_LEFT_SHIFT, KEY_LSHIFT},
    {GLFW_KEY_LEFT_CONTROL, KEY_LCTRL},
    {GLFW_KEY_LEFT_ALT, KEY_LALT},
    {GLFW_KEY_LEFT_SUPER, KEY_LSUPER},
    {GLFW_KEY_RIGHT_SHIFT, KEY_RSHIFT},
    {GLFW_KEY_RIGHT_CONTROL, KEY_RCTRL},
    {GLFW_KEY_RIGHT_ALT, KEY_RALT},
    {GLFW_KEY_RIGHT_SUPER, KEY_RSUPER},
    {GLFW_KEY_MENU, KEY_MENU},
}};

constexpr std::array<int, 48> PRINTABLE_KEYS{GLFW_KEY_SPACE,
                                             GLFW_KEY_APOSTROPHE,
                                             GLFW_KEY_COMMA,
                                             GLFW_KEY_MINUS,
                                             GLFW_KEY_PERIOD,
                                             GLFW_KEY_SLASH,
                                             GLFW_KEY_0,
                                             GLFW_KEY_1,
                                             GLFW_KEY_2,
                                             GLFW_KEY_3,
                                             GLFW_KEY_4,
                                             GLFW_KEY_5,
                                             GLFW_KEY_6,
                                             GLFW_KEY_7,
                                             GLFW_KEY_8,
                                             GLFW_KEY_9,
                                             GLFW_KEY_SEMICOLON,
                                             GLFW_KEY_EQUAL,
                                             GLFW_KEY_A,
                                             GLFW_KEY_B,
                                             GLFW_KEY_C,
                                             GLFW_KEY_D,
                                             GLFW_KEY_E,
                                             GLFW_KEY_F,
                                             GLFW_KEY_G,
                                             GLFW_KEY_H,
                                             GLFW_KEY_I,
                                             GLFW_KEY_J,
                                             GLFW_KEY_K,
                                             GLFW_KEY_L,
                                             GLFW_KEY_M,
                                             GLFW_KEY_N,
                                             GLFW_KEY_O,
                                             GLFW_KEY_P,
                                             GLFW_KEY_Q,
                                             GLFW_KEY_R,
                                             GLFW_KEY_S,
                                             GLFW_KEY_T,
                                             GLFW_KEY_U,
                                             GLFW_KEY_V,
                                             GLFW_KEY_W,
                                             GLFW_KEY_X,
                                             GLFW_KEY_Y,
                                             GLFW_KEY_Z,
                                             GLFW_KEY_LEFT_BRACKET,
                                             GLFW_KEY_BACKSLASH,
                                             GLFW_KEY_RIGHT_BRACKET,
                                             GLFW_KEY_GRAVE_ACCENT};

// A GLFW 3 key without a game code (the extra keys of non-US keyboards, Print
// Screen) gives KEY_UNKNOWN and is never passed on.
int toGameKey(int glfwKey) {
    if (std::find(PRINTABLE_KEYS.begin(), PRINTABLE_KEYS.end(), glfwKey) != PRINTABLE_KEYS.end())
        return glfwKey;
    for (const auto& [from, to] : SPECIAL_KEYS)
        if (from == glfwKey)
            return to;
    return KEY_UNKNOWN;
}

int toGlfwKey(int gameKey) {
    if (std::find(PRINTABLE_KEYS.begin(), PRINTABLE_KEYS.end(), gameKey) != PRINTABLE_KEYS.end())
        return gameKey;
    for (const auto& [from, to] : SPECIAL_KEYS)
        if (to == gameKey)
            return from;
    return GLFW_KEY_UNKNOWN;
}

struct WindowState {
    bool initialised = false;
    GLFWwindow* window = nullptr;
    std::map<WindowHint, int> hints;

    bool cursorShown = true;
    bool keyRepeat = false;
    bool autoPoll = true;

    // Reported mouse position = pointer position - offset.
    int mouseOffsetX = 0;
    int mouseOffsetY = 0;
    int wheelPosition = 0;
    double wheelRemainder = 0.0;

    KeyCallback key;
    CharCallback character;
    MouseButtonCallback mouseButton;
    MousePosCallback mousePos;
    MouseWheelCallback mouseWheel;
    WindowCloseCallback close;
    WindowSizeCallback size;
};

WindowState& state() {
    static WindowState instance;
    return instance;
}

void pointerPosition(int& x, int& y) {
    double px = 0.0, py = 0.0;
    if (state().window)
        glfwGetCursorPos(state().window, &px, &py);
    x = static_cast<int>(std::floor(px));
    y = static_cast<int>(std::floor(py));
}

void onGlfwError(int code, const char* description) {
    Tool::LogManager::getInstance().send(
        Tool::Message("Window", "GLFW error " + std::to_string(code),
                      description ? description : "", __FILE__, __LINE__, Tool::MT_ERROR));
}

void onGlfwKey(GLFWwindow*, int glfwKey, int, int action, int) {
    const int key = toGameKey(glfwKey);
    if (key == KEY_UNKNOWN || !state().key)
        return;
    if (action == GLFW_REPEAT) {
        if (!state().keyRepeat)
            return;
        action = GLFW_PRESS;
    }
    state().key(key, action == GLFW_PRESS ? PRESS : RELEASE);
}

void onGlfwChar(GLFWwindow*, unsigned int codepoint) {
    if (state().character)
        state().character(static_cast<int>(codepoint), PRESS);
}

void onGlfwMouseButton(GLFWwindow*, int button, int action, int) {
    if (state().mouseButton)
        state().mouseButton(button, action == GLFW_PRESS ? PRESS : RELEASE);
}

void onGlfwCursorPos(GLFWwindow*, double x, double y) {
    if (state().mousePos)
        state().mousePos(static_cast<int>(std::floor(x)) - state().mouseOffsetX,
                         static_cast<int>(std::floor(y)) - state().mouseOffsetY);
}

// The wheel reports whole steps; fractions (touch pads) add up until they make one.
void onGlfwScroll(GLFWwindow*, double, double yOffset) {
    WindowState& s = state();
    s.wheelRemainder += yOffset;
    const int steps = static_cast<int>(std::trunc(s.wheelRemainder));
    if (steps == 0)
        return;
    s.wheelRemainder -= steps;
    s.wheelPosition += steps;
    if (s.mouseWheel)
        s.mouseWheel(s.wheelPosition);
}

void onGlfwClose(GLFWwindow* window) {
    if (state().close && !state().close())
        glfwSetWindowShouldClose(window, GLFW_FALSE);
}

void onGlfwSize(GLFWwindow*, int width, int height) {
    if (state().size)
        state().size(width, height);
}

void applyCursorMode() {
    if (state().window)
        glfwSetInputMode(state().window, GLFW_CURSOR,
                         state().cursorShown ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_DISABLED);
}

int hint(WindowHint which, int fallback) {
    const auto found = state().hints.find(which);
    return found == state().hints.end() ? fallback : found->second;
}

} // namespace

bool init() {
    if (state().initialised)
        return true;
    glfwSetErrorCallback(onGlfwError);
    state().initialised = glfwInit() == GLFW_TRUE;
    return state().initialised;
}

void terminate() {
    closeWindow();
    if (state().initialised)
        glfwTerminate();
    state().initialised = false;
    state().hints.clear();
}

bool isInitialised() {
    return state().initialised;
}

void getVersion(int& major, int& minor, int& revision) {
    glfwGetVersion(&major, &minor, &revision);
}

void openWindowHint(WindowHint hint, int value) {
    state().hints[hint] = value;
}

bool openWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                int depthBits, int stencilBits, WindowMode mode) {
    WindowState& s = state();
    if (!s.initialised || s.window)
        return false;
    glfwDefaultWindowHints();
    if (redBits > 0)
        glfwWindowHint(GLFW_RED_BITS, redBits);
    if (greenBits > 0)
        glfwWindowHint(GLFW_GREEN_BITS, greenBits);
    if (blueBits > 0)
        glfwWindowHint(GLFW_BLUE_BITS, blueBits);
    glfwWindowHint(GLFW_ALPHA_BITS, alphaBits);
    glfwWindowHint(GLFW_DEPTH_BITS, depthBits);
    glfwWindowHint(GLFW_STENCIL_BITS, stencilBits);
    glfwWindowHint(GLFW_REFRESH_RATE, hint(WindowHint::RefreshRate, GLFW_DONT_CARE));
    glfwWindowHint(GLFW_RESIZABLE, hint(WindowHint::NoResize, 0) ? GLFW_FALSE : GLFW_TRUE);
    glfwWindowHint(GLFW_SAMPLES, hint(WindowHint::FsaaSamples, 0));
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, hint(WindowHint::OpenGLVersionMajor, 1));
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, hint(WindowHint::OpenGLVersionMinor, 0));
    glfwWindowHint(GLFW_OPENGL_FORWARD_COMPAT,
                   hint(WindowHint::OpenGLForwardCompat, 0) ? GLFW_TRUE : GLFW_FALSE);
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT,
                   hint(WindowHint::OpenGLDebugContext, 0) ? GLFW_TRUE : GLFW_FALSE);
    s.hints.clear();

    GLFWmonitor* monitor = mode == WindowMode::Fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    s.window = glfwCreateWindow(width, height, "", monitor, nullptr);
    if (!s.window)
        return false;
    glfwMakeContextCurrent(s.window);
    glfwSetKeyCallback(s.window, onGlfwKey);
    glfwSetCharCallback(s.window, onGlfwChar);
    glfwSetMouseButtonCallback(s.window, onGlfwMouseButton);
    glfwSetCursorPosCallback(s.window, onGlfwCursorPos);
    glfwSetScrollCallback(s.window, onGlfwScroll);
    glfwSetWindowCloseCallback(s.window, onGlfwClose);
    glfwSetWindowSizeCallback(s.window, onGlfwSize);
    applyCursorMode();
    s.mouseOffsetX = s.mouseOffsetY = 0;
    s.wheelPosition = 0;
    s.wheelRemainder = 0.0;
    return true;
}

// The callbacks belong to the window: a new window starts without any.
void closeWindow() {
    WindowState& s = state();
    if (!s.window)
        return;
    glfwDestroyWindow(s.window);
    s.window = nullptr;
    s.key = nullptr;
    s.character = nullptr;
    s.mouseButton = nullptr;
    s.mousePos = nullptr;
    s.mouseWheel = nullptr;
    s.close = nullptr;
    s.size = nullptr;
}

bool isWindowOpen() {
    return state().window != nullptr;
}

void setWindowTitle(const std::string& title) {
    if (state().window)
        glfwSetWindowTitle(state().window, title.c_str());
}

void setWindowSize(int width, int height) {
    if (state().window)
        glfwSetWindowSize(state().window, width, height);
}

void getWindowSize(int& width, int& height) {
    width = height = 0;
    if (state().window)
        glfwGetWindowSize(state().window, &width, &height);
}

void swapBuffers() {
    if (!state().window)
        return;
    glfwSwapBuffers(state().window);
    if (state().autoPoll)
        pollEvents();
}

void swapInterval(int interval) {
    if (state().window)
        glfwSwapInterval(interval);
}

// A close request that the close callback accepted ends the window here, after
// the callbacks have run.
void pollEvents() {
    if (!state().initialised)
        return;
    glfwPollEvents();
    if (state().window && glfwWindowShouldClose(state().window))
        closeWindow();
}

double getTime() {
    return state().initialised ? glfwGetTime() : 0.0;
}

void setTime(double seconds) {
    if (state().initialised)
        glfwSetTime(seconds);
}

std::vector<VideoMode> getVideoModes(int maxCount) {
    std::vector<VideoMode> modes;
    GLFWmonitor* monitor = state().initialised ? glfwGetPrimaryMonitor() : nullptr;
    if (!monitor)
        return modes;
    int count = 0;
    const GLFWvidmode* list = glfwGetVideoModes(monitor, &count);
    // GLFW lists a size once per refresh rate; the game only knows size and depth.
    for (int i = 0; i < count && static_cast<int>(modes.size()) < maxCount; ++i) {
        const VideoMode mode{list[i].width, list[i].height, list[i].redBits, list[i].greenBits,
                             list[i].blueBits};
        const bool known = std::any_of(modes.begin(), modes.end(), [&](const VideoMode& m) {
            return m.width == mode.width && m.height == mode.height && m.redBits == mode.redBits &&
                   m.greenBits == mode.greenBits && m.blueBits == mode.blueBits;
        });
        if (!known)
            modes.push_back(mode);
    }
    return modes;
}

VideoMode getDesktopMode() {
    GLFWmonitor* monitor = state().initialised ? glfwGetPrimaryMonitor() : nullptr;
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (!mode)
        return {};
    return {mode->width, mode->height, mode->redBits, mode->greenBits, mode->blueBits};
}

void enable(Feature feature) {
    switch (feature) {
    case Feature::MouseCursor:
        state().cursorShown = true;
        applyCursorMode();
        break;
    case Feature::KeyRepeat:
        state().keyRepeat = true;
        break;
    case Feature::AutoPollEvents:
        state().autoPoll = true;
        break;
    }
}

void disable(Feature feature) {
    switch (feature) {
    case Feature::MouseCursor:
        state().cursorShown = false;
        applyCursorMode();
        break;
    case Feature::KeyRepeat:
        state().keyRepeat = false;
        break;
    case Feature::AutoPollEvents:
        state().autoPoll = false;
        break;
    }
}

bool isEnabled(Feature feature) {
    switch (feature) {
    case Feature::MouseCursor:
        return state().cursorShown;
    case Feature::KeyRepeat:
        return state().keyRepeat;
    case Feature::AutoPollEvents:
        return state().autoPoll;
    }
    return false;
}

int getKey(int key) {
    const int glfwKey = toGlfwKey(key);
    if (!state().window || glfwKey == GLFW_KEY_UNKNOWN)
        return RELEASE;
    return glfwGetKey(state().window, glfwKey) == GLFW_PRESS ? PRESS : RELEASE;
}

int getMouseButton(int button) {
    if (!state().window || button < 0 || button > GLFW_MOUSE_BUTTON_LAST)
        return RELEASE;
    return glfwGetMouseButton(state().window, button) == GLFW_PRESS ? PRESS : RELEASE;
}

void getMousePos(int& x, int& y) {
    pointerPosition(x, y);
    x -= state().mouseOffsetX;
    y -= state().mouseOffsetY;
}

void setMousePos(int x, int y) {
    int px = 0, py = 0;
    pointerPosition(px, py);
    state().mouseOffsetX = px - x;
    state().mouseOffsetY = py - y;
}

int getMouseWheel() {
    return state().wheelPosition;
}

void setMouseWheel(int position) {
    state().wheelPosition = position;
    state().wheelRemainder = 0.0;
}

void setKeyCallback(KeyCallback callback) {
    state().key = std::move(callback);
}

void setCharCallback(CharCallback callback) {
    state().character = std::move(callback);
}

void setMouseButtonCallback(MouseButtonCallback callback) {
    state().mouseButton = std::move(callback);
}

void setMousePosCallback(MousePosCallback callback) {
    state().mousePos = std::move(callback);
}

void setMouseWheelCallback(MouseWheelCallback callback) {
    state().mouseWheel = std::move(callback);
}

void setWindowCloseCallback(WindowCloseCallback callback) {
    state().close = std::move(callback);
}

void setWindowSizeCallback(WindowSizeCallback callback) {
    state().size = std::move(callback);
    if (state().size && state().window) {
        int width = 0, height = 0;
        getWindowSize(width, height);
        state().size(width, height);
    }
}

} // namespace Platform
