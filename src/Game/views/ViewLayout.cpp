#include "Game/views/ViewLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Game {

namespace {

// The shape a racing view looks best in: a little wider than high.
constexpr double IDEAL_ASPECT = 1.2;

// The edge before cell `index` of `cells` equal cells along `length` pixels.
int edge(int length, int index, int cells) {
    return static_cast<int>(static_cast<long long>(length) * index / cells);
}

} // namespace

ViewLayout::ViewLayout(int width, int height, std::size_t count)
    : width(std::max(width, 1)), height(std::max(height, 1)) {
    const int wanted = static_cast<int>(std::max<std::size_t>(count, 1));
    int columns = 1;
    double nearest = std::numeric_limits<double>::infinity();
    for (int candidate = 1; candidate <= wanted; ++candidate) {
        const int rows = (wanted + candidate - 1) / candidate;
        // A grid with a whole row empty is a smaller grid drawn too small.
        if ((rows - 1) * candidate >= wanted) {
            continue;
        }
        const double aspect = (static_cast<double>(this->width) / candidate) /
                              (static_cast<double>(this->height) / rows);
        const double distance = std::abs(std::log(aspect / IDEAL_ASPECT));
        if (distance < nearest) {
            nearest = distance;
            columns = candidate;
        }
    }
    const int rows = (wanted + columns - 1) / columns;
    for (int cell = 0; cell < rows * columns; ++cell) {
        const int column = cell % columns;
        const int row = cell / columns; // from the top
        const int left = edge(this->width, column, columns);
        const int right = edge(this->width, column + 1, columns);
        const int bottom = this->height - edge(this->height, row + 1, rows);
        const int top = this->height - edge(this->height, row, rows);
        (cell < wanted ? views : free).push_back({left, bottom, right - left, top - bottom});
    }
}

DialogRect ViewLayout::toScreen(const ViewRect& rect) const {
    const glm::vec2 window(static_cast<float>(width), static_cast<float>(height));
    return {glm::vec2(static_cast<float>(rect.x), static_cast<float>(rect.y)) / window,
            glm::vec2(static_cast<float>(rect.width), static_cast<float>(rect.height)) / window};
}

} // namespace Game
