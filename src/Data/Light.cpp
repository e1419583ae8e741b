#include "Data/Light.h"

namespace Data {

SGNodePtr Light::clone() const {
    return std::make_shared<Light>(*this);
}

std::string Light::toString() const {
    return "Light::" + nodeText();
}

} // namespace Data
