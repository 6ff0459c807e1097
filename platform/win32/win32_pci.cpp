// The PCI functions as the device set-up interface reports them. Reading the
// configuration space itself would need a kernel driver, which a support tool
// must not install; what set-up knows fills the fields the probes read.
#include "platform/win32/handles.h"  // winsock2.h must come before windows.h

#include <setupapi.h>

#include <cstring>
#include <optional>
#include <vector>

#include "platform/win32/last_error.h"
#include "platform/win32/win32_hardware.h"

namespace kavlo::platform::win32 {
namespace {

constexpr std::size_t kMaxRecords = 100;

struct DeviceInfoSetTraits {
    using Value = HDEVINFO;
    static Value Empty() { return INVALID_HANDLE_VALUE; }
    static void Release(Value set) { ::SetupDiDestroyDeviceInfoList(set); }
};
using UniqueDeviceInfoSet = Unique<DeviceInfoSetTraits>;

// A property's bytes, grown to the size set-up asks for; nullopt when the
// device lacks it.
std::optional<std::string> Property(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    std::string bytes(256, '\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD needed = 0;
        if (::SetupDiGetDeviceRegistryPropertyA(set, &device, property, nullptr, reinterpret_cast<BYTE*>(bytes.data()),
                                                static_cast<DWORD>(bytes.size()), &needed)) {
            bytes.resize(std::min<std::size_t>(needed, bytes.size()));
            return bytes;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= bytes.size() || needed > 65536)
            return std::nullopt;
        bytes.assign(needed, '\0');
    }
    return std::nullopt;
}

std::optional<DWORD> NumberProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    const auto bytes = Property(set, device, property);
    if (!bytes || bytes->size() < sizeof(DWORD)) return std::nullopt;
    DWORD value = 0;
    std::memcpy(&value, bytes->data(), sizeof value);
    return value;
}

// The hexadecimal digits after `tag` ("VEN_8086" gives 0x8086), at most `digits` of them.
std::optional<std::uint32_t> HexAfter(std::string_view text, std::string_view tag, std::size_t digits,
                                      std::size_t* count = nullptr) {
    const std::size_t at = text.find(tag);
    if (at == std::string_view::npos) return std::nullopt;
    std::uint32_t value = 0;
    std::size_t used = 0;
    for (std::size_t i = at + tag.size(); i < text.size() && used < digits; ++i, ++used) {
        const char c = text[i];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) break;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    if (used == 0) return std::nullopt;
    if (count) *count = used;
    return value;
}

// The class code from the compatible identifiers: "PCI\CC_030000" (base class,
// subclass, programming interface) or, lacking it, "PCI\CC_0300".
std::uint32_t ClassCode(std::string_view compatibleIds) {
    std::uint32_t best = 0;
    std::size_t bestDigits = 0;
    for (std::size_t start = 0; start < compatibleIds.size();) {
        const std::size_t end = std::min(compatibleIds.find('\0', start), compatibleIds.size());
        std::size_t digits = 0;
        const auto code = HexAfter(compatibleIds.substr(start, end - start), "CC_", 6, &digits);
        if (code && (digits == 6 || digits == 4) && digits > bestDigits) {
            best = digits == 6 ? *code : *code << 8;
            bestDigits = digits;
        }
        start = end + 1;
    }
    return best;
}

void Put(std::string& record, std::size_t at, std::uint32_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) record[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

Result<std::string> PciRecords() {
    UniqueDeviceInfoSet set(::SetupDiGetClassDevsA(nullptr, "PCI", nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT));
    if (!set) return Result<std::string>::Failure(LastErrorOr());
    std::string records;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; records.size() < kMaxRecords * kPciRecordBytes && ::SetupDiEnumDeviceInfo(set.get(), i, &device);
         ++i) {
        const auto hardwareIds = Property(set.get(), device, SPDRP_HARDWAREID);
        const auto vendor = hardwareIds ? HexAfter(*hardwareIds, "VEN_", 4) : std::nullopt;
        const auto id = hardwareIds ? HexAfter(*hardwareIds, "DEV_", 4) : std::nullopt;
        if (!vendor || !id) continue;
        const auto compatible = Property(set.get(), device, SPDRP_COMPATIBLEIDS);
        // SPDRP_ADDRESS of a PCI device: the device number in the high word, the function in the low one.
        const DWORD address = NumberProperty(set.get(), device, SPDRP_ADDRESS).value_or(0);
        std::string record(kPciRecordBytes, '\0');
        Put(record, 0, NumberProperty(set.get(), device, SPDRP_BUSNUMBER).value_or(0), 4);
        Put(record, 4, address >> 16, 4);
        Put(record, 8, address & 0xFFFF, 4);
        Put(record, 12, *vendor, 2);
        Put(record, 14, *id, 2);
        Put(record, 12 + 9, compatible ? ClassCode(*compatible) : 0, 3);
        records += record;
    }
    return records;
}

}  // namespace kavlo::platform::win32
