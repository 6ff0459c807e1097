// The PCI listings: record formatting against a device index, the failure
// words, and "PCI_INFO:" on a simulated machine.
#include <gtest/gtest.h>

#include "engine/testing/sim_script_run.h"
#include "platform/device_index.h"
#include "probes/hardware/hardware_commands.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

struct Function {
    std::uint16_t vendor, device;
    std::uint32_t function = 0;
    std::uint8_t headerType = 0;
    std::uint8_t baseClass = 0;
};

std::string Records(std::initializer_list<Function> functions) {
    std::string bytes;
    for (const Function& f : functions) {
        std::string record(platform::kPciRecordBytes, '\0');
        record[8] = static_cast<char>(f.function);
        record[12] = static_cast<char>(f.vendor & 0xFF);
        record[13] = static_cast<char>(f.vendor >> 8);
        record[14] = static_cast<char>(f.device & 0xFF);
        record[15] = static_cast<char>(f.device >> 8);
        record[12 + 11] = static_cast<char>(f.baseClass);
        record[12 + 14] = static_cast<char>(f.headerType);
        bytes += record;
    }
    return bytes;
}

// Keys as the index tool writes them, shorter keys first.
std::string Index() {
    std::string index(platform::kDeviceIndexHeaderBytes, '\0');
    for (const platform::DeviceIndexRecord& record :
         std::initializer_list<platform::DeviceIndexRecord>{{"VEN_a5c", {"", "", "Kestrel", ""}},
                                                            {"VEN_10b0", {"", "", "Norrland", ""}},
                                                            {"VEN_a5c&DEV_7", {"Display", "K3D", "Kestrel", "AGP"}},
                                                            {"VEN_10b0&DEV_7190", {"", "Host Bridge", "Norrland", ""}},
                                                            {"VEN_10b0&DEV_7110", {"", "ISA Bridge", "Norrland", ""}}})
        index += *platform::EncodeDeviceIndexRecord(record);
    return index + std::string(2, '\0');
}

struct FormatCase {
    std::string_view name;
    std::string records;
    PciListing listing;
    bool withIndex;
    std::string_view text;
};

class PciFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PciFormatTest, Lines) {
    const std::string index = GetParam().withIndex ? Index() : std::string();
    EXPECT_EQ(FormatPciRecords(GetParam().records, index, GetParam().listing), GetParam().text);
}

constexpr auto kList = PciListing::AllFunctions;
constexpr auto kDisplay = PciListing::DisplayOnly;
INSTANTIATE_TEST_SUITE_P(
    Records, PciFormatTest,
    ::testing::Values(FormatCase{"LowerCaseHexWithoutLeadingZeros", Records({{0x0A5C, 0x0007}}), kList, true,
                                 "0xa5c,0x7,Display,K3D,Kestrel,AGP\n"},
                      FormatCase{"UnknownDeviceGivesTheVendorName", Records({{0x10B0, 0x7191}}), kList, true,
                                 "0x10b0,0x7191,,,Norrland,\n"},
                      FormatCase{"MultifunctionByHeaderTypeAndByFunction",
                                 Records({{0x10B0, 0x7110, 0, 0x80}, {0x10B0, 0x7190, 2, 0}}), kList, true,
                                 "  *** Multifunction PCI device *** 0x10b0,0x7110,,ISA Bridge,Norrland,\n"
                                 "  *** Multifunction PCI device *** 0x10b0,0x7190,,Host Bridge,Norrland,\n"},
                      FormatCase{"MissingIndex", Records({{0x10B0, 0x7190}}), kList, false, "0x10b0,0x7190,,,,\n"},
                      FormatCase{"TwoWholeRecords", Records({{0x10B0, 0x7190}, {0x10B0, 0x7190}}), kList, true,
                                 "0x10b0,0x7190,,Host Bridge,Norrland,\n0x10b0,0x7190,,Host Bridge,Norrland,\n"},
                      FormatCase{"PartRecordGivesNothing", Records({{0x10B0, 0x7190}, {0x10B0, 0x7190}}).substr(0, 500),
                                 kList, true, ""},
                      FormatCase{"DisplayByTheIndexClass", Records({{0x0A5C, 0x0007}, {0x10B0, 0x7190}}), kDisplay,
                                 true, "K3D, Kestrel, AGP\n\n"},
                      FormatCase{"DisplayByTheConfigurationClass",
                                 Records({{0x10B0, 0x7190, 0, 0, 0x03}, {0x10B0, 0x7777, 0, 0, 0x03}}), kDisplay, true,
                                 "Host Bridge, Norrland, \n, Norrland, \n\n"},
                      FormatCase{"NoRecords", std::string(), kDisplay, true, ""}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(PciFailureText, ErrorsOfTheRead) {
    for (WinError missing : {2u, 50u, 126u, 127u})
        EXPECT_EQ(PciFailureText(missing), "Could not load driver") << missing;
    EXPECT_EQ(PciFailureText(5), "File not found");
}

TEST(PciInfo, SimulatedMachineWithItsIndexOnlyOnTheNtFamily) {
    const std::string sections = "[pci 0:7.1]\nvendor = a5c\ndevice = 7\nclass = 030000\n";
    testing::SimImage nt(std::string(kavlo::testing::kMinimalSystem) + sections);
    nt.DriveFile("WINNT/drvidx.bin", Index());
    EXPECT_EQ(nt.Run("text", "PCI_INFO: ignored\nPCI_DISP:").text,
              "  *** Multifunction PCI device *** 0xa5c,0x7,Display,K3D,Kestrel,AGP\nK3D, Kestrel, AGP\n\n");
    testing::SimImage windows98(probe_test::MinimalSystem("9x", 4, 10) + sections);
    EXPECT_EQ(windows98.Run("text", "PCI_INFO:\nPCI_DISP:").text, "");
}

}  // namespace
}  // namespace kavlo
