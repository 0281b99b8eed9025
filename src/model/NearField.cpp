#include "NearField.h"

#include <cmath>

namespace lobex {

float SummedPhase(float reSum, float imSum) {
    return static_cast<float>(std::atan2(static_cast<double>(imSum), static_cast<double>(reSum)));
}

float FieldMagnitude(const NearFieldPoint& point) {
    double sum = 0.0;
    for (float part : {point.ReX, point.ImX, point.ReY, point.ImY, point.ReZ, point.ImZ}) {
        sum += static_cast<double>(part) * static_cast<double>(part);
    }
    return static_cast<float>(std::sqrt(sum));
}

} // namespace lobex
