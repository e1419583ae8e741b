// The detail levels: what each one draws, and the game's programs built for each.
#include "Game/level/DetailSettings.h"
#include "LevelTestSupport.h"
#include "Render/glResources/GLShader.h"

#include <cmath>

using namespace GameTest;

namespace {

Data::ShaderPtr gameProgram(const std::string& name) {
    Data::ShaderPtr shader;
    System::File::loadShader(shader, {name, "shaders\\"});
    return shader;
}

} // namespace

TEST(DetailSettingsTest, LevelsTradeShadowsLightingWaterAndDistanceForSpeed) {
    const Game::DetailSettings low = Game::DetailSettings::of(Data::DETAIL_LOW);
    const Game::DetailSettings medium = Game::DetailSettings::of(Data::DETAIL_MEDIUM);
    const Game::DetailSettings high = Game::DetailSettings::of(Data::DETAIL_HIGH);
    EXPECT_LT(low.shadowMapSize, medium.shadowMapSize);
    EXPECT_LE(medium.shadowMapSize, high.shadowMapSize);
    EXPECT_LT(medium.shadowTaps, high.shadowTaps);
    EXPECT_FALSE(low.perPixelLighting);
    EXPECT_TRUE(high.perPixelLighting);
    EXPECT_FALSE(low.waterReflections);
    EXPECT_TRUE(high.waterReflections);
    EXPECT_LT(low.drawDistance, medium.drawDistance);
    EXPECT_TRUE(std::isinf(high.drawDistance)) << "High draws everything";
    // A software renderer's window has no depth buffer: every level draws the scene
    // into a scaled target of its own, each sharper than the one below.
    for (const Game::DetailSettings* level : {&low, &medium, &high}) {
        EXPECT_GT(level->softwareRenderScale, 0.0f);
        EXPECT_LT(level->softwareRenderScale, 1.0f);
    }
    EXPECT_LT(low.softwareRenderScale, medium.softwareRenderScale);
    EXPECT_LT(medium.softwareRenderScale, high.softwareRenderScale);
    // Values from elsewhere (a hand-edited file) draw as High.
    EXPECT_EQ(Game::DetailSettings::of(7).shadowMapSize, high.shadowMapSize);
    EXPECT_EQ(Game::DetailSettings::of(-1).shadowTaps, high.shadowTaps);

    const std::vector<std::string> lit = low.litDefines({2, false, true});
    EXPECT_EQ(lit,
              (std::vector<std::string>{"LIGHT_COUNT 2", "SHADOW_TAPS 1", "PER_VERTEX_LIGHTING"}));
    EXPECT_EQ(high.litDefines({3, true, false}),
              (std::vector<std::string>{"LIGHT_COUNT 3", "SHADOW_TAPS 4", "DIRECTIONAL_LIGHTS",
                                        "NO_SPECULAR"}));
    EXPECT_EQ(low.waterDefines(), std::vector<std::string>{"FLAT_WATER"});
    EXPECT_TRUE(high.waterDefines().empty());

    // The defines go between the library and each stage's own text.
    const auto program = std::make_shared<Data::Shader>(
        Data::Shader{"p", "test", {"library", "vertex"}, {"library", "fragment"}});
    const Data::ShaderPtr built = Game::withDefines(program, lit);
    ASSERT_NE(built, program);
    EXPECT_EQ(built->name, "p (LIGHT_COUNT 2, SHADOW_TAPS 1, PER_VERTEX_LIGHTING)");
    EXPECT_EQ(built->vertexSources,
              (std::vector<std::string>{
                  "library",
                  "\n#define LIGHT_COUNT 2\n#define SHADOW_TAPS 1\n#define PER_VERTEX_LIGHTING\n",
                  "vertex"}));
    EXPECT_EQ(built->fragmentSources.at(1), built->vertexSources.at(1));
    EXPECT_EQ(built->fragmentSources.back(), "fragment");
    EXPECT_EQ(program->name, "p") << "the original is left alone";
    EXPECT_EQ(Game::withDefines(program, {}), program) << "nothing to define: the same program";
}

class DetailProgramsTest : public LevelTest {};

// Every level's lit program builds for any number and kind of lights up to four,
// and its water program too, without a compiler or linker complaint.
TEST_F(DetailProgramsTest, EveryLevelBuildsItsPrograms) {
    const Data::ShaderPtr lit = gameProgram("default");
    const Data::ShaderPtr water = gameProgram("defaultReflections");
    ASSERT_TRUE(lit && water);
    for (const std::int32_t detail : {Data::DETAIL_LOW, Data::DETAIL_MEDIUM, Data::DETAIL_HIGH}) {
        const Game::DetailSettings settings = Game::DetailSettings::of(detail);
        std::vector<Data::ShaderPtr> programs = {Game::withDefines(water, settings.waterDefines())};
        for (std::size_t count = 0; count <= 4; ++count) {
            for (const bool directional : {false, true}) {
                for (const bool specular : {false, true}) {
                    programs.push_back(Game::withDefines(
                        lit, settings.litDefines({count, directional, specular})));
                }
            }
        }
        for (const Data::ShaderPtr& program : programs) {
            RenderTest::LogRecorder log;
            Render::GLShader compiled;
            EXPECT_TRUE(compiled.compile(*program)) << program->name;
            for (const Tool::Message& message : log.messages) {
                EXPECT_NE(message.getType(), Tool::MT_ERROR)
                    << program->name << ": " << message.getTitle() << "\n"
                    << message.getMessage();
            }
        }
    }
}

// Auto detail: where it begins by the renderer, how the first seconds may lift it,
// how spans of slow frames lower it, and that it settles instead of swinging.
TEST(AutoDetailTest, ChoosesByRendererAndFrameTimesAndSettles) {
    for (const char* software : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe",
                                 "Software Rasterizer", "Mesa X11 swrast"}) {
        EXPECT_TRUE(Game::isSoftwareRenderer(software)) << software;
    }
    for (const char* hardware : {"NVIDIA GeForce RTX 3060/PCIe/SSE2",
                                 "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49)",
                                 "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", ""}) {
        EXPECT_FALSE(Game::isSoftwareRenderer(hardware)) << hardware;
    }

    // Frames of one duration for about `seconds`; how often the level changed.
    const auto feed = [](Game::AutoDetail& detail, double frame, double seconds) {
        int changes = 0;
        for (int n = static_cast<int>(seconds / frame); n > 0; --n) {
            changes += detail.addFrame(frame) ? 1 : 0;
        }
        return changes;
    };
    const double span = Game::AutoDetail::span;

    Game::AutoDetail software(true);
    EXPECT_EQ(software.getLevel(), Data::DETAIL_LOW);
    EXPECT_EQ(feed(software, 0.008, 10 * span), 0) << "8 ms frames keep Low";

    Game::AutoDetail roomy(true);
    EXPECT_EQ(feed(roomy, 0.003, 1.1 * span), 1);
    EXPECT_EQ(roomy.getLevel(), Data::DETAIL_MEDIUM) << "ample room at first lifts one level";
    EXPECT_EQ(feed(roomy, 0.003, 10 * span), 0) << "only the first seconds lift it";

    // Single long frames (a hitch, a level loading) among quick ones change nothing.
    Game::AutoDetail hitches(false);
    for (int n = 0; n < 1000; ++n) {
        EXPECT_FALSE(hitches.addFrame(n % 4 == 0 ? 0.2 : 0.01));
    }
    EXPECT_EQ(hitches.getLevel(), Data::DETAIL_HIGH);

    Game::AutoDetail hardware(false);
    EXPECT_EQ(hardware.getLevel(), Data::DETAIL_HIGH);
    EXPECT_EQ(feed(hardware, 0.04, 1.1 * span), 1);
    EXPECT_EQ(hardware.getLevel(), Data::DETAIL_MEDIUM) << "one slow span, one level down";
    EXPECT_EQ(feed(hardware, 0.04, 2.1 * span), 1);
    EXPECT_EQ(hardware.getLevel(), Data::DETAIL_LOW);
    EXPECT_EQ(feed(hardware, 0.04, 5 * span), 0) << "nothing below Low";

    // Quick and slow spans taking turns: lifted once at first, lowered once, then
    // it stays where it settled.
    Game::AutoDetail swinging(true);
    int changes = 0;
    for (int turn = 0; turn < 20; ++turn) {
        changes += feed(swinging, turn % 2 == 0 ? 0.002 : 0.05, 3 * span);
    }
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(swinging.getLevel(), Data::DETAIL_LOW);
}
