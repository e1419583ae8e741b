// The driving-line reader: a line it accepts has at least two finite points, a finite
// length, distances along it that grow from 0 to within the length, and every point
// the computer drivers ask of it is finite.
#include "FuzzSupport.h"
#include "Game/level/DrivingLine.h"

#include <cmath>

namespace {

bool finite(const glm::vec2& point) {
    return std::isfinite(point.x) && std::isfinite(point.y);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Game::DrivingLine line;
    if (!line.read(std::string(reinterpret_cast<const char*>(data), size), "Fuzz.line")) {
        FuzzSupport::require(line.empty(), "a refused line is empty");
        return 0;
    }
    const std::vector<glm::vec2>& points = line.getPoints();
    const float length = line.getLength();
    FuzzSupport::require(points.size() >= 2, "two points at least");
    FuzzSupport::require(std::isfinite(length) && length >= 0.0f, "a finite length");
    for (std::size_t i = 0; i < points.size(); ++i) {
        FuzzSupport::require(finite(points[i]), "finite points");
        FuzzSupport::require(line.distanceAt(i) >= (i == 0 ? 0.0f : line.distanceAt(i - 1)) &&
                                 line.distanceAt(i) <= length,
                             "distances grow within the length");
    }
    // What a computer driver asks: the point nearest to its car, and points ahead.
    const std::size_t last = points.size() - 1;
    const Game::DrivingLine::Nearest nearest = line.nearest((points[0] + points[last]) * 0.5f);
    FuzzSupport::require(nearest.index <= last && std::isfinite(nearest.distance),
                         "the nearest point is one of the line's");
    for (const float ahead : {0.0f, 10.0f, length * 0.5f, length * 2.0f}) {
        FuzzSupport::require(finite(line.pointAhead(last / 2, ahead)), "points ahead are finite");
    }
    return 0;
}
