#pragma once

#include "Data/Image.h"
#include "Data/Mesh.h"
#include "Data/Object.h"
#include "Game/level/DetailSettings.h"
#include "Game/level/LevelAble.h"
#include "Physics/Material.h"
#include "System/AssetRef.h"
#include "System/File.h"

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <vector>

namespace Physics {
class Actor;
class HeightField;
} // namespace Physics

namespace Game {

struct TerrainDesc {
    TerrainDesc();

    float sizeX = 512.0f;
    float heightScale = 20.0f; // height of a white height-map pixel
    float sizeZ = 512.0f;
    int columns = 10; // grid vertices along x minus 2
    int rows = 10;    // grid vertices along z minus 2
    float planeHeight = 5.0f;
    System::AssetRef heightMap;
    System::AssetRef groundMap;
    System::AssetRef texture;
    // Pictures made in memory (a generated track) stand in for the files above.
    Data::ImagePtr heightPicture;
    Data::ImagePtr texturePicture;
    Physics::MaterialDesc material;
};

// The ground of a track, built from a height map: a textured height surface with
// side skirts and a bottom plate, a translucent water plane, and on the physics
// side a height field closed by four walls just inside the edges.
class Terrain : public LevelAble {
public:
    struct GridVertex {
        glm::vec3 position;
        glm::vec2 texCoord;
        glm::vec4 colour;
    };

    Terrain();

    // Builds everything once; problems are logged.
    virtual void create(Level* owner, const TerrainDesc& desc);
    // Ground height at (x, z) by the height map; positions outside the terrain read
    // the nearest edge. 0 without a height map.
    virtual float getHeight(float x, float z) const;
    // Releases the physics actor and height field.
    void release() override;

    const Data::ObjectPtr& getWaterNode() const { return waterNode; }
    // The ground's extent along x and z; it starts at the origin.
    glm::vec2 getSize() const { return {sizeX, sizeZ}; }
    const std::vector<GridVertex>& getGrid() const { return grid; }
    int getGridColumns() const { return columns + 2; }
    int getGridRows() const { return rows + 2; }
    const Data::MeshPtr& getGroundMesh() const { return groundMesh; }
    Physics::Actor* getActor() const { return actor; }
    const Data::ImagePtr& getGroundMap() const { return groundMap; }

    // The pictures a terrain of that description loads from files at that detail, in
    // the order and at the sizes it loads them.
    static std::vector<System::File::PictureRequest> picturesOf(const TerrainDesc& desc,
                                                                const DetailSettings& settings);

private:
    void loadImages(const TerrainDesc& desc);
    // The size the ground's and its border's pictures are decoded at: the detail may
    // take them smaller, as they are only drawn.
    static System::File::PictureSize groundPictureSize(const DetailSettings& settings);
    System::File::PictureSize groundPictureSize() const;
    void buildGrid();
    glm::vec3 vertexNormal(int column, int row) const;
    void buildGroundMesh();
    void buildWaterPlane();
    void createPhysXTerrain(const Physics::MaterialDesc& materialDesc);
    Data::MeshList buildSkirts() const;
    Data::MeshPtr buildBottomPlate() const;
    const GridVertex& gridAt(int column, int row) const;

    Data::ObjectPtr waterNode;
    float sizeX = 512.0f;
    float heightScale = 25.0f;
    float sizeZ = 512.0f;
    int columns = 5;
    int rows = 5;
    float planeHeight = 5.0f;
    std::vector<GridVertex> grid;
    Data::ImagePtr heightMap;
    Data::ImagePtr groundMap;
    Data::ImagePtr texture;
    Data::MeshPtr groundMesh;
    Physics::HeightField* heightField = nullptr;
    Physics::Actor* actor = nullptr;
    Physics::Material* material = nullptr;
};

using TerrainPtr = std::shared_ptr<Terrain>;

} // namespace Game
