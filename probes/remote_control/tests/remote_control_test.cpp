// "MIRROLET_CHF:" and "MIRROLET_NET:" on a simulated machine with the product's
// automation server registered and a folder of caller files of every kind.

#include <gtest/gtest.h>

#include "engine/testing/sim_script_run.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

std::string Caller(int version, std::initializer_list<std::string_view> fields, bool terminated = true) {
    std::string bytes = "MLCHF" + std::string(1, static_cast<char>(version));
    for (std::string_view field : fields) bytes += std::string(field) + '\0';
    if (!terminated) bytes.pop_back();
    return bytes;
}

// The product registered with its automation server and a folder of caller files of every kind.
class ProductMachine : public ::testing::Test {
protected:
    ProductMachine()
        : image(std::string(kavlo::testing::kMinimalSystem) + "[resolver]\naddresses = 192.168.10.37 10.0.2.118\n") {
        image.Registry("50-product",
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\MIRROLET\\CurrentVersion\\System]\n"
                       "\"FilesDirectory\"=\"C:\\\\Data\"\n[HKEY_CLASSES_ROOT\\MIRROLETSVR.RemoteDataManager]\n");
        image.DriveFile("Data/Dial properties.CHF",
                        Caller(2, {"Standard 56000 bps V90 Modem", "57600", "None", "1 stop bit", "1", "617",
                                   "555 0142", "United States (1)", "office7", "3", "60", "1", "", "login.scr"}));
        image.DriveFile("Data/Manual.chf",
                        Caller(2, {"Fast Modem", "19200", "Even", "2 stop bits", "0", "", "9,555 0199", "", "support",
                                   "5", "30", "1", "nightly", "ignored.scr"}));
        image.DriveFile("Data/Office LAN.CHF", Caller(1, {"TCP/IP", "0", "None", "", "192.168.20.14", "", "office7"}));
        image.DriveFile("Data/Port ten.CHF", Caller(2, {"Direct cable on COM10", "115200", "None"}));
        image.DriveFile("Data/Broken.CHF", "not a caller file");
        image.DriveFile("Data/Short.CHF", Caller(2, {"Pocket modem"}, false));
    }
    testing::SimImage image;
};

// The outline of what one command line adds to a fresh tree title.
std::string TreeOf(platform::Machine& machine, std::string_view line) {
    probe_test::LineRunner runner(machine);
    return probe_test::OutlineBelow(runner.Run("tree", line).Root());
}

TEST_F(ProductMachine, ModemCallerFilesWithTheirSettings) {
    // Not listed: a TCP/IP caller, a device on COM10, a file that is no caller file.
    probe_test::ExpectSameAsFile(TreeOf(image.machine(), "MIRROLET_CHF:"),
                                 "probes/remote_control/tests/expected/caller_files.txt");
}

TEST(RemoteControl, WithoutProductOrServer) {
    testing::SimImage bare;
    EXPECT_EQ(TreeOf(bare.machine(), "MIRROLET_CHF:"),
              "MIRROLET32 .CHF files for TAPI modem(s)\n  MIRROLET32 not installed\n");
    // Installed, but the automation server is not registered: nothing more.
    testing::SimImage withoutServer;
    withoutServer.Registry("50-product",
                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\MIRROLET\\CurrentVersion\\System]\n"
                           "\"FilesDirectory\"=\"C:\\\\Data\"\n");
    withoutServer.DriveFile("Data/Office LAN.CHF", Caller(1, {"Fast Modem", "19200", "None"}));
    EXPECT_EQ(TreeOf(withoutServer.machine(), "MIRROLET_CHF:"), "MIRROLET32 .CHF files for TAPI modem(s)\n");
}

TEST_F(ProductMachine, HostAddressesInResolverOrder) {
    EXPECT_EQ(TreeOf(image.machine(), "MIRROLET_NET:"), "IP Address order\n  192.168.10.37\n  10.0.2.118\n");
}

}  // namespace
}  // namespace kavlo
