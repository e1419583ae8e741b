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
