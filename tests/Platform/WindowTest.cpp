#include "Platform/Window.h"
#include "Tool/LogManager.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <thread>
#include <utility>
#include <vector>

using namespace Platform;

namespace {

// Opens a small window and reaches the GLFW callbacks the window layer installed,
// so that tests can feed them events as GLFW would.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Window-system errors go to the console, to explain a failure below.
        static Tool::LogListener console;
        Tool::LogManager::getInstance().setEnabled(true);
        Tool::LogManager::getInstance().attachLogListener(&console, false);
        ASSERT_TRUE(init()) << "no display";
        ASSERT_TRUE(openWindow(64, 48, 0, 0, 0, 0, 24, 8, WindowMode::Window));
        window = glfwGetCurrentContext();
        ASSERT_NE(window, nullptr);
        keyFn = glfwSetKeyCallback(window, nullptr);
        glfwSetKeyCallback(window, keyFn);
        charFn = glfwSetCharCallback(window, nullptr);
        glfwSetCharCallback(window, charFn);
        buttonFn = glfwSetMouseButtonCallback(window, nullptr);
        glfwSetMouseButtonCallback(window, buttonFn);
        cursorFn = glfwSetCursorPosCallback(window, nullptr);
        glfwSetCursorPosCallback(window, cursorFn);
        scrollFn = glfwSetScrollCallback(window, nullptr);
        glfwSetScrollCallback(window, scrollFn);
        closeFn = glfwSetWindowCloseCallback(window, nullptr);
        glfwSetWindowCloseCallback(window, closeFn);
        sizeFn = glfwSetWindowSizeCallback(window, nullptr);
        glfwSetWindowSizeCallback(window, sizeFn);
        ASSERT_TRUE(keyFn && charFn && buttonFn && cursorFn && scrollFn && closeFn && sizeFn);
    }
    void TearDown() override {
        disable(Feature::KeyRepeat);
        enable(Feature::MouseCursor);
        terminate();
    }

    // Every key GLFW 3 reports, with the code the game must receive (-1: dropped).
    static std::vector<std::pair<int, int>> expectedKeys() {
        std::vector<std::pair<int, int>> keys{
            {GLFW_KEY_SPACE, 32},         {GLFW_KEY_APOSTROPHE, 39},
            {GLFW_KEY_COMMA, 44},         {GLFW_KEY_MINUS, 45},
            {GLFW_KEY_PERIOD, 46},        {GLFW_KEY_SLASH, 47},
            {GLFW_KEY_SEMICOLON, 59},     {GLFW_KEY_EQUAL, 61},
            {GLFW_KEY_LEFT_BRACKET, 91},  {GLFW_KEY_BACKSLASH, 92},
            {GLFW_KEY_RIGHT_BRACKET, 93}, {GLFW_KEY_GRAVE_ACCENT, 96},
            {GLFW_KEY_WORLD_1, -1},       {GLFW_KEY_WORLD_2, -1},
            {GLFW_KEY_ESCAPE, 257},       {GLFW_KEY_ENTER, 294},
            {GLFW_KEY_TAB, 293},          {GLFW_KEY_BACKSPACE, 295},
            {GLFW_KEY_INSERT, 296},       {GLFW_KEY_DELETE, 297},
            {GLFW_KEY_RIGHT, 286},        {GLFW_KEY_LEFT, 285},
            {GLFW_KEY_DOWN, 284},         {GLFW_KEY_UP, 283},
            {GLFW_KEY_PAGE_UP, 298},      {GLFW_KEY_PAGE_DOWN, 299},
            {GLFW_KEY_HOME, 300},         {GLFW_KEY_END, 301},
            {GLFW_KEY_CAPS_LOCK, 320},    {GLFW_KEY_SCROLL_LOCK, 321},
            {GLFW_KEY_NUM_LOCK, 319},     {GLFW_KEY_PRINT_SCREEN, -1},
            {GLFW_KEY_PAUSE, 322},        {GLFW_KEY_KP_DECIMAL, 316},
            {GLFW_KEY_KP_DIVIDE, 312},    {GLFW_KEY_KP_MULTIPLY, 313},
            {GLFW_KEY_KP_SUBTRACT, 314},  {GLFW_KEY_KP_ADD, 315},
            {GLFW_KEY_KP_ENTER, 318},     {GLFW_KEY_KP_EQUAL, 317},
            {GLFW_KEY_LEFT_SHIFT, 287},   {GLFW_KEY_LEFT_CONTROL, 289},
            {GLFW_KEY_LEFT_ALT, 291},     {GLFW_KEY_LEFT_SUPER, 323},
            {GLFW_KEY_RIGHT_SHIFT, 288},  {GLFW_KEY_RIGHT_CONTROL, 290},
            {GLFW_KEY_RIGHT_ALT, 292},    {GLFW_KEY_RIGHT_SUPER, 324},
            {GLFW_KEY_MENU, 325},
        };
        for (int i = 0; i < 10; ++i) {
            keys.emplace_back(GLFW_KEY_0 + i, '0' + i);
            keys.emplace_back(GLFW_KEY_KP_0 + i, 302 + i);
        }
        for (int i = 0; i < 26; ++i)
            keys.emplace_back(GLFW_KEY_A + i, 'A' + i);
        for (int i = 0; i < 25; ++i)
            keys.emplace_back(GLFW_KEY_F1 + i, 258 + i);
        return keys;
    }

    GLFWwindow* window = nullptr;
    GLFWkeyfun keyFn = nullptr;
    GLFWcharfun charFn = nullptr;
    GLFWmousebuttonfun buttonFn = nullptr;
    GLFWcursorposfun cursorFn = nullptr;
    GLFWscrollfun scrollFn = nullptr;
    GLFWwindowclosefun closeFn = nullptr;
    GLFWwindowsizefun sizeFn = nullptr;
};

TEST_F(WindowTest, TranslatesEveryKeyAndDropsKeysWithoutCode) {
    std::vector<std::pair<int, int>> received;
    setKeyCallback([&](int key, int action) { received.emplace_back(key, action); });

    std::multiset<int> produced;
    for (const auto& [glfwKey, expected] : expectedKeys()) {
        received.clear();
        keyFn(window, glfwKey, 0, GLFW_PRESS, 0);
        keyFn(window, glfwKey, 0, GLFW_RELEASE, 0);
        if (expected < 0) {
            EXPECT_TRUE(received.empty()) << "GLFW key " << glfwKey << " passed on raw";
            continue;
        }
        ASSERT_EQ(received.size(), 2u) << "GLFW key " << glfwKey;
        EXPECT_EQ(received[0], std::make_pair(expected, 1)) << "GLFW key " << glfwKey;
        EXPECT_EQ(received[1], std::make_pair(expected, 0)) << "GLFW key " << glfwKey;
        produced.insert(received[0].first);
    }
    received.clear();
    keyFn(window, GLFW_KEY_UNKNOWN, 0, GLFW_PRESS, 0);
    EXPECT_TRUE(received.empty());

    // Every special key of the game's set is reachable, each from exactly one key.
    for (int code = KEY_ESC; code <= KEY_LAST; ++code)
        EXPECT_EQ(produced.count(code), 1u) << "game key " << code;
    EXPECT_EQ(produced.count(KEY_SPECIAL), 0u);
}

TEST_F(WindowTest, RepeatArrivesAsPressOnlyWhileKeyRepeatIsOn) {
    std::vector<std::pair<int, int>> received;
    setKeyCallback([&](int key, int action) { received.emplace_back(key, action); });

    EXPECT_FALSE(isEnabled(Feature::KeyRepeat));
    keyFn(window, GLFW_KEY_UP, 0, GLFW_REPEAT, 0);
    EXPECT_TRUE(received.empty());

    enable(Feature::KeyRepeat);
    keyFn(window, GLFW_KEY_UP, 0, GLFW_REPEAT, 0);
    keyFn(window, GLFW_KEY_A, 0, GLFW_REPEAT, 0);
    disable(Feature::KeyRepeat);
    keyFn(window, GLFW_KEY_A, 0, GLFW_REPEAT, 0);
    EXPECT_EQ(received, (std::vector<std::pair<int, int>>{{KEY_UP, PRESS}, {'A', PRESS}}));
}

TEST_F(WindowTest, CharactersAndMouseButtonsArePassedOn) {
    std::vector<std::pair<int, int>> chars, buttons;
    setCharCallback([&](int c, int action) { chars.emplace_back(c, action); });
    setMouseButtonCallback([&](int b, int action) { buttons.emplace_back(b, action); });
    charFn(window, 0xE9);
    buttonFn(window, GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS, 0);
    buttonFn(window, GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE, 0);
    EXPECT_EQ(chars, (std::vector<std::pair<int, int>>{{0xE9, PRESS}}));
    EXPECT_EQ(buttons, (std::vector<std::pair<int, int>>{{MOUSE_BUTTON_RIGHT, PRESS},
                                                         {MOUSE_BUTTON_RIGHT, RELEASE}}));
}

// The game sets the position back to (0, 0) after every event, so that each event
// carries the movement since the one before.
TEST_F(WindowTest, MouseEventsCarryMovementSinceThePositionWasSet) {
    std::vector<std::pair<int, int>> moves;
    setMousePosCallback([&](int x, int y) {
        moves.emplace_back(x, y);
        setMousePos(0, 0);
    });
    auto movePointer = [&](double x, double y) {
        glfwSetCursorPos(window, x, y);
        cursorFn(window, x, y);
    };
    glfwSetCursorPos(window, 10, 10);
    setMousePos(0, 0);
    int x = -1, y = -1;
    getMousePos(x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(0, 0));

    movePointer(17, 12);
    movePointer(20, 20);
    movePointer(15, 21);
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{7, 2}, {3, 8}, {-5, 1}}));

    setMousePos(100, -50);
    getMousePos(x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(100, -50));
}

TEST_F(WindowTest, WheelReportsPositionThatTheGameCanReset) {
    std::vector<int> positions;
    setMouseWheelCallback([&](int position) { positions.push_back(position); });
    scrollFn(window, 0.0, 1.0);
    scrollFn(window, 0.0, 1.0);
    EXPECT_EQ(getMouseWheel(), 2);
    setMouseWheel(0);
    scrollFn(window, 0.0, -1.0);
    scrollFn(window, 0.0, 0.5); // half a step: nothing yet
    scrollFn(window, 0.0, 0.5);
    EXPECT_EQ(positions, (std::vector<int>{1, 2, -1, 0}));
}

TEST_F(WindowTest, CloseCallbackCanRefuseTheClose) {
    int asked = 0;
    bool allow = false;
    setWindowCloseCallback([&] {
        ++asked;
        return allow;
    });
    glfwSetWindowShouldClose(window, GLFW_TRUE);
    closeFn(window);
    pollEvents();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(isWindowOpen());

    allow = true;
    glfwSetWindowShouldClose(window, GLFW_TRUE);
    closeFn(window);
    pollEvents();
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(isWindowOpen());
}

TEST_F(WindowTest, CloseWithoutCallbackClosesTheWindow) {
    glfwSetWindowShouldClose(window, GLFW_TRUE);
    closeFn(window);
    pollEvents();
    EXPECT_FALSE(isWindowOpen());
}

TEST_F(WindowTest, SizeCallbackHearsCurrentSizeAtOnceAndEveryChange) {
    std::vector<std::pair<int, int>> sizes;
    setWindowSizeCallback([&](int w, int h) { sizes.emplace_back(w, h); });
    sizeFn(window, 80, 60);
    EXPECT_EQ(sizes, (std::vector<std::pair<int, int>>{{64, 48}, {80, 60}}));
}

TEST_F(WindowTest, OnlyOneWindowAtATime) {
    EXPECT_FALSE(openWindow(32, 32, 0, 0, 0, 0, 0, 0, WindowMode::Window));
    closeWindow();
    EXPECT_FALSE(isWindowOpen());
    EXPECT_TRUE(openWindow(32, 32, 0, 0, 0, 0, 0, 0, WindowMode::Window));
}

TEST_F(WindowTest, HidingTheCursorHoldsItInTheWindow) {
    disable(Feature::MouseCursor);
    EXPECT_EQ(glfwGetInputMode(window, GLFW_CURSOR), GLFW_CURSOR_DISABLED);
    enable(Feature::MouseCursor);
    EXPECT_EQ(glfwGetInputMode(window, GLFW_CURSOR), GLFW_CURSOR_NORMAL);
}

// The clock starts from the time set, forward or back, and then runs at the pace of
// the machine's own clock: never slower than a pause, never faster than the time
// measured around it.
TEST_F(WindowTest, TimeCanBeSetAndRuns) {
    using Clock = std::chrono::steady_clock;
    for (const double start : {100.0, 5.0}) {
        const Clock::time_point before = Clock::now();
        setTime(start);
        const double first = getTime();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const double second = getTime();
        const double measured = std::chrono::duration<double>(Clock::now() - before).count();
        EXPECT_GE(first, start);
        EXPECT_LE(second, start + measured + 1e-3);
        EXPECT_GE(second - first, 0.05 - 1e-3) << "the clock stood still";
    }
}

TEST_F(WindowTest, VideoModesAreDistinctAndIncludeTheDesktop) {
    const std::vector<VideoMode> modes = getVideoModes(200);
    ASSERT_FALSE(modes.empty());
    EXPECT_TRUE(getVideoModes(0).empty());
    const VideoMode desktop = getDesktopMode();
    auto same = [](const VideoMode& a, const VideoMode& b) {
        return a.width == b.width && a.height == b.height && a.redBits == b.redBits &&
               a.greenBits == b.greenBits && a.blueBits == b.blueBits;
    };
    EXPECT_TRUE(std::any_of(modes.begin(), modes.end(),
                            [&](const VideoMode& m) { return same(m, desktop); }));
    for (size_t i = 0; i < modes.size(); ++i)
        for (size_t j = i + 1; j < modes.size(); ++j)
            EXPECT_FALSE(same(modes[i], modes[j]));
}

TEST(WindowWithoutInit, CallsAreHarmless) {
    terminate();
    EXPECT_FALSE(openWindow(32, 32, 0, 0, 0, 0, 0, 0, WindowMode::Window));
    EXPECT_TRUE(getVideoModes(10).empty());
    pollEvents();
    swapBuffers();
    int w = -1, h = -1;
    getWindowSize(w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(getKey(KEY_ESC), RELEASE);
}

} // namespace
