#include "Game/views/ViewLayout.h"

#include <gtest/gtest.h>

using namespace Game;

namespace {

bool overlap(const ViewRect& a, const ViewRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

// Every cell lies inside the window, no two overlap and together they cover it.
void expectCovered(const ViewLayout& layout, int width, int height) {
    std::vector<ViewRect> cells = layout.getViews();
    cells.insert(cells.end(), layout.getFree().begin(), layout.getFree().end());
    long long area = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const ViewRect& cell = cells[i];
        EXPECT_GT(cell.width, 0);
        EXPECT_GT(cell.height, 0);
        EXPECT_GE(cell.x, 0);
        EXPECT_GE(cell.y, 0);
        EXPECT_LE(cell.x + cell.width, width);
        EXPECT_LE(cell.y + cell.height, height);
        area += static_cast<long long>(cell.width) * cell.height;
        for (std::size_t j = i + 1; j < cells.size(); ++j) {
            EXPECT_FALSE(overlap(cell, cells[j])) << "cells " << i << " and " << j;
        }
    }
    EXPECT_EQ(area, static_cast<long long>(width) * height) << width << " x " << height;
}

} // namespace

TEST(ViewLayoutTest, TwoAndThreeViewsShareWideAndTallWindowsWithoutGapsOrOverlaps) {
    struct Case {
        int width, height;
        std::size_t views;
        std::vector<ViewRect> expected;
        std::vector<ViewRect> free;
    };
    const std::vector<Case> cases = {
        // Two: halves across the longer side.
        {1024, 768, 2, {{0, 0, 512, 768}, {512, 0, 512, 768}}, {}},
        {1025, 767, 2, {{0, 0, 512, 767}, {512, 0, 513, 767}}, {}},
        {768, 1024, 2, {{0, 512, 768, 512}, {0, 0, 768, 512}}, {}},
        // Three: two above one on a usual window, the lower-right quarter free.
        {1024,
         768,
         3,
         {{0, 384, 512, 384}, {512, 384, 512, 384}, {0, 0, 512, 384}},
         {{512, 0, 512, 384}}},
        {1920,
         1080,
         3,
         {{0, 540, 960, 540}, {960, 540, 960, 540}, {0, 0, 960, 540}},
         {{960, 0, 960, 540}}},
        {768,
         1024,
         3,
         {{0, 512, 384, 512}, {384, 512, 384, 512}, {0, 0, 384, 512}},
         {{384, 0, 384, 512}}},
        // Columns on a very wide window, rows on a very tall one.
        {3840, 1080, 3, {{0, 0, 1280, 1080}, {1280, 0, 1280, 1080}, {2560, 0, 1280, 1080}}, {}},
        {601, 1600, 3, {{0, 1067, 601, 533}, {0, 534, 601, 533}, {0, 0, 601, 534}}, {}},
    };
    for (const Case& c : cases) {
        const ViewLayout layout(c.width, c.height, c.views);
        EXPECT_EQ(layout.getViews(), c.expected) << c.width << " x " << c.height << ", " << c.views;
        EXPECT_EQ(layout.getFree(), c.free) << c.width << " x " << c.height << ", " << c.views;
        expectCovered(layout, c.width, c.height);
    }

    // One view (and none) fill the window.
    const std::vector<ViewRect> whole = {{0, 0, 800, 600}};
    for (std::size_t views : {0u, 1u}) {
        EXPECT_EQ(ViewLayout(800, 600, views).getViews(), whole);
    }
    // In the overlay's screen space (fractions, y upwards) the lower-left view of three.
    const ViewLayout three(1024, 768, 3);
    const DialogRect lowerLeft = three.toScreen(three.getViews()[2]);
    EXPECT_EQ(lowerLeft.corner, glm::vec2(0.0f, 0.0f));
    EXPECT_EQ(lowerLeft.size, glm::vec2(0.5f, 0.5f));
    EXPECT_EQ(three.toScreen(three.getViews()[1]).corner, glm::vec2(0.5f, 0.5f));
}
