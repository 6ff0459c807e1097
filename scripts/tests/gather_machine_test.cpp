// Gathers the bundled scripts on the machine the tests run on: the real
// computer on Windows (Wine's own machine in the Windows build's tests), the
// bundled sample machine elsewhere. Nothing may crash, every title ends, and
// the report saves and opens again.
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
    ASSERT_NE(catalog.File("System"), nullptr);
    ASSERT_NE(catalog.File("Network"), nullptr);
    std::size_t withOutput = 0;
    for (const auto& file : catalog.files) {
        for (const auto& title : file->titles) {
            EXPECT_EQ(title->runPending, 0) << file->fileName << " - " << title->name;
            if (!title->text.empty() || !title->Root().children().empty()) ++withOutput;
        }
    }
    // Whatever the machine, its Windows version and its drives are there to show.
    const TitleRecord* version = catalog.Title("System", "Windows version");
    ASSERT_NE(version, nullptr);
    EXPECT_FALSE(version->text.empty());
    EXPECT_GT(withOutput, 10u);
}

}  // namespace
}  // namespace kavlo::scripts_test
