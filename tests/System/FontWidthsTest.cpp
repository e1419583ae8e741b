#include "System/FontWidths.h"

#include "../Data/RecordingLog.h"

#include <gtest/gtest.h>

using System::readFontWidths;

namespace {

std::vector<std::string> warningTitles(const RecordingLog& log) {
    std::vector<std::string> titles;
    for (const auto& message : log.messages) {
        EXPECT_EQ(message.getType(), Tool::MT_WARNING);
        EXPECT_EQ(message.getAuthor(), "File");
        titles.push_back(message.getTitle());
    }
    return titles;
}

} // namespace

// Lines that are no width are logged and skipped, and none of them moves the width
// of another character.
TEST(FontWidthsTest, MalformedLinesAreSkippedWithoutMovingOthers) {
    RecordingLog log;
    const std::array<float, 256> widths = readFontWidths("; widths in pixels = cell 16\n"
                                                         "0=8\n"
                                                         "1=abc\n"
                                                         "2=-4\n"
                                                         "3=1000000\n"
                                                         "4=17\n"
                                                         "just text\n"
                                                         "# more = notes\n"
                                                         "\n"
                                                         "5= 16 \n"
                                                         "300=4\n"
                                                         "6=4\n",
                                                         256, "Arial.ini");
    EXPECT_EQ(widths[0], 8.0f / 256);
    for (int glyph : {1, 2, 3, 4}) {
        EXPECT_EQ(widths[glyph], 0.0625f) << glyph;
    }
    EXPECT_EQ(widths[5], 16.0f / 256);
    EXPECT_EQ(widths[6], 4.0f / 256);
    EXPECT_EQ(widths[7], 0.0625f);
    EXPECT_EQ(warningTitles(log),
              (std::vector<std::string>{
                  "skipped line 3 of Font ini Arial.ini: no width from 0 to the glyph cell's",
                  "skipped line 4 of Font ini Arial.ini: no width from 0 to the glyph cell's",
                  "skipped line 5 of Font ini Arial.ini: no width from 0 to the glyph cell's",
                  "skipped line 6 of Font ini Arial.ini: no width from 0 to the glyph cell's",
                  "skipped line 7 of Font ini Arial.ini: no \"=\"",
                  "skipped line 11 of Font ini Arial.ini: no character code 0 to 255"}));
    EXPECT_EQ(log.messages[0].getMessage(), "1=abc");
}

// Keys that are no character code count in line order; a code key sets its own
// character and the order goes on after it.
TEST(FontWidthsTest, KeysThatAreNoCodesCountInLineOrder) {
    RecordingLog log;
    const std::array<float, 256> widths =
        readFontWidths("a=1\nb=x\nc=3\n65=4\nnext=5\n1=6", 160, "Times.ini");
    EXPECT_EQ(widths[0], 1.0f / 160);
    EXPECT_EQ(widths[1], 6.0f / 160); // set by "b" (refused), then by "1"
    EXPECT_EQ(widths[2], 3.0f / 160);
    EXPECT_EQ(widths[65], 4.0f / 160);
    EXPECT_EQ(widths[66], 5.0f / 160);
    EXPECT_EQ(log.messages.size(), 1u);

    // Without a texture nothing can be scaled.
    const std::array<float, 256> unscaled = readFontWidths("a=1\n", 0, "None.ini");
    EXPECT_EQ(unscaled[0], 0.0625f);
}
