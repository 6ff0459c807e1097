// The hardware probes on the computer the tests run on, under Wine 8 here:
// Wine's device set-up lists at most its own display adapter on the PCI bus
// (with vendor and device 0 when it knows no real one), and its telephony
// library starts with no line device, so the modem probe answers nothing. What
// a real PC lists is covered exactly on the simulated machine.

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_machine.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo::probe_test {
namespace {

TEST(RealHardwareProbes, PciListingHasALinePerFunctionAndWineHasNoTelephonyLine) {
    const auto machine = platform::win32::MakeWin32Machine();
    const auto records = machine->PciRecords();
    ASSERT_TRUE(records.ok()) << records.error();
    ASSERT_EQ(records->size() % platform::kPciRecordBytes, 0u);
    auto telephony = machine->StartTelephony("KAVLO", platform::TelephonyStart::Extended);
    ASSERT_TRUE(telephony.ok()) << std::hex << telephony.error();
    EXPECT_EQ((*telephony)->LineCount(), 0u) << "Wine 8 has no telephony line";
    EXPECT_FALSE(machine->OpenSerialPort("COM97").ok());

    LineRunner runner(*machine);
    EXPECT_TRUE(runner.Run("tree", "MODEM_INFO:").Root().children().empty());
    const std::string text = runner.Text("PCI_INFO:");
    const std::vector<std::string> rows = Lines(text);
    EXPECT_EQ(rows.size(), records->size() / platform::kPciRecordBytes) << text;
    for (const std::string& row : rows)
        EXPECT_TRUE(Matches(row, "(  \\*\\*\\* Multifunction PCI device \\*\\*\\* )?0x[0-9a-f]+,0x[0-9a-f]+,.*"))
            << row;
}

}  // namespace
}  // namespace kavlo::probe_test
