// The driving line's reader, on the generated track's line and on damaged text.
#include "Game/level/DrivingLine.h"

#include "../Data/RecordingLog.h"
#include "LevelTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

using Game::DrivingLine;

TEST(DrivingLineTest, ReadsPointsAndDistancesAroundTheClosedLine) {
    DrivingLine line;
    ASSERT_TRUE(line.read("# a square\n0 0\n3 0 # corner\n\n3 4\r\n  0   4\n", "Square.line"));
    EXPECT_EQ(line.getPoints(), (std::vector<glm::vec2>{{0, 0}, {3, 0}, {3, 4}, {0, 4}}));
    EXPECT_FLOAT_EQ(line.getLength(), 14.0f);
    EXPECT_FLOAT_EQ(line.distanceAt(2), 7.0f);
    EXPECT_EQ(line.nearest({2.9f, 3.0f}).index, 2u);
    EXPECT_EQ(line.pointAhead(3, 5.0f), glm::vec2(1.0f, 0.0f)) << "round the closing corner";

    GameTest::useBinFolder();
    ASSERT_TRUE(line.load({"TestTrack.line", "data\\tracks\\"}));
    EXPECT_GT(line.getPoints().size(), 100u);
    EXPECT_TRUE(std::isfinite(line.getLength()));
}

// A coordinate of 6e33 gave an infinite length, and the computer drivers' points
// ahead became NaN (found by fuzzing); a line of words was skipped as if blank.
TEST(DrivingLineTest, RefusesMalformedLinesAndCoordinatesBeyondAnyTrack) {
    const char* const refused[] = {
        "0 0\n1 1\n72.00 6111111111111111111111111111117.00\n",
        "0 0\n1 1\n-1000001 5\n",
        "0 0\n1 1\nfifty 5\n",
        "0 0\n1 1\n5\n",
        "0 0\n1 1\n5 6 7\n",
        "0 0\n1 1\n5 nan\n",
        "0 0\n# one point only\n",
    };
    for (const char* text : refused) {
        SCOPED_TRACE(text);
        RecordingLog log;
        DrivingLine line;
        EXPECT_FALSE(line.read(text, "Bad.line"));
        EXPECT_TRUE(line.empty());
        ASSERT_EQ(log.errors().size(), 1u);
        EXPECT_EQ(log.errors()[0].getTitle(), "Loading driving line .. [Failed]");
    }
    DrivingLine line;
    EXPECT_TRUE(line.read("-1000000 0\n1000000 0\n", "Wide.line"));
    EXPECT_TRUE(std::isfinite(line.pointAhead(0, line.getLength() * 0.75f).x));
}
