#pragma once

#include "System/AssetRef.h"

#include <glm/vec2.hpp>
#include <string>
#include <vector>

namespace Game {

// The line a car follows around a track: points on the ground in driving order,
// closing on itself, with the distance along the line of each point.
class DrivingLine {
public:
    struct Nearest {
        std::size_t index = 0;
        float distance = 0.0f; // from the asked position to the point
    };

    // Far beyond any track, and small enough that distances between points stay
    // finite.
    static constexpr float maximumCoordinate = 1.0e6f;

    // Reads "x z" pairs, one per line; '#' starts a comment. Returns false, with the
    // reason logged, for a missing file, a malformed line, a coordinate beyond
    // maximumCoordinate or fewer than two points; the line is then empty.
    bool load(const System::AssetRef& asset);
    // The same from a file's text; `name` names the file in the log.
    bool read(const std::string& text, const std::string& name);
    // The same from points; false, logged under `name`, for fewer than two points or a
    // coordinate beyond maximumCoordinate.
    bool assign(std::vector<glm::vec2> newPoints, const std::string& name);

    bool empty() const { return points.empty(); }
    const std::vector<glm::vec2>& getPoints() const { return points; }
    float getLength() const { return length; }
    // Distance along the line from the first point to point i.
    float distanceAt(std::size_t index) const { return distances[index]; }
    Nearest nearest(const glm::vec2& position) const;
    // The point `ahead` units further along the line than point `index`, wrapping.
    glm::vec2 pointAhead(std::size_t index, float ahead) const;

private:
    std::vector<glm::vec2> points;
    std::vector<float> distances;
    float length = 0.0f;
};

} // namespace Game
