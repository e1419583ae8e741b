#include "Game/level/DrivingLine.h"

#include "System/File.h"
#include "Tool/LogManager.h"

#include <cmath>
#include <limits>
#include <sstream>

namespace Game {

namespace {

void logFailure(const std::string& details, int line) {
    Tool::LogManager::getInstance().send(Tool::Message("DrivingLine",
                                                       "Loading driving line .. [Failed]", details,
                                                       __FILE__, line, Tool::MT_ERROR));
}

} // namespace

bool DrivingLine::load(const System::AssetRef& asset) {
    return read(System::File::readText(System::File::getPWD() + asset.directory + asset.file),
                asset.file);
}

bool DrivingLine::read(const std::string& text, const std::string& name) {
    points.clear();
    distances.clear();
    length = 0.0f;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    std::vector<glm::vec2> found;
    while (std::getline(lines, line)) {
        ++number;
        std::istringstream fields(line.substr(0, line.find('#')));
        if (!(fields >> std::ws) || fields.eof()) {
            continue; // blank or comment only
        }
        glm::vec2 point;
        std::string rest;
        if (!(fields >> point.x >> point.y) || (fields >> rest) ||
            !(std::fabs(point.x) <= maximumCoordinate) ||
            !(std::fabs(point.y) <= maximumCoordinate)) {
            logFailure(name + ", line " + std::to_string(number), __LINE__);
            return false;
        }
        found.push_back(point);
    }
    return assign(std::move(found), name);
}

bool DrivingLine::assign(std::vector<glm::vec2> newPoints, const std::string& name) {
    points.clear();
    distances.clear();
    length = 0.0f;
    if (newPoints.size() < 2) {
        logFailure(name + ": fewer than two points", __LINE__);
        return false;
    }
    for (const glm::vec2& point : newPoints) {
        if (!(std::fabs(point.x) <= maximumCoordinate) ||
            !(std::fabs(point.y) <= maximumCoordinate)) {
            logFailure(name + ": a coordinate beyond " + std::to_string(maximumCoordinate),
                       __LINE__);
            return false;
        }
    }
    points = std::move(newPoints);
    distances.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        distances.push_back(length);
        length += glm::length(points[(i + 1) % points.size()] - points[i]);
    }
    return true;
}

DrivingLine::Nearest DrivingLine::nearest(const glm::vec2& position) const {
    Nearest best;
    float bestSquared = std::numeric_limits<float>::max();
    for (std::size_t i = 0; i < points.size(); ++i) {
        const glm::vec2 offset = points[i] - position;
        const float squared = glm::dot(offset, offset);
        if (squared < bestSquared) {
            bestSquared = squared;
            best.index = i;
        }
    }
    best.distance = std::sqrt(bestSquared);
    return best;
}

glm::vec2 DrivingLine::pointAhead(std::size_t index, float ahead) const {
    std::size_t at = index;
    float left = ahead;
    for (std::size_t steps = 0; steps < points.size(); ++steps) {
        const glm::vec2& from = points[at];
        const glm::vec2& to = points[(at + 1) % points.size()];
        const float segment = glm::length(to - from);
        if (left <= segment && segment > 0.0f) {
            return from + (to - from) * (left / segment);
        }
        left -= segment;
        at = (at + 1) % points.size();
    }
    return points[at];
}

} // namespace Game
