// The system commands dispatched as script lines against simulated machines:
// data/machine (server role, shares, a System log with a message file, two
// cryptographic providers) and variations of its server role.
#include <gtest/gtest.h>

#include "engine/testing/fake_machine.h"
#include "engine/testing/sim_script_run.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

class SystemCommands : public ::testing::Test {
protected:
    probe_test::MachineFolder folder{"probes/system/tests/data/machine"};
    probe_test::LineRunner lines{folder.machine(), OsInfo{"NT5.0", "Windows 2000", 50, true}};
};

// The server type's rows are ServerType's table below.
TEST_F(SystemCommands, SharesWithUnlimitedAndAdministrativeShares) {
    EXPECT_EQ(lines.Text("CWinShares:"), "C$,C:\\,Default share,Unlimited,0\nDocs,D:\\Docs,Team, shared,10,2\n");
}

// The [network] section of a machine, and what the text and tree commands give.
struct ServerCase {
    std::string_view network, text, tree;
};

TEST(ServerType, TreeAndFailures) {
    const ServerCase cases[] = {
        {"server_type = 0x40000001",
         "Server Type,0x40000001\nSV_TYPE_WORKSTATION,All LAN Manager workstations\n"
         "SV_TYPE_LOCAL_LIST_ONLY,Servers maintained by the browser\n",
         "[D]  Type= 0x40000001\n"
         "  SV_TYPE_WORKSTATION,All LAN Manager workstations\n"
         "  SV_TYPE_LOCAL_LIST_ONLY,Servers maintained by the browser\n"},
        {"server_type_error = 5", "ERROR_ACCESS_DENIED,The user does not have access to the requested information\n",
         "[D]  Type= ERROR\n  ERROR_ACCESS_DENIED,The user does not have access to the requested information\n"},
        // Not one of the four known codes.
        {"server_type_error = 53", "\n", "[D]  Type= ERROR\n  [D]  Type= ERROR\n"},
        // No network library: nothing at all.
        {"server_type_error = 126", "", ""},
        {"server_type_error = 127", "", ""},
    };
    for (const ServerCase& c : cases) {
        testing::SimImage image(std::string(kavlo::testing::kMinimalSystem) + "[network]\n" + std::string(c.network));
        probe_test::LineRunner lines(image.machine());
        EXPECT_EQ(lines.Text("CWinServerType:"), c.text) << c.network;
        EXPECT_EQ(probe_test::OutlineBelow(lines.Run("tree", "TEWinServerType:").Root()), c.tree) << c.network;
    }
}

// Every column: type words (none for type 3), no cell for the unknown key,
// dates and times as UTC, folded runs with their summary rows, and descriptions
// from the first message file that loads, from the system's table, from the
// last error's text, or "LoadLibrary failed".
TEST_F(SystemCommands, EventLogWithEveryColumn) {
    probe_test::ExpectSameAsFile(lines.Text("CEvtLog:System,Type,Severity,Date,Time,Source,Event,Computer,Description"),
                                 "probes/system/tests/expected/system_log.txt");
    EXPECT_EQ(lines.Text("CEvtLog:Empty,Type,Event"), "");  // no "Reached the end of the file."
}

TEST_F(SystemCommands, CryptoProvidersAvailableAndUnavailable) {
    // The six types the machine lacks follow, without the system text's line break.
    probe_test::ExpectSameAsFile(probe_test::OutlineBelow(lines.Run("tree", "TDefaultCryptoProviders:").Root()),
                                 "probes/system/tests/expected/crypto_providers.txt");
}

TEST_F(SystemCommands, NothingOutsideTheNtFamily) {
    lines.context.os = OsInfo{"Win98", "Windows 98", 98, false};
    EXPECT_EQ(lines.Text("CWinServerType:"), "");
    EXPECT_EQ(lines.Text("CEvtLog:System,Event"), "");
}

// Key containers "First" and "Second" whose algorithm enumeration fails with 87.
class BrokenCsp final : public platform::CryptoProvider {
public:
    Result<std::string> Name() override { return std::string("Test Base Provider"); }
    Result<std::string> Container() override { return std::string("Administrator"); }
    Result<std::uint32_t> Version() override { return std::uint32_t{0x200}; }
    Result<std::uint32_t> ImplementationType() override { return std::uint32_t{2}; }
    Result<std::string> NextContainer(bool first) override {
        next_ = first ? 0 : next_ + 1;
        if (next_ == 2) return Result<std::string>::Failure(err::kNoMoreItems);
        return std::string(next_ == 0 ? "First" : "Second");
    }
    Result<platform::CryptoAlgorithm> NextAlgorithm(bool) override {
        return Result<platform::CryptoAlgorithm>::Failure(87);
    }

private:
    int next_ = 0;
};

class BrokenCspMachine final : public testing::FakeMachine {
public:
    Result<std::unique_ptr<platform::CryptoProvider>> AcquireCryptoProvider(std::uint32_t type) override {
        if (type != 1) return Result<std::unique_ptr<platform::CryptoProvider>>::Failure(0x80090017);
        return std::unique_ptr<platform::CryptoProvider>(std::make_unique<BrokenCsp>());
    }
};

TEST(CryptoProviders, AlgorithmFailureEndsTheContainerListing) {
    BrokenCspMachine machine;
    probe_test::LineRunner lines(machine);
    const std::string tree = probe_test::OutlineBelow(lines.Run("tree", "TDefaultCryptoProviders:").Root());
    EXPECT_EQ(tree.substr(0, tree.find("Unavailable Providers\n")),
              "Available Providers\n  Test Base Provider  Ver: 2.0\n    Default key container: Administrator\n"
              "    CSP implementation type: software\n    Available key container(s)\n      First\n        Supported "
              "algorithms\n");
}

}  // namespace
}  // namespace kavlo
