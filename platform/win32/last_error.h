#pragma once
// The error of a failed call, never 0: a Result or Status holding 0 would read
// as success.

#include <windows.h>

#include "platform/result.h"

namespace kavlo::platform::win32 {

/// GetLastError(), or `fallback` when the failed call left no error.
inline WinError LastErrorOr(WinError fallback = ERROR_GEN_FAILURE) {
    const DWORD error = ::GetLastError();
    return error != ERROR_SUCCESS ? static_cast<WinError>(error) : fallback;
}

}  // namespace kavlo::platform::win32
