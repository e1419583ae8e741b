#pragma once

#include "Data/Object.h"
#include "Game/level/TrackPoint.h"
#include "Game/views/MapProjection.h"

#include <cstddef>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <memory>
#include <optional>
#include <vector>

namespace Render {
class RKernel;
}

namespace Game {

class Level;

// A car as the map shows it: where it stands on the ground (x, z) and its colour
// (red, green, blue 0..255).
struct MapCar {
    glm::vec2 ground{0.0f};
    glm::vec3 colour{255.0f};
};

// A small map of the track in a corner of one view: the terrain's area, the road,
// the checkpoints, the start line and every car as a dot in its colour, the viewing
// player's own car larger in a white ring. The track's picture is one mesh built
// once; a frame only moves the dots.
class MiniMap {
public:
    static constexpr float roadWidth = 10.0f; // metres

    // The picture of a terrain of `levelSize` (x, z) metres: the road along `road`
    // (ground points in driving order, closing on itself; points that bend it by less
    // than a few centimetres are left out) and the checkpoints, the first of them the
    // start line.
    MiniMap(const glm::vec2& levelSize, const std::vector<glm::vec2>& road,
            const std::vector<TrackPoint>& checkpoints);
    // The level's map: the road along its driving line, or through its checkpoints
    // when it has none. Empty without a terrain.
    static std::unique_ptr<MiniMap> create(const Level& level);

    // Where the map lies in a view on a screen of `screen` pixels: a square in its lower
    // corner on the screen's outer side (left, or right for a view right of the middle),
    // clear of the race time that stands at the bottom centre between two views.
    static PixelRect areaIn(const PixelRect& view, const glm::vec2& screen);

    // Places the picture and the dots in the view on a screen of `screen` pixels;
    // `own` is the index of the viewing player's car, none for a view of no car.
    void place(const PixelRect& view, const glm::vec2& screen, const std::vector<MapCar>& cars,
               std::optional<std::size_t> own);
    // Places the map as place() does and draws it over the screen.
    void draw(Render::RKernel& kernel, const PixelRect& view, const std::vector<MapCar>& cars,
              std::optional<std::size_t> own);

    // As placed last: the mapping, the picture, each car's dot and the disc under it
    // (the own car's ring, a dark outline for the others), and all of them in drawing
    // order.
    const MapProjection& getProjection() const { return projection; }
    const Data::ObjectPtr& getPicture() const { return picture; }
    const Data::SGNodeList& getNodes() const { return nodes; }
    const std::vector<Data::ObjectPtr>& getDots() const { return dots; }
    const std::vector<Data::ObjectPtr>& getBacks() const { return backs; }

private:
    glm::vec2 levelSize;
    MapProjection projection;
    Data::ObjectPtr picture;
    Data::MeshPtr disc;
    std::vector<Data::ObjectPtr> dots;
    std::vector<Data::ObjectPtr> backs;
    Data::SGNodeList nodes;
};

} // namespace Game
