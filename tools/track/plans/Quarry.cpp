// Quarry: a short, technical track on the rim of a flooded pit: crests the cars leap
// over, a chicane, and a watersplash where the road dips through the pit's shallows.
#include "Plans.h"
#include "TrackGen/Placing.h"

namespace Plans {

TrackGen::TrackPlan quarry() {
    TrackGen::TrackPlan plan;
    plan.name = "Quarry";
    nameFiles(plan, "Quarry");
    plan.landSeed = 9001U;
    plan.baseHeight = 5.0f;
    plan.roughness = 2.0f;
    plan.roughnessScale = 30.0f;
    plan.edgeRise = 13.0f;
    plan.edgeWidth = 60.0f;
    plan.lakes = {{128.0f, 140.0f, 44.0f, 34.0f, 7.0f}};
    // Short steep humps across the road make its crests.
    plan.hills = {
        {196.0f, 104.0f, 16.0f, 4.0f}, {104.0f, 196.0f, 16.0f, 4.0f}, {66.0f, 96.0f, 14.0f, 3.5f},
        {30.0f, 230.0f, 50.0f, 6.0f},  {230.0f, 230.0f, 50.0f, 6.0f},
    };
    plan.road = {
        {70.0f, 48.0f},   {100.0f, 48.0f},  {130.0f, 48.0f},  {160.0f, 50.0f},  {184.0f, 64.0f},
        {196.0f, 86.0f},  {198.0f, 112.0f}, {190.0f, 140.0f}, {178.0f, 162.0f}, {162.0f, 182.0f},
        {138.0f, 194.0f}, {110.0f, 196.0f}, {84.0f, 186.0f},  {72.0f, 166.0f},  {58.0f, 148.0f},
        {64.0f, 128.0f},  {56.0f, 110.0f},  {66.0f, 90.0f},   {56.0f, 70.0f},   {58.0f, 54.0f},
    };
    plan.gridVertices = 41;
    plan.roadWave = 8.0f;
    plan.maxGrade = 0.15f;
    plan.roundOff = 6.0f;
    plan.dips = {{172.0f, 171.0f, 40.0f, 0.3f}};
    const TrackGen::RoadLine road(plan.road);
    TrackGen::placeStart(plan, road, 65.0f);
    for (float along : {150.0f, 270.0f, 380.0f}) {
        TrackGen::addCheckpoint(plan, road, along);
    }
    plan.houses = {
        {"StaticObject_House", 150.0f, 24.0f, 0.0f},
        {"StaticObject_House1", 226.0f, 130.0f, 90.0f},
    };
    for (const TrackGen::House& house : plan.houses) {
        plan.pads.push_back({house.x - 8.0f, house.z - 7.0f, house.x + 8.0f, house.z + 7.0f});
    }
    plan.crateGroups = {
        {"DynamicObject_Crate", 218.0f, 84.0f, 0.0f, 3},
        {"DynamicObject_CrateB", 84.0f, 140.0f, 0.0f, 2},
        {"DynamicObject_CrateC", 34.0f, 110.0f, 0.0f, 3},
        {"DynamicObject_CrateD", 190.0f, 40.0f, 90.0f, 2},
    };
    for (const TrackGen::CrateGroup& crates : plan.crateGroups) {
        plan.pads.push_back({crates.x - 6.0f, crates.z - 6.0f, crates.x + 6.0f, crates.z + 6.0f});
    }
    // Sparse grass on sandy, stony ground.
    plan.colours.lushGrass = TrackGen::rgb(0.46f, 0.46f, 0.28f);
    plan.colours.dryGrass = TrackGen::rgb(0.64f, 0.58f, 0.42f);
    plan.colours.darkGrass = TrackGen::rgb(0.36f, 0.38f, 0.24f);
    plan.colours.earth = TrackGen::rgb(0.55f, 0.45f, 0.33f);
    plan.colours.rock = TrackGen::rgb(0.62f, 0.58f, 0.52f);
    plan.colours.gravel = TrackGen::rgb(0.70f, 0.66f, 0.58f);
    return plan;
}

} // namespace Plans
