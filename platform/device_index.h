#pragma once
// The PCI device index "drvidx.bin": a 16-byte header, then records that each
// begin with their 16-bit little-endian length (the whole record); a length of
// 0 ends the index. A record's key text starts 40 bytes into it and is followed
// by four texts: the device class, the device's name, the manufacturer and a
// further text, each ended by a zero byte.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/machine.h"

namespace kavlo::platform {

inline constexpr std::size_t kDeviceIndexHeaderBytes = 16;
inline constexpr std::size_t kDeviceIndexKeyOffset = 40;

struct DeviceIndexRecord {
    std::string key;                   ///< such as "VEN_8086&DEV_1237" (as the index writes it)
    std::array<std::string, 4> texts;  ///< class, name, manufacturer, further text
};

/// The first record whose key contains `lookup` (case-sensitive). The search
/// ends without an answer at the end of the index, at a zero length, and at
/// the first malformed record: a length that runs past the bytes or cannot hold
/// the key's offset, a key or text without its zero byte inside the record.
std::optional<DeviceIndexRecord> FindDeviceIndexRecord(std::string_view index, std::string_view lookup);

/// One record in the index's form (for the tool that writes the index and for
/// tests); nullopt when it would not fit the 16-bit length or a text holds a zero byte.
std::optional<std::string> EncodeDeviceIndexRecord(const DeviceIndexRecord& record);

/// The bytes of "drvidx.bin" in a folder of the machine; 2 when there is none,
/// 50 when it is larger than an index can sensibly be (16 MB).
Result<std::string> ReadDeviceIndexFile(Machine& machine, std::string_view folder);

}  // namespace kavlo::platform
