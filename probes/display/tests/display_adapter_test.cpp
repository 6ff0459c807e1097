// "[SYSTEM VIDEO]" blocks on simulated NT and 9x machines.
#include <gtest/gtest.h>

#include "engine/testing/sim_script_run.h"
#include "probes/display/display_adapter.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

constexpr std::string_view kBlock =
    "[SYSTEM VIDEO] {\nadap Description\nTextLine:-- in the block --\nadap String\nadap ChipType\nadap Memory\n"
    "VGACompatible\nvideo resolution\nadap PCIVendor\nadap Files\nadap DrvLoad\n}\nTextLine:after the block\n";

// Two titles: the second must not run as part of the first.
std::string Script() {
    return "[TITLE LIST] {\nT\nU\n}\n[TITLE] {\nT\ntext\n" + std::string(kBlock) +
           "}\n[TITLE] {\nU\ntext\nTextLine:title U\n}\n";
}

TEST(DisplayKeys, FromTheKernelFormOfTheDeviceKey) {
    const DisplayKeys keys = NtDisplayKeys("\\REGISTRY\\Machine\\System\\CurrentControlSet\\Services\\vga\\Device0");
    EXPECT_EQ(keys.deviceKey, "System\\CurrentControlSet\\Services\\vga\\Device0");
    EXPECT_EQ(
        keys.settingsKey,
        "System\\CurrentControlSet\\Hardware Profiles\\Current\\System\\CurrentControlSet\\Services\\vga\\Device0");
    EXPECT_EQ(NtDisplayKeys("\\Device\\Other").deviceKey, "");
}

TEST(SystemVideo, NtAdapterWithCommandsInsideTheBlock) {
    testing::SimImage image(std::string(kavlo::testing::kMinimalSystem) +
                            "[file C:\\WINNT\\System32\\DRIVERS\\tv.sys]\nmodified = 2001-02-14 08:00:00\n");
    image.Registry("60-video",
                   "[HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\VIDEO]\n"
                   "\"\\\\Device\\\\Video0\"="
                   "\"\\\\REGISTRY\\\\Machine\\\\System\\\\CurrentControlSet\\\\Services\\\\tv\\\\Device0\"\n"
                   "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\tv]\n"
                   "\"ImagePath\"=\"System32\\\\DRIVERS\\\\tv.sys\"\n"
                   "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\tv\\Device0]\n"
                   "\"Device Description\"=\"TV 3D\"\n\"InstalledDisplayDrivers\"=hex(7):74,76,00,00\n"
                   "\"HardwareInformation.ChipType\"=hex:54,00,56,00,2d,00,31,00,00,00\n"
                   "\"HardwareInformation.MemorySize\"=dword:02000000\n\"VgaCompatible\"=dword:00000001\n"
                   "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Hardware "
                   "Profiles\\Current\\System\\CurrentControlSet\\Services\\tv\\Device0]\n"
                   "\"DefaultSettings.XResolution\"=dword:00000320\n\"DefaultSettings.YResolution\"=dword:00000258\n"
                   "\"DefaultSettings.BitsPerPel\"=dword:00000020\n\"DefaultSettings.VRefresh\"=dword:0000003c\n");
    image.DriveFile("WINNT/System32/DRIVERS/tv.sys", "driver");
    probe_test::ExpectSameAsFile(image.RunTitle(Script(), "T").text, "probes/display/tests/expected/nt_adapter.txt");
}

TEST(SystemVideo, Windows9xAdapter) {
    testing::SimImage image(probe_test::MinimalSystem("9x", 4, 10));
    image.Registry("60-video",
                   "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\Display\\0000]\n"
                   "\"DriverDesc\"=\"Old VGA\"\n"
                   "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\Display\\0000\\Info]\n"
                   "\"ChipType\"=\"V1\"\n\"VideoMemory\"=hex:00,00,40,00\n"
                   "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\Display\\0000\\DEFAULT]\n"
                   "\"vdd\"=\"*vdd\"\n\"drv\"=\"old.drv\"\n\"minivdd\"=\"old.vxd\"\n"
                   "[HKEY_LOCAL_MACHINE\\Config\\0001\\Display\\Settings]\n\"Resolution\"=\"640,480\"\n"
                   "\"BitsPerPixel\"=\"8\"\n");
    probe_test::ExpectSameAsFile(image.RunTitle(Script(), "T").text, "probes/display/tests/expected/9x_adapter.txt");
}

}  // namespace
}  // namespace kavlo
