#pragma once
// Reads text from Windows functions that fill a caller's buffer and report the
// size they need when it is too small, so that no length limit (MAX_PATH or
// another) truncates or overflows anything.

#include <windows.h>

#include <cstring>
#include <string>

#include "platform/result.h"

namespace kavlo::platform::win32 {

/// Calls `fill(buffer, capacity)` with a larger buffer until the text fits.
/// `fill` returns the count the function returned: the length of the text, or,
/// when the buffer is too small, a size larger than or equal to the capacity;
/// 0 means failure (GetLastError), or an empty text when the last error is 0.
/// The text ends at its first zero byte.
template <class Fill>
Result<std::string> ReadGrowingText(Fill fill, DWORD initialCapacity = MAX_PATH + 1) {
    constexpr int kMaxAttempts = 8;  // the needed size can grow between calls
    std::string buffer(initialCapacity, '\0');
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        ::SetLastError(ERROR_SUCCESS);
        const DWORD capacity = static_cast<DWORD>(buffer.size());
        const DWORD count = fill(buffer.data(), capacity);
        if (count == 0) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_SUCCESS) return Result<std::string>::Failure(error);
            return std::string();
        }
        if (count >= capacity) {
            // One byte more than asked: some ANSI functions need room for an
            // extra terminator beyond what they report.
            const DWORD grown = count > capacity ? count + 1 : capacity * 2;
            if (grown <= capacity) return Result<std::string>::Failure(ERROR_INSUFFICIENT_BUFFER);
            buffer.assign(grown, '\0');
            continue;
        }
        buffer.resize(::strnlen(buffer.data(), count + 1));
        return buffer;
    }
    return Result<std::string>::Failure(ERROR_INSUFFICIENT_BUFFER);
}

}  // namespace kavlo::platform::win32
