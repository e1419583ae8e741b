// Forest Hills: a tight, hilly track. Switchbacks with two hairpins climb from the start
// straight onto a wooded ridge, the road sweeps over it and winds back down the west
// side, past farms and crate stacks close beside the road.
#include "Plans.h"
#include "TrackGen/Placing.h"

namespace Plans {

TrackGen::TrackPlan forestHills() {
    TrackGen::TrackPlan plan;
    plan.name = "Forest Hills";
    nameFiles(plan, "ForestHills");
    plan.landSeed = 77U;
    plan.baseHeight = 5.5f;
    plan.roughness = 4.5f;
    plan.roughnessScale = 40.0f;
    plan.edgeRise = 10.0f;
    plan.peakHeight = 15.0f;
    plan.hills = {
        {180.0f, 170.0f, 60.0f, 8.0f}, {120.0f, 225.0f, 55.0f, 8.0f}, {40.0f, 200.0f, 40.0f, 5.0f},
        {230.0f, 230.0f, 45.0f, 6.0f}, {240.0f, 20.0f, 40.0f, 3.0f},  {10.0f, 130.0f, 40.0f, 7.0f},
        {90.0f, 15.0f, 50.0f, -3.0f},  {60.0f, 60.0f, 26.0f, -3.0f},
    };
    plan.road = {
        {46.0f, 30.0f},   {80.0f, 30.0f},   {120.0f, 30.0f},  {160.0f, 30.0f},  {196.0f, 30.0f},
        {214.0f, 35.0f},  {222.0f, 47.0f},  {214.0f, 59.0f},  {198.0f, 63.0f},  {166.0f, 66.0f},
        {134.0f, 63.0f},  {116.0f, 66.0f},  {103.0f, 83.0f},  {114.0f, 99.0f},  {133.0f, 103.0f},
        {165.0f, 103.0f}, {196.0f, 106.0f}, {216.0f, 120.0f}, {222.0f, 140.0f}, {214.0f, 166.0f},
        {196.0f, 186.0f}, {172.0f, 206.0f}, {144.0f, 220.0f}, {114.0f, 222.0f}, {86.0f, 224.0f},
        {58.0f, 218.0f},  {40.0f, 202.0f},  {36.0f, 180.0f},  {48.0f, 162.0f},  {70.0f, 154.0f},
        {84.0f, 140.0f},  {80.0f, 124.0f},  {62.0f, 116.0f},  {42.0f, 112.0f},  {31.0f, 96.0f},
        {29.0f, 74.0f},   {28.0f, 52.0f},   {32.0f, 36.0f},
    };
    plan.gridVertices = 41;
    plan.roadWave = 24.0f;
    plan.maxGrade = 0.1f;
    plan.roundOff = 16.0f;
    const TrackGen::RoadLine road(plan.road);
    TrackGen::placeStart(plan, road, 95.0f);
    for (float along : {250.0f, 430.0f, 620.0f, 800.0f}) {
        TrackGen::addCheckpoint(plan, road, along);
    }
    plan.houses = {
        {"StaticObject_House", 178.0f, 80.0f, 0.0f},
        {"StaticObject_House1", 150.0f, 124.0f, 90.0f},
        {"StaticObject_House2", 124.0f, 196.0f, 0.0f},
        {"StaticObject_House3", 64.0f, 190.0f, 0.0f},
        {"StaticObject_House4", 240.0f, 90.0f, 90.0f},
    };
    for (const TrackGen::House& house : plan.houses) {
        plan.pads.push_back({house.x - 8.0f, house.z - 7.0f, house.x + 8.0f, house.z + 7.0f});
    }
    plan.crateGroups = {
        {"DynamicObject_Crate", 140.0f, 46.0f, 90.0f, 3},
        {"DynamicObject_CrateB", 238.0f, 150.0f, 0.0f, 3},
        {"DynamicObject_CrateC", 96.0f, 100.0f, 0.0f, 2},
        {"DynamicObject_CrateD", 60.0f, 136.0f, 0.0f, 2},
        {"DynamicObject_CrateE", 12.0f + 4.0f, 90.0f, 0.0f, 2},
    };
    for (const TrackGen::CrateGroup& crates : plan.crateGroups) {
        plan.pads.push_back({crates.x - 6.0f, crates.z - 6.0f, crates.x + 6.0f, crates.z + 6.0f});
    }
    plan.colours.lushGrass = TrackGen::rgb(0.16f, 0.34f, 0.12f);
    plan.colours.dryGrass = TrackGen::rgb(0.32f, 0.40f, 0.17f);
    plan.colours.darkGrass = TrackGen::rgb(0.10f, 0.24f, 0.08f);
    plan.colours.earth = TrackGen::rgb(0.36f, 0.26f, 0.16f);
    return plan;
}

} // namespace Plans
