// Pictures for looking at the generated data: the height map and ground texture as
// a shaded relief seen from above (+z up, and +x to the left as the world's axes
// lie seen from above), and a PNG copy, at most 1024 pixels
// wide, of every other JPEG and PNG of the images folder.
//   preview_images <data folder> <output folder>
#include <FreeImage.h>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

namespace fs = std::filesystem;

FIBITMAP* load(const fs::path& path) {
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    FIBITMAP* raw = FreeImage_Load(format, path.c_str(), 0);
    if (raw == nullptr) {
        return nullptr;
    }
    FIBITMAP* converted = FreeImage_ConvertTo32Bits(raw);
    FreeImage_Unload(raw);
    return converted;
}

bool saveScaled(FIBITMAP* bitmap, const fs::path& path, int maxWidth) {
    const int w = static_cast<int>(FreeImage_GetWidth(bitmap));
    const int h = static_cast<int>(FreeImage_GetHeight(bitmap));
    const double scale = std::min(1.0, static_cast<double>(maxWidth) / w);
    // Translucent pictures are shown over dark grey.
    RGBQUAD background{60, 60, 60, 0};
    FIBITMAP* opaque = FreeImage_Composite(bitmap, FALSE, &background, nullptr);
    FIBITMAP* scaled = FreeImage_Rescale(opaque, std::max(1, static_cast<int>(w * scale)),
                                         std::max(1, static_cast<int>(h * scale)), FILTER_BILINEAR);
    const bool ok = scaled != nullptr && FreeImage_Save(FIF_PNG, scaled, path.c_str(), 0);
    FreeImage_Unload(scaled);
    FreeImage_Unload(opaque);
    return ok;
}

// Height by the terrain's rule: (red + green + blue) / 765 x 20.
float heightAt(FIBITMAP* map, float u, float v) {
    const int w = static_cast<int>(FreeImage_GetWidth(map));
    const int h = static_cast<int>(FreeImage_GetHeight(map));
    const int x = std::clamp(static_cast<int>(u * (w - 1)), 0, w - 1);
    const int y = std::clamp(static_cast<int>(v * (h - 1)), 0, h - 1);
    const BYTE* p = FreeImage_GetScanLine(map, y) + 4 * x;
    return (p[FI_RGBA_RED] + p[FI_RGBA_GREEN] + p[FI_RGBA_BLUE]) / 765.0f * 20.0f;
}

bool writeRelief(const fs::path& images, const fs::path& out) {
    FIBITMAP* map = load(images / "GroundHeightmap.jpg");
    FIBITMAP* texture = load(images / "GroundTexture.jpg");
    if (map == nullptr || texture == nullptr) {
        FreeImage_Unload(map);
        FreeImage_Unload(texture);
        return false;
    }
    const int size = 1024;
    FIBITMAP* relief = FreeImage_Allocate(size, size, 24);
    const int tw = static_cast<int>(FreeImage_GetWidth(texture));
    const int th = static_cast<int>(FreeImage_GetHeight(texture));
    // Light from the game's sun: up and toward -x, +z.
    const float light[3] = {-0.354f, 0.866f, 0.354f};
    const float d = 1.0f / size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float u = 1.0f - (x + 0.5f) * d;
            const float v = (y + 0.5f) * d;
            const float h = heightAt(map, u, v);
            const float dx =
                (heightAt(map, u + 2 * d, v) - heightAt(map, u - 2 * d, v)) / (4 * d * 256.0f);
            const float dz =
                (heightAt(map, u, v + 2 * d) - heightAt(map, u, v - 2 * d)) / (4 * d * 256.0f);
            // Slopes exaggerated three times so that the relief reads from above.
            const float len = std::sqrt(9.0f * (dx * dx + dz * dz) + 1.0f);
            const float lambert =
                std::max(0.0f, (-3.0f * dx * light[0] + light[1] - 3.0f * dz * light[2]) / len);
            const float shade = 0.35f + 0.75f * lambert;
            const BYTE* t =
                FreeImage_GetScanLine(texture, std::min(th - 1, static_cast<int>(v * th))) +
                4 * std::min(tw - 1, static_cast<int>(u * tw));
            float rgb[3] = {t[FI_RGBA_RED] * shade, t[FI_RGBA_GREEN] * shade,
                            t[FI_RGBA_BLUE] * shade};
            if (h < 2.0f) { // the translucent water plane
                const float water[3] = {40.0f, 90.0f, 120.0f};
                for (int i = 0; i < 3; ++i) {
                    rgb[i] = rgb[i] * 0.35f + water[i] * 0.65f;
                }
            }
            BYTE* p = FreeImage_GetScanLine(relief, y) + 3 * x;
            p[FI_RGBA_RED] = static_cast<BYTE>(std::min(255.0f, rgb[0]));
            p[FI_RGBA_GREEN] = static_cast<BYTE>(std::min(255.0f, rgb[1]));
            p[FI_RGBA_BLUE] = static_cast<BYTE>(std::min(255.0f, rgb[2]));
        }
    }
    const bool ok = FreeImage_Save(FIF_PNG, relief, (out / "relief.png").c_str(), 0) != 0;
    FreeImage_Unload(relief);
    FreeImage_Unload(map);
    FreeImage_Unload(texture);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: preview_images <data folder> <output folder>\n";
        return 2;
    }
    const fs::path data = argv[1];
    const fs::path out = argv[2];
    fs::create_directories(out);
    bool ok = writeRelief(data / "images", out);
    for (const auto& entry : fs::recursive_directory_iterator(data)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".jpg" && ext != ".png") {
            continue;
        }
        FIBITMAP* bitmap = load(entry.path());
        const std::string name = fs::relative(entry.path(), data).string();
        std::string flat = name;
        std::replace(flat.begin(), flat.end(), '/', '_');
        ok = bitmap != nullptr && saveScaled(bitmap, out / (flat + ".png"), 1024) && ok;
        FreeImage_Unload(bitmap);
    }
    if (!ok) {
        std::cerr << "preview_images: some previews could not be written\n";
    }
    return ok ? 0 : 1;
}
