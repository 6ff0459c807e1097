// The hardware probes on the computer the tests run on, under Wine 8 here:
// Wine's device set-up lists at most its own display adapter on the PCI bus
// (with vendor and device 0 when it knows no real one), and its telephony
// library starts with no line device, so the modem probe answers nothing. What
// a real PC lists is covered exactly on the simulated machine.

#include <windows.h>

#include <gtest/gtest.h>

#include <regex>

#include "engine/script_engine.h"
#include "platform/win32/win32_machine.h"
#include "probes/registration.h"

namespace kavlo {
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

    AppContext context(*machine, {"NT5.0", "Windows 2000 Professional", 50, true}, "C:\\");
    TitleRecord title;
    title.kind = "tree";
    ScriptEngine engine(context, StandardCommandTable());
    ScriptFile file{std::string()};
    for (const char* line : {"PCI_INFO:", "MODEM_INFO:"}) engine.Dispatch(file, line, &title);
    EXPECT_TRUE(title.Root().children().empty());
    const std::regex line("(  \\*\\*\\* Multifunction PCI device \\*\\*\\* )?0x[0-9a-f]+,0x[0-9a-f]+,[^\n]*\n");
    std::size_t lines = 0, covered = 0;
    for (auto it = std::sregex_iterator(title.text.begin(), title.text.end(), line); it != std::sregex_iterator(); ++it)
        ++lines, covered += static_cast<std::size_t>(it->length());
    EXPECT_EQ(lines, records->size() / platform::kPciRecordBytes) << title.text;
    EXPECT_EQ(covered, title.text.size()) << title.text;
}

}  // namespace
}  // namespace kavlo
