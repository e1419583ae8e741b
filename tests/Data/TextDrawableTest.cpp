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

// The one mesh that holds a line's glyphs.
MeshPtr lineMesh(const SGNodePtr& line) {
    const auto object = std::dynamic_pointer_cast<Object>(line);
    if (!object || object->getMeshes().size() != 1) {
        ADD_FAILURE() << "a line is an object with one mesh";
        return std::make_shared<Mesh>();
    }
    return object->getMeshes().front();
}

// Each glyph is a copy of its quad's 8 corners (front, then back); the centre of
// the `index`th glyph's front in the line's units.
glm::vec3 glyphCentre(const Mesh& line, std::size_t index) {
    glm::vec3 sum(0.0f);
    for (std::size_t corner = 0; corner < 4; ++corner) {
        sum += line.vertices.at(8 * index + corner);
    }
    return sum / 4.0f;
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

TEST_F(TextDrawableTest, SingleLineIsOneMeshOfScaledGlyphQuads) {
    // Width w = 8 * 0.0625 = 0.5 for every byte but 'i' (0.25); scale 2.
    SGNodePtr line = makeText("a \tic", "Arial", 2.0f, TA_LEFT);
    EXPECT_TRUE(line->getChildren().empty());
    EXPECT_EQ(line->getTransformation(), glm::mat4(1.0f));
    const MeshPtr mesh = lineMesh(line);
    ASSERT_EQ(mesh->vertices.size(), 3u * 8u);
    ASSERT_EQ(mesh->faces.size(), 1u) << "one draw for the whole line";
    EXPECT_EQ(mesh->faces[0].count, 3u * 12u);
    EXPECT_EQ(mesh->indices.size(), 3u * 12u);
    EXPECT_EQ(mesh->faces[0].material->getImage(MP_DIFFUSE_TEXTURE), font->image);

    // a: x = 0.52; blank and tab advance 0.5 each from 1.02; i: 2.02 + 0.27; c after i.
    EXPECT_NEAR(glyphCentre(*mesh, 0).x, 2 * 0.52f, 1e-5f);
    EXPECT_NEAR(glyphCentre(*mesh, 1).x, 2 * 2.29f, 1e-5f);
    EXPECT_NEAR(glyphCentre(*mesh, 2).x, 2 * 3.06f, 1e-5f);
    EXPECT_NEAR(glyphCentre(*mesh, 2).y, -2 * 0.5f, 1e-5f);
    // Each glyph keeps its quad's size times the scale, its texture cell and faces.
    const MeshPtr quad = getGlyphQuad(*font, 'i');
    EXPECT_NEAR(mesh->vertices[9].x - mesh->vertices[8].x, 2 * 0.5f, 1e-5f);
    EXPECT_NEAR(mesh->vertices[10].y - mesh->vertices[9].y, 2 * 1.0f, 1e-5f);
    for (std::size_t corner = 0; corner < 8; ++corner) {
        EXPECT_EQ(mesh->texCoords[0][8 + corner], quad->texCoords[0][corner]);
        EXPECT_EQ(mesh->normals[8 + corner], quad->normals[corner]);
    }
    for (std::size_t k = 0; k < 12; ++k) {
        EXPECT_EQ(mesh->indices[12 + k], 8 + quad->indices[k]);
    }
}

TEST_F(TextDrawableTest, TwoLineFeedsLeaveAnEmptyLine) {
    SGNodePtr root = makeText("ab\n\nc", "Arial", 1.0f, TA_LEFT);
    const auto lines = children(*root);
    ASSERT_EQ(lines.size(), 2u);
    MeshPtr first = lineMesh(lines[0]);
    MeshPtr second = lineMesh(lines[1]);
    if (first->vertices.size() != 16) {
        std::swap(first, second);
    }
    ASSERT_EQ(first->vertices.size(), 16u);
    ASSERT_EQ(second->vertices.size(), 8u);
    EXPECT_NEAR(glyphCentre(*first, 1).y, -0.5f, 1e-6f);
    EXPECT_NEAR(glyphCentre(*second, 0).y, -2.5f, 1e-6f);
    EXPECT_NEAR(glyphCentre(*second, 0).x, 0.52f, 1e-6f);
}

TEST_F(TextDrawableTest, TrailingLineFeedKeepsTheText) {
    SGNodePtr line = makeText("ab\n", "Arial", 1.0f, TA_LEFT);
    EXPECT_EQ(lineMesh(line)->vertices.size(), 16u);
    EXPECT_EQ(line->getParent(), nullptr);
    EXPECT_TRUE(makeText(" \n\t", "Arial", 1.0f, TA_LEFT)->getChildren().empty())
        << "no glyphs, no lines";
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
    const MeshPtr mesh = lineMesh(current);
    ASSERT_NE(other->glyphs['x'].quad, nullptr);
    EXPECT_EQ(mesh->faces.at(0).material->getImage(MP_DIFFUSE_TEXTURE), other->image);
    EXPECT_EQ(mesh->texCoords.at(0), other->glyphs['x'].quad->texCoords.at(0));
    EXPECT_EQ(font->glyphs['x'].quad, nullptr);
}

} // namespace
