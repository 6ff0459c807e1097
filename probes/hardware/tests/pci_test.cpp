// "PCI_INFO:" and "PCI_DISP:" on simulated machines with and without a device
// index, records cut short, and the failure words.
#include <gtest/gtest.h>

#include "engine/testing/sim_script_run.h"
#include "platform/device_index.h"
#include "probes/hardware/hardware_commands.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

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

// Hexadecimal in lower case without leading zeros; an unknown device gives the
// vendor's name; a multifunction device by its header type or its function
// number; display adapters by the index's class or the configuration's.
constexpr std::string_view kFunctions =
    "[pci 0:1.0]\nvendor = a5c\ndevice = 7\n"
    "[pci 0:2.0]\nvendor = 10b0\ndevice = 7191\n"
    "[pci 0:3.0]\nvendor = 10b0\ndevice = 7110\nheader_type = 80\n"
    "[pci 0:3.2]\nvendor = 10b0\ndevice = 7190\nclass = 030000\n"
    "[pci 0:4.0]\nvendor = 10b0\ndevice = 7777\nclass = 030000\n";

TEST(PciListings, EveryKindOfFunctionWithAndWithoutTheIndex) {
    testing::SimImage nt(std::string(kavlo::testing::kMinimalSystem) + std::string(kFunctions));
    nt.DriveFile("WINNT/drvidx.bin", Index());
    EXPECT_EQ(nt.Run("text", "PCI_INFO: ignored").text,
              "0xa5c,0x7,Display,K3D,Kestrel,AGP\n"
              "0x10b0,0x7191,,,Norrland,\n"
              "  *** Multifunction PCI device *** 0x10b0,0x7110,,ISA Bridge,Norrland,\n"
              "  *** Multifunction PCI device *** 0x10b0,0x7190,,Host Bridge,Norrland,\n"
              "0x10b0,0x7777,,,Norrland,\n");
    EXPECT_EQ(nt.Run("text", "PCI_DISP:").text, "K3D, Kestrel, AGP\nHost Bridge, Norrland, \n, Norrland, \n\n");
    testing::SimImage withoutIndex(std::string(kavlo::testing::kMinimalSystem) + "[pci 0:2.0]\nvendor = 10b0\n");
    EXPECT_EQ(withoutIndex.Run("text", "PCI_INFO:").text, "0x10b0,0xffff,,,,\n");
    testing::SimImage windows98(probe_test::MinimalSystem("9x", 4, 10) + std::string(kFunctions));
    EXPECT_EQ(windows98.Run("text", "PCI_INFO:\nPCI_DISP:").text, "");
}

TEST(PciRecords, APartRecordGivesNothingAndNoRecordsNoLine) {
    EXPECT_EQ(FormatPciRecords(std::string(platform::kPciRecordBytes + 232, '\0'), Index(), PciListing::AllFunctions),
              "");
    EXPECT_EQ(FormatPciRecords("", Index(), PciListing::DisplayOnly), "");
}

TEST(PciFailureText, ErrorsOfTheRead) {
    for (WinError missing : {2u, 50u, 126u, 127u})
        EXPECT_EQ(PciFailureText(missing), "Could not load driver") << missing;
    EXPECT_EQ(PciFailureText(5), "File not found");
}

}  // namespace
}  // namespace kavlo
