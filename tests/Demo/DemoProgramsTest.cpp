#include "DemoTestSupport.h"

#include "Platform/Keys.h"
#include "demo/FrustumCullingTest/FrustumCullingTest.h"

#include <FreeImagePlus.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// One run of a demonstration program from the bin folder, started from the
// temporary folder, with what it wrote.
struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// One folder per test: ctest runs the tests side by side.
fs::path scratchFolder() {
    const fs::path folder =
        fs::path(::testing::TempDir()) /
        ("brumbly-demo-" +
         std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(folder);
    return folder;
}

ProgramRun runProgram(const std::string& program, const std::string& arguments,
                      const std::string& environment = "") {
    const fs::path folder = scratchFolder();
    const std::string command = "cd '" + folder.string() + "' && " + environment + " '" +
                                BRUMBLY_BIN_DIR + "/" + program + "' " + arguments + " > '" +
                                (folder / "out.txt").string() + "' 2> '" +
                                (folder / "err.txt").string() + "'";
    ProgramRun run;
    const int result = std::system(command.c_str());
    run.status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    run.out = readFile(folder / "out.txt");
    run.err = readFile(folder / "err.txt");
    return run;
}

// Pixels of a picture, counted by what they show.
struct Pixels {
    fipImage image;
    int width = 0;
    int height = 0;

    explicit Pixels(const fs::path& file) {
        EXPECT_TRUE(image.load(file.string().c_str())) << file;
        width = static_cast<int>(image.getWidth());
        height = static_cast<int>(image.getHeight());
    }
    RGBQUAD at(int x, int y) const {
        RGBQUAD colour{};
        const_cast<fipImage&>(image).getPixelColor(static_cast<unsigned>(x),
                                                   static_cast<unsigned>(y), &colour);
        return colour;
    }
    // Share of the pixels in the rectangle (rows from the bottom) that match.
    double share(int x0, int y0, int x1, int y1,
                 const std::function<bool(const RGBQUAD&)>& match) const {
        int hits = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                hits += match(at(x, y)) ? 1 : 0;
        return static_cast<double>(hits) / ((x1 - x0) * (y1 - y0));
    }
    std::size_t colourCount() const {
        std::set<unsigned> colours;
        for (int y = 0; y < height; y += 2)
            for (int x = 0; x < width; x += 2) {
                const RGBQUAD c = at(x, y);
                colours.insert(c.rgbRed << 16 | c.rgbGreen << 8 | c.rgbBlue);
            }
        return colours.size();
    }
};

// Runs the program for a few frames and loads the last one it saved.
Pixels drawnFrame(const std::string& program) {
    const fs::path picture = scratchFolder() / (program + ".png");
    fs::remove(picture);
    const ProgramRun run = runProgram(program, "--frames 3 --save-frame " + picture.string());
    EXPECT_EQ(run.status, 0) << run.err;
    Pixels pixels(picture);
    EXPECT_EQ(pixels.width, 1024);
    EXPECT_EQ(pixels.height, 768);
    // Lit, textured scenes, not a cleared window.
    EXPECT_GT(pixels.colourCount(), 500u) << program;
    return pixels;
}

bool dark(const RGBQUAD& c) {
    return c.rgbRed < 40 && c.rgbGreen < 40 && c.rgbBlue < 40;
}
bool green(const RGBQUAD& c) {
    return c.rgbGreen > c.rgbRed && c.rgbGreen > c.rgbBlue + 20;
}
bool brown(const RGBQUAD& c) {
    return c.rgbRed > c.rgbGreen && c.rgbGreen > c.rgbBlue + 15;
}
bool bluish(const RGBQUAD& c) {
    return c.rgbBlue > c.rgbRed + 15;
}
bool grey(const RGBQUAD& c) {
    return c.rgbRed == c.rgbGreen && c.rgbGreen == c.rgbBlue;
}

TEST(DemoProgramsTest, RenderAppShowsTheJeepOnGrass) {
    const Pixels frame = drawnFrame("RenderApp");
    // The model in the middle: its black tyres and dark underside.
    EXPECT_GT(frame.share(312, 184, 712, 584, dark), 0.01);
    // Grass below it, sky above the horizon.
    EXPECT_GT(frame.share(0, 0, 1024, 100, green), 0.9);
    EXPECT_EQ(frame.share(0, 0, 1024, 100, dark), 0.0);
}

TEST(DemoProgramsTest, FrustumCullingTestFliesOverTheCrates) {
    const Pixels frame = drawnFrame("FrustumCullingTest");
    EXPECT_GT(frame.share(0, 0, 1024, 768, brown), 0.25);
    EXPECT_GT(frame.share(0, 0, 1024, 768, green), 0.2);
}

TEST(DemoProgramsTest, ReflectionTestShowsWaterUnderTheSky) {
    const Pixels frame = drawnFrame("ReflectionTest");
    // Water in the lower part, sky in the upper part, both blue.
    EXPECT_GT(frame.share(0, 0, 1024, 200, bluish), 0.9);
    EXPECT_GT(frame.share(0, 600, 1024, 768, bluish), 0.6);
}

TEST(DemoProgramsTest, ShadowMappingTestShowsItsShadowMapInTheCorner) {
    const Pixels frame = drawnFrame("ShadowMappingTest");
    // The shadow map in the lower right: shades of grey only, the empty depth as
    // black and the objects seen from the light brighter.
    const int x0 = 800, y0 = 20, x1 = 1000, y1 = 220;
    EXPECT_EQ(frame.share(x0, y0, x1, y1, grey), 1.0);
    EXPECT_GT(frame.share(x0, y0, x1, y1, dark), 0.5);
    EXPECT_GT(frame.share(x0, y0, x1, y1, [](const RGBQUAD& c) { return c.rgbRed > 120; }), 0.02);
    // The scene around it is coloured.
    EXPECT_LT(frame.share(0, 0, 700, 768, grey), 0.5);
}

TEST(DemoProgramsTest, RenderAppExplainsAModelItCannotShow) {
    ProgramRun run = runProgram("RenderApp", "/nonexistent/model.dae");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("cannot read the model file /nonexistent/model.dae"), std::string::npos)
        << run.err;

    const fs::path notAModel = scratchFolder() / "notes.dae";
    std::ofstream(notAModel) << "just words\n";
    run = runProgram("RenderApp", "notes.dae");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("no model could be imported from notes.dae"), std::string::npos)
        << run.err;
}

TEST(DemoProgramsTest, CommandLinesThatMakeNoSenseAreExplained) {
    ProgramRun run = runProgram("ShadowMappingTest", "--frames 0");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("--frames needs a whole number above 0"), std::string::npos);
    EXPECT_NE(run.err.find("usage: ShadowMappingTest"), std::string::npos);

    run = runProgram("ReflectionTest", "--save-frame x.png");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("--save-frame needs --frames"), std::string::npos);

    run = runProgram("FrustumCullingTest", "--culling maybe");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("unknown argument --culling"), std::string::npos);

    run = runProgram("RenderApp", "--help");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("usage: RenderApp [MODEL_FILE]", 0), 0u) << run.out;
}

TEST(DemoProgramsTest, WithoutADisplayTheProgramsSayWhy) {
    const ProgramRun run = runProgram("ShadowMappingTest", "--frames 1", "env -u DISPLAY");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Failed to initialize OpenGL window!"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("the window could not be opened"), std::string::npos) << run.err;
}

// The demonstration with its event queue open to the test.
class CullingProbe : public Demo::FrustumCullingTest {
public:
    using FrustumCullingTest::FrustumCullingTest;
    using FrustumCullingTest::queueEvent;
};

TEST(FrustumCullingDemoTest, CountsTheCratesItDrawsAndF7SwitchesCulling) {
    GameTest::useBinFolder();
    // Culling from the command line, F7 switching it off before the first frame.
    std::size_t drawnWithout = 0;
    {
        CullingProbe probe({2, ""}, true);
        ASSERT_TRUE(probe.hasWindow());
        EXPECT_EQ(probe.getObjectCount(),
                  static_cast<std::size_t>(CullingProbe::GRID * CullingProbe::GRID));
        probe.queueEvent(Demo::SimpleApplication::ET_KEY, Platform::KEY_F7, 1);
        ::testing::internal::CaptureStdout();
        probe.run();
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "frustum culling off\n");
        drawnWithout = probe.getDrawnObjects();
        EXPECT_EQ(drawnWithout, probe.getObjectCount());
    }
    CullingProbe probe({2, ""}, false);
    probe.queueEvent(Demo::SimpleApplication::ET_KEY, Platform::KEY_F7, 1);
    ::testing::internal::CaptureStdout();
    probe.run();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "frustum culling on\n");
    // Flying over the field the camera sees part of it only.
    EXPECT_GT(probe.getDrawnObjects(), 0u);
    EXPECT_LT(probe.getDrawnObjects(), drawnWithout * 3 / 4);
}

} // namespace
