#include "Data/FontManager.h"
#include "GameDataSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

using namespace GameDataTest;

namespace {

const char* const fontNames[] = {"Arial", "TimesNewRoman", "Newsflash"};

class GameFonts : public ::testing::Test {
protected:
    void SetUp() override { useBinFolder(); }
};

// Coverage of pixel (x, y) of the font texture, y counted from the picture's top.
int alphaFromTop(const Data::ImagePtr& image, int x, int y) {
    BYTE value = 0;
    image->picture.getPixelIndex(static_cast<unsigned>(x),
                                 image->picture.getHeight() - 1 - static_cast<unsigned>(y), &value);
    return value;
}

} // namespace

TEST_F(GameFonts, WidthFilesHoldOneLinePerCode) {
    for (const char* name : fontNames) {
        std::ifstream file(std::string(BRUMBLY_BIN_DIR) + "/data/images/Fonts/" + name + ".ini");
        ASSERT_TRUE(file) << name;
        std::string line;
        int count = 0;
        while (std::getline(file, line)) {
            const auto equals = line.find('=');
            ASSERT_NE(equals, std::string::npos) << name << " line " << count;
            EXPECT_EQ(line.substr(0, equals), std::to_string(count)) << name;
            const int width = std::stoi(line.substr(equals + 1));
            EXPECT_GT(width, 0) << name << " code " << count;
            ++count;
        }
        EXPECT_EQ(count, 256) << name;
    }
}

TEST_F(GameFonts, LoadThroughTheGameWithWidthsInsideTheirCells) {
    ErrorRecorder recorder;
    for (const char* name : fontNames) {
        System::File::loadFont({name, "data\\images\\Fonts\\"});
        const Data::FontPtr font = Data::FontManager::getInstance().getFont(name);
        ASSERT_TRUE(font) << name;
        ASSERT_TRUE(font->image && font->image->isValid()) << name;
        EXPECT_EQ(font->image->picture.getBitsPerPixel(), 8U);
        EXPECT_TRUE(font->image->coverage);
        for (int code = 0; code < 256; ++code) {
            EXPECT_GT(font->glyphs[code].width, 0.0f) << name << " code " << code;
            EXPECT_LE(font->glyphs[code].width, 0.0625f) << name << " code " << code;
        }
        // Letters are wider than the letter i, and a capital W wider than an l.
        EXPECT_GT(font->glyphs['W'].width, font->glyphs['l'].width) << name;
    }
    EXPECT_TRUE(recorder.errors.empty()) << recorder.text();
}

// Cells in byte order, row 0 at the top; each glyph centred in its cell and drawn
// within the width the table gives it; control codes stay empty.
TEST_F(GameFonts, GlyphsSitCentredInTheirCells) {
    for (const char* name : fontNames) {
        System::File::loadFont({name, "data\\images\\Fonts\\"});
        const Data::FontPtr font = Data::FontManager::getInstance().getFont(name);
        ASSERT_TRUE(font && font->image->isValid());
        const int cell = static_cast<int>(font->image->picture.getWidth()) / 16;
        for (const int code : {65, 77, 103, 48, 0xC4, 0xE9}) { // A M g 0 Ä é
            const int cx = (code % 16) * cell;
            const int cy = (code / 16) * cell;
            int left = cell, right = -1;
            for (int y = 0; y < cell; ++y) {
                for (int x = 0; x < cell; ++x) {
                    if (alphaFromTop(font->image, cx + x, cy + y) > 64) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
                }
            }
            ASSERT_GE(right, left) << name << " code " << code << " has no ink";
            const float width = font->glyphs[code].width * 16.0f * static_cast<float>(cell);
            const float middle = (left + right + 1) / 2.0f;
            EXPECT_NEAR(middle, cell / 2.0f, 0.2f * width + 2.0f) << name << " code " << code;
            EXPECT_GE(left, (cell - width) / 2.0f - 3.0f) << name << " code " << code;
            EXPECT_LE(right, (cell + width) / 2.0f + 3.0f) << name << " code " << code;
        }
        for (const int code : {0, 10, 31, 127, 150}) {
            int ink = 0;
            for (int y = 0; y < cell; ++y) {
                for (int x = 0; x < cell; ++x) {
                    ink +=
                        alphaFromTop(font->image, (code % 16) * cell + x, (code / 16) * cell + y);
                }
            }
            EXPECT_EQ(ink, 0) << name << " code " << code;
        }
    }
}
