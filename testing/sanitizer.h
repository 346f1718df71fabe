#pragma once
// How much slower the sanitizer build runs the program, for the few tests that bound a
// whole start-up in time: they tell a quadratic algorithm from a linear one, not speed.
namespace testing_support {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr double kSanitizerSlowdown = 4.0;
#else
inline constexpr double kSanitizerSlowdown = 1.0;
#endif

}  // namespace testing_support
