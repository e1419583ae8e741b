// The terrain built from small height maps written by the tests: grid and mesh,
// the height rule, the physics height field and the walls.
#include "Game/level/EdgeBarrier.h"
#include "LevelTestSupport.h"
#include "Physics/HeightField.h"
#include "Physics/HeightFieldShape.h"

#include <filesystem>
#include <stdexcept>
#include <vector>

using namespace GameTest;

namespace {

// Writes a width x height grey picture (value(column, row), rows counted from the
// bottom) and returns where the terrain finds it, relative to the working directory.
System::AssetRef writeHeightMap(const std::string& file, unsigned width, unsigned height,
                                const std::function<BYTE(unsigned, unsigned)>& value) {
    fipImage image(FIT_BITMAP, width, height, 24);
    for (unsigned row = 0; row < height; ++row) {
        for (unsigned column = 0; column < width; ++column) {
            const BYTE v = value(column, row);
            RGBQUAD colour{v, v, v, 0};
            image.setPixelColor(column, row, &colour);
        }
    }
    const std::filesystem::path folder = std::filesystem::current_path() / "terrain-maps";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(image.save((folder / file).c_str()));
    const auto relative = std::filesystem::relative(folder, System::File::getPWD());
    return {file, relative.string() + "/"};
}

// The terrain's objects: the ground with its skirts and bottom, and the barrier's
// pieces beside it.
const Data::Object& groundObject(const Game::Terrain& terrain) {
    for (const auto& [key, child] : terrain.getNode()->getChildren()) {
        const auto& object = dynamic_cast<const Data::Object&>(*child);
        if (object.getMeshes().front() == terrain.getGroundMesh()) {
            return object;
        }
    }
    throw std::logic_error("the terrain has no ground");
}

std::vector<Data::MeshPtr> barrierPieces(const Game::Terrain& terrain) {
    std::vector<Data::MeshPtr> pieces;
    for (const auto& [key, child] : terrain.getNode()->getChildren()) {
        const Data::MeshPtr& mesh = dynamic_cast<const Data::Object&>(*child).getMeshes().front();
        if (mesh->name == "EdgeBarrier") {
            pieces.push_back(mesh);
        }
    }
    return pieces;
}

class TerrainTest : public LevelTest {
protected:
    Game::Terrain& buildTerrain(const Game::TerrainDesc& desc) {
        // A level made before goes first: it gives its scene back to its own SDK.
        level.reset();
        sdk = createSdk();
        level = std::make_unique<Game::Level>(sdk.get());
        level->initialise("Terrain", -9.81f);
        return *level->createTerrain(desc);
    }

    // A 40 x 40 terrain on a 5 x 5 grid whose vertices read the 5 x 5 pixels.
    static Game::TerrainDesc smallDesc(const System::AssetRef& map) {
        Game::TerrainDesc desc;
        desc.sizeX = 40.0f;
        desc.sizeZ = 40.0f;
        desc.columns = 3;
        desc.rows = 3;
        desc.heightScale = 20.0f;
        desc.heightMap = map;
        return desc;
    }
};

} // namespace

TEST_F(TerrainTest, HeightsFollowThePixelsAndTheEdgesOutside) {
    const auto map = writeHeightMap("corners.png", 5, 5, [](unsigned c, unsigned r) -> BYTE {
        if (c == 0 && r == 0)
            return 255;
        if (c == 4 && r == 4)
            return 0;
        return c == 2 && r == 2 ? 128 : static_cast<BYTE>(40 + 10 * c + r);
    });
    const Game::Terrain& terrain = buildTerrain(smallDesc(map));
    EXPECT_FLOAT_EQ(terrain.getHeight(0, 0), 20.0f);
    EXPECT_FLOAT_EQ(terrain.getHeight(40, 40), 0.0f);
    EXPECT_FLOAT_EQ(terrain.getHeight(20, 20), 128.0f * 3.0f / 765.0f * 20.0f);
    // Outside the terrain the nearest edge counts (lights stand there on the track).
    EXPECT_FLOAT_EQ(terrain.getHeight(-24, 0), terrain.getHeight(0, 0));
    EXPECT_FLOAT_EQ(terrain.getHeight(60, 300), terrain.getHeight(40, 40));
    EXPECT_FLOAT_EQ(terrain.getHeight(-1, 20), terrain.getHeight(0, 20));

    // The physics samples hold the grid's heights in hundredths, truncated.
    const Physics::HeightFieldShape* field = terrain.getActor()->getShape(0)->isHeightField();
    ASSERT_NE(field, nullptr);
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j) {
            const float y = terrain.getGrid()[static_cast<std::size_t>(i * 5 + j)].position.y;
            EXPECT_EQ(field->getHeightField().getSample(j, i).height,
                      static_cast<int>(std::trunc(y * 100.0f)))
                << "column " << j << " row " << i;
        }
    }
}

TEST_F(TerrainTest, GridMeshAndWaterSizes) {
    Game::TerrainDesc desc;
    desc.heightMap = writeHeightMap("flat.png", 8, 8, [](unsigned, unsigned) -> BYTE { return 0; });
    const Game::Terrain& terrain = buildTerrain(desc);
    EXPECT_EQ(terrain.getGrid().size(), 12u * 12u);
    EXPECT_EQ(terrain.getGroundMesh()->vertices.size(), 726u);
    EXPECT_EQ(terrain.getGroundMesh()->faces.at(0).count, 726u);
    const Data::MeshPtr& water = terrain.getWaterNode()->getMeshes().at(0);
    EXPECT_EQ(water->vertices.size(), 6u);
    EXPECT_FLOAT_EQ(water->getBoundingBox()[1], 5.0f);
    // Ground, four skirts and the bottom plate are drawn as one object; the edge's
    // barrier stands beside it in pieces.
    EXPECT_EQ(groundObject(terrain).getMeshes().size(), 6u);
    const std::vector<Data::MeshPtr> pieces = barrierPieces(terrain);
    EXPECT_GT(pieces.size(), 4u);
    // Two rails join each post to the next along its side, across the pieces' seams:
    // four quads of six indices each.
    std::size_t posts = 0;
    std::size_t railIndices = 0;
    for (const Data::MeshPtr& piece : pieces) {
        const std::uint32_t postIndices = piece->faces.front().count;
        for (std::size_t i = 0; i < postIndices; i += 6) {
            posts += piece->normals[piece->indices[i]] == glm::vec3(0.0f, 1.0f, 0.0f) ? 1 : 0;
        }
        railIndices += piece->indices.size() - postIndices;
    }
    EXPECT_EQ(railIndices, (posts - 4) * 2 * 24);
}

TEST_F(TerrainTest, WaterSpansOnlyTheCellsBelowItsLevel) {
    // One grid vertex dips below the water (5 units; the rest stand at about 15.7):
    // the plane covers the four cells around it and nothing else.
    const auto dip = writeHeightMap(
        "dip.png", 5, 5, [](unsigned c, unsigned r) -> BYTE { return c == 1 && r == 2 ? 0 : 200; });
    const Data::ObjectPtr& water = buildTerrain(smallDesc(dip)).getWaterNode();
    ASSERT_NE(water, nullptr);
    const Data::BoundingBox box = water->getMeshes().at(0)->getBoundingBox();
    EXPECT_FLOAT_EQ(box[0], 0.0f);
    EXPECT_FLOAT_EQ(box[2], 10.0f);
    EXPECT_FLOAT_EQ(box[3], 20.0f);
    EXPECT_FLOAT_EQ(box[5], 30.0f);
    EXPECT_FLOAT_EQ(box[1], 5.0f);
    EXPECT_FLOAT_EQ(box[4], 5.0f);

    // Ground wholly above the water level has no water to draw.
    const auto high =
        writeHeightMap("high.png", 5, 5, [](unsigned, unsigned) -> BYTE { return 200; });
    EXPECT_EQ(buildTerrain(smallDesc(high)).getWaterNode(), nullptr);
}

TEST_F(TerrainTest, UnequalColumnsAndRowsMapConsistently) {
    // 3 columns and 6 rows: 5 x 8 grid vertices over 40 x 70, one pixel each.
    const auto map = writeHeightMap("tall.png", 5, 8, [](unsigned c, unsigned r) -> BYTE {
        return static_cast<BYTE>(20 * c + 10 * r);
    });
    Game::TerrainDesc desc = smallDesc(map);
    desc.rows = 6;
    desc.sizeZ = 70.0f;
    const Game::Terrain& terrain = buildTerrain(desc);
    const Physics::HeightFieldShape* field = terrain.getActor()->getShape(0)->isHeightField();
    EXPECT_FLOAT_EQ(field->getRowScale(), 10.0f);
    EXPECT_FLOAT_EQ(field->getColumnScale(), 10.0f);
    EXPECT_EQ(field->getHeightField().getNbRows(), 5u);
    EXPECT_EQ(field->getHeightField().getNbColumns(), 8u);
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 5; ++j) {
            const glm::vec3& p = terrain.getGrid()[static_cast<std::size_t>(i * 5 + j)].position;
            EXPECT_FLOAT_EQ(p.z, 10.0f * static_cast<float>(i));
            EXPECT_FLOAT_EQ(p.y, terrain.getHeight(p.x, p.z));
            EXPECT_EQ(field->getHeightField().getSample(j, i).height,
                      static_cast<int>(std::trunc(p.y * 100.0f)));
        }
    }
}

TEST_F(TerrainTest, HeightsBeyondSixteenBitsAreClampedNotWrapped) {
    const auto map =
        writeHeightMap("white.png", 5, 5, [](unsigned, unsigned) -> BYTE { return 255; });
    Game::TerrainDesc desc = smallDesc(map);
    desc.heightScale = 400.0f;
    const Game::Terrain& terrain = buildTerrain(desc);
    const Physics::HeightFieldShape* field = terrain.getActor()->getShape(0)->isHeightField();
    EXPECT_EQ(field->getHeightField().getSample(2, 2).height, 32767);
}

TEST_F(TerrainTest, BoxesSlidingIntoTheWallsStayInside) {
    // Ground rising to 18 near the +x edge, as the track's corners do.
    const auto map = writeHeightMap(
        "ramp.png", 5, 5, [](unsigned c, unsigned) -> BYTE { return static_cast<BYTE>(c * 57); });
    Game::TerrainDesc desc = smallDesc(map);
    const Game::Terrain& terrain = buildTerrain(desc);
    ASSERT_NE(terrain.getActor(), nullptr);
    Physics::Scene& scene = *level->getScene();
    const glm::vec3 half(0.5f);
    const struct {
        glm::vec3 position, velocity;
    } throws[] = {{{20, 25, 20}, {30, 8, 0}},
                  {{20, 25, 20}, {-30, 8, 0}},
                  {{20, 25, 20}, {0, 8, 30}},
                  {{20, 25, 20}, {0, 8, -30}}};
    std::vector<Physics::Actor*> boxes;
    for (const auto& t : throws) {
        boxes.push_back(addBox(scene, t.position, half, 1.0f, t.velocity));
    }
    run(4.0);
    for (const Physics::Actor* box : boxes) {
        const glm::vec3 p = box->getGlobalPosition();
        EXPECT_GT(p.x, 0.0f);
        EXPECT_LT(p.x, 40.0f);
        EXPECT_GT(p.z, 0.0f);
        EXPECT_LT(p.z, 40.0f);
        EXPECT_GT(p.y, terrain.getHeight(p.x, p.z) - 1.0f)
            << "fell through at " << p.x << ", " << p.z;
    }
}

TEST_F(TerrainTest, TheEdgeBarrierStandsOnTheGroundsEdgeAllAroundAtTheWalls) {
    // Heights rise along x and z, so that each edge slopes its own way.
    const auto map = writeHeightMap("slopes.png", 5, 5, [](unsigned c, unsigned r) -> BYTE {
        return static_cast<BYTE>(50 * c + 10 * r + (c == 2 && r == 0 ? 40 : 0));
    });
    const Game::Terrain& terrain = buildTerrain(smallDesc(map));
    const std::vector<Data::MeshPtr> pieces = barrierPieces(terrain);
    ASSERT_FALSE(pieces.empty());

    // The drawn ground's height along an edge: straight between the grid's vertices.
    const auto edgeHeight = [&](float x, float z) {
        const float spacing = 10.0f;
        const bool alongX = z < 1.0f || z > 39.0f;
        const float t = std::clamp(alongX ? x : z, 0.0f, 40.0f) / spacing;
        const int k = std::min(static_cast<int>(t), 3);
        const int row = z > 39.0f ? 4 : 0;
        const int column = x > 39.0f ? 4 : 0;
        const auto at = [&](int step) {
            const int index = alongX ? row * 5 + step : step * 5 + column;
            return terrain.getGrid()[static_cast<std::size_t>(index)].position.y;
        };
        return at(k) + (at(k + 1) - at(k)) * (t - static_cast<float>(k));
    };
    // Every post's top: the middle of each upward quad of the posts' run.
    int tops[4] = {0, 0, 0, 0}; // near z, far z, near x, far x
    for (const Data::MeshPtr& barrier : pieces) {
        ASSERT_LE(barrier->faces.size(), 3u) << "posts, red and white rails";
        ASSERT_EQ(barrier->faces.front().type, Data::FT_TRIANGLES);
        const std::uint32_t postIndices = barrier->faces.front().count;
        for (std::size_t i = 0; i < postIndices; i += 6) {
            if (barrier->normals[barrier->indices[i]] != glm::vec3(0.0f, 1.0f, 0.0f)) {
                continue;
            }
            glm::vec3 low(1e9f);
            glm::vec3 high(-1e9f);
            for (std::size_t j = i; j < i + 6; ++j) {
                low = glm::min(low, barrier->vertices[barrier->indices[j]]);
                high = glm::max(high, barrier->vertices[barrier->indices[j]]);
            }
            const glm::vec3 top = (low + high) / 2.0f;
            EXPECT_NEAR(high.x - low.x, Game::EdgeBarrier::postSide, 1e-4f);
            EXPECT_NEAR(top.y, edgeHeight(top.x, top.z) + Game::EdgeBarrier::height, 1e-3f)
                << "post at " << top.x << ", " << top.z;
            // The post's inner face lies at the wall's, just inside the edge.
            const float inner = Game::EdgeBarrier::postSide - Game::EdgeBarrier::inset;
            const float fromEdge[4] = {-low.z, high.z - 40.0f, -low.x, high.x - 40.0f};
            bool onAnEdge = false;
            for (int side = 0; side < 4; ++side) {
                if (std::abs(fromEdge[side] - inner) < 1e-4f) {
                    ++tops[side];
                    onAnEdge = true;
                }
            }
            EXPECT_TRUE(onAnEdge) << "post at " << top.x << ", " << top.z;
        }
        // The rails run from post to post, never higher than the posts' tops.
        for (std::size_t i = postIndices; i < barrier->indices.size(); ++i) {
            const glm::vec3& v = barrier->vertices[barrier->indices[i]];
            EXPECT_LE(v.y, edgeHeight(v.x, v.z) + Game::EdgeBarrier::height + 0.1f);
            EXPECT_GE(v.y, edgeHeight(v.x, v.z));
        }
    }
    // 40 m a side with posts at most 4 m apart, the corners included.
    for (int side = 0; side < 4; ++side) {
        EXPECT_GE(tops[side], 11) << "side " << side;
    }
}
