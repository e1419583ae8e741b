// Lakeside: a fast loop with long straights round a wide lake, a gentle bend along the
// north shore, farms and crate stacks beside the corners.
#include "Plans.h"
#include "TrackGen/Placing.h"

namespace Plans {

TrackGen::TrackPlan lakeside() {
    TrackGen::TrackPlan plan;
    plan.name = "Lakeside";
    nameFiles(plan, "Lakeside");
    plan.landSeed = 2024U;
    plan.roughness = 2.4f;
    plan.roughnessScale = 70.0f;
    plan.edgeRise = 11.0f;
    plan.lakes = {{130.0f, 128.0f, 66.0f, 58.0f, 6.5f}};
    plan.hills = {
        {20.0f, 20.0f, 60.0f, 9.0f},    {240.0f, 30.0f, 55.0f, 8.0f},
        {236.0f, 236.0f, 70.0f, 12.0f}, {16.0f, 236.0f, 60.0f, 10.0f},
        {128.0f, 246.0f, 30.0f, 5.0f},  {250.0f, 128.0f, 34.0f, 6.0f},
    };
    // Long straights on the south and east sides, a sweep round the north shore.
    plan.road = {
        {40.0f, 34.0f},   {80.0f, 34.0f},   {120.0f, 34.0f},  {160.0f, 34.0f},  {196.0f, 36.0f},
        {216.0f, 50.0f},  {222.0f, 76.0f},  {222.0f, 110.0f}, {222.0f, 145.0f}, {220.0f, 178.0f},
        {208.0f, 206.0f}, {182.0f, 220.0f}, {150.0f, 214.0f}, {120.0f, 204.0f}, {90.0f, 212.0f},
        {60.0f, 218.0f},  {38.0f, 202.0f},  {32.0f, 172.0f},  {34.0f, 140.0f},  {36.0f, 108.0f},
        {34.0f, 76.0f},   {28.0f, 52.0f},
    };
    plan.roadWave = 60.0f;
    const TrackGen::RoadLine road(plan.road);
    TrackGen::placeStart(plan, road, 110.0f);
    for (float along : {230.0f, 400.0f, 540.0f, 690.0f}) {
        TrackGen::addCheckpoint(plan, road, along);
    }
    plan.houses = {
        {"StaticObject_House", 196.0f, 10.0f + 6.0f, 0.0f},
        {"StaticObject_House1", 246.0f - 6.0f, 196.0f, 90.0f},
        {"StaticObject_House2", 70.0f, 244.0f - 4.0f, 0.0f},
    };
    for (const TrackGen::House& house : plan.houses) {
        plan.pads.push_back({house.x - 8.0f, house.z - 7.0f, house.x + 8.0f, house.z + 7.0f});
    }
    plan.crateGroups = {
        {"DynamicObject_Crate", 238.0f, 60.0f, 0.0f, 3},
        {"DynamicObject_CrateB", 200.0f, 236.0f, 90.0f, 3},
        {"DynamicObject_CrateC", 14.0f + 4.0f, 180.0f, 0.0f, 2},
    };
    for (const TrackGen::CrateGroup& crates : plan.crateGroups) {
        plan.pads.push_back({crates.x - 6.0f, crates.z - 6.0f, crates.x + 6.0f, crates.z + 6.0f});
    }
    plan.colours.lushGrass = TrackGen::rgb(0.25f, 0.46f, 0.15f);
    plan.colours.sand = TrackGen::rgb(0.84f, 0.77f, 0.56f);
    return plan;
}

} // namespace Plans
