#pragma once
// A parameter that glides to its target with a one-pole curve, so that a change while
// playing does not click. Steps are taken per sample or per block, as configured.
namespace soundlib::fx {

class SmoothedValue {
public:
    explicit SmoothedValue(float value = 0.0f) : current_(value), target_(value) {}

    // stepsPerSecond: how often next() is called; timeConstant in seconds.
    void configure(double stepsPerSecond, double timeConstant);
    // A new target; `immediate` jumps there (before the first block, after a reset).
    void set(float target, bool immediate);
    void jump() { current_ = target_; }
    // Advances one step and returns the new current value.
    float next() {
        if (current_ != target_) glide();
        return current_;
    }
    float value() const { return current_; }
    float target() const { return target_; }
    bool settled() const { return current_ == target_; }

private:
    void glide();

    float current_;
    float target_;
    float coefficient_ = 1.0f;
};

}  // namespace soundlib::fx
