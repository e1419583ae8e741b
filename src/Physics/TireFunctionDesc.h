#pragma once

namespace Physics {

// The force curve of a tyre over its slip: a cubic rise from zero to the extremum,
// a smooth step from the extremum to the asymptote, flat beyond. The curve is
// symmetric: the sign of the slip carries over to the result.
struct TireFunctionDesc {
    float extremumSlip = 1.0f;
    float extremumValue = 0.02f;
    float asymptoteSlip = 2.0f;
    float asymptoteValue = 0.01f;
    float stiffnessFactor = 1000000.0f;

    void setToDefault() { *this = TireFunctionDesc(); }
    bool isValid() const;
    float hermiteEval(float slip) const;
};

} // namespace Physics
