#pragma once
// The parameter-record handling every effect shares: a record is checked as a whole and
// either taken (then updateTargets() moves the effect towards it) or refused with the
// current values kept.
#include "soundlib/channel_effect.h"

namespace soundlib::fx {

template <typename Record>
class RecordEffect : public ChannelEffect {
public:
    bool setParameters(const void* record) final {
        const auto& candidate = *static_cast<const Record*>(record);
        if (!valid(candidate)) return false;
        params_ = candidate;
        updateTargets();
        return true;
    }
    void getParameters(void* record) const final { *static_cast<Record*>(record) = params_; }

protected:
    explicit RecordEffect(const Record& defaults) : params_(defaults) {}
    // True when every value lies in its range (NaN never does).
    virtual bool valid(const Record& candidate) const = 0;
    // Sets the smoothed targets from params_ and sampleRate_; before the first block
    // (running_ false) the effect jumps to them.
    virtual void updateTargets() = 0;

    Record params_;
    double sampleRate_ = 44100.0;
    bool running_ = false;
};

}  // namespace soundlib::fx
