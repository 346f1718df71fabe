#include "soundlib/fx/smoothed_value.h"

#include <cmath>

namespace soundlib::fx {

void SmoothedValue::configure(double stepsPerSecond, double timeConstant) {
    coefficient_ = static_cast<float>(1.0 - std::exp(-1.0 / (stepsPerSecond * timeConstant)));
}

void SmoothedValue::set(float target, bool immediate) {
    target_ = target;
    if (immediate) current_ = target;
}

void SmoothedValue::glide() {
    // Snap once the rest is below what a float step can still express.
    const float scale = std::fabs(target_) > 1.0f ? std::fabs(target_) : 1.0f;
    if (std::fabs(target_ - current_) < 1e-6f * scale) {
        current_ = target_;
    } else {
        current_ += (target_ - current_) * coefficient_;
    }
}

}  // namespace soundlib::fx
