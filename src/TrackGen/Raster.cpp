#include "Raster.h"

#include <FreeImage.h>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <thread>

namespace TrackGen {

Raster::Raster(int width, int height, const Colour& fill)
    : w(width), h(height), pixels(static_cast<std::size_t>(width) * height, fill) {}

Colour Raster::sample(float u, float v, bool repeat) const {
    const float fx = u * static_cast<float>(w) - 0.5f;
    const float fy = v * static_cast<float>(h) - 0.5f;
    const int x0 = static_cast<int>(std::floor(fx));
    const int y0 = static_cast<int>(std::floor(fy));
    const float tx = fx - static_cast<float>(x0);
    const float ty = fy - static_cast<float>(y0);
    auto texel = [&](int x, int y) {
        if (repeat) {
            x = ((x % w) + w) % w;
            y = ((y % h) + h) % h;
        } else {
            x = std::clamp(x, 0, w - 1);
            y = std::clamp(y, 0, h - 1);
        }
        return at(x, y);
    };
    return lerp(lerp(texel(x0, y0), texel(x0 + 1, y0), tx),
                lerp(texel(x0, y0 + 1), texel(x0 + 1, y0 + 1), tx), ty);
}

void Raster::blend(int x, int y, const Colour& c, float amount) {
    if (x < 0 || y < 0 || x >= w || y >= h) {
        return;
    }
    Colour& dst = at(x, y);
    const float a = std::clamp(c[3] * amount, 0.0f, 1.0f);
    for (int i = 0; i < 3; ++i) {
        dst[i] = dst[i] * (1.0f - a) + c[i] * a;
    }
    dst[3] = dst[3] + a * (1.0f - dst[3]);
}

void Raster::fill(const std::function<Colour(int x, int y)>& shader) {
    const unsigned count = std::max(1U, std::min(8U, std::thread::hardware_concurrency()));
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < count; ++t) {
        workers.emplace_back([this, &shader, t, count] {
            for (int y = static_cast<int>(t); y < h; y += static_cast<int>(count)) {
                for (int x = 0; x < w; ++x) {
                    at(x, y) = shader(x, y);
                }
            }
        });
    }
    for (auto& worker : workers) {
        worker.join();
    }
}

namespace {

BYTE toByte(float value) {
    return static_cast<BYTE>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

bool save(const Raster& raster, const std::string& path, bool alpha, FREE_IMAGE_FORMAT format,
          int flags) {
    if (!ensureParentDirectory(path)) {
        return false;
    }
    const int bpp = alpha ? 32 : 24;
    FIBITMAP* bitmap = FreeImage_Allocate(raster.width(), raster.height(), bpp);
    if (bitmap == nullptr) {
        return false;
    }
    for (int y = 0; y < raster.height(); ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < raster.width(); ++x) {
            const Colour& c = raster.at(x, y);
            BYTE* px = line + x * (bpp / 8);
            px[FI_RGBA_RED] = toByte(c[0]);
            px[FI_RGBA_GREEN] = toByte(c[1]);
            px[FI_RGBA_BLUE] = toByte(c[2]);
            if (alpha) {
                px[FI_RGBA_ALPHA] = toByte(c[3]);
            }
        }
    }
    const bool ok = FreeImage_Save(format, bitmap, path.c_str(), flags) != 0;
    FreeImage_Unload(bitmap);
    return ok;
}

} // namespace

bool Raster::saveJpeg(const std::string& path, int quality) const {
    return save(*this, path, false, FIF_JPEG,
                std::clamp(quality, 1, 100) | JPEG_BASELINE | JPEG_OPTIMIZE | JPEG_SUBSAMPLING_444);
}

bool Raster::savePng(const std::string& path) const {
    return save(*this, path, true, FIF_PNG, PNG_Z_DEFAULT_COMPRESSION);
}

bool Raster::saveAlphaPng(const std::string& path) const {
    if (!ensureParentDirectory(path)) {
        return false;
    }
    FIBITMAP* bitmap = FreeImage_Allocate(width(), height(), 8);
    if (bitmap == nullptr) {
        return false;
    }
    RGBQUAD* palette = FreeImage_GetPalette(bitmap);
    for (int i = 0; i < 256; ++i) {
        const auto grey = static_cast<BYTE>(i);
        palette[i] = RGBQUAD{grey, grey, grey, 0};
    }
    for (int y = 0; y < height(); ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < width(); ++x) {
            line[x] = toByte(at(x, y)[3]);
        }
    }
    const bool ok = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), PNG_Z_DEFAULT_COMPRESSION) != 0;
    FreeImage_Unload(bitmap);
    return ok;
}

bool ensureParentDirectory(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::error_code error;
    if (!parent.empty()) {
        std::filesystem::create_directories(parent, error);
    }
    return !error;
}

} // namespace TrackGen
