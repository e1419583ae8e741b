#pragma once

#include "Physics/UserOutputStream.h"

namespace Game {

// Turns every report of the physics layer into a log message by "PhysXManager":
// the report's text is the title; errors carry a details text naming their kind.
class LogOutputStream : public Physics::UserOutputStream {
public:
    void reportError(Physics::ErrorCode code, const char* message, const char* file,
                     int line) override;
    Physics::AssertResponse reportAssertViolation(const char* message, const char* file,
                                                  int line) override;
    void print(const char* message) override;
};

} // namespace Game
