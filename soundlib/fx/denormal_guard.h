#pragma once
// Sets the processor to flush denormal floats to zero for the life of the object and
// restores the previous mode after. Decaying filters and feedback lines would otherwise
// fall into the slow denormal range on silence.
#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace soundlib::fx {

class DenormalGuard {
public:
#if defined(__SSE__) || defined(__x86_64__)
    DenormalGuard() : saved_(_mm_getcsr()) {
        _mm_setcsr(saved_ | kFlushToZero | kDenormalsAreZero);
    }
    ~DenormalGuard() {
        _mm_setcsr(saved_);
    }
#else
    DenormalGuard() = default;
#endif
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
#if defined(__SSE__) || defined(__x86_64__)
    static constexpr unsigned kFlushToZero = 0x8000;
    static constexpr unsigned kDenormalsAreZero = 0x0040;
    unsigned saved_;
#endif
};

// Zero for values too small to be heard, so recursive state settles on exact zero even
// where the processor keeps denormals.
inline float flushTiny(float v) {
    return (v > -1e-20f && v < 1e-20f) ? 0.0f : v;
}

}  // namespace soundlib::fx
