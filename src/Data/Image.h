#pragma once

#include "Tool/Export.h"

#include <FreeImagePlus.h>
#include <memory>
#include <string>

namespace Data {

// A decoded picture with the name it was loaded as and where it came from
// ("file:" + path). Texture caches key on the origin.
class BRUMBLY_API Image {
public:
    Image() = default;

    bool isValid() const { return picture.isValid() != 0; }

    fipImage picture;
    std::string name;
    std::string origin;
};

using ImagePtr = std::shared_ptr<Image>;

} // namespace Data
