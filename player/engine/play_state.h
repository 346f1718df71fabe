#pragma once
// The transport state codes shared by the audio object, the status display and the
// transport commands. 1004 and 1005 are not used.

namespace PlayState {
inline constexpr int Stopped = 1001;
inline constexpr int Playing = 1002;
inline constexpr int Paused = 1003;
inline constexpr int NotReady = 1006;
inline constexpr int Seeking = 1007;
}  // namespace PlayState
