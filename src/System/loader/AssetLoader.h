#pragma once

#include "Data/Material.h"
#include "Data/Mesh.h"
#include "Data/SGNode.h"
#include "System/AssetRef.h"

#include <map>
#include <memory>
#include <string>

struct aiMaterial;
struct aiMesh;
struct aiNode;
struct aiScene;
namespace Assimp {
class Importer;
}

namespace System {

// Imports one model file with Assimp and turns it into scene data: a node tree with
// the file's names and transforms, meshes hanging from the nodes, materials on the
// meshes' face groups. One loader per file; it owns the imported scene.
class AssetLoader {
public:
    AssetLoader();
    ~AssetLoader();
    AssetLoader(const AssetLoader&) = delete;
    AssetLoader& operator=(const AssetLoader&) = delete;

    // Reads fullDirectory + asset.file; null root when the import fails or no mesh
    // passes its check. Importer diagnostics go to "Assimp.log" in the working
    // directory and, for errors, to standard error.
    Data::SGNodePtr load(const AssetRef& asset, const std::string& fullDirectory);

    // Converts an imported scene; meshes are named file + "(" + scene index + ")".
    Data::SGNodePtr convert(const aiScene& scene, const std::string& file);

    // The meshes that passed their check, in scene order.
    const Data::MeshList& getMeshes() const { return meshes; }

private:
    static Data::MaterialPtr convertMaterial(const aiMaterial& material);
    Data::MeshPtr convertMesh(const aiMesh& mesh) const;
    Data::SGNodePtr convertNode(const aiNode& node) const;

    Data::MeshList meshes;
    std::map<unsigned, Data::MeshPtr> meshesBySceneIndex;
    std::map<unsigned, Data::MaterialPtr> materials;
    std::unique_ptr<Assimp::Importer> importer;
    const aiScene* scene = nullptr;
};

} // namespace System
