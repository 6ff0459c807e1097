// "TETFernwaySettingsLog:": the default settings and the settings sets of the
// update product on simulated machines.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/testing/sim_script_run.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

using ::testing::ElementsAre;

constexpr std::string_view kFolders =
    "[folders]\nCSIDL_PROGRAM_FILES = C:\\Program Files\nCSIDL_COMMON_APPDATA = C:\\Data\n";

constexpr auto& Titles = testing::ChildTitles;

// The text below a file node.
std::string Content(const ResultNode& fileNode) {
    return fileNode.children().size() == 1 ? fileNode.children()[0]->title() : "<not one content node>";
}

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
    const ResultNode& root = image.Run("treexptxt", "TETFernwaySettingsLog:").Root();
    ASSERT_THAT(Titles(root), ElementsAre("[D]  Default"));
    EXPECT_EQ(Content(*root.children()[0]->children()[0]),
              "ERROR finding file C:\\Program Files\\Quorvane\\Fernway\\Settings.Default.Fernway");
    // A machine without the shell folders adds nothing at all.
    testing::SimImage bare;
    EXPECT_TRUE(bare.Run("treexptxt", "TETFernwaySettingsLog:").Root().children().empty());
}

}  // namespace
}  // namespace kavlo
