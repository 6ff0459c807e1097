// The PCI device index: lookups by key substring and malformed records.

#include <gtest/gtest.h>

#include "platform/device_index.h"

namespace kavlo::platform {
namespace {

std::string Record(std::string key, std::string cls, std::string name, std::string maker, std::string more = "") {
    return *EncodeDeviceIndexRecord(
        {std::move(key), {std::move(cls), std::move(name), std::move(maker), std::move(more)}});
}

std::string Index(std::initializer_list<std::string> records, std::string_view tail = std::string_view("\0\0", 2)) {
    std::string bytes(kDeviceIndexHeaderBytes, 'H');
    for (const std::string& record : records) bytes += record;
    return bytes + std::string(tail);
}

TEST(DeviceIndex, FirstRecordContainingTheLookupAnswersCaseSensitively) {
    const std::string index = Index({Record("VEN_10de", "", "", "NVIDIA Corporation"),
                                     Record("VEN_10de&DEV_110", "Display", "NV11", "NVIDIA Corporation", "x"),
                                     Record("VEN_10de&DEV_1100", "Display", "later", "NVIDIA Corporation")});
    EXPECT_EQ(FindDeviceIndexRecord(index, "VEN_10de")->texts[2], "NVIDIA Corporation");
    // "DEV_110" is also inside "DEV_1100": the first record containing the text wins.
    const auto device = FindDeviceIndexRecord(index, "VEN_10de&DEV_110");
    ASSERT_TRUE(device);
    EXPECT_EQ(device->key, "VEN_10de&DEV_110");
    EXPECT_EQ(device->texts[3], "x");
    EXPECT_FALSE(FindDeviceIndexRecord(index, "VEN_10DE"));
    EXPECT_FALSE(FindDeviceIndexRecord(index, "VEN_8086"));
}

TEST(DeviceIndex, MalformedRecordsEndTheSearchCleanly) {
    const std::string good = Record("VEN_8086", "", "", "Intel");
    std::string shortLength = good;
    shortLength[0] = static_cast<char>(kDeviceIndexKeyOffset);         // no room for the key
    std::string noKeyEnd = good.substr(0, kDeviceIndexKeyOffset + 4);  // "VEN_" without its zero byte
    noKeyEnd[0] = static_cast<char>(noKeyEnd.size());
    std::string threeTexts = good.substr(0, good.size() - 1);  // the last text loses its zero byte
    threeTexts[0] = static_cast<char>(threeTexts.size());
    std::string pastTheEnd = good;
    pastTheEnd[1] = 1;  // 256 bytes more than there are
    for (const std::string& bad : {shortLength, noKeyEnd, threeTexts, pastTheEnd}) {
        EXPECT_FALSE(FindDeviceIndexRecord(Index({bad, good}), "VEN_8086"));
    }
    // A zero length ends the index; so does its end without one; a header alone holds nothing.
    EXPECT_FALSE(FindDeviceIndexRecord(Index({}, std::string("\0\0", 2) + good), "VEN_8086"));
    EXPECT_TRUE(FindDeviceIndexRecord(Index({good}, ""), "VEN_8086"));
    EXPECT_FALSE(FindDeviceIndexRecord(std::string(kDeviceIndexHeaderBytes - 1, 'H'), "VEN_8086"));
    EXPECT_FALSE(EncodeDeviceIndexRecord({std::string(70000, 'k'), {}}));
}

}  // namespace
}  // namespace kavlo::platform
