#include "WireCurrents.h"

#include <algorithm>
#include <cmath>

namespace lobex {
namespace {

// Evenly segmented wires give steps that differ in the last bits of a float.
bool EqualSteps(float a, float b) {
    return std::fabs(a - b) < std::max(std::fabs(a), std::fabs(b)) / 1000.0f;
}

} // namespace

const Wire* WireCurrents::Find(double number) const {
    for (const Wire& wire : wires) {
        if (wire.number == number) {
            return &wire;
        }
    }
    return nullptr;
}

std::vector<float> DistancesAlong(const Wire& wire) {
    std::vector<float> distances;
    distances.reserve(wire.pulses.size());
    double along = 0.0;
    double x = 0.0, y = 0.0, z = 0.0;
    for (const CurrentPulse& pulse : wire.pulses) {
        const double dx = pulse.x - x;
        const double dy = pulse.y - y;
        const double dz = pulse.z - z;
        along += std::sqrt(dx * dx + dy * dy + dz * dz);
        x = pulse.x;
        y = pulse.y;
        z = pulse.z;
        distances.push_back(static_cast<float>(along));
    }
    return distances;
}

std::vector<float> RelativePositions(const std::vector<float>& s) {
    std::vector<float> positions(s.size());
    if (s.empty()) {
        return positions;
    }
    const std::size_t n = s.size() - 1;
    float total = 0.0f;
    if (n > 0) {
        float start = 0.0f;
        float end = 0.0f;
        if (n == 1) {
            start = s[0] - (s[1] - s[0]);
            end = s[1] + (s[1] - s[0]);
        } else {
            start = EqualSteps(s[2] - s[1], s[1] - s[0]) ? s[0] - (s[1] - s[0])
                                                         : s[0] - (s[1] - s[0]) / 2.0f;
            end = EqualSteps(s[n] - s[n - 1], s[n - 1] - s[n - 2])
                      ? s[n] + (s[n] - s[n - 1])
                      : s[n] + (s[n] - s[n - 1]) / 2.0f;
        }
        positions[0] = std::fabs(start - s[0]);
        for (std::size_t i = 1; i <= n; ++i) {
            positions[i] = positions[i - 1] + std::fabs(s[i] - s[i - 1]);
        }
        total = std::fabs(end - s[n]) + positions[n];
    }
    if (total > 0.0f && std::isfinite(total)) {
        for (float& position : positions) {
            position /= total;
        }
    } else {
        // A single pulse, or pulses the distances cannot tell apart: equal steps, with a step
        // beyond each end as for a straight wire.
        for (std::size_t i = 0; i <= n; ++i) {
            positions[i] = static_cast<float>(i + 1) / static_cast<float>(n + 2);
        }
    }
    return positions;
}

} // namespace lobex
