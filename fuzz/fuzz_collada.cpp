// The model loader fed COLLADA text: any file gives no model or a node tree whose
// meshes hold only indices of their own vertices.
#include "Data/Mesh.h"
#include "Data/Object.h"
#include "FuzzSupport.h"
#include "System/File.h"

namespace {

void checkTree(const Data::SGNode& node) {
    if (const auto* object = dynamic_cast<const Data::Object*>(&node)) {
        for (const Data::MeshPtr& mesh : object->getMeshes()) {
            std::size_t counted = 0;
            for (const Data::Face& face : mesh->faces) {
                counted += face.count;
            }
            FuzzSupport::require(counted == mesh->indices.size(),
                                 "the face groups cover the index list");
            for (const std::uint32_t index : mesh->indices) {
                FuzzSupport::require(index < mesh->vertices.size(),
                                     "every index names a vertex of its mesh");
            }
            mesh->getBoundingBox();
        }
    }
    for (const auto& [address, child] : node.getChildren()) {
        checkTree(*child);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzSupport::writeAsset("model.dae", data, size);
    if (const Data::SGNodePtr root = System::File::loadMesh(System::AssetRef{"model.dae", ""})) {
        checkTree(*root);
        root->getBoundingBox();
    }
    return 0;
}
