#pragma once

#include <cstddef>
#include <cstdint>
#include <glm/vec2.hpp>
#include <vector>

namespace Game {

class DrivingLine;
class Level;
class VehicleObject;

// Drives a car by pressing and releasing its five functions, as a player does with
// keys: it follows the level's driving line, slows before bends to the speed they
// allow, keeps clear of cars ahead, backs a stuck car off what holds it, and resets
// a car that stays stuck, is far off the road or on its roof. The difficulty (0 Easy, 1 Normal, 2
// Hard) sets how fast it takes bends, how closely it keeps to the line and how quickly it reacts.
class ComputerDriver {
public:
    struct Skill {
        float cornerGrip; // sideways acceleration it dares in bends
        float topSpeed;   // fastest it drives on straights
        float lineWander; // how far it strays from the line
        double reaction;  // seconds between its decisions
    };

    explicit ComputerDriver(std::uint32_t difficulty);

    static Skill skillFor(std::uint32_t difficulty);

    // Decides the car's inputs for this frame.
    void drive(VehicleObject& car, const Level& level, double dt);

    // The speed it aims for at each point of the line: what the bends ahead allow,
    // given how hard it can brake before them.
    static std::vector<float> speedProfile(const DrivingLine& line, const Skill& skill);

private:
    // `at` is the line's point nearest the car.
    void decide(VehicleObject& car, const Level& level, std::size_t at);
    // `fromLine` is the car's distance from the driving line.
    bool needsReset(const VehicleObject& car, float fromLine, double dt);
    float avoidance(const VehicleObject& car, const Level& level) const;
    // Presses or releases a function when that changes, as a key would.
    void hold(VehicleObject& car, int function, bool pressed);
    void holdEither(VehicleObject& car, int first, bool firstPressed, int second,
                    bool secondPressed);

    Skill skill;
    std::vector<float> profile;
    const DrivingLine* profiledLine = nullptr;
    double sinceDecision = 0.0;
    double stuckFor = 0.0;
    double freeFor = 0.0;
    double reversingFor = 0.0;
    int reversals = 0;
    double overturnedFor = 0.0;
    double offRoadFor = 0.0;
    double raceTime = 0.0;
    float sideStep = 0.0f;
    double sideStepFor = 0.0;
    float wantedSteering = 0.0f;
    bool held[5] = {};
};

} // namespace Game
