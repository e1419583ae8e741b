#pragma once

#include "Tool/Export.h"

#include <FreeImagePlus.h>
#include <memory>
#include <string>

namespace Data {

// A decoded picture with the name it was loaded as and where it came from
// ("file:" + path, or "file-half:" + path when decoded at half size). Texture caches
// key on the origin. Once its texture is made, a picture from a file may give up its
// pixels: it keeps its size and counts as loaded, and can be decoded again from its
// origin.
class BRUMBLY_API Image {
public:
    Image() = default;

    // Loaded: holds its pixels, or gave them up after they were uploaded.
    bool isValid() const { return hasPixels() || released; }
    bool hasPixels() const { return picture.isValid() != 0; }
    unsigned getWidth() const { return hasPixels() ? picture.getWidth() : releasedWidth; }
    unsigned getHeight() const { return hasPixels() ? picture.getHeight() : releasedHeight; }

    // Frees the decoded pixels of a picture with an origin, keeping its size; false,
    // and nothing changed, without pixels or origin.
    bool releasePixels() {
        if (!hasPixels() || origin.empty()) {
            return false;
        }
        releasedWidth = picture.getWidth();
        releasedHeight = picture.getHeight();
        picture.clear();
        released = true;
        return true;
    }

    // Back to an image without picture, name or origin.
    void clear() {
        picture.clear();
        name.clear();
        origin.clear();
        mipmapped = true;
        coverage = false;
        releasedWidth = 0;
        releasedHeight = 0;
        released = false;
    }

    fipImage picture;
    std::string name;
    std::string origin;
    // Drawn smaller than its size at times: its texture gets mipmaps.
    bool mipmapped = true;
    // An 8-bit picture of coverage: drawn as white, as opaque as each pixel's value.
    bool coverage = false;

private:
    unsigned releasedWidth = 0;
    unsigned releasedHeight = 0;
    bool released = false;
};

using ImagePtr = std::shared_ptr<Image>;

} // namespace Data
