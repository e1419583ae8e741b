#include "System/loader/AssetLoader.h"

#include "Data/Object.h"
#include "System/File.h"
#include "System/UserPaths.h"
#include "System/loader/ModelText.h"
#include "Tool/LogManager.h"
#include "Tool/LogText.h"

#include <assimp/DefaultLogger.hpp>
#include <assimp/Importer.hpp>
#include <assimp/LogStream.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/gtc/type_ptr.hpp>

namespace System {

namespace {

constexpr unsigned POST_PROCESSING = aiProcess_JoinIdenticalVertices | aiProcess_Triangulate |
                                     aiProcess_GenNormals | aiProcess_ValidateDataStructure |
                                     aiProcess_RemoveRedundantMaterials |
                                     aiProcess_FindDegenerates | aiProcess_FindInvalidData |
                                     aiProcess_FindInstances | aiProcess_OptimizeMeshes;
static_assert(POST_PROCESSING == 0x33142A);

constexpr unsigned ALL_SEVERITIES =
    Assimp::Logger::Debugging | Assimp::Logger::Info | Assimp::Logger::Warn | Assimp::Logger::Err;

void sendError(const std::string& title, const std::string& details, int line) {
    Tool::LogManager::getInstance().send(
        Tool::Message("AssetLoader", title, details, __FILE__, line, Tool::MT_ERROR));
}

glm::vec4 readColor(const aiMaterial& material, const char* key, unsigned type, unsigned index,
                    const glm::vec4& fallback) {
    aiColor4D color;
    if (material.Get(key, type, index, color) != AI_SUCCESS) {
        return fallback;
    }
    return {color.r, color.g, color.b, color.a};
}

} // namespace

AssetLoader::AssetLoader() : importer(std::make_unique<Assimp::Importer>()) {}

AssetLoader::~AssetLoader() = default;

Data::SGNodePtr AssetLoader::load(const AssetRef& asset, const std::string& fullDirectory) {
    // An empty log name creates no log file of its own; the streams are attached below.
    Assimp::DefaultLogger::create("", Assimp::Logger::VERBOSE,
                                  aiDefaultLogStream_FILE | aiDefaultLogStream_DEBUGGER);
    Assimp::Logger* logger = Assimp::DefaultLogger::get();
    const std::string logPath = UserPaths::get().importerLogFile.string();
    logger->attachStream(
        Assimp::LogStream::createDefaultStream(aiDefaultLogStream_FILE, logPath.c_str()),
        ALL_SEVERITIES);
    logger->attachStream(
        Assimp::LogStream::createDefaultStream(aiDefaultLogStream_STDERR, "AssimpLog.txt"),
        Assimp::Logger::Err);

    const std::string path = File::nativePath(fullDirectory + asset.file);
    // Files that would make the importer run away never reach it.
    const std::string refused = ModelText::checkFile(path);
    scene = refused.empty() ? importer->ReadFile(path, POST_PROCESSING) : nullptr;
    Assimp::DefaultLogger::kill();

    if (!scene) {
        sendError("couldn't load " + Tool::logExcerpt(asset.file),
                  Tool::logExcerpt(refused.empty() ? importer->GetErrorString() : refused),
                  __LINE__);
        return nullptr;
    }
    return convert(*scene, asset.file);
}

Data::SGNodePtr AssetLoader::convert(const aiScene& source, const std::string& file) {
    meshes.clear();
    meshesBySceneIndex.clear();
    materials.clear();

    if (source.mNumTextures != 0 && source.mTextures != nullptr) {
        Tool::LogManager::getInstance().send(Tool::Message("AssetLoader",
                                                           "Asset with embedded texture!!", "",
                                                           __FILE__, __LINE__, Tool::MT_WARNING));
    }
    for (unsigned i = 0; i < source.mNumMaterials; ++i) {
        materials[i] = convertMaterial(*source.mMaterials[i]);
    }
    for (unsigned i = 0; i < source.mNumMeshes; ++i) {
        Data::MeshPtr mesh = convertMesh(*source.mMeshes[i]);
        mesh->name = file + "(" + std::to_string(i) + ")";
        if (mesh->check()) {
            meshes.push_back(mesh);
            meshesBySceneIndex[i] = mesh;
        }
    }
    materials.clear();

    if (meshes.empty() || !source.mRootNode) {
        return nullptr;
    }
    return convertNode(*source.mRootNode);
}

Data::MaterialPtr AssetLoader::convertMaterial(const aiMaterial& source) {
    auto material = std::make_shared<Data::Material>();
    aiString name;
    if (source.Get(AI_MATKEY_NAME, name) == AI_SUCCESS) {
        material->name = name.C_Str();
    }
    const glm::vec4 black(0.0f, 0.0f, 0.0f, 1.0f);
    material->set(Data::MP_DIFFUSE, readColor(source, AI_MATKEY_COLOR_DIFFUSE, black));
    material->set(Data::MP_SPECULAR, readColor(source, AI_MATKEY_COLOR_SPECULAR, glm::vec4(1.0f)));
    material->set(Data::MP_AMBIENT, readColor(source, AI_MATKEY_COLOR_AMBIENT, black));
    material->set(Data::MP_EMISSION, readColor(source, AI_MATKEY_COLOR_EMISSIVE, black));

    float shininess = 0.0f;
    if (source.Get(AI_MATKEY_SHININESS, shininess) != AI_SUCCESS) {
        shininess = 0.0f;
    }
    material->set(Data::MP_SHININESS, shininess);

    aiString texture;
    if (source.Get(AI_MATKEY_TEXTURE(aiTextureType_DIFFUSE, 0), texture) == AI_SUCCESS &&
        texture.length > 0) {
        std::string textureName = texture.C_Str();
        if (textureName.rfind("./", 0) == 0 || textureName.rfind(".\\", 0) == 0) {
            textureName.erase(0, 2);
        }
        material->set(Data::MP_DIFFUSE_TEXTURE, textureName);
    }
    return material;
}

Data::MeshPtr AssetLoader::convertMesh(const aiMesh& source) const {
    auto mesh = std::make_shared<Data::Mesh>();
    for (unsigned i = 0; i < source.mNumVertices; ++i) {
        const aiVector3D& v = source.mVertices[i];
        mesh->vertices.emplace_back(v.x, v.y, v.z);
    }
    if (source.HasNormals()) {
        for (unsigned i = 0; i < source.mNumVertices; ++i) {
            const aiVector3D& n = source.mNormals[i];
            mesh->normals.emplace_back(n.x, n.y, n.z);
        }
    }
    if (source.HasTextureCoords(0) && source.mNumVertices > 0) {
        auto& set = mesh->texCoords.emplace_back();
        for (unsigned i = 0; i < source.mNumVertices; ++i) {
            set.emplace_back(source.mTextureCoords[0][i].x, source.mTextureCoords[0][i].y);
        }
    }
    if (source.mNumFaces == 0) {
        return mesh;
    }

    // Index totals of line (2) and triangle (3) faces; lines go first in the list.
    std::uint32_t totals[4] = {0, 0, 0, 0};
    for (unsigned f = 0; f < source.mNumFaces; ++f) {
        const unsigned count = source.mFaces[f].mNumIndices;
        if (count == 2 || count == 3) {
            totals[count] += count;
        } else {
            sendError("unsuported face type: " + std::to_string(count), "", __LINE__);
        }
    }
    mesh->indices.resize(totals[2] + totals[3]);

    const auto found = materials.find(source.mMaterialIndex);
    const Data::MaterialPtr material = found == materials.end() ? nullptr : found->second;
    std::uint32_t offsets[4] = {0, 0, 0, 0};
    std::uint32_t next = 0;
    for (unsigned size = 2; size <= 3; ++size) {
        if (totals[size] > 0) {
            const std::int32_t type = size == 2 ? Data::FT_LINES : Data::FT_TRIANGLES;
            mesh->faces.push_back({type, totals[size], material});
            offsets[size] = next;
            next += totals[size];
        }
    }
    for (unsigned f = 0; f < source.mNumFaces; ++f) {
        const aiFace& face = source.mFaces[f];
        if (face.mNumIndices == 2 || face.mNumIndices == 3) {
            std::copy_n(face.mIndices, face.mNumIndices,
                        mesh->indices.begin() + offsets[face.mNumIndices]);
            offsets[face.mNumIndices] += face.mNumIndices;
        }
    }
    return mesh;
}

Data::SGNodePtr AssetLoader::convertNode(const aiNode& source) const {
    Data::SGNodePtr node;
    if (source.mNumMeshes > 0) {
        auto object = std::make_shared<Data::Object>();
        for (unsigned i = 0; i < source.mNumMeshes; ++i) {
            const auto found = meshesBySceneIndex.find(source.mMeshes[i]);
            if (found != meshesBySceneIndex.end()) {
                object->addMesh(found->second);
            }
        }
        node = object;
    } else {
        node = std::make_shared<Data::SGNode>();
    }
    node->setName(source.mName.C_Str());
    // Assimp stores rows, glm columns: the same element (row, column) in both.
    node->setTransformation(glm::transpose(glm::make_mat4(&source.mTransformation.a1)));
    for (unsigned i = 0; i < source.mNumChildren; ++i) {
        node->addChild(convertNode(*source.mChildren[i]));
    }
    return node;
}

} // namespace System
