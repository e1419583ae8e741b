// Writes the game's models with their textures:
//   vehicles/jeep/jeep1_xsi.dae, objects/house/house.dae, objects/goal/goal.dae,
//   objects/checkpoint/checkpoint.dae, objects/crate/crate.dae
//   gen_models <data folder> <truetype folder>
#include "ColladaWriter.h"
#include "ModelTextures.h"
#include "Models.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    using namespace Tools;
    if (argc != 3) {
        std::cerr << "usage: gen_models <data folder> <truetype folder>\n";
        return 2;
    }
    const std::string data = std::string(argv[1]) + "/";
    const std::string boldFont = std::string(argv[2]) + "/LiberationSans-Bold.ttf";
    const std::string house = data + "objects/house/";
    const std::string goal = data + "objects/goal/";
    const std::string checkpoint = data + "objects/checkpoint/";
    const std::string crate = data + "objects/crate/";
    const Colour white = rgb(0.96f, 0.96f, 0.94f);
    bool ok = writeCollada(makeJeep(), data + "vehicles/jeep/jeep1_xsi.dae") &&
              writeCollada(makeHouse(), house + "house.dae") &&
              plasterTexture().saveJpeg(house + "wall.jpg") &&
              roofTileTexture().saveJpeg(house + "roof.jpg") &&
              doorTexture().saveJpeg(house + "door.jpg") &&
              writeCollada(makeGate(true), goal + "goal.dae") &&
              bannerTexture(true, boldFont).saveJpeg(goal + "goal_banner.jpg") &&
              stripeTexture(white, rgb(0.06f, 0.06f, 0.06f), 4).saveJpeg(goal + "goal_post.jpg") &&
              writeCollada(makeGate(false), checkpoint + "checkpoint.dae") &&
              bannerTexture(false, boldFont).saveJpeg(checkpoint + "checkpoint_banner.jpg") &&
              stripeTexture(white, rgb(0.9f, 0.32f, 0.05f), 4)
                  .saveJpeg(checkpoint + "checkpoint_post.jpg") &&
              writeCollada(makeCrate(), crate + "crate.dae") &&
              crateTexture().saveJpeg(crate + "crate.jpg");
    if (!ok) {
        std::cerr << "gen_models: could not write the models to " << data << "\n";
        return 1;
    }
    return 0;
}
