#include "core/audio/level_meter.h"

#include <algorithm>
#include <cmath>

namespace parlomat {

float MeterFraction(float dbfs) {
    if (std::isnan(dbfs)) {
        return 0.0f;
    }
    return std::clamp((dbfs - kMeterFloorDbfs) / -kMeterFloorDbfs, 0.0f, 1.0f);
}

bool ClipHold::update(float peak_dbfs, std::chrono::milliseconds now) {
    if (peak_dbfs >= kClipDbfs) {
        lit_until_ = now + kClipHold;
    }
    return lit_until_ && now < *lit_until_;
}

}  // namespace parlomat
