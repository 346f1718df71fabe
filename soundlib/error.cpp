#include "soundlib/error.h"

namespace soundlib {
namespace {
thread_local int currentError = 0;
}

void setError(int code) {
    currentError = code;
}
int lastError() {
    return currentError;
}

}  // namespace soundlib
