// The kernel's window on an X server of its own: keys pressed through the server, and
// window sizes the display cannot give.
#include "Data/Options.h"
#include "Data/Profile.h"
#include "Game/Kernel.h"
#include "Platform/Window.h"
#include "System/File.h"
#include "XTools.h"

#include <gtest/gtest.h>

class KernelWindow : public ::testing::Test {
protected:
    void SetUp() override { System::File::init(std::string(BRUMBLY_BIN_DIR) + "/test"); }

    // A race of one driver, ready to run.
    void prepareRace(const Data::Options& options) {
        ASSERT_TRUE(kernel.initialise(options));
        ASSERT_TRUE(kernel.createLevel(1));
        ASSERT_TRUE(kernel.createPlayer(
            std::make_shared<Data::Profile>("Ann", "profiles", ".profile"), {255, 0, 0}));
    }

    Game::Kernel& kernel = Game::Kernel::getInstance();
};

TEST_F(KernelWindow, EndRaceInThePauseMenuEndsTheLoopAfterTheFramePresented) {
    prepareRace(Data::Options(640, 480));
    // The keys wait in the window's queue for the first frame's poll: Escape pauses,
    // Up wraps round to "End race", Return picks it.
    ASSERT_EQ(EndToEnd::runTool(
                  "xdotool search --name '^Brumbly$' windowfocus --sync key Escape Up Return"),
              0);
    kernel.setRunDuration(0.0);
    kernel.run();
    EXPECT_EQ(kernel.getFrameTimes().frames.size(), 1u);
    kernel.shutdown();
}

TEST_F(KernelWindow, SizesTheDisplayCannotGiveStillGiveARace) {
    Data::Options huge(5000, 4000);
    Data::Options fullscreen(1000, 700);
    fullscreen.fullscreen = true;
    for (const Data::Options& options : {huge, fullscreen}) {
        prepareRace(options);
        kernel.setRunDuration(0.2);
        kernel.run();
        EXPECT_GT(kernel.getFrameTimes().frames.size(), 0u);
        const Platform::VideoMode desktop = Platform::getDesktopMode();
        int width = 0, height = 0;
        Platform::getWindowSize(width, height);
        EXPECT_LE(width, desktop.width);
        EXPECT_LE(height, desktop.height);
        kernel.shutdown();
    }
}
