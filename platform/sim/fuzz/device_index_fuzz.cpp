// Fuzz target: a PCI device index searched for a vendor and a device.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/device_index.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view index(reinterpret_cast<const char*>(data), size);
    (void)kavlo::platform::FindDeviceIndexRecord(index, "VEN_8086");
    (void)kavlo::platform::FindDeviceIndexRecord(index, "VEN_8086&DEV_1237");
    (void)kavlo::platform::FindDeviceIndexRecord(index, "");
    return 0;
}
