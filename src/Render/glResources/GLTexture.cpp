#include "Render/glResources/GLTexture.h"

#include "Data/Image.h"
#include "Tool/LogManager.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <algorithm>
#include <functional>
#include <vector>

namespace Render {
namespace {

int minificationLinear = 1;
int magnificationLinear = 1;
int mipmapMode = 2;

// Rows of the pixel data are padded to 4 bytes, as the image library stores them
// and as OpenGL's default unpack alignment expects.
std::size_t rowBytes(int width, int bytesPerPixel) {
    return (static_cast<std::size_t>(width) * bytesPerPixel + 3) / 4 * 4;
}

// The next mipmap level below a picture of width x height (rows padded to 4 bytes):
// each texel the mean of the 2 x 2 texels it covers, of 2 where a side is already 1.
// An odd side's last row or column is left out, as the level's side is half of it
// rounded down. Done on the processor: a software renderer generates mipmaps by
// compiling and running drawing programs, many times slower than this.
template <int bytesPerPixel>
void halveInto(const unsigned char* from, int width, int height, unsigned char* to) {
    const int halfWidth = std::max(1, width / 2);
    const int halfHeight = std::max(1, height / 2);
    const std::size_t fromRow = rowBytes(width, bytesPerPixel);
    const std::size_t toRow = rowBytes(halfWidth, bytesPerPixel);
    const int right = width > 1 ? bytesPerPixel : 0;
    const std::size_t below = height > 1 ? fromRow : 0;
    for (int y = 0; y < halfHeight; ++y) {
        const unsigned char* top = from + 2 * static_cast<std::size_t>(y) * fromRow;
        const unsigned char* bottom = top + below;
        unsigned char* out = to + static_cast<std::size_t>(y) * toRow;
        for (int x = 0; x < halfWidth; ++x, top += 2 * right, bottom += 2 * right) {
            for (int c = 0; c < bytesPerPixel; ++c) {
                *out++ = static_cast<unsigned char>(
                    (top[c] + top[c + right] + bottom[c] + bottom[c + right] + 2) / 4);
            }
        }
    }
}

std::size_t levelBytes(int width, int height, int bytesPerPixel) {
    return rowBytes(width, bytesPerPixel) * static_cast<std::size_t>(height);
}

void halve(const unsigned char* from, int width, int height, int bytesPerPixel, unsigned char* to) {
    switch (bytesPerPixel) {
    case 1:
        halveInto<1>(from, width, height, to);
        break;
    case 3:
        halveInto<3>(from, width, height, to);
        break;
    default:
        halveInto<4>(from, width, height, to);
        break;
    }
}

// Sets one level of one image target from rows padded to 4 bytes.
using LevelUpload =
    std::function<void(GLenum imageTarget, int level, int width, int height, const void* pixels)>;

// Uploads the levels below level 0 of the image target, each halved from the one above,
// down to a single texel. One buffer holds the two levels being halved from and into.
void uploadMipmaps(const LevelUpload& upload, GLenum imageTarget, const void* pixels, int width,
                   int height, int bytesPerPixel) {
    const int halfWidth = std::max(1, width / 2);
    const int halfHeight = std::max(1, height / 2);
    const std::size_t firstBytes = levelBytes(halfWidth, halfHeight, bytesPerPixel);
    std::vector<unsigned char> levels(firstBytes + levelBytes(std::max(1, halfWidth / 2),
                                                              std::max(1, halfHeight / 2),
                                                              bytesPerPixel));
    unsigned char* const areas[2] = {levels.data(), levels.data() + firstBytes};
    const unsigned char* above = static_cast<const unsigned char*>(pixels);
    for (int i = 1; width > 1 || height > 1; ++i) {
        unsigned char* level = areas[(i - 1) % 2];
        halve(above, width, height, bytesPerPixel, level);
        width = std::max(1, width / 2);
        height = std::max(1, height / 2);
        upload(imageTarget, i, width, height, level);
        above = level;
    }
}

// How many levels a full chain of mipmaps has, level 0 included.
int mipmapLevels(int width, int height) {
    int levels = 1;
    for (; width > 1 || height > 1; ++levels) {
        width = std::max(1, width / 2);
        height = std::max(1, height / 2);
    }
    return levels;
}

// Depth textures are read through comparison samplers: each lookup compares four
// texels with the reference depth and blends the results bilinearly. Outside the
// map the edge texels answer, never the opposite side.
void setDepthComparison() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LEQUAL);
}

// The 8-bit coverage picture as 32-bit white pixels with that alpha.
Data::Image whiteWithAlpha(const Data::Image& coverage) {
    Data::Image widened;
    const unsigned width = coverage.picture.getWidth();
    const unsigned height = coverage.picture.getHeight();
    widened.picture.setSize(FIT_BITMAP, width, height, 32);
    for (unsigned y = 0; y < height; ++y) {
        const BYTE* from = coverage.picture.getScanLine(y);
        BYTE* to = widened.picture.getScanLine(y);
        for (unsigned x = 0; x < width; ++x, to += 4) {
            to[FI_RGBA_RED] = to[FI_RGBA_GREEN] = to[FI_RGBA_BLUE] = 255;
            to[FI_RGBA_ALPHA] = from[x];
        }
    }
    return widened;
}

} // namespace

GLTexture::~GLTexture() {
    if (name != 0)
        glDeleteTextures(1, &name);
}

bool GLTexture::setup(std::int32_t type, int width, int height, bool withMipmaps,
                      const void* pixels, bool asCubeMap, int bytesPerPixel) {
    if (pixelType != PT_NONE)
        return false;
    GLint internalFormat = 0;
    GLenum sizedFormat = 0;
    GLenum format = 0;
    switch (type) {
    case PT_RGBA:
        internalFormat = GL_RGBA;
        sizedFormat = GL_RGBA8;
        format = GL_BGRA;
        break;
    case PT_RGB:
        internalFormat = GL_RGB;
        sizedFormat = GL_RGB8;
        format = GL_BGR;
        break;
    case PT_DEPTH:
        // Sixteen bits hold a shadow map's depth once the light camera's near plane
        // lies close to the scene, in half the memory of 24 (kept in 32).
        internalFormat = GL_DEPTH_COMPONENT16;
        sizedFormat = GL_DEPTH_COMPONENT16;
        format = GL_DEPTH_COMPONENT;
        break;
    case PT_RED:
    case PT_COVERAGE:
        internalFormat = GL_RED;
        sizedFormat = GL_R8;
        format = GL_RED;
        break;
    default:
        return false;
    }

    const GLenum target = asCubeMap ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D;
    const int images = asCubeMap ? 6 : 1;
    const int imageHeight = height / images;
    const std::size_t imageBytes = rowBytes(width, bytesPerPixel) * imageHeight;

    // Unit 0 may hold a texture that was bound for good (an environment map); it
    // gets it back, and the active unit is restored, once the upload is done.
    GLint activeUnit = GL_TEXTURE0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &activeUnit);
    glActiveTexture(GL_TEXTURE0);
    GLint previous = 0;
    glGetIntegerv(asCubeMap ? GL_TEXTURE_BINDING_CUBE_MAP : GL_TEXTURE_BINDING_2D, &previous);

    glGenTextures(1, &name);
    glBindTexture(target, name);
    // A picture with mipmaps gets the storage of all its levels at once: specified level
    // by level, a software renderer keeps each level apart until the texture is drawn,
    // and then copies them all into one block.
    const bool storage = withMipmaps && pixels && width > 0 && imageHeight > 0 &&
                         (GLEW_VERSION_4_2 || GLEW_ARB_texture_storage);
    if (storage)
        glTexStorage2D(target, mipmapLevels(width, imageHeight), sizedFormat, width, imageHeight);
    const LevelUpload upload = [&](GLenum imageTarget, int level, int levelWidth, int levelHeight,
                                   const void* data) {
        if (storage)
            glTexSubImage2D(imageTarget, level, 0, 0, levelWidth, levelHeight, format,
                            GL_UNSIGNED_BYTE, data);
        else
            glTexImage2D(imageTarget, level, internalFormat, levelWidth, levelHeight, 0, format,
                         GL_UNSIGNED_BYTE, data);
    };
    for (int i = 0; i < images; ++i) {
        const GLenum imageTarget = asCubeMap ? GL_TEXTURE_CUBE_MAP_POSITIVE_X + i : GL_TEXTURE_2D;
        const void* data =
            pixels ? static_cast<const unsigned char*>(pixels) + i * imageBytes : nullptr;
        upload(imageTarget, 0, width, imageHeight, data);
        if (withMipmaps && data)
            uploadMipmaps(upload, imageTarget, data, width, imageHeight, bytesPerPixel);
    }
    if (type == PT_COVERAGE) {
        const GLint whiteWithAlpha[] = {GL_ONE, GL_ONE, GL_ONE, GL_RED};
        glTexParameteriv(target, GL_TEXTURE_SWIZZLE_RGBA, whiteWithAlpha);
    }
    if (withMipmaps && !pixels)
        glGenerateMipmap(target);
    if (type == PT_DEPTH)
        setDepthComparison();

    const GLenum error = glGetError();
    glBindTexture(target, static_cast<GLuint>(previous));
    glActiveTexture(static_cast<GLenum>(activeUnit));
    if (error != GL_NO_ERROR) {
        Tool::LogManager::getInstance().send(Tool::Message(
            "GLTexture", "setup failed", reinterpret_cast<const char*>(gluErrorString(error)),
            __FILE__, __LINE__, Tool::MT_ERROR));
        glDeleteTextures(1, &name);
        name = 0;
        return false;
    }
    pixelType = type;
    mipmaps = withMipmaps;
    cubeMap = asCubeMap;
    return true;
}

bool GLTexture::upload(const Data::Image& image, bool withMipmaps, bool asCubeMap) {
    if (!image.hasPixels())
        return false;
    const unsigned bits = image.picture.getBitsPerPixel();
    std::int32_t type = PT_NONE;
    if (bits >= 8 && bits < 16)
        type = PT_RED;
    else if (bits >= 24 && bits < 32)
        type = PT_RGB;
    else if (bits >= 32 && bits < 40)
        type = PT_RGBA;
    if (type == PT_NONE) {
        Tool::LogManager::getInstance().send(Tool::Message("GLTexture", "unsuported image type", "",
                                                           __FILE__, __LINE__, Tool::MT_ERROR));
        return false;
    }
    if (type == PT_RED && image.coverage) {
        if (!GLEW_VERSION_3_3 && !GLEW_ARB_texture_swizzle)
            return upload(whiteWithAlpha(image), withMipmaps, asCubeMap);
        type = PT_COVERAGE;
    }
    const int bytesPerPixel = static_cast<int>(bits / 8);
    const int width = static_cast<int>(image.picture.getWidth());
    const int height = static_cast<int>(image.picture.getHeight());
    if (!asCubeMap)
        return setup(type, width, height, withMipmaps, image.picture.accessPixels(), false,
                     bytesPerPixel);
    fipImage turned(image.picture);
    turned.flipHorizontal();
    turned.flipVertical();
    return setup(type, width, height, withMipmaps, turned.accessPixels(), true, bytesPerPixel);
}

void GLTexture::bind(int unit) const {
    if (pixelType == PT_NONE)
        return;
    const GLenum target = cubeMap ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D;
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(target, name);
    if (pixelType == PT_DEPTH)
        return;
    Sampling wanted;
    wanted.magFilter = magnificationLinear == 1 ? GL_LINEAR : GL_NEAREST;
    wanted.minFilter = minificationLinear ? GL_LINEAR : GL_NEAREST;
    if (mipmaps && mipmapMode == 1)
        wanted.minFilter =
            minificationLinear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    else if (mipmaps && mipmapMode == 2)
        wanted.minFilter = minificationLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    wanted.wrap = cubeMap ? GL_CLAMP_TO_EDGE : GL_REPEAT;
    if (wanted == applied)
        return;
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, wanted.magFilter);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, wanted.minFilter);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, wanted.wrap);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, wanted.wrap);
    applied = wanted;
}

void GLTexture::setFilterSettings(int minLinear, int magLinear, int mode) {
    minificationLinear = minLinear;
    magnificationLinear = magLinear;
    mipmapMode = mode;
}

int GLTexture::getMinificationLinear() {
    return minificationLinear;
}

int GLTexture::getMagnificationLinear() {
    return magnificationLinear;
}

int GLTexture::getMipmapMode() {
    return mipmapMode;
}

} // namespace Render
