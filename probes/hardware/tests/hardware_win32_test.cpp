// The hardware probes on the computer the tests run on, under Wine 8 here:
// Wine's device set-up knows no PCI function and its telephony library starts
// with no line device, so both probes answer empty; what a real PC lists is
// covered on the simulated machine.

#include <windows.h>

#include <gtest/gtest.h>

#include "engine/script_engine.h"
#include "platform/win32/win32_machine.h"
#include "probes/registration.h"

namespace kavlo {
namespace {

TEST(RealHardwareProbes, WineHasNoPciFunctionAndNoTelephonyLine) {
    const auto machine = platform::win32::MakeWin32Machine();
    const auto records = machine->PciRecords();
    ASSERT_TRUE(records.ok()) << records.error();
    EXPECT_EQ(records->size(), 0u) << "Wine 8 reports no PCI function";
    auto telephony = machine->StartTelephony("KAVLO", platform::TelephonyStart::Extended);
    ASSERT_TRUE(telephony.ok()) << std::hex << telephony.error();
    EXPECT_EQ((*telephony)->LineCount(), 0u) << "Wine 8 has no telephony line";
    EXPECT_FALSE(machine->OpenSerialPort("COM97").ok());

    AppContext context(*machine, {"NT5.0", "Windows 2000 Professional", 50, true}, "C:\\");
    TitleRecord title;
    title.kind = "tree";
    ScriptEngine engine(context, StandardCommandTable());
    ScriptFile file{std::string()};
    for (const char* line : {"PCI_INFO:", "PCI_DISP:", "MODEM_INFO:"}) engine.Dispatch(file, line, &title);
    EXPECT_EQ(title.text, "");
    EXPECT_TRUE(title.Root().children().empty());
}

}  // namespace
}  // namespace kavlo
