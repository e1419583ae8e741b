#include "Data/Options.h"

#include <gtest/gtest.h>

using Data::Options;

TEST(OptionsTest, DefaultsAndResolutionText) {
    const Options defaults;
    EXPECT_EQ(defaults.getResolutionString(), "1024 x 768");
    EXPECT_EQ(defaults.colorDepth, 32);
    EXPECT_FALSE(defaults.fullscreen);

    const Options sized(800, 600);
    EXPECT_EQ(sized.getResolutionString(), "800 x 600");
    EXPECT_EQ(sized.soundVolume, 75);
    EXPECT_EQ(sized.musicVolume, 50);
    EXPECT_EQ(sized.colorDepth, 32);
    EXPECT_FALSE(sized.fullscreen);
    EXPECT_EQ(sized.fsaaSamples, 16);
    EXPECT_EQ(sized.detail, Data::DETAIL_AUTO) << "a new player's detail is left to the game";
    EXPECT_EQ(Options(4294967295u, 0).getResolutionString(), "4294967295 x 0");
}
