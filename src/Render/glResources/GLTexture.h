#pragma once

#include <cstdint>
#include <memory>

namespace Data {
class Image;
}

namespace Render {

// The OpenGL copy of an image, or an empty texture a render target draws into.
class GLTexture {
public:
    enum PixelType : std::int32_t {
        PT_NONE = 0,    // not set up
        PT_RGBA = 1,    // BGRA bytes
        PT_RGB = 2,     // BGR bytes
        PT_DEPTH = 3,   // depth component (render targets)
        PT_RED = 5,     // one byte per pixel
        PT_COVERAGE = 6 // one byte per pixel, sampled as white with that alpha
    };

    GLTexture() = default;
    GLTexture(const GLTexture&) = delete;
    GLTexture& operator=(const GLTexture&) = delete;
    ~GLTexture();

    // Creates the texture from rows padded to 4 bytes (null pixels: contents left
    // undefined). A cube map takes its six faces (+X, -X, +Y, -Y, +Z, -Z) from one
    // picture with the faces stacked top to bottom in memory. False, and nothing
    // changed, when already set up or the pixel type is unknown; false with a log
    // line when OpenGL refuses. Texture bindings are left as they were.
    bool setup(std::int32_t pixelType, int width, int height, bool mipmaps, const void* pixels,
               bool cubeMap, int bytesPerPixel);
    // Sets up from an image by its bits per pixel (8, 24 or 32); an 8-bit picture of
    // coverage is sampled as white with that alpha (widened to 32 bits where OpenGL
    // cannot swizzle). A cube map uses the
    // picture turned by 180 degrees. False for an image without pixels or of an
    // unsupported type.
    bool upload(const Data::Image& image, bool mipmaps, bool cubeMap);
    // Binds to the texture unit with the current filtering settings; does nothing
    // before a successful setup. A depth texture keeps its own sampling whatever the
    // settings: linear depth comparison (percentage-closer filtering of four texels),
    // clamped at its edges, as shadow lookups need.
    void bind(int unit) const;

    std::uint32_t getName() const { return name; }
    std::int32_t getPixelType() const { return pixelType; }
    bool hasMipmaps() const { return mipmaps; }
    bool isCubeMap() const { return cubeMap; }

    // Process-wide filtering used by every bind: linear (1) or nearest (0) for
    // minification and magnification; mipmaps off (0), nearest (1), linear (2).
    static void setFilterSettings(int minificationLinear, int magnificationLinear, int mipmapMode);
    static int getMinificationLinear();
    static int getMagnificationLinear();
    static int getMipmapMode();

private:
    // The filters and wrapping a bind last gave the texture object: a bind that
    // would change nothing leaves OpenGL's state alone.
    struct Sampling {
        std::int32_t minFilter = 0;
        std::int32_t magFilter = 0;
        std::int32_t wrap = 0;
        bool operator==(const Sampling&) const = default;
    };

    std::uint32_t name = 0;
    std::int32_t pixelType = PT_NONE;
    bool mipmaps = false;
    bool cubeMap = false;
    mutable Sampling applied;
};

using GLTexturePtr = std::shared_ptr<GLTexture>;

} // namespace Render
