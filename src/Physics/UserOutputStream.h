#pragma once

#include "Physics/Types.h"

namespace Physics {

// Receives the layer's reports: errors with their code, assertion violations and
// plain text. Implemented by the application and handed to the SDK at creation.
class UserOutputStream {
public:
    virtual ~UserOutputStream() = default;
    virtual void reportError(ErrorCode code, const char* message, const char* file, int line) = 0;
    virtual AssertResponse reportAssertViolation(const char* message, const char* file,
                                                 int line) = 0;
    virtual void print(const char* message) = 0;
};

} // namespace Physics
