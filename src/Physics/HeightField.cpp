#include "Physics/HeightField.h"

#include <cstring>

namespace Physics {

bool HeightFieldDesc::isValid() const {
    return nbRows >= 2 && nbColumns >= 2 && format == HF_S16_TM &&
           sampleStride >= sizeof(HeightFieldSample) && samples != nullptr && thickness <= 0.0f;
}

HeightField::HeightField(const HeightFieldDesc& desc)
    : nbRows(desc.nbRows), nbColumns(desc.nbColumns), verticalExtent(desc.verticalExtent),
      thickness(desc.thickness), samples(static_cast<std::size_t>(desc.nbRows) * desc.nbColumns) {
    const auto* bytes = static_cast<const unsigned char*>(desc.samples);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        std::memcpy(&samples[i], bytes + i * desc.sampleStride, sizeof(HeightFieldSample));
    }
}

} // namespace Physics
