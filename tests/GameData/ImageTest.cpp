#include "GameDataSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

using namespace GameDataTest;

namespace {

class GameImages : public ::testing::Test {
protected:
    void SetUp() override { useBinFolder(); }
};

struct ImageFile {
    const char* file;
    const char* directory;
};

const ImageFile jpegs[] = {
    {"GroundHeightmap.jpg", "data\\images\\"},
    {"GroundTexture.jpg", "data\\images\\"},
    {"GroundBorder.jpg", "data//images//"},
    {"brightday1.jpg", "data\\images\\"},
    {"gradient_map.jpg", "data\\images\\"},
    {"Brumbly.jpg", "data\\images\\"},
    {"wall.jpg", "data\\objects\\house\\"},
    {"roof.jpg", "data\\objects\\house\\"},
    {"door.jpg", "data\\objects\\house\\"},
    {"crate.jpg", "data\\objects\\crate\\"},
    {"goal_banner.jpg", "data\\objects\\goal\\"},
    {"goal_post.jpg", "data\\objects\\goal\\"},
    {"checkpoint_banner.jpg", "data\\objects\\checkpoint\\"},
    {"checkpoint_post.jpg", "data\\objects\\checkpoint\\"},
};

const ImageFile pngs[] = {
    {"CloudShadowMap1.png", "data\\images\\"},
    {"RaceDialog.png", "data\\images\\"},
    {"ArialTrans.png", "data\\images\\Fonts\\"},
    {"TimesNewRomanTrans.png", "data\\images\\Fonts\\"},
    {"NewsflashTrans.png", "data\\images\\Fonts\\"},
};

int difference(const Rgb& a, const Rgb& b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

// Mean colour difference between column x0 and column x1 (or rows, when `rows`).
double meanLineDifference(const Data::ImagePtr& image, int a, int b, bool rows) {
    const int length =
        static_cast<int>(rows ? image->picture.getWidth() : image->picture.getHeight());
    double sum = 0.0;
    for (int i = 0; i < length; ++i) {
        sum += rows ? difference(pixel(image, i, a), pixel(image, i, b))
                    : difference(pixel(image, a, i), pixel(image, b, i));
    }
    return sum / length;
}

} // namespace

TEST_F(GameImages, JpegsLoadAsRgbPngsAsRgbaAndFontsAsCoverageWithoutErrors) {
    ErrorRecorder recorder;
    for (const ImageFile& f : jpegs) {
        const Data::ImagePtr image = loadImage(f.file, f.directory);
        ASSERT_TRUE(image->isValid()) << f.file;
        EXPECT_EQ(image->picture.getBitsPerPixel(), 24U) << f.file;
        EXPECT_EQ(image->picture.getColorType(), FIC_RGB) << f.file;
    }
    for (const ImageFile& f : pngs) {
        const Data::ImagePtr image = loadImage(f.file, f.directory);
        ASSERT_TRUE(image->isValid()) << f.file;
        // Fonts hold one byte of coverage per pixel, the other pictures RGBA.
        const bool font = std::string(f.directory).find("Fonts") != std::string::npos;
        EXPECT_EQ(image->picture.getBitsPerPixel(), font ? 8U : 32U) << f.file;
    }
    EXPECT_TRUE(recorder.errors.empty()) << recorder.text();
}

// The sky box picture: six square faces stacked vertically, +X, -X, +Y, -Y, +Z, -Z
// from the top, each mapped as the built-in sky box maps its vertices. Along every
// cube edge the two faces that meet there must show the same sky.
TEST_F(GameImages, SkyFacesMeetWithoutSeams) {
    const Data::ImagePtr sky = loadImage("brightday1.jpg", "data\\images\\");
    ASSERT_TRUE(sky->isValid());
    const int size = static_cast<int>(sky->picture.getWidth());
    ASSERT_EQ(static_cast<int>(sky->picture.getHeight()), 6 * size);

    // The picture position of direction d as seen on face f (d on that face's plane).
    auto sample = [&](int face, const std::array<float, 3>& d) {
        const float m = std::max({std::fabs(d[0]), std::fabs(d[1]), std::fabs(d[2])});
        const float x = d[0] / m, y = d[1] / m, z = d[2] / m;
        float u = 0, v = 0;
        switch (face) {
        case 0:
            u = (z + 1) / 2, v = (y + 1) / 2;
            break;
        case 1:
            u = (1 - z) / 2, v = (y + 1) / 2;
            break;
        case 2:
            u = (1 - x) / 2, v = (1 - z) / 2;
            break;
        case 3:
            u = (1 - x) / 2, v = (z + 1) / 2;
            break;
        case 4:
            u = (1 - x) / 2, v = (y + 1) / 2;
            break;
        default:
            u = (x + 1) / 2, v = (y + 1) / 2;
            break;
        }
        const int px = std::clamp(static_cast<int>(u * size), 1, size - 2);
        const int py = std::clamp(static_cast<int>(v * size), 1, size - 2) + (5 - face) * size;
        return pixel(sky, px, py);
    };
    struct Edge {
        int faceA, faceB;
        int axisA, axisB; // the axes that are +-1 on the edge
        float signA, signB;
    };
    // Every edge of the cube, as two faces and the axis each face lies on.
    const Edge edges[] = {
        {0, 2, 0, 1, 1, 1}, {0, 3, 0, 1, 1, -1}, {1, 2, 0, 1, -1, 1}, {1, 3, 0, 1, -1, -1},
        {4, 2, 2, 1, 1, 1}, {4, 3, 2, 1, 1, -1}, {5, 2, 2, 1, -1, 1}, {5, 3, 2, 1, -1, -1},
        {0, 4, 0, 2, 1, 1}, {0, 5, 0, 2, 1, -1}, {1, 4, 0, 2, -1, 1}, {1, 5, 0, 2, -1, -1},
    };
    for (const Edge& e : edges) {
        double sum = 0.0;
        int count = 0;
        for (float t = -0.9f; t <= 0.9f; t += 0.05f) {
            std::array<float, 3> d{t, t, t};
            d[static_cast<std::size_t>(e.axisA)] = e.signA;
            d[static_cast<std::size_t>(e.axisB)] = e.signB;
            sum += difference(sample(e.faceA, d), sample(e.faceB, d));
            ++count;
        }
        EXPECT_LT(sum / count, 30.0) << "seam between faces " << e.faceA << " and " << e.faceB;
    }
    // The sky is bright above and darker land below the horizon.
    const Rgb zenith = pixel(sky, size / 2, 3 * size + size / 2);
    const Rgb nadir = pixel(sky, size / 2, 2 * size + size / 2);
    EXPECT_GT(zenith.b, zenith.r);
    EXPECT_GT(zenith.r + zenith.g + zenith.b, nadir.r + nadir.g + nadir.b);
}

TEST_F(GameImages, CloudShadowsAndWavesTile) {
    for (const ImageFile& f : {ImageFile{"CloudShadowMap1.png", "data\\images\\"},
                               ImageFile{"gradient_map.jpg", "data\\images\\"}}) {
        const Data::ImagePtr image = loadImage(f.file, f.directory);
        ASSERT_TRUE(image->isValid()) << f.file;
        const int w = static_cast<int>(image->picture.getWidth());
        const int h = static_cast<int>(image->picture.getHeight());
        // Across the wrap the picture changes no more than between neighbours inside.
        const double inside = meanLineDifference(image, w / 2, w / 2 + 1, false) +
                              meanLineDifference(image, h / 2, h / 2 + 1, true);
        const double wrap =
            meanLineDifference(image, w - 1, 0, false) + meanLineDifference(image, h - 1, 0, true);
        EXPECT_LT(wrap, inside * 2.0 + 4.0) << f.file;
        // And it is not flat.
        EXPECT_GT(meanLineDifference(image, 0, w / 2, false), 4.0) << f.file;
    }
}

TEST_F(GameImages, RaceDialogIsARoundedTranslucentPanel) {
    const Data::ImagePtr panel = loadImage("RaceDialog.png", "data\\images\\");
    ASSERT_TRUE(panel->isValid());
    const unsigned w = panel->picture.getWidth();
    const unsigned h = panel->picture.getHeight();
    auto alpha = [&](unsigned x, unsigned y) {
        RGBQUAD c{};
        panel->picture.getPixelColor(x, y, &c);
        return static_cast<int>(c.rgbReserved);
    };
    EXPECT_EQ(alpha(0, 0), 0);
    EXPECT_EQ(alpha(w - 1, h - 1), 0);
    EXPECT_GT(alpha(w / 2, h / 2), 128);
    EXPECT_LT(alpha(w / 2, h / 2), 255);
}
