// "[SYSTEM VIDEO]" blocks on simulated NT and 9x machines.
#include <gtest/gtest.h>

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

// data/nt's adapter shows what its kernel-form device key names; a key of
// another form names nothing.
TEST(DisplayKeys, OnlyTheKernelFormOfTheDeviceKey) { EXPECT_EQ(NtDisplayKeys("\\Device\\Other").deviceKey, ""); }

// The machines are data/nt and data/9x.
TEST(SystemVideo, NtAdapterWithCommandsInsideTheBlock) {
    probe_test::MachineFolder machine("probes/display/tests/data/nt");
    probe_test::ExpectSameAsFile(machine.RunTitle(Script(), "T").text, "probes/display/tests/expected/nt_adapter.txt");
}

TEST(SystemVideo, Windows9xAdapter) {
    probe_test::MachineFolder machine("probes/display/tests/data/9x");
    probe_test::ExpectSameAsFile(machine.RunTitle(Script(), "T").text, "probes/display/tests/expected/9x_adapter.txt");
}

}  // namespace
}  // namespace kavlo
