#pragma once

#include "Data/Light.h"
#include "Data/Shader.h"

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

namespace Game {

// What a lit program is built for: how many lights, and what they need of it.
struct LightSetup {
    std::size_t count = 0;
    bool allDirectional = false;
    bool anySpecular = true;

    auto operator<=>(const LightSetup&) const = default;
    static LightSetup of(const std::vector<Data::LightPtr>& lights);
};

// What a detail level (Data::Detail) draws: the level's render passes and shader
// programs are set up from it.
struct DetailSettings {
    // Edge length of the square shadow map in texels.
    int shadowMapSize = 0;
    // Comparison lookups per shadow test in the lit program: 1 or 4.
    int shadowTaps = 0;
    // Lighting and fog per pixel, or per vertex with only the shadows per pixel.
    bool perPixelLighting = false;
    // The water mirrors the sky through moving ripples, or only takes the horizon's
    // colour.
    bool waterReflections = false;
    // Objects wholly farther from the camera are not drawn (infinity: all are).
    float drawDistance = 0.0f;
    // How textures blend their mipmaps (Render::GLTexture): 2 between the two
    // nearest, 1 from the nearest only.
    int mipmapMode = 0;
    // Whether the window asks for the multisampling the options name (a hardware
    // renderer only).
    bool multisampling = false;
    // The fraction of the window's size the 3D scene is drawn at on a software
    // renderer, scaled up before the overlay (a hardware renderer draws it whole).
    // Below 1 at every level: a software renderer's window has no depth buffer.
    float softwareRenderScale = 1.0f;
    // The terrain's ground and border pictures are decoded at half their width and
    // height: a quarter of the memory and of the time to decode them and build
    // their mipmaps.
    bool halfSizeGroundPicture = false;
    // The sky's and the models' pictures are decoded at half their width and height.
    bool halfSizeScenePictures = false;

    // The settings of a Data::Detail value; unknown values draw as DETAIL_HIGH.
    static DetailSettings of(std::int32_t detail);

    // The defines of the lit program for the lights.
    std::vector<std::string> litDefines(const LightSetup& lights) const;
    // The defines of the water's program.
    std::vector<std::string> waterDefines() const;
};

// Whether the OpenGL renderer (its GL_RENDERER text) rasterises on the processor:
// Mesa's llvmpipe, softpipe and swrast, and the like.
bool isSoftwareRenderer(const std::string& renderer);

// The detail level that Data::DETAIL_AUTO draws at. It begins at Low on a software
// renderer and at High otherwise. The first seconds of the race may lift it one
// level when their frames leave ample room; whenever frames stay slow for a while
// it steps down one level. Once it has stepped down it never steps up again, so it
// settles instead of swinging between two levels.
class AutoDetail {
public:
    // Frames are judged in spans of at least this much time.
    static constexpr double span = 2.0;
    // A span whose median frame is longer than this is slow.
    static constexpr double slowFrame = 1.0 / 60.0;
    // The first span lifts the level when its median frame is shorter than this.
    static constexpr double roomyFrame = slowFrame / 3.0;

    explicit AutoDetail(bool softwareRenderer);

    std::int32_t getLevel() const { return level; }
    // Takes one race frame's duration in seconds; true when the level changed.
    bool addFrame(double seconds);

private:
    std::int32_t level;
    std::vector<double> frames;
    double spanTime = 0.0;
    bool firstSpan = true;
    bool steppedDown = false;
};

// A copy of the program built with the defines (each "NAME" or "NAME value") in
// both stages, between the shared library and the stage's own text. Its name
// carries the defines, so that copies built differently are different programs.
Data::ShaderPtr withDefines(const Data::ShaderPtr& program,
                            const std::vector<std::string>& defines);

} // namespace Game
