// The map and the name tags of one view, placed without drawing: where each car's
// dot and tag land on the screen.
#include "Game/level/TestTrackLayout.h"
#include "Game/views/MiniMap.h"
#include "Game/views/NameTags.h"

#include <array>
#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

using namespace Game;

namespace {

const glm::vec2 SCREEN(1024.0f, 768.0f);
const PixelRect WHOLE{0.0f, 0.0f, 1024.0f, 768.0f};
const PixelRect RIGHT_HALF{512.0f, 0.0f, 512.0f, 768.0f};

// The pixel a point placed in overlay units lands on.
glm::vec2 toPixel(const glm::vec4& overlay) {
    return {(overlay.x + SCREEN.x / SCREEN.y) * SCREEN.y / 2.0f,
            (overlay.y + 1.0f) * SCREEN.y / 2.0f};
}

glm::vec2 pixelOf(const Data::SGNodePtr& node) {
    return toPixel(node->getWorldTransformation() * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
}

// A dot's radius in pixels.
float radiusOf(const Data::SGNodePtr& node) {
    return pixelOf(node).x -
           toPixel(node->getWorldTransformation() * glm::vec4(-1.0f, 0.0f, 0.0f, 1.0f)).x;
}

void expectPixel(const glm::vec2& actual, const glm::vec2& expected, const std::string& what) {
    EXPECT_NEAR(actual.x, expected.x, 0.01f) << what;
    EXPECT_NEAR(actual.y, expected.y, 0.01f) << what;
}

} // namespace

TEST(ViewMarksTest, TheMapsDotsFollowTheCarsFromCornerToCornerInAnyView) {
    const std::vector<TrackPoint> checkpoints(TestTrackLayout::checkpoints.begin(),
                                              TestTrackLayout::checkpoints.end());
    std::vector<glm::vec2> road;
    for (const TrackPoint& point : checkpoints) {
        road.emplace_back(point.x, point.z);
    }
    MiniMap map({256.0f, 256.0f}, road, checkpoints);
    const glm::vec2 start(checkpoints[0].x, checkpoints[0].z);
    // Ann at the near corner, Bob at the far one, Cid on the start line and in view.
    std::vector<MapCar> cars{{{0.0f, 0.0f}, {0.0f, 0.0f, 255.0f}},
                             {{256.0f, 256.0f}, {255.0f, 0.0f, 0.0f}},
                             {start, {255.0f, 255.0f, 0.0f}}};
    map.place(WHOLE, SCREEN, cars, 2);

    // The map is a square in the view's lower-left corner, the terrain filling it.
    const PixelRect area = MiniMap::areaIn(WHOLE, SCREEN);
    EXPECT_GT(area.x, 0.0f);
    EXPECT_GT(area.y, 0.0f);
    EXPECT_LT(area.x + area.width, WHOLE.width / 2.0f);
    EXPECT_LT(area.y + area.height, WHOLE.height / 2.0f);
    EXPECT_FLOAT_EQ(area.width, area.height);
    // Seen as the overview sees the track: x to the right, z downwards.
    expectPixel(pixelOf(map.getDots()[0]), {area.x, area.y + area.height}, "the near corner");
    expectPixel(pixelOf(map.getDots()[1]), {area.x + area.width, area.y}, "the far corner");
    // The start line drawn in the picture (its last run) lies under the car on it.
    const Data::MeshPtr& picture = map.getPicture()->getMeshes().at(0);
    ASSERT_EQ(picture->faces.size(), 4u) << "ground, road, checkpoints, start line";
    glm::vec3 low(1e9f);
    glm::vec3 high(-1e9f);
    for (std::size_t i = picture->vertices.size() - picture->faces.back().count;
         i < picture->vertices.size(); ++i) {
        low = glm::min(low, picture->vertices[i]);
        high = glm::max(high, picture->vertices[i]);
    }
    const glm::vec2 startLine =
        toPixel(map.getPicture()->getWorldTransformation() * glm::vec4((low + high) / 2.0f, 1.0f));
    expectPixel(pixelOf(map.getDots()[2]), startLine, "the start line");
    expectPixel(pixelOf(map.getDots()[2]), map.getProjection().toMap(start), "the start line");

    // The own car is larger, ringed in white and drawn last, over the others; the
    // others lie on dark outlines.
    const Data::SGNodeList& nodes = map.getNodes();
    ASSERT_EQ(nodes.size(), 7u);
    EXPECT_EQ(nodes.front(), map.getPicture());
    EXPECT_EQ(nodes.back(), map.getDots()[2]);
    EXPECT_EQ(nodes[nodes.size() - 2], map.getBacks()[2]);
    EXPECT_GT(radiusOf(map.getDots()[2]), radiusOf(map.getDots()[0]));
    EXPECT_GT(radiusOf(map.getBacks()[2]), radiusOf(map.getDots()[2]));
    EXPECT_EQ(map.getBacks()[2]->getMaterial()->getColor(Data::MP_AMBIENT), glm::vec4(1.0f));
    EXPECT_LT(map.getBacks()[0]->getMaterial()->getColor(Data::MP_AMBIENT).r, 0.1f);
    EXPECT_EQ(map.getDots()[1]->getMaterial()->getColor(Data::MP_AMBIENT),
              glm::vec4(1.0f, 0.0f, 0.0f, 1.0f));

    // The dots follow the cars; one pushed against a wall stays on the map's edge.
    cars[0].ground = {128.0f, 64.0f};
    cars[1].ground = {300.0f, -20.0f};
    map.place(WHOLE, SCREEN, cars, 2);
    expectPixel(pixelOf(map.getDots()[0]),
                {area.x + area.width / 2.0f, area.y + area.height * 0.75f}, "moved");
    expectPixel(pixelOf(map.getDots()[1]), {area.x + area.width, area.y + area.height},
                "beyond the far x edge");

    // In the right half of the screen, as a second view, with no own car: the map
    // lies in that view's lower-right corner, clear of the race time at the bottom
    // centre, and every car is drawn alike.
    map.place(RIGHT_HALF, SCREEN, cars, std::nullopt);
    const PixelRect right = MiniMap::areaIn(RIGHT_HALF, SCREEN);
    EXPECT_GT(right.x, RIGHT_HALF.x + RIGHT_HALF.width / 2.0f);
    EXPECT_LT(right.x + right.width, RIGHT_HALF.x + RIGHT_HALF.width);
    EXPECT_LT(right.y + right.height, RIGHT_HALF.height / 2.0f);
    expectPixel(pixelOf(map.getDots()[0]),
                {right.x + right.width / 2.0f, right.y + right.height * 0.75f}, "second view");
    EXPECT_EQ(map.getNodes().size(), 7u);
    EXPECT_NEAR(radiusOf(map.getDots()[2]), radiusOf(map.getDots()[0]), 1e-3f);
}

// A road along a square lap driven a metre at a time, one side bent outwards by a
// metre at its middle: the straight runs need no points of their own, but the road
// still covers every point of the lap, the corners and the bend included.
TEST(ViewMarksTest, TheMapsRoadLeavesOutPointsThatDoNotBendIt) {
    std::vector<glm::vec2> lap;
    const std::array<glm::vec2, 4> corners{{{20, 20}, {220, 20}, {220, 220}, {20, 220}}};
    for (std::size_t side = 0; side < corners.size(); ++side) {
        const glm::vec2 from = corners[side];
        const glm::vec2 to = corners[(side + 1) % corners.size()];
        for (int metre = 0; metre < 200; ++metre) {
            lap.push_back(from + (to - from) * (static_cast<float>(metre) / 200.0f));
        }
    }
    lap[300].x += 1.0f;
    const MiniMap map({256.0f, 256.0f}, lap, {});
    const Data::MeshPtr& picture = map.getPicture()->getMeshes().at(0);
    ASSERT_GE(picture->faces.size(), 2u) << "ground, road";
    const std::uint32_t first = picture->faces[0].count;
    const std::uint32_t count = picture->faces[1].count;
    // Four corners and the bend with its two neighbours: seven quads of two triangles.
    EXPECT_EQ(count, 7u * 2u * 3u);

    const auto inTriangle = [](const glm::vec2& p, const glm::vec3& a, const glm::vec3& b,
                               const glm::vec3& c) {
        const auto side = [&](const glm::vec3& u, const glm::vec3& v) {
            return (v.x - u.x) * (p.y - u.y) - (v.y - u.y) * (p.x - u.x);
        };
        return side(a, b) >= 0.0f && side(b, c) >= 0.0f && side(c, a) >= 0.0f;
    };
    for (std::size_t i = 0; i < lap.size(); ++i) {
        // The map's plane shows ground (x, z) at (x, -z).
        const glm::vec2 point(lap[i].x, -lap[i].y);
        bool covered = false;
        for (std::uint32_t v = first; v + 2 < first + count && !covered; v += 3) {
            covered = inTriangle(point, picture->vertices[v], picture->vertices[v + 1],
                                 picture->vertices[v + 2]);
        }
        EXPECT_TRUE(covered) << "lap point " << i << " at " << lap[i].x << ", " << lap[i].y;
    }
}

TEST(ViewMarksTest, ANameTagShowsOverAnotherCarInFrontWithinReachAndInsideTheView) {
    NameTags tags({"Ann", "Bob", "Cid", "Dee", "Eve", "Fay"},
                  {{0.0f, 0.0f, 255.0f}, {255.0f, 0.0f, 0.0f}, {255.0f, 255.0f, 0.0f}});
    // Ann's chase camera: 8 m above the ground, looking along -z.
    Data::Camera camera;
    camera.setTransformation(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 8.0f, 0.0f)));
    const float farAway = NameTags::carViewRange + 40.0f;
    const std::vector<glm::vec3> cars{{0.0f, 0.0f, -20.0f},   // Ann, the camera's own car
                                      {3.0f, 0.0f, -40.0f},   // Bob, in front
                                      {0.0f, 0.0f, 25.0f},    // Cid, behind the camera
                                      {0.0f, 0.0f, -farAway}, // Dee, too far away
                                      {90.0f, 0.0f, -40.0f},  // Eve, beside the view
                                      {90.0f, 0.0f, -41.0f}}; // Fay, beside Eve
    tags.place(WHOLE, SCREEN, camera, cars, 0);
    EXPECT_FALSE(tags.isShown(0)) << "own car";
    EXPECT_TRUE(tags.isShown(1)) << "near, in front";
    EXPECT_FALSE(tags.isShown(2)) << "behind the camera";
    EXPECT_FALSE(tags.isShown(3)) << "too far";
    EXPECT_FALSE(tags.isShown(4)) << "outside the view";
    EXPECT_FALSE(tags.isShown(5));
    ASSERT_EQ(tags.getNodes().size(), 2u) << "a plate and a text";
    // Bob's tag stands just above Bob, to the right of the middle as Bob is, the same
    // size as near.
    const glm::vec2 tag = pixelOf(tags.getNodes().front());
    const glm::mat4 view = glm::inverse(camera.getWorldTransformation());
    const glm::mat4 projection = camera.getProjection(1024, 768);
    const std::optional<glm::vec2> bob = NameTags::project(
        cars[1] + glm::vec3(0.0f, NameTags::lift, 0.0f), view, projection, WHOLE, 1e9f);
    ASSERT_TRUE(bob.has_value());
    EXPECT_GT(bob->x, WHOLE.width / 2.0f);
    EXPECT_NEAR(tag.x, bob->x, 0.5f);
    EXPECT_GT(tag.y, bob->y);
    EXPECT_LT(tag.y, bob->y + 0.1f * WHOLE.height);

    // In the overview (a view of no car) Ann is tagged too, and the tags reach further.
    tags.place(WHOLE, SCREEN, camera, cars, std::nullopt);
    EXPECT_TRUE(tags.isShown(0));
    EXPECT_TRUE(tags.isShown(1));
    EXPECT_FALSE(tags.isShown(2));
    EXPECT_TRUE(tags.isShown(3)) << "the overview looks from afar";
    EXPECT_FALSE(tags.isShown(4));

    // Eve and Fay side by side in front of the camera: Fay's tag, the higher one on
    // the screen, moves up to clear Eve's.
    std::vector<glm::vec3> sideBySide = cars;
    sideBySide[4] = {0.5f, 0.0f, -60.0f};
    sideBySide[5] = {-0.5f, 0.0f, -61.0f};
    tags.place(WHOLE, SCREEN, camera, sideBySide, 0);
    ASSERT_TRUE(tags.isShown(4) && tags.isShown(5));
    const Data::SGNodeList& plates = tags.getNodes();
    ASSERT_EQ(plates.size(), 6u) << "Bob, Eve and Fay";
    const auto plateRect = [](const Data::SGNodePtr& plate) {
        const glm::mat4 placed = plate->getWorldTransformation();
        return std::pair(toPixel(placed * glm::vec4(-0.5f, -0.5f, 0.0f, 1.0f)),
                         toPixel(placed * glm::vec4(0.5f, 0.5f, 0.0f, 1.0f)));
    };
    const auto [eveLow, eveHigh] = plateRect(plates[2]);
    const auto [fayLow, fayHigh] = plateRect(plates[4]);
    EXPECT_LT(fayLow.x, eveHigh.x) << "overlapping across";
    EXPECT_GE(fayLow.y, eveHigh.y - 0.01f) << "Fay's plate sits on Eve's";

    // Bob seen in the right half of the screen: his tag stays inside that view.
    tags.place(RIGHT_HALF, SCREEN, camera, cars, 0);
    ASSERT_TRUE(tags.isShown(1));
    EXPECT_GT(pixelOf(tags.getNodes().front()).x, RIGHT_HALF.x + RIGHT_HALF.width / 2.0f);
}
