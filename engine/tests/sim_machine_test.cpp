// The engine on a simulated machine image: folders, registry values and files
// come from engine/tests/data/machine through the simulated backend.
#include <gtest/gtest.h>

#include "engine/os_detection.h"
#include "engine/path_tokens.h"
#include "platform/sim/sim_machine.h"

namespace kavlo {
namespace {

class OnSimulatedMachine : public ::testing::Test {
protected:
    void SetUp() override {
        platform::sim::LoadResult loaded =
            platform::sim::LoadMachine(std::string(KAVLO_TEST_SOURCE_DIR) + "/engine/tests/data/machine");
        ASSERT_TRUE(loaded.machine) << loaded.error;
        machine_ = std::move(loaded.machine);
        context_ = std::make_unique<AppContext>(*machine_, DetectOs(*machine_), "C:\\");
    }
    AppContext& context() { return *context_; }

private:
    std::unique_ptr<platform::Machine> machine_;
    std::unique_ptr<AppContext> context_;
};

TEST_F(OnSimulatedMachine, DetectsWindows2000Workstation) {
    EXPECT_EQ(context().os.shortName, "NT5.0");
    EXPECT_EQ(context().os.longName, "Windows 2000 Professional  Workstation  build 2195 Service Pack 2");
    EXPECT_TRUE(context().IsNtFamily());
}

TEST_F(OnSimulatedMachine, PathTokens) {
    EXPECT_EQ(ExpandPathToken(context(), "<COMMONDIR>\\x.dll"), "C:\\Program Files\\Common Files\\x.dll");
    EXPECT_EQ(ExpandPathToken(context(), "<OSDRIVE>\\boot.ini"), "C:\\boot.ini");
    EXPECT_EQ(ExpandPathToken(context(), "<DRIVERS>\\x.sys"), "C:\\WINNT\\system32\\drivers\\x.sys");
    EXPECT_EQ(ExpandPathToken(context(), "<CSIDL_APPDATA>\\x"),
              "C:\\Documents and Settings\\tester\\Application Data\\x");
    EXPECT_EQ(ExpandPathToken(context(), "<CSIDL_PROGRAM_FILES_COMMON>"), "C:\\Program Files\\Common Files");
    EXPECT_EQ(ExpandFolderToken(context(), "<CSIDL_DRIVES>\\x"), "<CSIDL_DRIVES>\\x");
    EXPECT_EQ(ExpandFolderToken(context(), "<CSIDL_FONTS>\\x"), "<CSIDL_FONTS>\\x");  // not in the image
}

}  // namespace
}  // namespace kavlo
