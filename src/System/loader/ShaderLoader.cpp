#include "System/loader/ShaderLoader.h"

#include "System/File.h"
#include "Tool/LogManager.h"
#include "Tool/LogText.h"

namespace System {

namespace {

// The text of the file, or "" after logging that it could not be opened.
std::string readSource(const std::string& path) {
    std::string text = File::readText(path);
    if (text.empty()) {
        Tool::LogManager::getInstance().send(
            Tool::Message("ShaderLoader", "couldn't open " + Tool::logExcerpt(path), "", __FILE__,
                          __LINE__, Tool::MT_ERROR));
    }
    return text;
}

} // namespace

bool ShaderLoader::load(Data::Shader& shader, const std::string& baseName,
                        const std::string& directory) {
    const std::string library = readSource(directory + "basicLib.glsl");
    if (library.empty()) {
        return false;
    }
    shader.vertexSources.push_back(library);
    shader.fragmentSources.push_back(library);

    const std::string vertex = readSource(directory + baseName + ".vert");
    if (vertex.empty()) {
        return false;
    }
    shader.vertexSources.push_back(vertex);

    const std::string fragment = readSource(directory + baseName + ".frag");
    if (fragment.empty()) {
        return false;
    }
    shader.fragmentSources.push_back(fragment);

    shader.name = baseName;
    shader.origin = "file:" + directory + baseName + ".vsh/fsh";
    return true;
}

} // namespace System
