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
    EXPECT_EQ(sized.detail, Data::DETAIL_HIGH);
    EXPECT_EQ(Options(4294967295u, 0).getResolutionString(), "4294967295 x 0");
}

TEST(OptionsTest, AssignmentCopiesEveryField) {
    Options source(1920, 1080);
    source.soundVolume = 3;
    source.musicVolume = 4;
    source.colorDepth = 24;
    source.fullscreen = true;
    source.fsaaSamples = 0;
    source.detail = Data::DETAIL_LOW;
    Options copy;
    copy = source;
    EXPECT_EQ(copy, source);
    EXPECT_EQ(copy.fsaaSamples, 0);
    EXPECT_EQ(copy.detail, Data::DETAIL_LOW);
}
