#include "TrackGen/Placing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace TrackGen {

namespace {

constexpr float degreesPerRadian = 180.0f / std::numbers::pi_v<float>;
// The goal's line and a checkpoint's square, half their sides.
constexpr float goalHalfSize = 5.0f;
constexpr float checkpointHalfSize = 15.0f;
// Room on the level pad around the start places and the goal.
constexpr float padMargin = 9.0f;

// A gate's posts stand across the road: yaw 0 puts them along z.
float gateYaw(float heading) {
    return heading - 90.0f;
}

} // namespace

RoadPlace placeOnRoad(const RoadLine& road, float along) {
    const float length = std::max(road.length(), RoadLine::spacing);
    const float s = std::fmod(std::fmod(along, length) + length, length);
    const int index = static_cast<int>(s / RoadLine::spacing);
    const RoadLine::Sample& sample = road.around(index, 0);
    const GroundPoint d = road.direction(index);
    return {sample.x, sample.z, std::atan2(d.x, d.z) * degreesPerRadian};
}

void placeStart(TrackPlan& plan, const RoadLine& road, float along, int cars, float spacing) {
    const RoadPlace goal = placeOnRoad(road, along);
    plan.checkpoints.insert(plan.checkpoints.begin(),
                            {goalHalfSize, goalHalfSize, goal.x, goal.z, goal.heading});
    plan.gates.insert(plan.gates.begin(),
                      {"StaticObject_Goal", true, goal.x, goal.z, gateYaw(goal.heading)});
    FlatPad pad{goal.x - padMargin, goal.z - padMargin, goal.x + padMargin, goal.z + padMargin};
    for (int car = 0; car < cars; ++car) {
        const RoadPlace start = placeOnRoad(road, along - 12.0f - spacing * car);
        plan.startPositions.push_back({1.0f, 1.0f, start.x, start.z, start.heading});
        pad = {std::min(pad.x0, start.x - padMargin), std::min(pad.z0, start.z - padMargin),
               std::max(pad.x1, start.x + padMargin), std::max(pad.z1, start.z + padMargin)};
    }
    plan.startPad = pad;
}

void addCheckpoint(TrackPlan& plan, const RoadLine& road, float along) {
    const RoadPlace place = placeOnRoad(road, along);
    const int number = static_cast<int>(plan.checkpoints.size());
    plan.checkpoints.push_back(
        {checkpointHalfSize, checkpointHalfSize, place.x, place.z, place.heading});
    plan.gates.push_back(
        {"Checkpoint_" + std::to_string(number), false, place.x, place.z, gateYaw(place.heading)});
}

} // namespace TrackGen
