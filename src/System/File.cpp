#include "System/File.h"

#include "Data/FontManager.h"
#include "Data/Image.h"
#include "Data/Material.h"
#include "System/loader/AssetLoader.h"
#include "System/loader/ShaderLoader.h"
#include "Tool/LogManager.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace System {

namespace {

void sendMessage(const std::string& title) {
    Tool::LogManager::getInstance().send(Tool::Message("File", title, "", Tool::MT_MESSAGE));
}

void sendError(const std::string& title, int line) {
    Tool::LogManager::getInstance().send(
        Tool::Message("File", title, "", __FILE__, line, Tool::MT_ERROR));
}

// Replaces a texture file name under `key` by the loaded image; a name that does not
// load stays in place.
void resolveTexture(Data::Material& material, std::int32_t key, const std::string& directory) {
    const auto found = material.properties.find(key);
    if (found == material.properties.end()) {
        return;
    }
    const auto* file = std::any_cast<std::string>(&found->second);
    if (!file) {
        return;
    }
    auto image = std::make_shared<Data::Image>();
    File::loadImage(image, AssetRef{*file, directory});
    if (image->isValid()) {
        found->second = image;
    }
}

// The value after each "=" up to the end of its line, in line order; a value that
// is not a number reads as 0.
std::vector<unsigned> parseWidthTable(const std::string& text) {
    std::vector<unsigned> values;
    std::size_t equals = text.find('=');
    while (equals != std::string::npos) {
        const std::size_t lineEnd = text.find('\n', equals);
        const std::size_t end = lineEnd == std::string::npos ? text.size() : lineEnd;
        std::size_t begin = equals + 1;
        while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) {
            ++begin;
        }
        unsigned value = 0;
        std::from_chars(text.data() + begin, text.data() + end, value);
        values.push_back(value);
        equals = lineEnd == std::string::npos ? std::string::npos : text.find('=', lineEnd);
    }
    return values;
}

} // namespace

std::string File::workingDirectory;

void File::init(const std::string& programPath) {
    const auto separator = programPath.find_last_of("/\\");
    if (separator == std::string::npos) {
        workingDirectory = "./";
        return;
    }
    workingDirectory = programPath.substr(0, separator + 1) + "/";
}

void File::init(int argc, char** argv) {
    init(argc > 0 && argv[0] ? argv[0] : std::string());
}

std::string File::getPWD() {
    return workingDirectory;
}

std::string File::nativePath(const std::string& path) {
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

std::string File::readText(const std::string& path) {
    std::ifstream in(nativePath(path), std::ios::binary);
    if (!in) {
        return {};
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        result += text[i];
    }
    return result;
}

Data::SGNodePtr File::loadMesh(const AssetRef& asset) {
    sendMessage("loading Mesh " + asset.file);
    AssetLoader loader;
    Data::SGNodePtr root = loader.load(asset, workingDirectory + asset.directory);
    if (!root) {
        sendError("loading Mesh " + asset.file, __LINE__);
        return nullptr;
    }
    for (const auto& mesh : loader.getMeshes()) {
        for (const auto& face : mesh->faces) {
            if (face.material) {
                resolveTexture(*face.material, Data::MP_DIFFUSE_TEXTURE, asset.directory);
                resolveTexture(*face.material, Data::MP_SECOND_TEXTURE, asset.directory);
            }
        }
    }
    return root;
}

void File::loadImage(const Data::ImagePtr& image, const AssetRef& asset) {
    sendMessage("loading Image " + asset.file);
    if (!image) {
        sendError("loading Image " + asset.file, __LINE__);
        return;
    }
    image->picture.clear();
    image->name.clear();
    // A stale origin would let a texture cache hand out the previous picture.
    image->origin.clear();
    const std::string path = workingDirectory + asset.directory + asset.file;
    if (image->picture.load(nativePath(path).c_str(), 0)) {
        image->name = asset.file;
        image->origin = "file:" + path;
    } else {
        sendError("loading Image " + asset.file, __LINE__);
    }
    std::cout << std::endl;
}

void File::loadShader(Data::ShaderPtr& shader, const AssetRef& asset) {
    sendMessage("loading Shader " + asset.file);
    if (!shader) {
        shader = std::make_shared<Data::Shader>();
    }
    if (!ShaderLoader::load(*shader, asset.file, workingDirectory + asset.directory)) {
        sendError("loading first Shader " + asset.file, __LINE__);
    }
    std::cout << std::endl;
}

void File::loadFont(const AssetRef& asset) {
    sendMessage("loading Font " + asset.file);
    auto font = std::make_shared<Data::Font>();
    font->image = std::make_shared<Data::Image>();
    loadImage(font->image, AssetRef{asset.file + "Trans.png", asset.directory});

    const std::string iniFile = asset.file + ".ini";
    const std::string text = readText(workingDirectory + asset.directory + iniFile);
    if (text.empty()) {
        sendError("loading Font ini " + iniFile, __LINE__);
    }
    // Widths are fractions of the texture width; without a texture they keep the
    // full cell width instead of becoming infinite.
    const unsigned textureWidth = font->image->picture.getWidth();
    if (!text.empty() && textureWidth > 0) {
        const std::vector<unsigned> widths = parseWidthTable(text);
        const std::size_t used = std::min(widths.size(), font->glyphs.size());
        for (std::size_t i = 0; i < used; ++i) {
            font->glyphs[i].width =
                static_cast<float>(widths[i]) / static_cast<float>(textureWidth);
        }
    }
    Data::FontManager::getInstance().registerFont(asset.file, font);
}

} // namespace System
