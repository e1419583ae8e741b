// Escape pressed through the X server ends the frame loop after the frame in which it
// arrives has been presented.
#include "Data/Options.h"
#include "Data/Profile.h"
#include "Game/Kernel.h"
#include "System/File.h"
#include "XTools.h"

#include <gtest/gtest.h>

TEST(KernelEscape, EndsTheLoopAfterTheFramePresented) {
    System::File::init(std::string(BRUMBLY_BIN_DIR) + "/test");
    Game::Kernel& kernel = Game::Kernel::getInstance();
    ASSERT_TRUE(kernel.initialise(Data::Options(640, 480)));
    ASSERT_TRUE(kernel.createLevel(1));
    ASSERT_TRUE(kernel.createPlayer(std::make_shared<Data::Profile>("Ann", "profiles", ".profile"),
                                    {255, 0, 0}));
    // The key waits in the window's queue for the first frame's poll.
    ASSERT_EQ(EndToEnd::runTool("xdotool search --name '^Brumbly$' windowfocus --sync key Escape"),
              0);
    kernel.run();
    EXPECT_EQ(kernel.getFrameTimes().frames.size(), 1u);
    kernel.shutdown();
}
