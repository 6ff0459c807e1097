// Gathers the bundled scripts on the machine the tests run on: the real
// computer on Windows (Wine's own machine in the Windows build's tests), the
// bundled sample machine elsewhere. Nothing may crash, every title ends, and
// the report saves and opens again.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/machine_factory.h"
#include "scripts/tests/bundled.h"

namespace kavlo::scripts_test {
namespace {

TEST(GatherThisMachine, EveryTitleOfTheBundledScriptsIsGathered) {
    platform::MachineChoice choice = platform::OpenMachine("");
    ASSERT_TRUE(choice.machine) << choice.error;
    std::string error;
    const Catalog catalog = SavedReportOf(std::move(choice.machine), error);
    ASSERT_EQ(error, "");
    std::string scripts, windowsVersion;
    std::size_t withOutput = 0;
    for (const auto& file : catalog.files) {
        scripts += file->fileName + " ";
        for (const auto& title : file->titles) {
            EXPECT_EQ(title->runPending, 0) << file->fileName << " - " << title->name;
            if (!title->text.empty() || !title->Root().children().empty()) ++withOutput;
            if (file->fileName == "System" && title->name == "Windows version") windowsVersion = title->text;
        }
    }
    EXPECT_THAT(scripts, ::testing::AllOf(::testing::HasSubstr("Network "), ::testing::HasSubstr("System ")));
    // Whatever the machine, its Windows version is there to show.
    EXPECT_NE(windowsVersion, "");
    EXPECT_GT(withOutput, 10u);
}

}  // namespace
}  // namespace kavlo::scripts_test
