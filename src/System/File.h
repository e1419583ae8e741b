#pragma once

#include "Data/SGNode.h"
#include "Data/Shader.h"
#include "System/AssetRef.h"
#include "Tool/Export.h"

#include <future>
#include <memory>
#include <string>
#include <vector>

// Declared only: the launcher includes this header and needs no image library.
namespace Data {
class Image;
}

namespace System {

// File access of the game library. Every asset path is the working directory
// followed by the asset's relative directory and file name. Loads never throw:
// failures are logged and reported by an empty or invalid result.
class File {
public:
    // How large a picture is decoded: whole, or at half its width and height (rounded
    // up), which a JPEG gets while it decodes, faster than decoding it whole.
    enum class PictureSize { Whole, Half };

    // A picture file at the size it is to be decoded at.
    struct PictureRequest {
        AssetRef asset;
        PictureSize size = PictureSize::Whole;
    };

    // Decodes pictures on a thread of its own, in the order given, while the caller
    // goes on with other work. While it lives, loadImage of one of them (same asset
    // spelling and size) takes its decoded picture, waiting for it where it is not
    // done yet, instead of decoding the file itself; the log reads as if it were
    // decoded then. Pictures not taken are dropped when it ends. Without a thread
    // it decodes nothing and every load decodes its file itself.
    class BRUMBLY_API Prefetch {
    public:
        explicit Prefetch(const std::vector<PictureRequest>& pictures);
        ~Prefetch();
        Prefetch(const Prefetch&) = delete;
        Prefetch& operator=(const Prefetch&) = delete;

        // How many of its pictures no load has taken yet.
        std::size_t untaken() const;

    private:
        std::vector<std::string> keys;
        std::future<void> worker;
    };

    // Keeps the text up to and including the last '/' or '\' and appends one "/"
    // (the separator that asset paths expect after the working directory). A path
    // without any separator gives "./".
    BRUMBLY_API static void init(const std::string& programPath);
    BRUMBLY_API static void init(int argc, char** argv);
    BRUMBLY_API static std::string getPWD();

    // Imports a model and loads the textures its materials name, at `size`; null on
    // failure.
    BRUMBLY_API static Data::SGNodePtr loadMesh(const AssetRef& asset,
                                                PictureSize size = PictureSize::Whole);
    // Loads a picture into `image`; on failure the image is left invalid, name "".
    BRUMBLY_API static void loadImage(const std::shared_ptr<Data::Image>& image,
                                      const AssetRef& asset, PictureSize size = PictureSize::Whole);
    // The picture of the asset; invalid when it could not be read. A picture of the
    // same file still held somewhere is shared rather than decoded again (the models
    // of a level name the same textures many times); it may have given up its pixels
    // to its texture, and a reader of pixels gets them back with reloadImage. Pictures
    // of one file at different sizes are different pictures, with different origins.
    BRUMBLY_API static std::shared_ptr<Data::Image>
    loadImage(const AssetRef& asset, PictureSize size = PictureSize::Whole);
    // Decodes the pixels of an image loaded from a file again, from its origin and at
    // the size it was loaded at, after it gave them up; true when it holds its pixels
    // afterwards.
    BRUMBLY_API static bool reloadImage(Data::Image& image);
    // Creates the shader when `shader` is empty, then appends the sources of
    // asset.file (+ ".vert" / ".frag", after "basicLib.glsl").
    BRUMBLY_API static void loadShader(Data::ShaderPtr& shader, const AssetRef& asset);
    // A new shader with the sources of asset.file.
    BRUMBLY_API static Data::ShaderPtr loadShader(const AssetRef& asset);
    // Loads asset.file + "Trans.png" and the width table asset.file + ".ini" and
    // registers the font as the current font.
    BRUMBLY_API static void loadFont(const AssetRef& asset);
    // The picture file of that font.
    BRUMBLY_API static AssetRef fontPicture(const AssetRef& font);

    // The path as the file system takes it: every "\" becomes "/".
    static std::string nativePath(const std::string& path);
    // The whole text file with "\r\n" read as "\n"; "" when it cannot be read.
    static std::string readText(const std::string& path);

private:
    static std::string workingDirectory;
};

} // namespace System
