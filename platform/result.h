#pragma once
// Values returned across the platform boundary: a value or a Windows error code.

#include <cstdint>
#include <utility>

namespace kavlo {

/// A Windows system error code (the value GetLastError would give).
using WinError = std::uint32_t;

namespace err {
inline constexpr WinError kSuccess = 0;
inline constexpr WinError kFileNotFound = 2;
inline constexpr WinError kPathNotFound = 3;
inline constexpr WinError kAccessDenied = 5;
inline constexpr WinError kInvalidHandle = 6;
inline constexpr WinError kNoMoreFiles = 18;
inline constexpr WinError kNotReady = 21;
inline constexpr WinError kSharingViolation = 32;
inline constexpr WinError kNotSupported = 50;
inline constexpr WinError kInvalidParameter = 87;
inline constexpr WinError kInsufficientBuffer = 122;
inline constexpr WinError kInvalidName = 123;
inline constexpr WinError kProcNotFound = 127;
inline constexpr WinError kMoreData = 234;
inline constexpr WinError kNoMoreItems = 259;
inline constexpr WinError kResourceDataNotFound = 1812;
inline constexpr WinError kResourceTypeNotFound = 1813;
inline constexpr WinError kCallNotImplemented = 120;
inline constexpr WinError kHandleEof = 38;
inline constexpr WinError kModNotFound = 126;
inline constexpr WinError kBadExeFormat = 193;
inline constexpr WinError kMessageNotFound = 317;  // ERROR_MR_MID_NOT_FOUND
inline constexpr WinError kEventLogFileCorrupt = 1500;
}  // namespace err

/// Either a value or a non-zero Windows error code. Cannot be silently dropped.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    static Result Failure(WinError error) { return Result(error, T{}); }

    bool ok() const { return error_ == err::kSuccess; }
    explicit operator bool() const { return ok(); }
    WinError error() const { return error_; }
    const T& value() const& { return value_; }
    T& value() & { return value_; }
    T&& value() && { return std::move(value_); }
    const T& operator*() const& { return value_; }
    T& operator*() & { return value_; }
    const T* operator->() const { return &value_; }
    T* operator->() { return &value_; }

private:
    Result(WinError error, T value) : value_(std::move(value)), error_(error) {}
    T value_{};
    WinError error_ = err::kSuccess;
};

/// Success or a Windows error code, for operations without a value.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(WinError error) : error_(error) {}
    bool ok() const { return error_ == err::kSuccess; }
    explicit operator bool() const { return ok(); }
    WinError error() const { return error_; }

private:
    WinError error_ = err::kSuccess;
};

}  // namespace kavlo
