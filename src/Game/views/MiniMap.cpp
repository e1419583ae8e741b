#include "Game/views/MiniMap.h"

#include "Data/Mesh.h"
#include "Game/level/Level.h"
#include "Game/views/ViewDrawing.h"

#include <algorithm>
#include <cmath>
#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <numbers>
#include <utility>

namespace Game {

namespace {

const glm::vec4 GROUND_COLOUR(0.08f, 0.14f, 0.08f, 0.6f);
const glm::vec4 ROAD_COLOUR(0.86f, 0.8f, 0.64f, 0.95f);
const glm::vec4 CHECKPOINT_COLOUR(1.0f, 0.8f, 0.1f, 1.0f);
const glm::vec4 START_COLOUR(1.0f);
const glm::vec4 OUTLINE_COLOUR(0.0f, 0.0f, 0.0f, 0.85f);
const glm::vec4 RING_COLOUR(1.0f);

// Checkpoint bars across the road, in metres: the start line is larger.
constexpr float BAR_LENGTH = 1.8f * MiniMap::roadWidth;
constexpr float BAR_WIDTH = 3.0f;
constexpr float START_LENGTH = 2.2f * MiniMap::roadWidth;
constexpr float START_WIDTH = 4.0f;
// The road leaves out points of the driving line that lie closer than this (metres)
// to the road drawn without them: a small share of a pixel on the map, and the
// software rasteriser sets up far fewer of the road's thin triangles each frame.
constexpr float ROAD_TOLERANCE = 0.05f;

// Shares of the view's smaller side.
constexpr float MAP_SIDE = 0.3f;
constexpr float MAP_MARGIN = 0.025f;
constexpr float DOT_RADIUS = 0.022f;       // of the map's side
constexpr float MINIMUM_DOT_RADIUS = 3.0f; // pixels
constexpr float OUTLINE = 1.5f;            // pixels around another car's dot
constexpr float OWN_DOT = 1.5f;            // the own car's dot, times another's
constexpr float OWN_RING = 2.2f;           // the ring around it, times another's dot

// A ground position (x, z) on the map's plane, where -z points up.
glm::vec3 onPlane(const glm::vec2& ground) {
    return {ground.x, -ground.y, 0.0f};
}

// Triangles in the plane z = 0, each turned to face +z whichever way it is given, in
// runs of one material.
class PlaneMesh {
public:
    explicit PlaneMesh(const std::string& name) : mesh(std::make_shared<Data::Mesh>(name)) {}

    void triangle(const glm::vec3& a, glm::vec3 b, glm::vec3 c) {
        const glm::vec3 turn = glm::cross(b - a, c - a);
        if (turn.z < 0.0f) {
            std::swap(b, c);
        }
        mesh->vertices.insert(mesh->vertices.end(), {a, b, c});
    }
    // A quadrangle given by its corners in order around it.
    void quad(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c, const glm::vec3& d) {
        triangle(a, b, c);
        triangle(a, c, d);
    }
    // The triangles added since the last run end one run drawn in the colour.
    void endRun(const glm::vec4& colour) {
        std::uint32_t before = 0;
        for (const Data::Face& face : mesh->faces) {
            before += face.count;
        }
        const auto count = static_cast<std::uint32_t>(mesh->vertices.size()) - before;
        if (count > 0) {
            mesh->faces.push_back({Data::FT_TRIANGLES, count, flatMaterial(colour)});
        }
    }
    Data::MeshPtr finish() {
        mesh->normals.assign(mesh->vertices.size(), glm::vec3(0.0f, 0.0f, 1.0f));
        mesh->check();
        return mesh;
    }

private:
    Data::MeshPtr mesh;
};

// The distance from the point to the segment from a to b.
float distanceToSegment(const glm::vec2& point, const glm::vec2& a, const glm::vec2& b) {
    const glm::vec2 along = b - a;
    const float squared = glm::dot(along, along);
    const float share =
        squared > 0.0f ? std::clamp(glm::dot(point - a, along) / squared, 0.0f, 1.0f) : 0.0f;
    return glm::distance(point, a + share * along);
}

// The closed line without the points that lie within ROAD_TOLERANCE of the line through
// the points kept around them (Ramer-Douglas-Peucker, from the first point and the
// point farthest from it).
std::vector<glm::vec2> simplifyLoop(const std::vector<glm::vec2>& points) {
    const std::size_t n = points.size();
    if (n < 4) {
        return points;
    }
    std::size_t far = 0;
    for (std::size_t i = 1; i < n; ++i) {
        if (glm::distance(points[i], points[0]) > glm::distance(points[far], points[0])) {
            far = i;
        }
    }
    std::vector<bool> keep(n, false);
    keep[0] = true;
    keep[far] = true;
    // Runs of indices counted around the loop: index n is point 0 again.
    std::vector<std::pair<std::size_t, std::size_t>> runs{{0, far}, {far, n}};
    while (!runs.empty()) {
        const auto [from, to] = runs.back();
        runs.pop_back();
        float farthest = ROAD_TOLERANCE;
        std::size_t split = from;
        for (std::size_t i = from + 1; i < to; ++i) {
            const float distance = distanceToSegment(points[i], points[from], points[to % n]);
            if (distance > farthest) {
                farthest = distance;
                split = i;
            }
        }
        if (split != from) {
            keep[split] = true;
            runs.emplace_back(from, split);
            runs.emplace_back(split, to);
        }
    }
    std::vector<glm::vec2> kept;
    for (std::size_t i = 0; i < n; ++i) {
        if (keep[i]) {
            kept.push_back(points[i]);
        }
    }
    return kept;
}

// The road as a band along the closed line, its corners mitred so that the band
// keeps its width through bends.
void addRoad(PlaneMesh& mesh, const std::vector<glm::vec2>& line) {
    std::vector<glm::vec2> points;
    for (const glm::vec2& point : line) {
        if (points.empty() || glm::distance(point, points.back()) > 1e-3f) {
            points.push_back(point);
        }
    }
    if (points.size() > 2 && glm::distance(points.front(), points.back()) <= 1e-3f) {
        points.pop_back();
    }
    points = simplifyLoop(points);
    const std::size_t n = points.size();
    if (n < 2) {
        return;
    }
    const float half = MiniMap::roadWidth / 2.0f;
    std::vector<glm::vec2> left(n);
    std::vector<glm::vec2> right(n);
    for (std::size_t i = 0; i < n; ++i) {
        const glm::vec2& point = points[i];
        const glm::vec2 in = glm::normalize(point - points[(i + n - 1) % n]);
        const glm::vec2 out = glm::normalize(points[(i + 1) % n] - point);
        // A line turning right back on itself keeps the outgoing direction.
        const glm::vec2 sum = in + out;
        const glm::vec2 tangent = glm::length(sum) > 1e-4f ? glm::normalize(sum) : out;
        const glm::vec2 normal(-tangent.y, tangent.x);
        // Mitred, but never more than twice the half width out in sharp bends.
        const float share = std::max(glm::dot(normal, glm::vec2(-in.y, in.x)), 0.5f);
        left[i] = point + normal * (half / share);
        right[i] = point - normal * (half / share);
    }
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        mesh.quad(onPlane(left[i]), onPlane(left[j]), onPlane(right[j]), onPlane(right[i]));
    }
}

// A bar across the road at the point, `length` across and `width` along it.
void addBar(PlaneMesh& mesh, const TrackPoint& point, float length, float width) {
    const float heading = glm::radians(point.heading);
    // Heading 0 faces +z, 90 degrees +x.
    const glm::vec2 along(std::sin(heading), std::cos(heading));
    const glm::vec2 across(along.y, -along.x);
    const glm::vec2 centre(point.x, point.z);
    const glm::vec2 a = across * (length / 2.0f);
    const glm::vec2 b = along * (width / 2.0f);
    mesh.quad(onPlane(centre - a - b), onPlane(centre + a - b), onPlane(centre + a + b),
              onPlane(centre - a + b));
}

Data::MeshPtr makeDisc() {
    PlaneMesh disc("map dot");
    constexpr int sides = 16;
    for (int k = 0; k < sides; ++k) {
        const float from = 2.0f * std::numbers::pi_v<float> * static_cast<float>(k) / sides;
        const float to = 2.0f * std::numbers::pi_v<float> * static_cast<float>(k + 1) / sides;
        disc.triangle({0.0f, 0.0f, 0.0f}, {std::cos(from), std::sin(from), 0.0f},
                      {std::cos(to), std::sin(to), 0.0f});
    }
    disc.endRun(glm::vec4(1.0f));
    return disc.finish();
}

// A disc of `radius` pixels at the pixel, in overlay units.
glm::mat4 discAt(const glm::vec2& pixel, float radius, const glm::vec2& screen) {
    const glm::mat4 moved =
        glm::translate(glm::mat4(1.0f), glm::vec3(pixelToOverlay(pixel, screen), 0.0f));
    const float size = 2.0f * radius / screen.y;
    return glm::scale(moved, glm::vec3(size, size, 1.0f));
}

Data::ObjectPtr makeDot(const Data::MeshPtr& disc) {
    auto dot = std::make_shared<Data::Object>(disc);
    dot->setMaterial(flatMaterial(glm::vec4(1.0f)));
    return dot;
}

} // namespace

MiniMap::MiniMap(const glm::vec2& size, const std::vector<glm::vec2>& road,
                 const std::vector<TrackPoint>& checkpoints)
    : levelSize(size), projection(size, {}), disc(makeDisc()) {
    PlaneMesh mesh("map");
    mesh.quad(onPlane({0.0f, 0.0f}), onPlane({size.x, 0.0f}), onPlane(size),
              onPlane({0.0f, size.y}));
    mesh.endRun(GROUND_COLOUR);
    addRoad(mesh, road);
    mesh.endRun(ROAD_COLOUR);
    for (std::size_t i = 1; i < checkpoints.size(); ++i) {
        addBar(mesh, checkpoints[i], BAR_LENGTH, BAR_WIDTH);
    }
    mesh.endRun(CHECKPOINT_COLOUR);
    if (!checkpoints.empty()) {
        addBar(mesh, checkpoints.front(), START_LENGTH, START_WIDTH);
    }
    mesh.endRun(START_COLOUR);
    picture = std::make_shared<Data::Object>(mesh.finish());
}

std::unique_ptr<MiniMap> MiniMap::create(const Level& level) {
    const TerrainPtr& terrain = level.getTerrain();
    if (!terrain) {
        return nullptr;
    }
    std::vector<glm::vec2> road = level.getDrivingLine().getPoints();
    if (road.empty()) {
        for (const TrackPoint& checkpoint : level.getCheckpoints()) {
            road.emplace_back(checkpoint.x, checkpoint.z);
        }
    }
    return std::make_unique<MiniMap>(terrain->getSize(), road, level.getCheckpoints());
}

PixelRect MiniMap::areaIn(const PixelRect& view, const glm::vec2& screen) {
    const float shorter = std::min(view.width, view.height);
    const float margin = MAP_MARGIN * shorter;
    const float side = MAP_SIDE * shorter;
    const bool rightOfMiddle = view.x + view.width / 2.0f > screen.x / 2.0f;
    const float x = rightOfMiddle ? view.x + view.width - margin - side : view.x + margin;
    return {x, view.y + margin, side, side};
}

void MiniMap::place(const PixelRect& view, const glm::vec2& screen, const std::vector<MapCar>& cars,
                    std::optional<std::size_t> own) {
    const PixelRect area = areaIn(view, screen);
    projection = MapProjection(levelSize, area);
    picture->setTransformation(overlayFromPixels(screen) * projection.planeToPixels());
    while (dots.size() < cars.size()) {
        dots.push_back(makeDot(disc));
        backs.push_back(makeDot(disc));
    }
    dots.resize(cars.size());
    backs.resize(cars.size());
    // Another car's dot lies on a dark disc, the own car's on a white ring; the own
    // car is drawn last, over the others.
    nodes.assign({picture});
    const float radius = std::max(MINIMUM_DOT_RADIUS, DOT_RADIUS * area.width);
    for (std::size_t i = 0; i < cars.size(); ++i) {
        const bool isOwn = own == i;
        const glm::vec2 pixel = projection.toMap(cars[i].ground);
        dots[i]->getMaterial()->set(Data::MP_AMBIENT, glm::vec4(cars[i].colour / 255.0f, 1.0f));
        backs[i]->getMaterial()->set(Data::MP_AMBIENT, isOwn ? RING_COLOUR : OUTLINE_COLOUR);
        dots[i]->setTransformation(discAt(pixel, isOwn ? OWN_DOT * radius : radius, screen));
        backs[i]->setTransformation(
            discAt(pixel, isOwn ? OWN_RING * radius : radius + OUTLINE, screen));
        if (!isOwn) {
            nodes.insert(nodes.end(), {backs[i], dots[i]});
        }
    }
    if (own && *own < cars.size()) {
        nodes.insert(nodes.end(), {backs[*own], dots[*own]});
    }
}

void MiniMap::draw(Render::RKernel& kernel, const PixelRect& view, const std::vector<MapCar>& cars,
                   std::optional<std::size_t> own) {
    const glm::vec2 screen = screenSize(kernel);
    if (screen.x <= 0.0f || screen.y <= 0.0f) {
        return;
    }
    place(view, screen, cars, own);
    drawOverScreen(kernel, nodes);
}

} // namespace Game
