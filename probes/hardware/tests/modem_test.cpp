// "MODEM_INFO:" on simulated machines: the registry settings, the telephony
// answers and every branch of the port test, driven by the scripted modem.
#include <gtest/gtest.h>

#include "engine/testing/sim_script_run.h"
#include "probes/hardware/hardware_commands.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

constexpr std::string_view kModemKey =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}\\0001";

struct System {
    std::string_view platform;
    int major, minor;
};
constexpr System kWindows2000{"NT", 5, 0};

std::string Machine(System os, std::string_view line, std::string_view serial) {
    return probe_test::MinimalSystem(os.platform, os.major, os.minor) +
           "[tapi line 0]\nname = Field Modem\nmodem_key = " + std::string(kModemKey) +
           "\npermanent_line_id = 20000\n" + std::string(line) +
           "\n[tapi provider 1]\nfile = other.tsp\n[tapi provider 2]\nfile = unimdm.tsp\n[serial COM2]\n" +
           std::string(serial) + "\n";
}

// The line on the machine of that system, with the modem of data/modem.reg.
std::string Outline(System os, std::string_view line, std::string_view serial) {
    testing::SimImage image(Machine(os, line, serial));
    image.Registry("60-modem", kavlo::testing::ReadAll(KAVLO_TEST_SOURCE_DIR "/probes/hardware/tests/data/modem.reg"));
    return testing::Outline(image.Run("tree", "MODEM_INFO:").Root());
}

TEST(ModemInfo, RegistrySettingsTelephonyAndAnAnsweringModem) {
    probe_test::ExpectSameAsFile(
        Outline(kWindows2000, "version = 10004\nactive_calls = 1\nopens = 2", "dcd = on\nreply = OK"),
        "probes/hardware/tests/expected/modem_info.txt");
}

// The test items after "Hardware lines: ..." (or all of them when the port is busy).
TEST(ModemInfo, ItemsOfTheBasicTest) {
    const std::string sent = "      Sending AT&F. Received '  OK  '\n";
    const struct {
        std::string_view name, line, serial;
        std::string items;
    } cases[] = {
        {"Silent", "", "answers =", "      Sending AT&F. ERROR: Timed out waiting for responce\n"},
        {"SilentAfterReset", "", "answers = AT&F",
         sent + "      Turning DCD on (AT&C). DCD is now ERROR: Timed out waiting for responce\n"},
        {"SilentAfterDcdOn", "", "answers = AT&F, AT&C",
         sent + "      Turning DCD on (AT&C). DCD is now ON\n"
                "      Turning DCD off (AT&C1). DCD is now  Timed out waiting for responce\n"},
        {"BusyWithCallOwner", "call_owner = Dial-Up Networking", "in_use = yes",
         "      ERROR: COM port is being used by application: Dial-Up Networking\n"},
        {"BusyWithoutCall", "", "in_use = yes",
         "      ERROR: COM port not available.  Unable to detect COM port application.\n"},
        {"WaitingForCts", "", "hold = cts", "      Unable to test: waiting for CTS\n"},
        {"WaitingForDsr", "", "hold = dsr", "      Unable to test: waiting for DSR\n"},
        {"WaitingForRlsd", "", "hold = rlsd", "      Unable to test: waiting for RLSD\n"},
        {"XoffSent", "", "hold = xoff_sent", "      Unable to test: waiting for responce to XOFF\n"},
        {"XoffReceivedAlone", "", "hold = xoff_received", "      Sending AT&F. \n"},
        {"LastHoldWins", "", "hold = cts, rlsd", "      Unable to test: waiting for RLSD\n"},
    };
    for (const auto& c : cases) {
        const std::string outline = Outline(kWindows2000, c.line, c.serial);
        const std::size_t tests = outline.find("    Basic modem tests...\n");
        ASSERT_NE(tests, std::string::npos) << outline;
        std::string items = outline.substr(tests + 25);
        const std::string lines = "      Hardware lines: DCD = OFF, CTS = ON, DSR = ON\n";
        if (items.rfind(lines, 0) == 0) items.erase(0, lines.size());
        EXPECT_EQ(items, c.items) << c.name;
    }
}

TEST(ModemInfo, AttachmentByOperatingSystem) {
    const std::string withPort = "External on COM2 / IRQ 3 / 0x2f8 using driver modem.sys and port driver serial.vxd";
    const std::string withoutPort = "External on COM2 using driver modem.sys and port driver serial.vxd";
    const std::pair<System, std::string> cases[] = {
        {{"9x", 4, 10}, withoutPort},
        {{"NT", 4, 0}, withPort},
        {{"NT", 10, 0}, withPort},
        {{"NT", 3, 51}, ""},  // the probe adds nothing
    };
    for (const auto& [os, attachment] : cases) {
        const std::string outline = Outline(os, "", "");
        if (attachment.empty()) {
            EXPECT_EQ(outline, "T\n");
        } else {
            EXPECT_NE(outline.find("\n    " + attachment + "\n"), std::string::npos) << outline;
        }
    }
}

TEST(ModemInfo, UnreadableCapabilitiesAndVersionFailures) {
    EXPECT_EQ(Outline(kWindows2000, "caps = no", ""), "T\n");
    const std::string outline = Outline(kWindows2000, "version = ffff", "");
    EXPECT_NE(outline.find("    TAPI information...\n      Error checking TAPI version\n    Basic modem tests...\n"),
              std::string::npos)
        << outline;
}

// The published versions' names are in the settings output; others are shown in decimal.
TEST(TapiVersionName, UnpublishedVersionsInDecimal) { EXPECT_EQ(TapiVersionName(0x20002), "131074"); }

}  // namespace
}  // namespace kavlo
