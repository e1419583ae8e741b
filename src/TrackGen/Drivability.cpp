#include "TrackGen/Generator.h"
#include "TrackGen/RoadLine.h"
#include "TrackGen/TerrainModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>

namespace TrackGen {

namespace {

constexpr float degree = std::numbers::pi_v<float> / 180.0f;
// Half the distance between a gate's posts, and a post's half-thickness.
constexpr float gatePostOffset = 7.0f;
constexpr float gatePostHalf = 0.3f;
// How far a house and the crates beside it reach from their middle.
constexpr float houseReach = 9.0f;
constexpr float crateReach = 1.5f;
// The road is measured over stretches this long (curvature, grade, straightness).
constexpr float stretch = 8.0f;

std::string where(float x, float z) {
    char text[48];
    std::snprintf(text, sizeof text, "(%.1f, %.1f)", x, z);
    return text;
}

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// The angle from direction a to direction b, in (-pi, pi].
float turnBetween(const GroundPoint& a, const GroundPoint& b) {
    return std::atan2(a.x * b.z - a.z * b.x, a.x * b.x + a.z * b.z);
}

// A heading in degrees (90 faces +x) as a direction on the ground.
GroundPoint headingDirection(float heading) {
    return {std::sin(heading * degree), std::cos(heading * degree)};
}

// The distance from sample a forward along the loop to sample b.
float ahead(const RoadLine& road, const RoadLine::Nearest& a, const RoadLine::Nearest& b) {
    const float d = b.s - a.s;
    return d < 0.0f ? d + road.length() : d;
}

class Checker {
public:
    Checker(const TrackPlan& plan, const RoadLine& road, const TerrainModel& terrain)
        : plan(plan), road(road), terrain(terrain),
          window(static_cast<int>(stretch / RoadLine::spacing)) {}

    std::vector<std::string> run() {
        if (plan.road.size() < 4 || road.length() < 100.0f) {
            faults.push_back("the road needs at least four control points and 100 units");
            return faults;
        }
        checkShape();
        checkHeights();
        checkCheckpoints();
        checkStart();
        checkObstacles();
        return faults;
    }

private:
    void checkShape() {
        const auto& samples = road.samples();
        const int n = static_cast<int>(samples.size());
        const float margin = plan.roadHalfWidth + minimumEdgeMargin;
        float tightest = std::numeric_limits<float>::max();
        int tightestAt = 0;
        for (int i = 0; i < n; ++i) {
            const RoadLine::Sample& p = samples[static_cast<std::size_t>(i)];
            if (std::min({p.x, p.z, plan.terrainSize - p.x, plan.terrainSize - p.z}) < margin) {
                faults.push_back("the road at " + where(p.x, p.z) + " leaves the terrain");
                return;
            }
            const float turn =
                std::fabs(turnBetween(road.direction(i - window), road.direction(i + window)));
            const float radius = turn > 0.0f ? 2.0f * stretch / turn : tightest;
            if (radius < tightest) {
                tightest = radius;
                tightestAt = i;
            }
        }
        if (tightest < minimumTurnRadius) {
            const RoadLine::Sample& p = samples[static_cast<std::size_t>(tightestAt)];
            faults.push_back("the road bends with a radius of " + number(tightest) + " at " +
                             where(p.x, p.z) + ", under " + number(minimumTurnRadius));
        }
        // The road keeps clear of itself wherever it comes back near where it was.
        const float clearance = 2.0f * plan.roadHalfWidth + 4.0f;
        const int apart = static_cast<int>(3.0f * clearance / RoadLine::spacing);
        for (int i = 0; i < n; i += 4) {
            for (int j = i + apart; j < n && j + apart <= i + n; j += 4) {
                const RoadLine::Sample& a = samples[static_cast<std::size_t>(i)];
                const RoadLine::Sample& b = samples[static_cast<std::size_t>(j)];
                if (std::hypot(a.x - b.x, a.z - b.z) < clearance) {
                    faults.push_back("the road comes within " + number(clearance) +
                                     " of itself at " + where(a.x, a.z));
                    return;
                }
            }
        }
    }

    bool inDip(const RoadLine::Sample& p) const {
        return std::any_of(plan.dips.begin(), plan.dips.end(), [&](const RoadDip& dip) {
            const RoadLine::Nearest centre = road.nearest(dip.x, dip.z);
            const float d = std::fabs(p.s - centre.s);
            return std::min(d, road.length() - d) <= dip.length;
        });
    }

    void checkHeights() {
        const auto& samples = road.samples();
        const int n = static_cast<int>(samples.size());
        float steepest = 0.0f;
        int steepestAt = 0;
        for (int i = 0; i < n; ++i) {
            const RoadLine::Sample& a = samples[static_cast<std::size_t>(i)];
            const RoadLine::Sample& b = road.around(i, window);
            const float grade =
                std::fabs(terrain.heightAt(b.x, b.z) - terrain.heightAt(a.x, a.z)) / stretch;
            if (grade > steepest) {
                steepest = grade;
                steepestAt = i;
            }
            const float h = terrain.heightAt(a.x, a.z);
            const float lowest = inDip(a) ? plan.waterLevel - maximumWaterDepth : plan.waterLevel;
            if (h < lowest) {
                faults.push_back("the road at " + where(a.x, a.z) + " runs " +
                                 number(plan.waterLevel - h) + " under water");
                return;
            }
        }
        if (steepest > maximumRoadGrade) {
            const RoadLine::Sample& p = samples[static_cast<std::size_t>(steepestAt)];
            faults.push_back("the road climbs " + number(steepest) + " at " + where(p.x, p.z) +
                             ", over " + number(maximumRoadGrade));
        }
    }

    void checkCheckpoints() {
        if (plan.checkpoints.size() < 2) {
            faults.push_back("a track needs a goal and at least one checkpoint");
            return;
        }
        const RoadLine::Nearest goal = road.nearest(plan.checkpoints[0].x, plan.checkpoints[0].z);
        float last = 0.0f;
        for (std::size_t k = 0; k < plan.checkpoints.size(); ++k) {
            const Track::Place& c = plan.checkpoints[k];
            const RoadLine::Nearest near = road.nearest(c.x, c.z);
            const std::string name = k == 0 ? "the goal" : "checkpoint " + std::to_string(k);
            if (near.distance > std::hypot(c.a, c.b) - 3.0f) {
                faults.push_back(name + " at " + where(c.x, c.z) + " is off the road");
            }
            const float along = ahead(road, goal, near);
            if (k > 0 && along <= last) {
                faults.push_back(name + " at " + where(c.x, c.z) +
                                 " comes before the one before it");
            }
            last = along;
        }
        for (const Gate& gate : plan.gates) {
            const RoadLine::Nearest near = road.nearest(gate.x, gate.z);
            const GroundPoint across = headingDirection(gate.yaw);
            const GroundPoint along = road.direction(near.index);
            if (near.distance > 2.0f ||
                std::fabs(across.x * along.x + across.z * along.z) > std::sin(20.0f * degree)) {
                faults.push_back("the gate " + gate.name + " does not stand across the road");
            }
            for (float side : {gatePostOffset, -gatePostOffset}) {
                const float px = gate.x + across.x * side;
                const float pz = gate.z + across.z * side;
                if (road.nearest(px, pz).distance < plan.roadHalfWidth + gatePostHalf) {
                    faults.push_back("a post of the gate " + gate.name + " stands on the road");
                }
            }
        }
    }

    void checkStart() {
        if (plan.startPositions.empty() || plan.checkpoints.empty()) {
            faults.push_back("a track needs a start grid");
            return;
        }
        const RoadLine::Nearest goal = road.nearest(plan.checkpoints[0].x, plan.checkpoints[0].z);
        const float level = terrain.heightAt(plan.startPositions[0].x, plan.startPositions[0].z);
        for (const Track::Place& start : plan.startPositions) {
            const RoadLine::Nearest near = road.nearest(start.x, start.z);
            const std::string name = "the start place at " + where(start.x, start.z);
            if (near.distance > 2.0f) {
                faults.push_back(name + " is off the road");
                continue;
            }
            const float toGoal = ahead(road, near, goal);
            if (toGoal > 80.0f) {
                faults.push_back(name + " is not just behind the goal");
                continue;
            }
            if (std::fabs(terrain.heightAt(start.x, start.z) - level) > 0.3f) {
                faults.push_back(name + " is not level with the others");
            }
            // From the place to the goal the road runs where the car faces.
            const GroundPoint facing = headingDirection(start.heading);
            for (int k = 0; k * RoadLine::spacing <= toGoal; ++k) {
                const GroundPoint d = road.direction(near.index + k);
                if (std::fabs(turnBetween(facing, d)) > 6.0f * degree) {
                    faults.push_back(name + " is not on a straight toward the goal");
                    break;
                }
            }
        }
    }

    void checkObstacles() {
        for (const House& house : plan.houses) {
            if (road.nearest(house.x, house.z).distance < plan.roadHalfWidth + houseReach) {
                faults.push_back("the house " + house.name + " stands on the road");
            }
        }
        for (const CrateGroup& group : plan.crateGroups) {
            const float reach = static_cast<float>(group.base) * 1.25f + crateReach;
            if (road.nearest(group.x, group.z).distance < plan.roadHalfWidth + reach) {
                faults.push_back("the crates " + group.name + " stand on the road");
            }
        }
    }

    const TrackPlan& plan;
    const RoadLine& road;
    const TerrainModel& terrain;
    const int window;
    std::vector<std::string> faults;
};

} // namespace

std::vector<std::string> drivabilityFaults(const TrackPlan& plan) {
    const RoadLine road(plan.road);
    const TerrainModel terrain(plan, road);
    return Checker(plan, road, terrain).run();
}

} // namespace TrackGen
