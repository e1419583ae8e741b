#include "Game/level/Terrain.h"

#include "Data/Material.h"
#include "Game/level/EdgeBarrier.h"
#include "Game/level/Level.h"
#include "Physics/ActorDesc.h"
#include "Physics/HeightField.h"
#include "Physics/PhysicsSDK.h"
#include "Physics/Scene.h"
#include "Physics/ShapeDesc.h"
#include "System/File.h"
#include "Tool/LogManager.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <glm/common.hpp>
#include <limits>

namespace Game {

namespace {

void logTerrain(const std::string& title, const std::string& details, int line) {
    Tool::LogManager::getInstance().send(
        Tool::Message("Terrain", title, details, __FILE__, line, Tool::MT_WARNING));
}

void logBrumbly(const std::string& title, Tool::MessageType type, int line) {
    Tool::LogManager::getInstance().send(
        type == Tool::MT_ERROR ? Tool::Message("Brumbly", title, "", __FILE__, line, type)
                               : Tool::Message("Brumbly", title, "", type));
}

Data::MaterialPtr surfaceMaterial(const glm::vec4& diffuse, const Data::ImagePtr& image) {
    auto material = std::make_shared<Data::Material>();
    material->set(Data::MP_DIFFUSE, diffuse);
    material->set(Data::MP_AMBIENT, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    material->set(Data::MP_SPECULAR, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    material->set(Data::MP_EMISSION, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    material->set(Data::MP_SHININESS, 0.0f);
    if (image) {
        material->set(Data::MP_DIFFUSE_TEXTURE, image);
    }
    return material;
}

const System::AssetRef borderPicture{"GroundBorder.jpg", "data//images//"};

// The picture given in memory, else the one loaded from `asset` at `size`.
Data::ImagePtr loadPicture(const Data::ImagePtr& given, const System::AssetRef& asset,
                           const std::string& failure,
                           System::File::PictureSize size = System::File::PictureSize::Whole) {
    // A picture left unnamed is not looked for; it is only reported missing.
    const Data::ImagePtr image = given                ? given
                                 : asset.file.empty() ? std::make_shared<Data::Image>()
                                                      : System::File::loadImage(asset, size);
    if (!image->isValid()) {
        logTerrain(failure, given ? "the picture made in memory" : asset.file, __LINE__);
    }
    return image;
}

// Physics heights are hundredths in 16 bits: clamp rather than wrap.
std::int16_t sampleHeight(float height) {
    const float hundredths = std::trunc(height * 100.0f);
    return static_cast<std::int16_t>(
        std::clamp(hundredths, static_cast<float>(std::numeric_limits<std::int16_t>::min()),
                   static_cast<float>(std::numeric_limits<std::int16_t>::max())));
}

} // namespace

TerrainDesc::TerrainDesc() {
    material.dynamicFriction = 0.5f;
    material.staticFriction = 0.5f;
    material.restitution = 0.0f;
}

Terrain::Terrain() : LevelAble("Terrain") {}

void Terrain::create(Level* owner, const TerrainDesc& desc) {
    level = owner;
    sizeX = desc.sizeX;
    heightScale = desc.heightScale;
    sizeZ = desc.sizeZ;
    columns = std::max(desc.columns, 0);
    rows = std::max(desc.rows, 0);
    planeHeight = desc.planeHeight;

    loadImages(desc);
    buildGrid();
    buildGroundMesh();
    buildWaterPlane();
    createPhysXTerrain(desc.material);

    auto ground = std::make_shared<Data::Object>(groundMesh);
    for (const Data::MeshPtr& skirt : buildSkirts()) {
        ground->addMesh(skirt);
    }
    ground->addMesh(buildBottomPlate());
    auto root = std::make_shared<Data::SGNode>();
    root->addChild(ground);
    for (const Data::MeshPtr& piece : EdgeBarrier::build(*this)) {
        root->addChild(std::make_shared<Data::Object>(piece));
    }
    attach(owner, root);
}

void Terrain::loadImages(const TerrainDesc& desc) {
    heightMap = loadPicture(desc.heightPicture, desc.heightMap, "Couldn't load Heightmap");
    // Heights are read from its pixels, which a picture also drawn may have given up.
    System::File::reloadImage(*heightMap);
    // Heights are read as colours; a grey or palette picture is widened once here.
    if (heightMap->isValid() && heightMap->picture.getBitsPerPixel() != 24) {
        heightMap->picture.convertTo24Bits();
    }
    groundMap = loadPicture(nullptr, desc.groundMap, "Couldn't load Groundmap");
    // The texture, unlike the maps read pixel by pixel, is only drawn: a detail level
    // may take it smaller.
    texture = loadPicture(desc.texturePicture, desc.texture, "Couldn't load Texture",
                          groundPictureSize());
}

System::File::PictureSize Terrain::groundPictureSize(const DetailSettings& settings) {
    return settings.halfSizeGroundPicture ? System::File::PictureSize::Half
                                          : System::File::PictureSize::Whole;
}

System::File::PictureSize Terrain::groundPictureSize() const {
    return level != nullptr ? groundPictureSize(level->getDetailSettings())
                            : System::File::PictureSize::Whole;
}

std::vector<System::File::PictureRequest> Terrain::picturesOf(const TerrainDesc& desc,
                                                              const DetailSettings& settings) {
    std::vector<System::File::PictureRequest> pictures;
    const auto fromFile = [&](const Data::ImagePtr& given, const System::AssetRef& asset,
                              System::File::PictureSize size) {
        if (!given && !asset.file.empty()) {
            pictures.push_back({asset, size});
        }
    };
    fromFile(desc.heightPicture, desc.heightMap, System::File::PictureSize::Whole);
    fromFile(nullptr, desc.groundMap, System::File::PictureSize::Whole);
    fromFile(desc.texturePicture, desc.texture, groundPictureSize(settings));
    fromFile(nullptr, borderPicture, groundPictureSize(settings));
    return pictures;
}

float Terrain::getHeight(float x, float z) const {
    if (!heightMap || !heightMap->hasPixels() || sizeX <= 0.0f || sizeZ <= 0.0f) {
        return 0.0f;
    }
    const unsigned width = heightMap->picture.getWidth();
    const unsigned height = heightMap->picture.getHeight();
    // Outside the terrain (lights and cameras may stand there) the nearest edge counts.
    const float cx = std::clamp(x, 0.0f, sizeX);
    const float cz = std::clamp(z, 0.0f, sizeZ);
    const auto px = static_cast<unsigned>(cx * static_cast<float>(width - 1) / sizeX);
    const auto pz = static_cast<unsigned>(cz * static_cast<float>(height - 1) / sizeZ);
    RGBQUAD colour{};
    if (!heightMap->picture.getPixelColor(px, pz, &colour)) {
        return 0.0f;
    }
    const float sum = static_cast<float>(colour.rgbRed) + static_cast<float>(colour.rgbGreen) +
                      static_cast<float>(colour.rgbBlue);
    return sum / 765.0f * heightScale;
}

const Terrain::GridVertex& Terrain::gridAt(int column, int row) const {
    return grid[static_cast<std::size_t>(row) * static_cast<std::size_t>(getGridColumns()) +
                static_cast<std::size_t>(column)];
}

void Terrain::buildGrid() {
    const int nx = getGridColumns();
    const int nz = getGridRows();
    const float dx = sizeX / static_cast<float>(nx - 1);
    const float dz = sizeZ / static_cast<float>(nz - 1);
    grid.clear();
    grid.reserve(static_cast<std::size_t>(nx) * static_cast<std::size_t>(nz));
    for (int i = 0; i < nz; ++i) {
        for (int j = 0; j < nx; ++j) {
            const float x = static_cast<float>(j) * dx;
            const float z = static_cast<float>(i) * dz;
            grid.push_back({{x, getHeight(x, z), z},
                            {static_cast<float>(j) / static_cast<float>(nx - 1),
                             static_cast<float>(i) / static_cast<float>(nz - 1)},
                            {1.0f, 1.0f, 1.0f, 1.0f}});
        }
    }
}

glm::vec3 Terrain::vertexNormal(int column, int row) const {
    // Every cell is split into (c, r)-(c, r+1)-(c+1, r) and (c+1, r)-(c, r+1)-(c+1, r+1);
    // the unnormalised normals of the triangles touching the vertex are summed, so
    // larger triangles weigh more.
    const int nx = getGridColumns();
    const int nz = getGridRows();
    glm::vec3 sum(0.0f, 1.0f, 0.0f);
    const auto addTriangle = [&](int c0, int r0, int c1, int r1, int c2, int r2) {
        const glm::vec3& a = gridAt(c0, r0).position;
        glm::vec3 normal = glm::cross(gridAt(c2, r2).position - a, gridAt(c1, r1).position - a);
        if (normal.y < 0.0f) {
            normal = -normal;
        }
        sum += normal;
    };
    for (int c = column - 1; c <= column; ++c) {
        for (int r = row - 1; r <= row; ++r) {
            if (c < 0 || r < 0 || c + 1 >= nx || r + 1 >= nz) {
                continue;
            }
            const bool inFirst = (c == column && r == row) || (c == column && r + 1 == row) ||
                                 (c + 1 == column && r == row);
            const bool inSecond = (c + 1 == column && r == row) || (c == column && r + 1 == row) ||
                                  (c + 1 == column && r + 1 == row);
            if (inFirst) {
                addTriangle(c, r, c, r + 1, c + 1, r);
            }
            if (inSecond) {
                addTriangle(c + 1, r, c, r + 1, c + 1, r + 1);
            }
        }
    }
    return glm::normalize(sum);
}

void Terrain::buildGroundMesh() {
    const int nx = getGridColumns();
    const int nz = getGridRows();
    groundMesh = std::make_shared<Data::Mesh>("Terrain");
    groundMesh->texCoords.resize(1);
    std::vector<glm::vec3> normals(grid.size());
    for (int i = 0; i < nz; ++i) {
        for (int j = 0; j < nx; ++j) {
            normals[static_cast<std::size_t>(i * nx + j)] = vertexNormal(j, i);
        }
    }
    const auto corner = [&](int j, int i) {
        const GridVertex& vertex = gridAt(j, i);
        groundMesh->vertices.push_back(vertex.position);
        groundMesh->normals.push_back(normals[static_cast<std::size_t>(i * nx + j)]);
        groundMesh->texCoords[0].push_back(vertex.texCoord);
        groundMesh->colors.push_back(vertex.colour);
    };
    for (int j = 0; j + 1 < nx; ++j) {
        for (int i = 0; i + 1 < nz; ++i) {
            corner(j, i);
            corner(j, i + 1);
            corner(j + 1, i);
            corner(j + 1, i);
            corner(j, i + 1);
            corner(j + 1, i + 1);
        }
    }
    groundMesh->faces.push_back({Data::FT_TRIANGLES,
                                 static_cast<std::uint32_t>((nx - 1) * (nz - 1) * 6),
                                 surfaceMaterial(glm::vec4(1.0f), texture)});
    groundMesh->check();
}

void Terrain::buildWaterPlane() {
    // The plane spans only the cells whose ground dips below it: elsewhere the ground
    // hides it, and every pixel it covers costs a depth test. Ground wholly above the
    // water has none.
    const float h = planeHeight;
    const int nx = getGridColumns();
    const int nz = getGridRows();
    glm::vec2 low(std::numeric_limits<float>::max());
    glm::vec2 high(std::numeric_limits<float>::lowest());
    for (int i = 0; i + 1 < nz; ++i) {
        for (int j = 0; j + 1 < nx; ++j) {
            const std::array<const GridVertex*, 4> corners{
                &gridAt(j, i), &gridAt(j + 1, i), &gridAt(j, i + 1), &gridAt(j + 1, i + 1)};
            if (std::none_of(corners.begin(), corners.end(),
                             [h](const GridVertex* v) { return v->position.y < h; })) {
                continue;
            }
            low = glm::min(low, glm::vec2(corners[0]->position.x, corners[0]->position.z));
            high = glm::max(high, glm::vec2(corners[3]->position.x, corners[3]->position.z));
        }
    }
    waterNode.reset();
    if (low.x > high.x) {
        return;
    }
    auto water = std::make_shared<Data::Mesh>("Water");
    water->vertices = {{low.x, h, low.y}, {low.x, h, high.y},  {high.x, h, high.y},
                       {low.x, h, low.y}, {high.x, h, high.y}, {high.x, h, low.y}};
    water->normals.assign(6, {0.0f, 1.0f, 0.0f});
    water->faces.push_back(
        {Data::FT_TRIANGLES, 6, surfaceMaterial({1.0f, 1.0f, 1.0f, 0.75f}, nullptr)});
    water->check();
    waterNode = std::make_shared<Data::Object>(water);
}

Data::MeshList Terrain::buildSkirts() const {
    const int nx = getGridColumns();
    const int nz = getGridRows();
    const float depth = -2.0f * heightScale;
    const Data::MaterialPtr material = surfaceMaterial(
        glm::vec4(1.0f), System::File::loadImage(borderPicture, groundPictureSize()));

    struct Edge {
        int column0, row0, columnStep, rowStep, count;
        glm::vec3 outward;
    };
    // Far z, near z, near x, far x.
    const Edge edges[] = {{0, nz - 1, 1, 0, nx, {0, 0, 1}},
                          {0, 0, 1, 0, nx, {0, 0, -1}},
                          {0, 0, 0, 1, nz, {-1, 0, 0}},
                          {nx - 1, 0, 0, 1, nz, {1, 0, 0}}};
    Data::MeshList skirts;
    for (const Edge& edge : edges) {
        std::vector<glm::vec3> tops;
        for (int k = 0; k < edge.count; ++k) {
            tops.push_back(
                gridAt(edge.column0 + k * edge.columnStep, edge.row0 + k * edge.rowStep).position);
        }
        // Walk the edge in the direction that makes the quads face outward.
        const glm::vec3 along = tops.back() - tops.front();
        if (glm::dot(glm::cross(glm::vec3(0, -1, 0), along), edge.outward) < 0.0f) {
            std::reverse(tops.begin(), tops.end());
        }
        auto mesh = std::make_shared<Data::Mesh>("TerrainSkirt");
        mesh->texCoords.resize(1);
        const auto n = static_cast<float>(tops.size());
        const auto add = [&](const glm::vec3& top, float k, bool bottom) {
            mesh->vertices.push_back(bottom ? glm::vec3(top.x, depth, top.z) : top);
            mesh->normals.push_back(edge.outward);
            mesh->texCoords[0].push_back({k / n, bottom ? 0.0f : 1.0f});
            mesh->colors.emplace_back(1.0f);
        };
        for (std::size_t k = 0; k + 1 < tops.size(); ++k) {
            const auto k0 = static_cast<float>(k);
            add(tops[k], k0, false);
            add(tops[k], k0, true);
            add(tops[k + 1], k0 + 1, false);
            add(tops[k + 1], k0 + 1, false);
            add(tops[k], k0, true);
            add(tops[k + 1], k0 + 1, true);
        }
        mesh->faces.push_back(
            {Data::FT_TRIANGLES, static_cast<std::uint32_t>(mesh->vertices.size()), material});
        mesh->check();
        skirts.push_back(mesh);
    }
    return skirts;
}

Data::MeshPtr Terrain::buildBottomPlate() const {
    const float y = -2.0f * heightScale;
    auto plate = std::make_shared<Data::Mesh>("TerrainBottom");
    // Wound to face downward.
    plate->vertices = {{0, y, 0}, {sizeX, y, 0}, {sizeX, y, sizeZ}, {0, y, sizeZ}};
    plate->normals.assign(4, {0.0f, -1.0f, 0.0f});
    plate->texCoords = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
    plate->indices = {0, 1, 2, 0, 2, 3};
    plate->faces.push_back({Data::FT_TRIANGLES, 6, surfaceMaterial(glm::vec4(1.0f), nullptr)});
    plate->check();
    return plate;
}

void Terrain::createPhysXTerrain(const Physics::MaterialDesc& materialDesc) {
    Physics::Scene* scene = level != nullptr ? level->getScene() : nullptr;
    if (scene == nullptr) {
        return;
    }
    material = scene->createMaterial(materialDesc);
    if (material == nullptr) {
        logTerrain("Couldn't create NxMaterial", "", __LINE__);
    }
    const Physics::MaterialIndex surface = material != nullptr ? material->getMaterialIndex() : 0;

    // One sample per grid vertex, column by column: rows of the height field run
    // along x, its columns along z.
    const int nx = getGridColumns();
    const int nz = getGridRows();
    std::vector<Physics::HeightFieldSample> samples;
    samples.reserve(grid.size());
    for (int j = 0; j < nx; ++j) {
        for (int i = 0; i < nz; ++i) {
            Physics::HeightFieldSample sample;
            sample.height = sampleHeight(gridAt(j, i).position.y);
            sample.materialIndex0 = static_cast<std::uint8_t>(surface & 0x7f);
            sample.materialIndex1 = static_cast<std::uint8_t>(surface & 0x7f);
            samples.push_back(sample);
        }
    }
    Physics::HeightFieldDesc fieldDesc;
    fieldDesc.nbRows = static_cast<std::uint32_t>(nx);
    fieldDesc.nbColumns = static_cast<std::uint32_t>(nz);
    fieldDesc.format = Physics::HF_S16_TM;
    fieldDesc.sampleStride = sizeof(Physics::HeightFieldSample);
    fieldDesc.samples = samples.data();
    fieldDesc.verticalExtent = -1000.0f;
    heightField = scene->getPhysicsSDK().createHeightField(fieldDesc);

    Physics::HeightFieldShapeDesc fieldShape;
    fieldShape.shapeFlags = Physics::SF_FEATURE_INDICES;
    fieldShape.heightField = heightField;
    fieldShape.heightScale = 0.01f;
    fieldShape.rowScale = sizeX / static_cast<float>(nx - 1);
    fieldShape.columnScale = sizeZ / static_cast<float>(nz - 1);
    fieldShape.materialIndexHighBits = 0;
    fieldShape.holeMaterial = 2;
    fieldShape.meshFlags = Physics::MESH_SMOOTH_SPHERE_COLLISIONS;

    // The walls' inner faces lie 0.05 inside the edges; they reach far above the
    // highest ground so that no car climbs over them.
    const float wallHalfHeight = 4.0f * heightScale;
    Physics::BoxShapeDesc walls[4];
    const Physics::Vec3 centres[4] = {{2.0f * sizeX - 0.05f, 0.0f, 0.0f},
                                      {0.05f - sizeX, 0.0f, 0.0f},
                                      {0.0f, 0.0f, 2.0f * sizeZ - 0.05f},
                                      {0.0f, 0.0f, 0.05f - sizeZ}};
    Physics::ActorDesc actorDesc;
    actorDesc.density = 0.0f;
    actorDesc.shapes.push_back(&fieldShape);
    for (int k = 0; k < 4; ++k) {
        walls[k].dimensions = {sizeX, wallHalfHeight, sizeZ};
        walls[k].localPose.t = centres[k];
        actorDesc.shapes.push_back(&walls[k]);
    }
    if (!actorDesc.isValid()) {
        logBrumbly("Terrain::createPhysXTerrain() couldn't validate PhysX Terrain Description .. "
                   "[Failed]",
                   Tool::MT_ERROR, __LINE__);
    }
    actor = scene->createActor(actorDesc);
    if (actor != nullptr) {
        logBrumbly("Terrain::createPhysXTerrain() created PhysX Terrain .. [OK]", Tool::MT_MESSAGE,
                   __LINE__);
    } else {
        logBrumbly("Terrain::createPhysXTerrain() couldn't create PhysX Terrain .. [Failed]",
                   Tool::MT_ERROR, __LINE__);
    }
}

void Terrain::release() {
    if (actor != nullptr) {
        actor->getScene().releaseActor(*actor);
        actor = nullptr;
    }
    if (heightField != nullptr && level != nullptr && level->getScene() != nullptr) {
        level->getScene()->getPhysicsSDK().releaseHeightField(*heightField);
        heightField = nullptr;
    }
    LevelAble::release();
}

} // namespace Game
