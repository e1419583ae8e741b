#include "System/File.h"
#include "../Data/RecordingLog.h"
#include "ColladaFixture.h"
#include "Data/FontManager.h"
#include "Data/Material.h"
#include "Data/Object.h"
#include "Tool/LogText.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using System::File;

// The working directory is process-wide and only empty before the first init, which
// the tests that ran before this one may have called: a fresh process of the test
// program looks at it.
TEST(FileWorkingDirectoryTest, EmptyBeforeTheFirstInit) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(File::getPWD().empty() ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

TEST(FileWorkingDirectoryTest, InitRules) {
    File::init("prog");
    EXPECT_EQ(File::getPWD(), "./");

    File::init("/opt/games/brumbly/Brumbly");
    EXPECT_EQ(File::getPWD(), "/opt/games/brumbly//");

    // The launcher hands its directory in generic form, ending in "/".
    File::init("/opt/games/brumbly/");
    EXPECT_EQ(File::getPWD(), "/opt/games/brumbly//");

    // Whichever separator comes last is kept.
    File::init("C:\\a/b\\c.exe");
    EXPECT_EQ(File::getPWD(), "C:\\a/b\\/");

    char program[] = "bin/Brumbly";
    char other[] = "ignored/x";
    char* argv[] = {program, other};
    File::init(2, argv);
    EXPECT_EQ(File::getPWD(), "bin//");
}

// Loading through the working directory, which each test sets.
class FileLoadTest : public ::testing::Test {
protected:
    void SetUp() override { File::init(directory.path.string() + "/Brumbly"); }
    void TearDown() override { Data::FontManager::getInstance().clear(); }

    void writeImage(const std::string& relative, unsigned width, unsigned height) const {
        const std::filesystem::path file = directory.write(relative, "");
        fipImage picture;
        ASSERT_TRUE(picture.setSize(FIT_BITMAP, width, height, 24));
        ASSERT_TRUE(picture.save(file.c_str()));
    }

    // A 24-bit picture of that size with colourAt(x, y) in each pixel.
    static fipImage paint(unsigned width, unsigned height,
                          const std::function<RGBQUAD(unsigned, unsigned)>& colourAt) {
        fipImage picture;
        picture.setSize(FIT_BITMAP, width, height, 24);
        for (unsigned y = 0; y < height; ++y) {
            for (unsigned x = 0; x < width; ++x) {
                RGBQUAD colour = colourAt(x, y);
                picture.setPixelColor(x, y, &colour);
            }
        }
        return picture;
    }

    ColladaFixture::TempDirectory directory;
    RecordingLog log;
};

TEST_F(FileLoadTest, PathsAndText) {
    EXPECT_EQ(File::nativePath("a\\b/c\\\\d"), "a/b/c//d");
    directory.write("data/text.txt", "one\r\ntwo\rthree\n\r\n");
    EXPECT_EQ(File::readText(File::getPWD() + "data\\text.txt"), "one\ntwo\rthree\n\n");
    EXPECT_EQ(File::readText(File::getPWD() + "data\\none.txt"), "");
}

TEST_F(FileLoadTest, LoadImageSetsNameAndOriginOrLeavesItInvalid) {
    writeImage("data/images/sky.png", 8, 4);
    auto image = std::make_shared<Data::Image>();
    File::loadImage(image, System::AssetRef{"sky.png", "data\\images\\"});
    EXPECT_TRUE(image->isValid());
    EXPECT_EQ(image->picture.getWidth(), 8u);
    EXPECT_EQ(image->name, "sky.png");
    EXPECT_EQ(image->origin, "file:" + File::getPWD() + "data\\images\\sky.png");
    EXPECT_TRUE(log.errors().empty());
    ASSERT_FALSE(log.messages.empty());
    EXPECT_EQ(log.messages[0].getAuthor(), "File");
    EXPECT_EQ(log.messages[0].getTitle(), "loading Image sky.png");

    File::loadImage(image, System::AssetRef{"none.png", "data\\images\\"});
    EXPECT_FALSE(image->isValid());
    EXPECT_EQ(image->name, "");
    EXPECT_EQ(image->origin, "");
    ASSERT_EQ(log.errors().size(), 1u);
    EXPECT_EQ(log.errors()[0].getTitle(), "loading Image none.png");

    File::loadImage(nullptr, System::AssetRef{"sky.png", "data\\images\\"});
    EXPECT_EQ(log.errors().size(), 2u);
}

TEST_F(FileLoadTest, APictureStillHeldIsSharedAndOneThatGaveUpItsPixelsIsDecodedAgain) {
    writeImage("data/images/ground.png", 8, 4);
    const Data::ImagePtr first = File::loadImage(System::AssetRef{"ground.png", "data\\images\\"});
    const Data::ImagePtr second = File::loadImage(System::AssetRef{"ground.png", "data/images/"});
    EXPECT_EQ(second, first) << "one file, two spellings of its folder";
    EXPECT_EQ(log.messages.size(), 1u) << "decoded once";

    // Given up after upload: still loaded, of its size, and still shared; its pixels
    // come back from its file.
    ASSERT_TRUE(first->releasePixels());
    EXPECT_FALSE(first->hasPixels());
    EXPECT_TRUE(first->isValid());
    EXPECT_EQ(first->getWidth(), 8u);
    EXPECT_EQ(first->getHeight(), 4u);
    EXPECT_EQ(File::loadImage(System::AssetRef{"ground.png", "data\\images\\"}), first);
    EXPECT_TRUE(File::reloadImage(*first));
    EXPECT_EQ(first->picture.getWidth(), 8u);
    EXPECT_TRUE(log.errors().empty());

    // Without a file to decode from, pixels cannot be given up or found again.
    Data::Image made;
    made.picture.setSize(FIT_BITMAP, 2, 2, 24);
    EXPECT_FALSE(made.releasePixels());
    EXPECT_TRUE(made.hasPixels());
    ASSERT_TRUE(first->releasePixels());
    std::filesystem::remove(directory.path / "data/images/ground.png");
    EXPECT_FALSE(File::reloadImage(*first));
    EXPECT_TRUE(first->isValid());
    ASSERT_EQ(log.errors().size(), 1u);
    EXPECT_EQ(log.errors()[0].getTitle(), "reloading Image ground.png");

    // A load into an image of one's own starts it afresh, a failed one leaves it invalid.
    File::loadImage(first, System::AssetRef{"ground.png", "data\\images\\"});
    EXPECT_FALSE(first->isValid());
    EXPECT_EQ(first->getWidth(), 0u);
}

// A picture at half size is a picture of its own: shared only with those that ask
// for half size, drawn from its own texture, and decoded again at half size.
TEST_F(FileLoadTest, HalfSizePicturesAreKeptApartFromWholeOnesAndReloadAtHalfSize) {
    // Red on the left, blue on the right, of odd sides: halves round up.
    fipImage painted = paint(63, 33, [](unsigned x, unsigned) {
        RGBQUAD colour{};
        (x < 32 ? colour.rgbRed : colour.rgbBlue) = 255;
        return colour;
    });
    directory.write("data/images/ground.jpg", "");
    directory.write("data/images/ground.png", "");
    for (const char* file : {"ground.jpg", "ground.png"}) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(painted.save((directory.path / "data/images" / file).c_str()));
        const System::AssetRef asset{file, "data\\images\\"};
        const Data::ImagePtr half = File::loadImage(asset, File::PictureSize::Half);
        const Data::ImagePtr whole = File::loadImage(asset);
        ASSERT_NE(half, whole);
        EXPECT_EQ(File::loadImage(asset, File::PictureSize::Half), half);
        EXPECT_EQ(File::loadImage(asset, File::PictureSize::Whole), whole);
        EXPECT_NE(half->origin, whole->origin) << "texture caches key on the origin";
        EXPECT_EQ(whole->getWidth(), 63u);
        EXPECT_EQ(whole->getHeight(), 33u);

        // Given up and decoded again, as a texture of another kernel does: still half.
        ASSERT_TRUE(half->releasePixels());
        EXPECT_EQ(File::loadImage(asset, File::PictureSize::Half), half);
        ASSERT_TRUE(File::reloadImage(*half));
        EXPECT_EQ(half->picture.getWidth(), 32u);
        EXPECT_EQ(half->picture.getHeight(), 17u);
        RGBQUAD left{};
        RGBQUAD right{};
        ASSERT_TRUE(half->picture.getPixelColor(4, 8, &left));
        ASSERT_TRUE(half->picture.getPixelColor(27, 8, &right));
        EXPECT_GT(left.rgbRed, 200);
        EXPECT_LT(left.rgbBlue, 60);
        EXPECT_GT(right.rgbBlue, 200);
        EXPECT_LT(right.rgbRed, 60);
    }
    EXPECT_TRUE(log.errors().empty());
}

// Pictures decoded ahead on a thread of their own reach their loads as those loads
// would have decoded them: at the size asked for, named, shared, failures reported
// when taken. A picture already held is not decoded again; one that no load takes
// is dropped with the prefetch, so that a later load reads its file anew.
TEST_F(FileLoadTest, PrefetchedPicturesArriveAsTheirOwnLoadsWouldDecodeThem) {
    fipImage painted = paint(63, 33, [](unsigned x, unsigned y) {
        RGBQUAD colour{};
        colour.rgbRed = static_cast<BYTE>(x * 4);
        colour.rgbGreen = static_cast<BYTE>(y * 7);
        colour.rgbBlue = x < 32 ? 0 : 255;
        return colour;
    });
    directory.write("data/images/ground.png", "");
    ASSERT_TRUE(painted.save((directory.path / "data/images/ground.png").c_str()));
    writeImage("data/images/held.png", 5, 3);
    writeImage("data/images/unused.png", 4, 4);
    const System::AssetRef ground{"ground.png", "data\\images\\"};
    const System::AssetRef missing{"none.png", "data\\images\\"};
    const System::AssetRef unused{"unused.png", "data\\images\\"};
    const Data::ImagePtr held = File::loadImage(System::AssetRef{"held.png", "data/images/"});
    log.messages.clear();

    Data::ImagePtr whole, half, absent;
    {
        const File::Prefetch prefetch({{ground, File::PictureSize::Half},
                                       {ground},
                                       {missing},
                                       {{"held.png", "data\\images\\"}},
                                       {unused}});
        whole = File::loadImage(ground);
        half = File::loadImage(ground, File::PictureSize::Half);
        absent = File::loadImage(missing);
        EXPECT_EQ(File::loadImage(System::AssetRef{"held.png", "data\\images\\"}), held);
        EXPECT_EQ(File::loadImage(System::AssetRef{"ground.png", "data/images/"}), whole);
    }
    std::vector<std::string> titles;
    for (const Tool::Message& message : log.messages) {
        titles.push_back(message.getTitle());
    }
    EXPECT_EQ(titles,
              (std::vector<std::string>{"loading Image ground.png", "loading Image ground.png",
                                        "loading Image none.png", "loading Image none.png"}))
        << "one line per picture taken, and the failure";
    ASSERT_EQ(log.errors().size(), 1u);
    EXPECT_FALSE(absent->isValid());

    // Every pixel as a load of its own decodes it.
    auto own = std::make_shared<Data::Image>();
    File::loadImage(own, ground);
    ASSERT_TRUE(whole->hasPixels());
    EXPECT_EQ(whole->name, "ground.png");
    EXPECT_EQ(whole->origin, own->origin);
    ASSERT_EQ(whole->picture.getWidth(), 63u);
    ASSERT_EQ(whole->picture.getHeight(), 33u);
    for (unsigned y = 0; y < 33; ++y) {
        ASSERT_EQ(std::memcmp(whole->picture.getScanLine(y), own->picture.getScanLine(y), 63 * 3),
                  0)
            << "row " << y;
    }
    EXPECT_NE(half->origin, whole->origin);
    EXPECT_EQ(half->picture.getWidth(), 32u);
    EXPECT_EQ(half->picture.getHeight(), 17u);
    RGBQUAD right{};
    ASSERT_TRUE(half->picture.getPixelColor(27, 8, &right));
    EXPECT_GT(right.rgbBlue, 200);

    writeImage("data/images/unused.png", 6, 2);
    const Data::ImagePtr later = File::loadImage(unused);
    EXPECT_EQ(later->getWidth(), 6u) << "decoded from the file as it is now";
}

// A 54-byte file claiming 40000 x 40000 pixels made the image library allocate and
// clear gigabytes for a minute before it failed.
TEST_F(FileLoadTest, PicturesLargerThanAnyTextureAreRefusedFromTheirHeader) {
    writeImage("data/images/huge.bmp", 4, 4);
    const std::filesystem::path file = directory.path / "data/images/huge.bmp";
    std::fstream header(file, std::ios::in | std::ios::out | std::ios::binary);
    const std::int32_t side = 40000;
    for (const std::streamoff offset : {18, 22}) { // width and height
        header.seekp(offset);
        header.write(reinterpret_cast<const char*>(&side), sizeof side);
    }
    header.close();
    auto image = std::make_shared<Data::Image>();
    File::loadImage(image, System::AssetRef{"huge.bmp", "data\\images\\"});
    EXPECT_FALSE(image->isValid());
    ASSERT_EQ(log.errors().size(), 1u);
    EXPECT_EQ(log.errors()[0].getTitle(), "loading Image huge.bmp");
    EXPECT_EQ(log.errors()[0].getMessage(),
              "a picture of 40000 x 40000 pixels is larger than any texture");

    writeImage("data/images/wide.bmp", 16384, 2);
    File::loadImage(image, System::AssetRef{"wide.bmp", "data\\images\\"});
    EXPECT_TRUE(image->isValid());
}

// A named pipe in place of a picture hung the loading screen: the image library
// opened it to read the picture's size before anything looked at the file's kind.
TEST_F(FileLoadTest, PicturesThatAreNoRegularFilesAreRefusedUnread) {
    const std::filesystem::path images = directory.path / "data/images";
    std::filesystem::create_directories(images / "folder.png");
    ASSERT_EQ(::mkfifo((images / "pipe.png").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", images / "zero.jpg");
    for (const char* name : {"folder.png", "pipe.png", "zero.jpg"}) {
        SCOPED_TRACE(name);
        auto image = std::make_shared<Data::Image>();
        File::loadImage(image, System::AssetRef{name, "data\\images\\"});
        EXPECT_FALSE(image->isValid());
        ASSERT_EQ(log.errors().size(), 1u);
        EXPECT_EQ(log.errors()[0].getTitle(), std::string("loading Image ") + name);
        EXPECT_FALSE(log.errors()[0].getMessage().empty()) << "the reason is given";
        log.messages.clear();
    }
}

TEST_F(FileLoadTest, LoadMeshResolvesTexturesAgainstTheModelDirectory) {
    using namespace ColladaFixture;
    writeImage("data/objects/crate/tex.png", 4, 4);
    const std::string geometries =
        geometry("a", "0 0 0 1 0 0 0 1 0", 3, triangles("a", "0 1 2", 1)) +
        geometry("b", "0 0 0 2 0 0 0 2 0", 3, triangles("b", "0 1 2", 1)) +
        geometry("c", "0 0 0 3 0 0 0 3 0", 3, triangles("c", "0 1 2", 1));
    directory.write("data/objects/crate/crate.dae",
                    document(image("found", "./tex.png") + image("lost", "missing.png"),
                             material("found", "found") + material("lost", "lost"),
                             materialEntry("found", "Found") + materialEntry("lost", "Lost"),
                             geometries,
                             meshNode("a", "a", "found") + meshNode("b", "b", "found") +
                                 meshNode("c", "c", "lost")));

    const Data::SGNodePtr root =
        File::loadMesh(System::AssetRef{"crate.dae", "data\\objects\\crate\\"});
    ASSERT_NE(root, nullptr);
    auto a = std::dynamic_pointer_cast<Data::Object>(root->findByName("a"));
    auto b = std::dynamic_pointer_cast<Data::Object>(root->findByName("b"));
    auto c = std::dynamic_pointer_cast<Data::Object>(root->findByName("c"));
    ASSERT_TRUE(a && b && c);
    const Data::MaterialPtr found = a->getMeshes().at(0)->faces.at(0).material;
    EXPECT_EQ(b->getMeshes().at(0)->faces.at(0).material, found);
    const Data::ImagePtr texture = found->getImage(Data::MP_DIFFUSE_TEXTURE);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->name, "tex.png");
    EXPECT_EQ(texture->origin, "file:" + File::getPWD() + "data\\objects\\crate\\tex.png");

    const Data::MaterialPtr lost = c->getMeshes().at(0)->faces.at(0).material;
    EXPECT_EQ(lost->getString(Data::MP_DIFFUSE_TEXTURE), "missing.png");
    ASSERT_EQ(log.errors().size(), 1u);
    EXPECT_EQ(log.errors()[0].getTitle(), "loading Image missing.png");

    EXPECT_TRUE(std::filesystem::exists(directory.path / "Assimp.log"));

    // A model loaded for a detail level that draws smaller has its own, half-size
    // pictures; the whole ones stay as they were.
    const Data::SGNodePtr small = File::loadMesh(
        System::AssetRef{"crate.dae", "data\\objects\\crate\\"}, File::PictureSize::Half);
    ASSERT_NE(small, nullptr);
    auto smallA = std::dynamic_pointer_cast<Data::Object>(small->findByName("a"));
    ASSERT_TRUE(smallA);
    const Data::ImagePtr half =
        smallA->getMeshes().at(0)->faces.at(0).material->getImage(Data::MP_DIFFUSE_TEXTURE);
    ASSERT_NE(half, nullptr);
    EXPECT_NE(half, texture);
    EXPECT_EQ(half->getWidth(), 2u);
    EXPECT_EQ(half->getHeight(), 2u);
    EXPECT_EQ(texture->getWidth(), 4u);
}

TEST_F(FileLoadTest, MissingModelIsReportedByLoaderAndFile) {
    EXPECT_EQ(File::loadMesh(System::AssetRef{"jeep.dae", "data\\vehicles\\"}), nullptr);
    ASSERT_EQ(log.errors().size(), 2u);
    EXPECT_EQ(log.errors()[0].getAuthor(), "AssetLoader");
    EXPECT_EQ(log.errors()[0].getTitle(), "couldn't load jeep.dae");
    EXPECT_EQ(log.errors()[1].getAuthor(), "File");
    EXPECT_EQ(log.errors()[1].getTitle(), "loading Mesh jeep.dae");
}

TEST_F(FileLoadTest, LoadShaderCreatesThenAppends) {
    directory.write("shaders/basicLib.glsl", "lib");
    directory.write("shaders/default.vert", "vert");
    directory.write("shaders/default.frag", "frag");
    Data::ShaderPtr shader;
    File::loadShader(shader, System::AssetRef{"default", "shaders\\"});
    ASSERT_NE(shader, nullptr);
    const Data::Shader* first = shader.get();
    File::loadShader(shader, System::AssetRef{"default", "shaders\\"});
    EXPECT_EQ(shader.get(), first);
    EXPECT_EQ(shader->vertexSources.size(), 4u);
    EXPECT_EQ(shader->name, "default");
    EXPECT_TRUE(log.errors().empty());

    Data::ShaderPtr missing;
    File::loadShader(missing, System::AssetRef{"SkyBox", "shaders\\"});
    ASSERT_NE(missing, nullptr);
    ASSERT_EQ(log.errors().size(), 2u);
    EXPECT_EQ(log.errors()[0].getTitle(),
              "couldn't open " + File::getPWD() + "shaders\\SkyBox.vert");
    EXPECT_EQ(log.errors()[1].getTitle(), "loading first Shader SkyBox");
}

TEST_F(FileLoadTest, FontWidthTable) {
    writeImage("data/images/Fonts/ArialTrans.png", 256, 256);
    directory.write("data/images/Fonts/Arial.ini", "a=8\nb= 16");
    File::loadFont(System::AssetRef{"Arial", "data\\images\\Fonts\\"});
    const Data::FontPtr font = Data::FontManager::getInstance().getFont("Arial");
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(font->image->isValid());
    EXPECT_EQ(font->glyphs[0].width, 0.03125f);
    EXPECT_EQ(font->glyphs[1].width, 0.0625f);
    EXPECT_EQ(font->glyphs[2].width, 0.0625f);
    EXPECT_EQ(font->glyphs[255].width, 0.0625f);
    EXPECT_EQ(Data::FontManager::getInstance().getCurrentFontName(), "Arial");
    EXPECT_TRUE(log.errors().empty());

    // "\r\n" lines, keys ignored, only the first 256 values count.
    writeImage("data/images/Fonts/WideTrans.png", 512, 512);
    std::string table;
    for (int i = 0; i < 300; ++i) {
        table += "k" + std::to_string(i) + "=" + std::to_string(i < 256 ? i / 8 : 0) + "\r\n";
    }
    directory.write("data/images/Fonts/Wide.ini", table);
    File::loadFont(System::AssetRef{"Wide", "data\\images\\Fonts\\"});
    const Data::FontPtr wide = Data::FontManager::getInstance().getFont("Wide");
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->glyphs[0].width, 0.0f);
    EXPECT_EQ(wide->glyphs[64].width, 8.0f / 512.0f);
    EXPECT_EQ(wide->glyphs[255].width, 31.0f / 512.0f);
    EXPECT_EQ(Data::FontManager::getInstance().getCurrentFontName(), "Wide");
}

TEST_F(FileLoadTest, FontWithoutFilesIsStillRegistered) {
    File::loadFont(System::AssetRef{"Newsflash", "data\\images\\Fonts\\"});
    const Data::FontPtr font = Data::FontManager::getInstance().getFont("Newsflash");
    ASSERT_NE(font, nullptr);
    EXPECT_FALSE(font->image->isValid());
    EXPECT_EQ(font->glyphs[65].width, 0.0625f);
    ASSERT_EQ(log.errors().size(), 2u);
    EXPECT_EQ(log.errors()[0].getTitle(), "loading Image NewsflashTrans.png");
    EXPECT_EQ(log.errors()[1].getTitle(), "loading Font ini Newsflash.ini");

    // A width table without its texture cannot be scaled: widths stay one cell.
    directory.write("data/images/Fonts/Bare.ini", "a=8\n");
    File::loadFont(System::AssetRef{"Bare", "data\\images\\Fonts\\"});
    EXPECT_EQ(Data::FontManager::getInstance().getFont("Bare")->glyphs[0].width, 0.0625f);
}

// A directory where a text file belongs is a load failure like a missing file, never
// an exception.
TEST_F(FileLoadTest, DirectoriesInPlaceOfFilesAreLoadFailures) {
    directory.write("shaders/basicLib.glsl", "lib");
    std::filesystem::create_directories(directory.path / "shaders/default.vert");
    writeImage("data/images/Fonts/ArialTrans.png", 256, 256);
    std::filesystem::create_directories(directory.path / "data/images/Fonts/Arial.ini");

    EXPECT_EQ(File::readText(File::getPWD() + "shaders/default.vert"), "");
    Data::ShaderPtr shader;
    File::loadShader(shader, System::AssetRef{"default", "shaders\\"});
    File::loadFont(System::AssetRef{"Arial", "data\\images\\Fonts\\"});
    ASSERT_EQ(log.errors().size(), 3u);
    EXPECT_EQ(log.errors()[1].getTitle(), "loading first Shader default");
    EXPECT_EQ(log.errors()[2].getTitle(), "loading Font ini Arial.ini");
    EXPECT_EQ(Data::FontManager::getInstance().getFont("Arial")->glyphs[0].width, 0.0625f);
}

TEST_F(FileLoadTest, LogLinesRepeatAtMostAnExcerptOfAName) {
    const std::string name(50 * 1024 * 1024, 'n');
    File::loadImage(std::make_shared<Data::Image>(), System::AssetRef{name, "data\\"});
    Data::ShaderPtr shader;
    File::loadShader(shader, System::AssetRef{name, "shaders\\"});
    ASSERT_FALSE(log.messages.empty());
    for (const Tool::Message& message : log.messages) {
        EXPECT_LT(message.getTitle().size() + message.getMessage().size(), 4096u);
    }
    EXPECT_EQ(log.errors()[0].getTitle(), "loading Image " + Tool::logExcerpt(name));
}
