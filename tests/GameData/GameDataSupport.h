#pragma once

#include "Data/Image.h"
#include "System/File.h"
#include "Tool/LogListener.h"
#include "Tool/LogManager.h"

#include <cmath>
#include <string>
#include <vector>

namespace GameDataTest {

// The generated data lies beside the programs: data/ and shaders/ in the bin folder.
inline void useBinFolder() {
    System::File::init(std::string(BRUMBLY_BIN_DIR) + "/test");
}

// Keeps every error sent to the log while it is attached.
class ErrorRecorder : public Tool::LogListener {
public:
    ErrorRecorder() {
        Tool::LogManager::getInstance().setEnabled(true);
        Tool::LogManager::getInstance().attachLogListener(this, false);
    }
    ~ErrorRecorder() override { Tool::LogManager::getInstance().detachLogListener(this); }
    void process(const Tool::LogCommand& command) override {
        if (command.kind == Tool::LC_MESSAGE && command.message.getType() == Tool::MT_ERROR) {
            errors.push_back(command.message.getTitle() + ": " + command.message.getMessage());
        }
    }
    std::string text() const {
        std::string all;
        for (const std::string& e : errors) {
            all += e + "\n";
        }
        return all;
    }
    std::vector<std::string> errors;
};

inline Data::ImagePtr loadImage(const std::string& file, const std::string& directory) {
    return System::File::loadImage({file, directory});
}

// Red, green, blue (0-255) of pixel (x, y), rows counted from the bottom.
struct Rgb {
    int r, g, b;
};
inline Rgb pixel(const Data::ImagePtr& image, int x, int y) {
    RGBQUAD c{};
    image->picture.getPixelColor(static_cast<unsigned>(x), static_cast<unsigned>(y), &c);
    return {c.rgbRed, c.rgbGreen, c.rgbBlue};
}

// The terrain's height rule: the pixel at x (w - 1) / 256, z (h - 1) / 256,
// (red + green + blue) / 765 x 20.
inline float terrainHeight(const Data::ImagePtr& map, float x, float z) {
    const int px = static_cast<int>(x * (static_cast<float>(map->picture.getWidth()) - 1) / 256.0f);
    const int pz =
        static_cast<int>(z * (static_cast<float>(map->picture.getHeight()) - 1) / 256.0f);
    const Rgb c = pixel(map, px, pz);
    return static_cast<float>(c.r + c.g + c.b) / 765.0f * 20.0f;
}

} // namespace GameDataTest
