#include "Data/TextDrawable.h"
#include "Data/Material.h"
#include "Data/Object.h"

#include <gtest/gtest.h>

using namespace Data;

namespace {

constexpr float TEXEL = 1.0f / 256.0f;

FontPtr makeFont(float width) {
    auto font = std::make_shared<Font>();
    font->image = std::make_shared<Image>();
    font->image->picture.setSize(FIT_BITMAP, 256, 256, 32);
    for (auto& glyph : font->glyphs) {
        glyph.width = width;
    }
    return font;
}

// Translation of a node's local transform.
glm::vec3 offset(const SGNode& node) {
    return glm::vec3(node.getTransformation()[3]);
}

std::vector<SGNodePtr> children(const SGNode& node) {
    std::vector<SGNodePtr> result;
    for (const auto& [key, child] : node.getChildren()) {
        result.push_back(child);
    }
    return result;
}

SGNodePtr childNamed(const SGNode& node, const std::string& name) {
    for (const auto& child : children(node)) {
        if (child->getName() == name) {
            return child;
        }
    }
    return nullptr;
}

class TextDrawableTest : public ::testing::Test {
protected:
    void SetUp() override {
        FontManager& fonts = FontManager::getInstance();
        fonts.clear();
        font = makeFont(0.0625f);
        font->glyphs['i'].width = 0.03125f;
        fonts.registerFont("Other", makeFont(0.0625f));
        fonts.registerFont("Arial", font);
    }
    void TearDown() override { FontManager::getInstance().clear(); }

    FontPtr font;
};

TEST_F(TextDrawableTest, GlyphQuadShowsTheMiddleOfItsCell) {
    // 'i' = 105: column 9, row 6.
    MeshPtr quad = getGlyphQuad(*font, 'i');
    ASSERT_NE(quad, nullptr);
    EXPECT_EQ(getGlyphQuad(*font, 'i'), quad); // kept in the font
    EXPECT_NEAR(quad->vertices[1].x - quad->vertices[0].x, 0.5f, 1e-6f);
    EXPECT_NEAR(quad->vertices[2].y - quad->vertices[1].y, 1.0f, 1e-6f);

    const glm::vec2 low = quad->texCoords[0][0];
    const glm::vec2 high = quad->texCoords[0][2];
    EXPECT_NEAR(low.x, 9 * 0.0625f + (0.0625f - 0.03125f) / 2 + TEXEL, 1e-6f);
    EXPECT_NEAR(low.y, 1.0f - 7 * 0.0625f + TEXEL, 1e-6f);
    EXPECT_NEAR(high.x, low.x + 0.03125f - 2 * TEXEL, 1e-6f);
    EXPECT_NEAR(high.y, 1.0f - 6 * 0.0625f - TEXEL, 1e-6f);
    EXPECT_EQ(quad->faces[0].material->getImage(MP_DIFFUSE_TEXTURE), font->image);
}

TEST_F(TextDrawableTest, UnknownFontGivesEmptyNodeAndKeepsCurrentFont) {
    SGNodePtr text = makeText("abc", "Missing", 1.0f, TA_LEFT);
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->getChildren().empty());
    EXPECT_EQ(FontManager::getInstance().getCurrentFontName(), "Arial");
}

TEST_F(TextDrawableTest, SingleLineLayout) {
    // Width w = 8 * 0.0625 = 0.5 for every byte but 'i' (0.25); scale 2.
    SGNodePtr line = makeText("a \tic", "Arial", 2.0f, TA_LEFT);
    ASSERT_EQ(line->getChildren().size(), 3u);
    EXPECT_EQ(line->getTransformation(), glm::mat4(1.0f));
    for (const auto& glyph : children(*line)) {
        ASSERT_NE(std::dynamic_pointer_cast<Object>(glyph), nullptr);
        EXPECT_EQ(glyph->getTransformation()[0][0], 2.0f);
        EXPECT_EQ(glyph->getTransformation()[2][2], 1.0f);
    }
    // a: x = 0.52; blank and tab advance 0.5 each from 1.02; i: 2.02 + 0.27; c after i.
    EXPECT_NEAR(offset(*childNamed(*line, "a")).x, 2 * 0.52f, 1e-5f);
    EXPECT_NEAR(offset(*childNamed(*line, "i")).x, 2 * 2.29f, 1e-5f);
    EXPECT_NEAR(offset(*childNamed(*line, "c")).x, 2 * 3.06f, 1e-5f);
    EXPECT_NEAR(offset(*childNamed(*line, "c")).y, -2 * 0.5f, 1e-5f);
}

TEST_F(TextDrawableTest, TwoLineFeedsLeaveAnEmptyLine) {
    SGNodePtr root = makeText("ab\n\nc", "Arial", 1.0f, TA_LEFT);
    const auto lines = children(*root);
    ASSERT_EQ(lines.size(), 2u);
    const SGNodePtr first = lines[0]->getChildren().size() == 2 ? lines[0] : lines[1];
    const SGNodePtr second = first == lines[0] ? lines[1] : lines[0];
    ASSERT_EQ(second->getChildren().size(), 1u);
    EXPECT_NEAR(offset(*childNamed(*first, "b")).y, -0.5f, 1e-6f);
    EXPECT_NEAR(offset(*childNamed(*second, "c")).y, -2.5f, 1e-6f);
    EXPECT_NEAR(offset(*childNamed(*second, "c")).x, 0.52f, 1e-6f);
}

TEST_F(TextDrawableTest, TrailingLineFeedKeepsTheText) {
    SGNodePtr line = makeText("ab\n", "Arial", 1.0f, TA_LEFT);
    EXPECT_EQ(line->getChildren().size(), 2u);
    EXPECT_EQ(line->getParent(), nullptr);
}

TEST_F(TextDrawableTest, AlignmentShiftsTheLine) {
    // Glyph centres at 0.52 and 1.54, half width 0.5: the line spans 0.02 .. 2.04.
    const float width = 2.02f;
    SGNodePtr left = makeText("ab", "Arial", 1.0f, TA_LEFT);
    SGNodePtr centred = makeText("ab", "Arial", 1.0f, TA_CENTER);
    SGNodePtr right = makeText("ab", "Arial", 1.0f, TA_RIGHT);
    EXPECT_NEAR(left->getBoundingBox()[3] - left->getBoundingBox()[0], width, 1e-5f);
    EXPECT_EQ(offset(*left).x, 0.0f);
    EXPECT_NEAR(offset(*centred).x, -width / 2, 1e-5f);
    EXPECT_NEAR(offset(*right).x, -width, 1e-5f);
}

TEST_F(TextDrawableTest, NamedFontBecomesCurrent) {
    SGNodePtr named = makeText("x", "Other", 1.0f, TA_LEFT);
    EXPECT_EQ(FontManager::getInstance().getCurrentFontName(), "Other");
    const FontPtr other = FontManager::getInstance().getFont("Other");
    SGNodePtr current = makeText("x", 1.0f, TA_LEFT);
    auto glyph = std::dynamic_pointer_cast<Object>(children(*current).at(0));
    ASSERT_NE(glyph, nullptr);
    EXPECT_EQ(glyph->getMeshes().at(0), other->glyphs['x'].quad);
    EXPECT_EQ(font->glyphs['x'].quad, nullptr);
}

} // namespace
