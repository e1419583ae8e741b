#include "Physics/TireFunctionDesc.h"

#include <cmath>

namespace Physics {

bool TireFunctionDesc::isValid() const {
    return extremumSlip > 0.0f && asymptoteSlip > extremumSlip && extremumValue >= 0.0f &&
           asymptoteValue >= 0.0f && stiffnessFactor >= 0.0f;
}

float TireFunctionDesc::hermiteEval(float slip) const {
    const float v = std::fabs(slip);
    float value;
    if (v < extremumSlip) {
        const float a = v / extremumSlip;
        value = extremumValue * (-a * a * a + a * a + a);
    } else if (v < asymptoteSlip) {
        const float a = (v - extremumSlip) / (asymptoteSlip - extremumSlip);
        value =
            extremumValue + (asymptoteValue - extremumValue) * (3.0f * a * a - 2.0f * a * a * a);
    } else {
        value = asymptoteValue;
    }
    return slip < 0.0f ? -value : value;
}

} // namespace Physics
