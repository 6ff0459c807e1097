// The engine on a simulated machine image: folders, registry values and files
// come from engine/tests/data/machine through the simulated backend.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/os_detection.h"
#include "engine/path_tokens.h"
#include "engine/testing/script_runner.h"
#include "platform/sim/sim_machine.h"

namespace kavlo {
namespace {

using ::testing::ElementsAre;

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

std::vector<std::string> ChildTitles(const ResultNode& node) {
    std::vector<std::string> titles;
    for (const auto& child : node.children()) titles.push_back(child->title());
    return titles;
}

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

TEST_F(OnSimulatedMachine, CheckItemsFromRegistryAndFile) {
    testing::ScriptRunner runner(context());
    const auto& title = runner.RunBody("tree",
                                       "TIRCheck:HKLM\\SOFTWARE\\Acme\\Options\\Logging,,x,,ChkBox Lck,,1,, Logging\n"
                                       "TIRTextValue:HKLM\\SOFTWARE\\Acme\\Options\\Mode,,x,,Mode: {\n1:one\n2:two\n}\n"
                                       "TIFCheck:<WINDOWS>\\flags.bin,x,ButBox,1,Flag,0,\n"
                                       "TIFCheck:<WINDOWS>\\flags.bin,x,Text,0,Text: ,3,\n"
                                       "TIFTextValue:<WINDOWS>\\flags.bin,x,Byte: ,1 {\n-1:minus one\n}\n"
                                       "IF VARI1,==,-1 {\nTAddText:vari1 is -1\n}");
    EXPECT_THAT(ChildTitles(title.Root()),
                ElementsAre("||04 Logging", "Mode: two", "||02Flag", "Text: hello", "Byte: minus one", "vari1 is -1"));
}

}  // namespace
}  // namespace kavlo
