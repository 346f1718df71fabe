#pragma once
// The per-thread error code behind BASS_ErrorGetCode.
namespace soundlib {

// Records `code` as the outcome of the current call on this thread.
void setError(int code);
int lastError();

// Records `code` and returns `result`, for the one-line failure exits of the API.
template <typename T>
T fail(int code, T result) {
    setError(code);
    return result;
}

}  // namespace soundlib
