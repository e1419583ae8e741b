#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace TrackGen {

using Colour = std::array<float, 4>; // red, green, blue, alpha in [0, 1]

inline Colour rgb(float r, float g, float b, float a = 1.0f) {
    return {r, g, b, a};
}

inline Colour lerp(const Colour& a, const Colour& b, float t) {
    return {a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t,
            a[3] + (b[3] - a[3]) * t};
}

// Scales red, green and blue.
inline Colour scaled(const Colour& c, float factor) {
    return {c[0] * factor, c[1] * factor, c[2] * factor, c[3]};
}

// A picture of floating-point RGBA pixels. Row 0 is the bottom row, as the image
// library and the game's texture upload count rows.
class Raster {
public:
    Raster() = default;
    Raster(int width, int height, const Colour& fill = rgb(0, 0, 0, 0));

    int width() const { return w; }
    int height() const { return h; }
    Colour& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * w + x]; }
    const Colour& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * w + x]; }

    // Bilinear sample at texture coordinates (u, v) in [0, 1]; `repeat` wraps,
    // otherwise the edge pixels continue outward.
    Colour sample(float u, float v, bool repeat) const;
    // Alpha-blends `c` over the pixel (x, y) with coverage `amount`; outside is ignored.
    void blend(int x, int y, const Colour& c, float amount);

    // Fills every pixel from a function of its column and row, rows spread over
    // the machine's cores (each pixel is computed alone, so the result never
    // depends on the number of threads).
    void fill(const std::function<Colour(int x, int y)>& shader);

    // 24-bit RGB JPEG (alpha dropped), deterministic bytes for the same pixels.
    bool saveJpeg(const std::string& path, int quality = 92) const;
    // 32-bit RGBA PNG. The image library writes an alpha channel that is opaque
    // everywhere as plain RGB, so such pictures need some translucent pixel.
    bool savePng(const std::string& path) const;
    // 8-bit grey PNG of the alpha channel alone.
    bool saveAlphaPng(const std::string& path) const;

private:
    int w = 0;
    int h = 0;
    std::vector<Colour> pixels;
};

// Creates the directories of `path` (a file path); false when it cannot.
bool ensureParentDirectory(const std::string& path);

} // namespace TrackGen
