// "TETFernwaySettingsLog:": the default settings and the settings sets of the
// update product on simulated machines.
#include <gtest/gtest.h>

#include "engine/testing/sim_script_run.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

constexpr std::string_view kFolders =
    "[folders]\nCSIDL_PROGRAM_FILES = C:\\Program Files\nCSIDL_COMMON_APPDATA = C:\\Data\n";

TEST(UpdateSettings, CurrentAndBackupSetsUpToTheFirstMissingSettingsFile) {
    testing::SimImage image(std::string(kavlo::testing::kMinimalSystem) + std::string(kFolders));
    image.DriveFile("Program Files/Quorvane/Fernway/Settings.Default.Fernway", "[Server]\r\nPrimary=a\r\n");
    for (std::string prefix : {"", "1.", "2."}) {
        image.DriveFile("Data/Quorvane/Fernway/" + prefix + "Settings.Fernway", prefix + "settings");
        image.DriveFile("Data/Quorvane/Fernway/" + prefix + "Log.Fernway", prefix + "log");
    }
    image.DriveFile("Data/Quorvane/Fernway/Product.Catalog.Fernway", "");
    image.DriveFile("Data/Quorvane/Fernway/3.Log.Fernway", "a log without its settings file");
    // Default, current and backups 1 and 2 (3 has no settings file); each file's
    // content below its node, a missing one as an error.
    probe_test::ExpectSameAsFile(probe_test::OutlineBelow(image.Run("treexptxt", "TETFernwaySettingsLog:").Root()),
                                 "probes/update/tests/expected/settings_sets.txt");
}

TEST(UpdateSettings, WithoutTheProductOnlyTheDefaultNodeReportsItsFile) {
    testing::SimImage image(std::string(kavlo::testing::kMinimalSystem) + std::string(kFolders));
    EXPECT_EQ(probe_test::OutlineBelow(image.Run("treexptxt", "TETFernwaySettingsLog:").Root()),
              "[D]  Default\n  [D]  Settings.Default.Fernway\n"
              "    ERROR finding file C:\\Program Files\\Quorvane\\Fernway\\Settings.Default.Fernway\n");
    // A machine without the shell folders adds nothing at all.
    testing::SimImage bare;
    EXPECT_TRUE(bare.Run("treexptxt", "TETFernwaySettingsLog:").Root().children().empty());
}

}  // namespace
}  // namespace kavlo
