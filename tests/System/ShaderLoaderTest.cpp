#include "System/loader/ShaderLoader.h"
#include "../Data/RecordingLog.h"
#include "ColladaFixture.h"

#include <gtest/gtest.h>

using ColladaFixture::TempDirectory;
using System::ShaderLoader;

namespace {

class ShaderLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        shader.name = "before";
        shader.origin = "intern:before";
    }

    std::string dir() const { return directory.path.string() + "/"; }

    void expectOneOpenError(const std::string& file) {
        ASSERT_EQ(log.messages.size(), 1u);
        EXPECT_EQ(log.messages[0].getAuthor(), "ShaderLoader");
        EXPECT_EQ(log.messages[0].getTitle(), "couldn't open " + dir() + file);
        EXPECT_EQ(log.messages[0].getMessage(), "");
        EXPECT_EQ(log.messages[0].getType(), Tool::MT_ERROR);
        EXPECT_EQ(shader.name, "before");
        EXPECT_EQ(shader.origin, "intern:before");
    }

    TempDirectory directory;
    Data::Shader shader;
    RecordingLog log;
};

TEST_F(ShaderLoaderTest, FullProgramTwiceAppends) {
    directory.write("basicLib.glsl", "lib\r\nend\r\n");
    directory.write("sky.vert", "vert");
    directory.write("sky.frag", "frag");
    EXPECT_TRUE(ShaderLoader::load(shader, "sky", dir()));
    EXPECT_EQ(shader.vertexSources, (std::vector<std::string>{"lib\nend\n", "vert"}));
    EXPECT_EQ(shader.fragmentSources, (std::vector<std::string>{"lib\nend\n", "frag"}));
    EXPECT_EQ(shader.name, "sky");
    EXPECT_EQ(shader.origin, "file:" + dir() + "sky.vsh/fsh");

    EXPECT_TRUE(ShaderLoader::load(shader, "sky", dir()));
    EXPECT_EQ(shader.vertexSources.size(), 4u);
    EXPECT_EQ(shader.fragmentSources.size(), 4u);
    EXPECT_TRUE(log.messages.empty());
}

TEST_F(ShaderLoaderTest, MissingLibraryStopsBeforeTheStages) {
    directory.write("sky.vert", "vert");
    directory.write("sky.frag", "frag");
    EXPECT_FALSE(ShaderLoader::load(shader, "sky", dir()));
    EXPECT_TRUE(shader.vertexSources.empty());
    EXPECT_TRUE(shader.fragmentSources.empty());
    expectOneOpenError("basicLib.glsl");
}

TEST_F(ShaderLoaderTest, MissingVertexKeepsTheLibrary) {
    directory.write("basicLib.glsl", "lib");
    directory.write("sky.frag", "frag");
    EXPECT_FALSE(ShaderLoader::load(shader, "sky", dir()));
    EXPECT_EQ(shader.vertexSources, std::vector<std::string>{"lib"});
    EXPECT_EQ(shader.fragmentSources, std::vector<std::string>{"lib"});
    expectOneOpenError("sky.vert");
}

TEST_F(ShaderLoaderTest, EmptyFragmentCountsAsMissing) {
    directory.write("basicLib.glsl", "lib");
    directory.write("sky.vert", "vert");
    directory.write("sky.frag", "");
    EXPECT_FALSE(ShaderLoader::load(shader, "sky", dir()));
    EXPECT_EQ(shader.vertexSources, (std::vector<std::string>{"lib", "vert"}));
    EXPECT_EQ(shader.fragmentSources, std::vector<std::string>{"lib"});
    expectOneOpenError("sky.frag");
}

} // namespace
