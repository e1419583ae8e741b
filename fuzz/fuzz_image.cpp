// Image loading into a texture-ready picture: any file gives an invalid image or one
// whose every pixel row, as the texture upload reads it, lies inside the picture.
#include "Data/Image.h"
#include "FuzzSupport.h"
#include "System/File.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzSupport::writeAsset("picture.png", data, size);
    auto image = std::make_shared<Data::Image>();
    System::File::loadImage(image, System::AssetRef{"picture.png", ""});
    if (!image->isValid()) {
        return 0;
    }
    fipImage& picture = image->picture;
    const unsigned bits = picture.getBitsPerPixel();
    const unsigned width = picture.getWidth();
    const unsigned height = picture.getHeight();
    const BYTE* pixels = picture.accessPixels();
    FuzzSupport::require(width > 0 && height > 0, "a valid picture has pixels");
    FuzzSupport::require(pixels != nullptr, "a valid picture has pixel memory");
    // The upload reads height rows of width * bits / 8 bytes, each starting at a
    // multiple of four bytes: touch every one of them.
    const std::size_t row = (static_cast<std::size_t>(width) * bits + 7) / 8;
    const std::size_t stride = (row + 3) / 4 * 4;
    FuzzSupport::require(picture.getScanWidth() >= row, "the rows are wide enough");
    // The sum goes to a volatile, so the reads stay in the program.
    static volatile unsigned sink = 0;
    unsigned sum = 0;
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < row; ++x) {
            sum += pixels[y * stride + x];
        }
    }
    sink = sum;
    return 0;
}
