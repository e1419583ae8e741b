#include "Game/level/DetailSettings.h"

#include "Data/Options.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>
#include <limits>

namespace Game {

DetailSettings DetailSettings::of(std::int32_t detail) {
    switch (detail) {
    case Data::DETAIL_LOW:
        return {1024, 1, false, false, 450.0f, 1, false, 0.5f, true, true};
    case Data::DETAIL_MEDIUM:
        return {1536, 1, true, true, 600.0f, 1, false, 0.6f, true};
    default:
        return {2048, 4, true, true, std::numeric_limits<float>::infinity(), 2, true, 0.75f, false};
    }
}

bool isSoftwareRenderer(const std::string& renderer) {
    std::string name;
    std::transform(renderer.begin(), renderer.end(), std::back_inserter(name),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    constexpr std::array<const char*, 5> software{"llvmpipe", "softpipe", "swrast",
                                                  "software rasterizer", "swiftshader"};
    return std::any_of(software.begin(), software.end(),
                       [&name](const char* part) { return name.find(part) != std::string::npos; });
}

AutoDetail::AutoDetail(bool softwareRenderer)
    : level(softwareRenderer ? Data::DETAIL_LOW : Data::DETAIL_HIGH) {}

bool AutoDetail::addFrame(double seconds) {
    frames.push_back(seconds);
    spanTime += seconds;
    if (spanTime < span) {
        return false;
    }
    auto middle = frames.begin() + static_cast<std::ptrdiff_t>(frames.size() / 2);
    std::nth_element(frames.begin(), middle, frames.end());
    const double median = *middle;
    const bool wasFirst = firstSpan;
    frames.clear();
    spanTime = 0.0;
    firstSpan = false;
    if (median > slowFrame && level > Data::DETAIL_LOW) {
        --level;
        steppedDown = true;
        return true;
    }
    if (wasFirst && !steppedDown && median < roomyFrame && level < Data::DETAIL_HIGH) {
        ++level;
        return true;
    }
    return false;
}

LightSetup LightSetup::of(const std::vector<Data::LightPtr>& lights) {
    LightSetup setup;
    setup.count = lights.size();
    setup.allDirectional =
        std::all_of(lights.begin(), lights.end(), [](const Data::LightPtr& light) {
            return light && light->type == Data::LT_DIRECTIONAL;
        });
    setup.anySpecular = std::any_of(lights.begin(), lights.end(), [](const Data::LightPtr& light) {
        return light && glm::vec3(light->specular) != glm::vec3(0.0f);
    });
    return setup;
}

std::vector<std::string> DetailSettings::litDefines(const LightSetup& lights) const {
    std::vector<std::string> defines = {"LIGHT_COUNT " + std::to_string(lights.count),
                                        "SHADOW_TAPS " + std::to_string(shadowTaps)};
    if (lights.allDirectional) {
        defines.emplace_back("DIRECTIONAL_LIGHTS");
    }
    if (!lights.anySpecular) {
        defines.emplace_back("NO_SPECULAR");
    }
    if (!perPixelLighting) {
        defines.emplace_back("PER_VERTEX_LIGHTING");
    }
    return defines;
}

std::vector<std::string> DetailSettings::waterDefines() const {
    if (waterReflections) {
        return {};
    }
    return {"FLAT_WATER"};
}

Data::ShaderPtr withDefines(const Data::ShaderPtr& program,
                            const std::vector<std::string>& defines) {
    if (!program || defines.empty()) {
        return program;
    }
    auto copy = std::make_shared<Data::Shader>(*program);
    // A line of its own even when the library's text does not end with one.
    std::string text = "\n";
    std::string names;
    for (const std::string& define : defines) {
        text += "#define " + define + "\n";
        names += (names.empty() ? "" : ", ") + define;
    }
    copy->name += " (" + names + ")";
    // The stage's own text is the last of its list; the library comes before it.
    for (std::vector<std::string>* sources : {&copy->vertexSources, &copy->fragmentSources}) {
        if (!sources->empty()) {
            sources->insert(sources->end() - 1, text);
        }
    }
    return copy;
}

} // namespace Game
