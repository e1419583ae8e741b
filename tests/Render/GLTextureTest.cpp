#include "RenderTestSupport.h"

#include "Data/Image.h"
#include "Data/Material.h"
#include "Data/Object.h"
#include "Render/glResources/GLTexture.h"
#include "Render/targets/RTTexture.h"
#include "System/File.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <unistd.h>

using namespace RenderTest;

namespace {

using Rgba = std::array<int, 4>;

// An image whose rows (bottom first) hold the given colours.
Data::ImagePtr makeImage(unsigned bitsPerPixel, const std::vector<std::vector<Rgba>>& rows,
                         const std::string& origin = "") {
    auto image = std::make_shared<Data::Image>();
    image->origin = origin;
    const unsigned width = static_cast<unsigned>(rows.front().size());
    image->picture.setSize(FIT_BITMAP, width, static_cast<unsigned>(rows.size()), bitsPerPixel);
    for (unsigned y = 0; y < rows.size(); ++y) {
        BYTE* line = image->picture.getScanLine(y);
        for (unsigned x = 0; x < width; ++x) {
            const Rgba& c = rows[y][x];
            if (bitsPerPixel == 8) {
                line[x] = static_cast<BYTE>(c[0]);
                continue;
            }
            BYTE* p = line + x * (bitsPerPixel / 8);
            p[FI_RGBA_RED] = static_cast<BYTE>(c[0]);
            p[FI_RGBA_GREEN] = static_cast<BYTE>(c[1]);
            p[FI_RGBA_BLUE] = static_cast<BYTE>(c[2]);
            if (bitsPerPixel == 32)
                p[FI_RGBA_ALPHA] = static_cast<BYTE>(c[3]);
        }
    }
    return image;
}

// The texture's level as RGBA, rows bottom first.
std::vector<Rgba> readTexture(GLenum target, GLuint texture, GLenum imageTarget, int count,
                              int level = 0) {
    glBindTexture(target, texture);
    std::vector<unsigned char> bytes(count * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(imageTarget, level, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    std::vector<Rgba> texels;
    for (int i = 0; i < count; ++i)
        texels.push_back({bytes[i * 4], bytes[i * 4 + 1], bytes[i * 4 + 2], bytes[i * 4 + 3]});
    return texels;
}

GLint parameter(GLenum target, GLenum name) {
    GLint value = 0;
    glGetTexParameteriv(target, name, &value);
    return value;
}

class TextureTest : public GLTest {
protected:
    void TearDown() override {
        Render::GLTexture::setFilterSettings(1, 1, 2);
        GLTest::TearDown();
    }
};

// Three pixels per row: the rows are padded to 4 bytes, as the image library keeps them.
TEST_F(TextureTest, ImagesOf24And32BitsKeepTheirColours) {
    const std::vector<std::vector<Rgba>> rows{
        {{255, 0, 0, 255}, {0, 255, 0, 128}, {0, 0, 255, 0}},
        {{9, 99, 199, 10}, {255, 255, 255, 255}, {1, 2, 3, 4}}};
    Render::GLTexture rgb;
    ASSERT_TRUE(rgb.upload(*makeImage(24, rows), false, false));
    EXPECT_EQ(rgb.getPixelType(), Render::GLTexture::PT_RGB);
    std::vector<Rgba> texels = readTexture(GL_TEXTURE_2D, rgb.getName(), GL_TEXTURE_2D, 6);
    for (int i = 0; i < 6; ++i) {
        Rgba expected = rows[i / 3][i % 3];
        expected[3] = 255;
        EXPECT_EQ(texels[i], expected) << i;
    }

    Render::GLTexture rgba;
    ASSERT_TRUE(rgba.upload(*makeImage(32, rows), true, false));
    EXPECT_EQ(rgba.getPixelType(), Render::GLTexture::PT_RGBA);
    EXPECT_TRUE(rgba.hasMipmaps());
    texels = readTexture(GL_TEXTURE_2D, rgba.getName(), GL_TEXTURE_2D, 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(texels[i], rows[i / 3][i % 3]) << i;
}

TEST_F(TextureTest, EightBitImagesBecomeOneChannelTextures) {
    Render::GLTexture grey;
    ASSERT_TRUE(
        grey.upload(*makeImage(8, {{{10, 0, 0, 0}, {20, 0, 0, 0}, {30, 0, 0, 0}}}), false, false));
    EXPECT_EQ(grey.getPixelType(), Render::GLTexture::PT_RED);
    EXPECT_EQ(readTexture(GL_TEXTURE_2D, grey.getName(), GL_TEXTURE_2D, 3),
              (std::vector<Rgba>{{10, 0, 0, 255}, {20, 0, 0, 255}, {30, 0, 0, 255}}));

    // Coverage (a font's glyphs) keeps one byte per pixel and is sampled as white
    // with that alpha.
    const auto coverage = makeImage(8, {{{0, 0, 0, 0}, {128, 0, 0, 0}, {255, 0, 0, 0}}});
    coverage->coverage = true;
    Render::GLTexture glyphs;
    ASSERT_TRUE(glyphs.upload(*coverage, false, false));
    EXPECT_EQ(glyphs.getPixelType(), Render::GLTexture::PT_COVERAGE);
    glBindTexture(GL_TEXTURE_2D, glyphs.getName());
    GLint bits = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_RED_SIZE, &bits);
    EXPECT_EQ(bits, 8);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_GREEN_SIZE, &bits);
    EXPECT_EQ(bits, 0);
    std::array<GLint, 4> swizzle{};
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, swizzle.data());
    EXPECT_EQ(swizzle, (std::array<GLint, 4>{GL_ONE, GL_ONE, GL_ONE, GL_RED}));
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(TextureTest, SixteenBitAndInvalidImagesAreRefused) {
    LogRecorder log;
    Render::GLTexture texture;
    auto image = std::make_shared<Data::Image>();
    EXPECT_FALSE(texture.upload(*image, false, false));
    EXPECT_TRUE(log.messages.empty());
    image->picture.setSize(FIT_BITMAP, 4, 4, 16);
    EXPECT_FALSE(texture.upload(*image, false, false));
    const Tool::Message* refused = log.find("unsuported image type");
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(refused->getAuthor(), "GLTexture");
    EXPECT_EQ(refused->getType(), Tool::MT_ERROR);
    EXPECT_EQ(texture.getPixelType(), Render::GLTexture::PT_NONE);
}

TEST_F(TextureTest, CubeMapFacesComeFromTheStackedBandsTopFirst) {
    const std::array<Rgba, 6> bands{{{255, 0, 0, 255},
                                     {0, 255, 0, 255},
                                     {0, 0, 255, 255},
                                     {255, 255, 0, 255},
                                     {0, 255, 255, 255},
                                     {255, 0, 255, 255}}};
    std::vector<std::vector<Rgba>> rows;
    for (int y = 0; y < 12; ++y) { // bottom row first: the last band is at the bottom
        const Rgba& c = bands[5 - y / 2];
        rows.push_back({c, c});
    }
    Render::GLTexture cube;
    ASSERT_TRUE(cube.upload(*makeImage(24, rows), false, true));
    EXPECT_TRUE(cube.isCubeMap());
    for (int face = 0; face < 6; ++face)
        EXPECT_EQ(readTexture(GL_TEXTURE_CUBE_MAP, cube.getName(),
                              GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 4),
                  std::vector<Rgba>(4, bands[face]))
            << "face " << face;
}

// Every level down to one texel holds the rounded means of the texels it covers; an odd
// side's last column is left out, and rows padded to 4 bytes are read as such.
TEST_F(TextureTest, MipmapLevelsAreMeansOfTheTexelsTheyCover) {
    const auto level = [](const Render::GLTexture& texture, int index) {
        GLint width = 0, height = 0;
        glBindTexture(GL_TEXTURE_2D, texture.getName());
        glGetTexLevelParameteriv(GL_TEXTURE_2D, index, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, index, GL_TEXTURE_HEIGHT, &height);
        return std::pair{
            std::pair{width, height},
            readTexture(GL_TEXTURE_2D, texture.getName(), GL_TEXTURE_2D, width * height, index)};
    };
    Render::GLTexture rgba;
    ASSERT_TRUE(
        rgba.upload(*makeImage(32, {{{0, 0, 0, 0}, {4, 8, 12, 16}, {100, 0, 0, 0}, {0, 0, 0, 1}},
                                    {{8, 0, 0, 0}, {0, 8, 0, 0}, {0, 0, 200, 0}, {0, 0, 0, 2}}}),
                    true, false));
    EXPECT_EQ(level(rgba, 1),
              (std::pair{std::pair{2, 1}, std::vector<Rgba>{{3, 4, 3, 4}, {25, 0, 50, 1}}}));
    EXPECT_EQ(level(rgba, 2), (std::pair{std::pair{1, 1}, std::vector<Rgba>{{14, 2, 27, 3}}}));

    Render::GLTexture rgb;
    ASSERT_TRUE(rgb.upload(*makeImage(24, {{{10, 20, 30, 0}, {30, 40, 50, 0}, {255, 255, 255, 0}},
                                           {{50, 60, 70, 0}, {70, 80, 90, 0}, {255, 255, 255, 0}}}),
                           true, false));
    EXPECT_EQ(level(rgb, 1), (std::pair{std::pair{1, 1}, std::vector<Rgba>{{40, 50, 60, 255}}}));

    Render::GLTexture grey;
    ASSERT_TRUE(grey.upload(
        *makeImage(8, {{{10, 0, 0, 0}}, {{20, 0, 0, 0}}, {{31, 0, 0, 0}}, {{40, 0, 0, 0}}}), true,
        false));
    EXPECT_EQ(level(grey, 1),
              (std::pair{std::pair{1, 2}, std::vector<Rgba>{{15, 0, 0, 255}, {36, 0, 0, 255}}}));
    EXPECT_EQ(level(grey, 2), (std::pair{std::pair{1, 1}, std::vector<Rgba>{{26, 0, 0, 255}}}));
}

TEST_F(TextureTest, FilterSettingsApplyWhenATextureIsBound) {
    const auto rows = std::vector<std::vector<Rgba>>(4, std::vector<Rgba>(4, {1, 2, 3, 4}));
    Render::GLTexture plain, mipmapped, cube;
    ASSERT_TRUE(plain.upload(*makeImage(32, rows), false, false));
    ASSERT_TRUE(mipmapped.upload(*makeImage(32, rows), true, false));
    ASSERT_TRUE(cube.upload(
        *makeImage(24, std::vector<std::vector<Rgba>>(24, std::vector<Rgba>(4, {1, 2, 3, 4}))),
        true, true));

    struct Case {
        int minLinear, magLinear, mode;
        GLint plainMin, mipmappedMin, mag;
    };
    for (const Case& c : {Case{1, 1, 0, GL_LINEAR, GL_LINEAR, GL_LINEAR},
                          Case{1, 0, 1, GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST, GL_NEAREST},
                          Case{0, 1, 1, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST, GL_LINEAR},
                          Case{1, 1, 2, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR},
                          Case{0, 0, 2, GL_NEAREST, GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST}}) {
        Render::GLTexture::setFilterSettings(c.minLinear, c.magLinear, c.mode);
        plain.bind(3);
        GLint unit = 0;
        glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
        EXPECT_EQ(unit, GL_TEXTURE3);
        EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER), c.plainMin);
        EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER), c.mag);
        EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S), GL_REPEAT);
        mipmapped.bind(3);
        EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER), c.mipmappedMin);
        cube.bind(3);
        EXPECT_EQ(parameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER), c.mipmappedMin);
        EXPECT_EQ(parameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
        EXPECT_EQ(parameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    }
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(TextureTest, SetupHappensOnceAndReportsWhatOpenGLRefuses) {
    LogRecorder log;
    Render::GLTexture texture;
    EXPECT_FALSE(texture.setup(4, 2, 2, false, nullptr, false, 4));
    texture.bind(0); // not set up: nothing happens
    EXPECT_FALSE(texture.setup(Render::GLTexture::PT_RGB, -1, 2, false, nullptr, false, 3));
    const Tool::Message* failed = log.find("setup failed");
    ASSERT_NE(failed, nullptr);
    EXPECT_EQ(failed->getAuthor(), "GLTexture");
    EXPECT_EQ(failed->getMessage(), "invalid value");
    EXPECT_EQ(texture.getName(), 0u);
    ASSERT_FALSE(glErrors().empty()) << "the debug output reports errors";
    glErrors().clear();

    EXPECT_TRUE(texture.setup(Render::GLTexture::PT_RGB, 2, 2, false, nullptr, false, 3));
    EXPECT_FALSE(texture.setup(Render::GLTexture::PT_RGBA, 2, 2, false, nullptr, false, 4));
    EXPECT_EQ(texture.getPixelType(), Render::GLTexture::PT_RGB);
}

TEST_F(TextureTest, MakingATextureLeavesTheBoundTexturesAlone) {
    const auto rows = std::vector<std::vector<Rgba>>(2, std::vector<Rgba>(2, {1, 2, 3, 4}));
    Render::GLTexture kept, made;
    ASSERT_TRUE(kept.upload(*makeImage(24, rows), false, false));
    kept.bind(0);
    glActiveTexture(GL_TEXTURE2);
    ASSERT_TRUE(made.upload(*makeImage(24, rows), true, false));
    GLint active = 0, bound = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE2);
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), kept.getName());
}

TEST_F(TextureTest, KernelCachesTexturesByOriginAndUse) {
    LogRecorder log;
    const auto image = makeImage(24, std::vector<std::vector<Rgba>>(6, {{1, 2, 3, 0}}),
                                 "file:data/images/one.png");
    kernel->bindTexture("envMap", image);
    kernel->bindTexture("envMap", image);
    kernel->bindTexture("envMap", image, true);
    const auto& cache = kernel->getTextureCache();
    ASSERT_EQ(cache.count("file:data/images/one.png"), 1u);
    ASSERT_EQ(cache.count("CubeMap-file:data/images/one.png"), 1u);
    EXPECT_FALSE(cache.at("file:data/images/one.png")->isCubeMap());
    EXPECT_TRUE(cache.at("CubeMap-file:data/images/one.png")->isCubeMap());

    // A failing image is tried once and stays in the cache without a texture.
    auto broken = std::make_shared<Data::Image>();
    broken->origin = "file:broken.png";
    broken->picture.setSize(FIT_BITMAP, 2, 2, 16);
    kernel->bindTexture("envMap", broken);
    kernel->bindTexture("envMap", broken);
    EXPECT_EQ(log.count("unsuported image type"), 1u);
    ASSERT_EQ(cache.count("file:broken.png"), 1u);
    EXPECT_EQ(cache.at("file:broken.png")->getPixelType(), Render::GLTexture::PT_NONE);
}

TEST_F(TextureTest, ReleasedPicturesKeepTheirTextureAndAreDecodedAgainForAnotherForm) {
    // Six faces of one colour, in a file, so that the picture can be decoded again.
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("brumbly-released-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto rows = std::vector<std::vector<Rgba>>(6, {{10, 120, 230, 0}});
    ASSERT_TRUE(makeImage(24, rows)->picture.save((folder / "sky.png").c_str()));
    System::File::init((folder / "program").string());
    const Data::ImagePtr named = System::File::loadImage({"sky.png", ""});
    const auto unnamed = makeImage(24, rows);

    kernel->setReleasePicturesOnUpload(true);
    kernel->bindTexture("diffuseTex", named);
    kernel->bindTexture("diffuseTex", unnamed);
    EXPECT_FALSE(named->hasPixels());
    EXPECT_TRUE(named->isValid());
    EXPECT_EQ(named->getHeight(), 6u);
    // Without an origin nothing could find the texture or the file again: the pixels stay.
    EXPECT_TRUE(unnamed->hasPixels());

    // Drawn again, the image binds the texture made from its pixels.
    kernel->bindTexture("diffuseTex", named);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    const auto& cache = kernel->getTextureCache();
    EXPECT_EQ(static_cast<GLuint>(bound), cache.at(named->origin)->getName());
    // As a cube map it is decoded again from its file, and given up once more.
    kernel->bindTexture("envMap", named, true);
    EXPECT_FALSE(named->hasPixels());
    const Render::GLTexturePtr& cube = cache.at("CubeMap-" + named->origin);
    ASSERT_EQ(cube->getPixelType(), Render::GLTexture::PT_RGB);
    const std::vector<Rgba> texels =
        readTexture(GL_TEXTURE_CUBE_MAP, cube->getName(), GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, 1);
    EXPECT_EQ(texels[0], (Rgba{10, 120, 230, 255}));

    // Its textures released, the picture is decoded again when next drawn.
    kernel->releaseTexture(named);
    EXPECT_EQ(cache.count(named->origin) + cache.count("CubeMap-" + named->origin), 0u);
    kernel->bindTexture("diffuseTex", named);
    ASSERT_EQ(cache.count(named->origin), 1u);
    EXPECT_EQ(readTexture(GL_TEXTURE_2D, cache.at(named->origin)->getName(), GL_TEXTURE_2D, 6)[5],
              (Rgba{10, 120, 230, 255}));

    kernel->setReleasePicturesOnUpload(false);
    glActiveTexture(GL_TEXTURE0);
    std::filesystem::remove_all(folder);
}

TEST_F(TextureTest, ImagesWithoutOriginDoNotShareATexture) {
    const auto first = makeImage(24, {{{255, 0, 0, 0}}});
    const auto second = makeImage(24, {{{0, 255, 0, 0}}});
    const std::size_t named = kernel->getTextureCache().size();
    GLint firstName = 0, secondName = 0, againName = 0;
    kernel->bindTexture("unnamed", first);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &firstName);
    kernel->bindTexture("unnamed", second);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &secondName);
    kernel->bindTexture("unnamed", first);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &againName);
    EXPECT_NE(firstName, secondName);
    EXPECT_EQ(firstName, againName);
    EXPECT_EQ(kernel->getTextureCache().size(), named);
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(TextureTest, MaterialTextureIsDrawnByTheTextureProgram) {
    Render::GLTexture::setFilterSettings(0, 0, 0);
    // The sampler's unit reaches programs when they become current.
    kernel->getShaderMgmt().getTextureUnit("diffuseTex");
    kernel->getShaderMgmt().setCurrentProgram(Render::makeSimpleTextureProgram());
    auto material = std::make_shared<Data::Material>("checker");
    material->set(Data::MP_AMBIENT, glm::vec4(1.0f));
    material->set(Data::MP_DIFFUSE_TEXTURE, makeImage(24, {{{255, 0, 0, 0}, {0, 255, 0, 0}},
                                                           {{0, 0, 255, 0}, {255, 255, 255, 0}}}));
    auto square = std::make_shared<Data::Object>(makeSquare(2.0f, {0, 0, 0}));
    square->setMaterial(material);
    kernel->drawNode(square);
    fipImage frame = capture();
    EXPECT_EQ(pixel(frame, 16, 16), glm::ivec3(255, 0, 0));
    EXPECT_EQ(pixel(frame, 48, 16), glm::ivec3(0, 255, 0));
    EXPECT_EQ(pixel(frame, 16, 48), glm::ivec3(0, 0, 255));
    EXPECT_EQ(pixel(frame, 48, 48), glm::ivec3(255, 255, 255));
}

TEST_F(TextureTest, RenderTextureIsCompleteAndReceivesDepth) {
    LogRecorder log;
    auto target = std::make_shared<Render::RTTexture>(32, 32);
    EXPECT_TRUE(log.messages.empty()) << log.messages.front().getTitle();
    ASSERT_TRUE(target->getTexture());
    EXPECT_EQ(target->getTexture()->getPixelType(), Render::GLTexture::PT_DEPTH);
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);

    kernel->setRenderTarget(target);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER),
              static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 32);
    EXPECT_EQ(viewport[3], 32);
    kernel->drawMesh(makeSquare(1.0f, {-0.5f, 0.0f, 0.0f}));
    target->end();
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);

    kernel->bindTexture("shadowMap", target);
    std::vector<float> depth(32 * 32, -1.0f);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    glActiveTexture(GL_TEXTURE0);
    EXPECT_NEAR(depth[16 * 32 + 8], 0.5f, 1e-3f); // inside the square
    EXPECT_FLOAT_EQ(depth[16 * 32 + 24], 1.0f);   // cleared
}

// Reads the bound depth texture through a comparison sampler at `probe` against the
// depth 0.5: how much of it counts as lit.
float shadowLookup(Render::RKernel& kernel, const glm::vec2& probe) {
    Render::GLShaderMgmt& shaders = kernel.getShaderMgmt();
    shaders.setCurrentProgram(Data::Shader{
        "test shadow lookup",
        "test",
        {"#version 140\nin vec3 in_Position;\n"
         "void main() { gl_Position = vec4(in_Position, 1.0); }\n"},
        {"#version 140\nuniform sampler2DShadow shadowMap;\nuniform vec2 probe;\n"
         "out vec4 colour;\n"
         "void main() { colour = vec4(vec3(texture(shadowMap, vec3(probe, 0.5))), 1.0); }\n"}});
    shaders.setUniform("probe", probe);
    kernel.setRenderTarget(kernel.getScreen());
    kernel.drawMesh(makeSquare(2.0f, {0, 0, 0}));
    fipImage frame;
    EXPECT_TRUE(Render::captureFrame(frame));
    RGBQUAD colour{};
    frame.getPixelColor(32, 32, &colour);
    return static_cast<float>(colour.rgbRed) / 255.0f;
}

// Shadow lookups compare depths, blend the four nearest results and never wrap
// around the map, however the other textures are filtered.
TEST_F(TextureTest, ShadowMapKeepsComparisonFilteringAfterAnyBinding) {
    // A 4 x 4 depth map: its left half at depth 0.25 (a caster), its right half clear.
    auto target = std::make_shared<Render::RTTexture>(4, 4);
    kernel->setRenderTarget(target);
    kernel->drawMesh(makeSquare(2.0f, {-1.0f, 0.0f, -0.5f}));
    target->end();

    const auto rows = std::vector<std::vector<Rgba>>(2, std::vector<Rgba>(2, {1, 2, 3, 4}));
    for (const int mode : {0, 1, 2}) {
        Render::GLTexture::setFilterSettings(0, 0, mode);
        // Another texture bound to the same unit before, under every filter setting.
        kernel->bindTexture("shadowMap", makeImage(24, rows));
        kernel->bindTexture("shadowMap", target);
        EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
        EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
        EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
        EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE), GL_COMPARE_REF_TO_TEXTURE);
        EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC), GL_LEQUAL);

        EXPECT_NEAR(shadowLookup(*kernel, {0.125f, 0.5f}), 0.0f, 0.01f) << "behind the caster";
        EXPECT_NEAR(shadowLookup(*kernel, {0.875f, 0.5f}), 1.0f, 0.01f) << "in the open";
        EXPECT_NEAR(shadowLookup(*kernel, {0.5f, 0.5f}), 0.5f, 0.02f) << "half way: blended";
        EXPECT_NEAR(shadowLookup(*kernel, {1.1f, 0.5f}), 1.0f, 0.01f) << "past the edge: clamped";
        EXPECT_NEAR(shadowLookup(*kernel, {-0.1f, 0.5f}), 0.0f, 0.01f);
    }
    glActiveTexture(GL_TEXTURE0);
}

} // namespace
