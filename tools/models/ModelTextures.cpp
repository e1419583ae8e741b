#include "ModelTextures.h"

#include "TrackGen/Noise.h"
#include "common/TextPainter.h"

#include <cmath>

namespace Tools {

namespace {

// Wood with grain running along x (u); `tone` shifts the board's shade.
Colour wood(const Noise& noise, float u, float v, float tone) {
    const float grain = noise.fbm(u * 3.0f, v * 40.0f, 4);
    const float rings = 0.5f + 0.5f * std::sin((v * 55.0f + grain * 6.0f) * 3.0f);
    const Colour light = rgb(0.72f, 0.53f, 0.31f);
    const Colour dark = rgb(0.50f, 0.34f, 0.18f);
    return scaled(lerp(light, dark, 0.35f * rings + 0.3f * (grain + 0.5f)), tone);
}

} // namespace

Raster crateTexture() {
    const Noise noise(301U);
    Raster picture(512, 512);
    picture.fill([&](int x, int y) {
        const float u = (x + 0.5f) / 512.0f;
        const float v = (y + 0.5f) / 512.0f;
        const float border = 0.11f;
        const bool frame = u < border || u > 1 - border || v < border || v > 1 - border;
        // Diagonal brace from bottom-left to top-right inside the frame.
        const bool brace = !frame && std::fabs(u - v) < 0.075f;
        Colour c;
        if (frame) {
            const bool vertical = (u < border || u > 1 - border) && v > border && v < 1 - border;
            c = vertical ? wood(noise, v + 3.1f, u, 0.82f) : wood(noise, u, v + 1.7f, 0.85f);
        } else if (brace) {
            c = wood(noise, (u + v) * 0.7f, (u - v) + 5.0f, 0.9f);
        } else {
            // Four boards with dark gaps between them.
            const float board = (v - border) / (1 - 2 * border) * 4.0f;
            const float gap = std::fabs(board - std::round(board));
            c = wood(noise, u, v, 1.0f - 0.08f * std::floor(board));
            c = lerp(c, rgb(0.18f, 0.11f, 0.05f), smoothstep(0.05f, 0.0f, gap) * 0.9f);
        }
        // Edge shadows on frame and brace give them depth.
        const float edge = std::min({std::fabs(u - border), std::fabs(v - border),
                                     std::fabs(u - 1 + border), std::fabs(v - 1 + border)});
        c = scaled(c, 0.75f + 0.25f * smoothstep(0.0f, 0.012f, edge));
        if (!frame) {
            c = scaled(c, 0.8f + 0.2f * smoothstep(0.075f, 0.06f, std::fabs(u - v)) * brace +
                              0.2f * !brace);
        }
        // Nail heads in the frame corners.
        for (float nx : {0.055f, 0.945f}) {
            for (float ny : {0.055f, 0.945f}) {
                if (std::hypot(u - nx, v - ny) < 0.014f) {
                    c = rgb(0.25f, 0.25f, 0.27f);
                }
            }
        }
        return c;
    });
    return picture;
}

Raster plasterTexture() {
    const Noise noise(302U);
    Raster picture(256, 256);
    picture.fill([&](int x, int y) {
        const float u = x / 256.0f;
        const float v = y / 256.0f;
        const float n = noise.fbm(u * 8.0f, v * 8.0f, 4, 0.55f, 8);
        const float fine = noise.gradient(u * 64.0f, v * 64.0f, 64);
        return scaled(rgb(0.90f, 0.85f, 0.74f), 0.92f + 0.08f * n + 0.04f * fine);
    });
    return picture;
}

Raster roofTileTexture() {
    const Noise noise(303U);
    Raster picture(256, 256);
    picture.fill([&](int x, int y) {
        // Eight rows of eight tiles, every other row shifted by half a tile.
        const float u = x / 256.0f * 8.0f;
        const float v = y / 256.0f * 8.0f;
        const int row = static_cast<int>(v);
        const float shifted = u + (row % 2) * 0.5f;
        const float across = shifted - std::floor(shifted);
        const float along = v - std::floor(v);
        const float tone = 0.85f + 0.3f * noise.hash(static_cast<int>(shifted), row);
        Colour c = scaled(rgb(0.62f, 0.24f, 0.14f), tone);
        // Each tile is rounded across and its lower edge is shaded by the row below.
        c = scaled(c, 0.75f + 0.3f * std::sin(across * 3.14159f));
        c = scaled(c, 0.6f + 0.4f * smoothstep(0.0f, 0.25f, along));
        return scaled(c, 0.95f + 0.08f * noise.gradient(x / 16.0f, y / 16.0f, 16));
    });
    return picture;
}

Raster doorTexture() {
    const Noise noise(304U);
    Raster picture(128, 256);
    picture.fill([&](int x, int y) {
        const float u = (x + 0.5f) / 128.0f;
        const float v = (y + 0.5f) / 256.0f;
        const float plank = u * 5.0f;
        const float gap = std::fabs(plank - std::round(plank));
        Colour c = scaled(wood(noise, v * 2.0f, u + std::floor(plank), 0.75f), 0.8f);
        c = scaled(c, 0.55f + 0.45f * smoothstep(0.0f, 0.06f, gap));
        // Two cross battens and an iron handle.
        if (std::fabs(v - 0.2f) < 0.04f || std::fabs(v - 0.8f) < 0.04f) {
            c = scaled(wood(noise, u, v + 9.0f, 0.7f), 0.85f);
        }
        if (std::hypot((u - 0.82f) * 0.5f, v - 0.5f) < 0.025f) {
            c = rgb(0.15f, 0.15f, 0.15f);
        }
        return c;
    });
    return picture;
}

Raster stripeTexture(const Colour& a, const Colour& b, int bands) {
    Raster picture(32, 256);
    picture.fill([&](int, int y) {
        const float v = (y + 0.5f) / 256.0f * bands;
        const float t = v - std::floor(v);
        return lerp(a, b, smoothstep(0.48f, 0.52f, t) - smoothstep(0.98f, 1.0f, t));
    });
    return picture;
}

Raster bannerTexture(bool goal, const std::string& fontFile) {
    const int w = 1024;
    const int h = 128;
    Raster picture(w, h);
    const Colour black = rgb(0.05f, 0.05f, 0.05f);
    const Colour white = rgb(0.97f, 0.97f, 0.95f);
    const Colour yellow = rgb(0.98f, 0.78f, 0.08f);
    picture.fill([&](int x, int y) {
        if (goal) {
            // Chequered blocks at both ends, white field in the middle.
            const bool end = x < 160 || x >= w - 160;
            if (end) {
                const int cx = x / 32;
                const int cy = y / 32;
                return (cx + cy) % 2 == 0 ? black : white;
            }
            return white;
        }
        // Black and yellow chevrons at both ends, yellow field in the middle.
        const bool end = x < 128 || x >= w - 128;
        if (end) {
            const int d = (x < 128 ? x : w - 1 - x) + y / 2;
            return (d / 24) % 2 == 0 ? black : yellow;
        }
        return yellow;
    });
    // A dark rim around the whole banner.
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (x < 4 || y < 4 || x >= w - 4 || y >= h - 4) {
                picture.at(x, y) = black;
            }
        }
    }
    const TextPainter painter(fontFile, 84);
    painter.drawCentred(picture, goal ? "START  FINISH" : "CHECKPOINT", w / 2, 96, black);
    return picture;
}

} // namespace Tools
