#pragma once

#include "Game/overlay/Dialog.h"

#include <cstddef>
#include <vector>

namespace Game {

// A rectangle of the window in pixels, from its lower-left corner (as OpenGL counts).
struct ViewRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const ViewRect& other) const = default;
};

// How the window is shared among views, one per person racing: the views form a grid of
// equal cells filled row by row from the top left. Of the grids that leave no whole row
// or column empty, the one whose cells come nearest to a slightly wide shape (6:5) is
// taken, so two views halve the window across its longer side, three views stand in
// columns on a very wide window, in rows on a very tall one, and otherwise two above one
// with the lower-right quarter free. The cells cover the window without overlapping.
class ViewLayout {
public:
    ViewLayout() = default;
    // The layout of `views` views (none counts as one) on a width x height window.
    ViewLayout(int width, int height, std::size_t views);

    // One per view, in view order.
    const std::vector<ViewRect>& getViews() const { return views; }
    // The cells no view takes, in the order they are filled.
    const std::vector<ViewRect>& getFree() const { return free; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }

    // The rectangle in the overlay's screen space (fractions of the window, y upwards).
    DialogRect toScreen(const ViewRect& rect) const;

    bool operator==(const ViewLayout& other) const = default;

private:
    int width = 0;
    int height = 0;
    std::vector<ViewRect> views;
    std::vector<ViewRect> free;
};

} // namespace Game
