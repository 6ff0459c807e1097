#include "platform/win32/win32_clock_and_swap.h"

#include "platform/win32/handles.h"

#include <cstring>

#include "platform/win32/win32_time.h"

namespace kavlo::platform::win32 {
namespace {

constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600LL;
constexpr std::int64_t kTicksPerSecond = 10000000LL;
// Beyond this FILETIME leaves the range that SYSTEMTIME can hold.
constexpr std::int64_t kMaxUnixSeconds = 910692730085LL;

// GetDateFormatA and GetTimeFormatA share one shape: a first call with no buffer
// gives the size needed, terminator included.
template <class Format>
Result<std::string> FormatWithSize(Format format) {
    const int needed = format(nullptr, 0);
    if (needed <= 0) return Result<std::string>::Failure(::GetLastError());
    std::string text(static_cast<std::size_t>(needed), '\0');
    const int written = format(text.data(), needed);
    if (written <= 0) return Result<std::string>::Failure(::GetLastError());
    text.resize(::strnlen(text.data(), static_cast<std::size_t>(written)));
    return text;
}

// The register block of the vwin32 DOS call interface, 28 bytes.
struct DosRegisters {
    DWORD ebx, edx, ecx, eax, edi, esi, flags;
};
static_assert(sizeof(DosRegisters) == 28);

constexpr DWORD kVwin32DosIoctl = 1;
constexpr DWORD kCarryFlag = 1;
constexpr std::uint64_t kPageBytes = 4096;

}  // namespace

Result<LocalTime> LocalTimeOfUnixSeconds(std::int64_t seconds) {
    if (seconds < 0 || seconds > kMaxUnixSeconds) return Result<LocalTime>::Failure(ERROR_INVALID_PARAMETER);
    const std::uint64_t ticks = static_cast<std::uint64_t>(seconds + kSecondsFrom1601To1970) * kTicksPerSecond;
    FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utcFields{}, localFields{};
    if (!::FileTimeToSystemTime(&utc, &utcFields) ||
        !::SystemTimeToTzSpecificLocalTime(nullptr, &utcFields, &localFields))
        return Result<LocalTime>::Failure(::GetLastError());
    return FromSystemTime(localFields);
}

Result<std::string> UserLocaleDate(const LocalTime& time) {
    const SYSTEMTIME st = ToSystemTime(time);
    return FormatWithSize(
        [&](char* buffer, int size) { return ::GetDateFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, size); });
}

Result<std::string> UserLocaleTime(const LocalTime& time) {
    const SYSTEMTIME st = ToSystemTime(time);
    return FormatWithSize(
        [&](char* buffer, int size) { return ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, size); });
}

Result<SwapFileInfo> QuerySwapFile9x() {
    const Unique<FileHandleTraits> device(::CreateFileA(
        "\\\\.\\vwin32", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!device) return Result<SwapFileInfo>::Failure(::GetLastError());
    char path[256] = {};
    DosRegisters registers{};
    registers.eax = 0x440D;
    registers.ecx = 0x086E;
    // The device exists only on 32-bit Windows 9x, where addresses are 32 bits.
    registers.edx = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(path));
    registers.flags = kCarryFlag;
    DWORD returned = 0;
    if (!::DeviceIoControl(device.get(), kVwin32DosIoctl, &registers, sizeof registers, &registers, sizeof registers,
                           &returned, nullptr))
        return Result<SwapFileInfo>::Failure(::GetLastError());
    if (registers.flags & kCarryFlag) return Result<SwapFileInfo>::Failure(registers.eax & 0xFFFF);
    SwapFileInfo swap;
    swap.path.assign(path, ::strnlen(path, sizeof path));
    // CX:BX is the size in 4 KB pages.
    swap.sizeBytes = (static_cast<std::uint64_t>(registers.ecx & 0xFFFF) << 16 | (registers.ebx & 0xFFFF)) * kPageBytes;
    return swap;
}

}  // namespace kavlo::platform::win32
