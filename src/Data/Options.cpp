#include "Data/Options.h"

namespace Data {

Options::Options(const unsigned int& xResolution, const unsigned int& yResolution)
    : xResolution(xResolution), yResolution(yResolution) {}

std::string Options::getResolutionString() const {
    return std::to_string(xResolution) + " x " + std::to_string(yResolution);
}

} // namespace Data
