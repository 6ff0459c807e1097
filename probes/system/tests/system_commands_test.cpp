// The system commands dispatched as script lines against a machine whose
// server, shares, event log, message files and providers the test sets.
#include <gtest/gtest.h>

#include <map>

#include "engine/testing/fake_machine.h"
#include "engine/testing/script_runner.h"
#include "engine/testing/sim_script_run.h"
#include "platform/event_record.h"
#include "platform/message_table.h"
#include "platform/sim/sim_system.h"
#include "platform/testing/evt_builder.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

using platform::EventRecord;

class TestMessages final : public platform::MessageFile {
public:
    explicit TestMessages(std::map<std::uint32_t, std::string> texts) : texts_(std::move(texts)) {}
    Result<std::string> Format(std::uint32_t id) const override {
        const auto found = texts_.find(id);
        if (found == texts_.end()) return Result<std::string>::Failure(err::kMessageNotFound);
        return platform::ApplyMessageEscapes(found->second);
    }

private:
    std::map<std::uint32_t, std::string> texts_;
};

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

class TestMachine final : public testing::FakeMachine {
public:
    Result<std::uint32_t> ServerTypeFlags() override {
        if (serverError) return Result<std::uint32_t>::Failure(serverError);
        return serverType;
    }
    Result<std::vector<platform::ShareInfo>> Shares() override { return shares; }
    // The records as the simulated machine's System log, read as it reads one.
    Result<std::unique_ptr<platform::EventLog>> OpenEventLogByName(std::string_view name) override {
        std::vector<std::string> oldestFirst;
        for (auto r = records.rbegin(); r != records.rend(); ++r)
            oldestFirst.push_back(platform::EncodeEventRecord(*r, platform::EventTextForm::Utf16));
        SetString(platform::RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\System", "File",
                  std::string("C:\\SysEvent.Evt"));
        AddFile("C:\\SysEvent.Evt", testing::BuildEvtFile(oldestFirst));
        return platform::sim::SimOpenEventLog(*this, name);
    }
    Result<std::unique_ptr<platform::MessageFile>> LoadMessageFile(std::string_view path) override {
        ++loads[std::string(path)];
        const auto found = messageFiles.find(std::string(path));
        if (found == messageFiles.end()) return Result<std::unique_ptr<platform::MessageFile>>::Failure(2);
        return std::unique_ptr<platform::MessageFile>(std::make_unique<TestMessages>(found->second));
    }
    Result<std::string> SystemMessage(std::uint32_t id) override {
        if (id == 5) return std::string("Access is denied.\r\n");
        return Result<std::string>::Failure(err::kMessageNotFound);
    }
    Result<std::unique_ptr<platform::CryptoProvider>> AcquireCryptoProvider(std::uint32_t type) override {
        if (type != 1) return Result<std::unique_ptr<platform::CryptoProvider>>::Failure(0x80090017);
        return std::unique_ptr<platform::CryptoProvider>(std::make_unique<BrokenCsp>());
    }

    std::uint32_t serverType = 0;
    WinError serverError = 0;
    std::vector<platform::ShareInfo> shares;
    std::vector<EventRecord> records;  // newest first
    std::map<std::string, std::map<std::uint32_t, std::string>> messageFiles;
    std::map<std::string, int> loads;
};

class SystemCommands : public ::testing::Test {
protected:
    std::string Run(std::string_view line) { return lines.Text(line); }
    // The outline of what one line adds to a fresh tree title.
    std::string Tree(std::string_view line) { return probe_test::OutlineBelow(lines.Run("tree", line).Root()); }
    EventRecord Record(std::uint32_t id, std::string source = "Disk", std::vector<std::string> strings = {}) {
        EventRecord r;
        r.eventId = id;
        r.eventType = 2;
        r.timeGenerated = 1021372325;  // 2002-05-14 10:32:05 UTC
        r.source = std::move(source);
        r.computer = "OFFICE7";
        r.strings = std::move(strings);
        return r;
    }
    void MessageFileOf(const std::string& source, const std::string& files) {
        machine.SetString(platform::RegRoot::LocalMachine,
                          "System\\CurrentControlSet\\Services\\EventLog\\System\\" + source, "EventMessageFile",
                          files);
    }

    TestMachine machine;
    probe_test::LineRunner lines{machine, OsInfo{"NT5.0", "Windows 2000", 50, true}};
};

TEST_F(SystemCommands, ServerTypeAsTextAndTree) {
    machine.serverType = 0x1003;
    EXPECT_EQ(Run("CWinServerType:"),
              "Server Type,0x1003\n"
              "SV_TYPE_WORKSTATION,All LAN Manager workstations\n"
              "SV_TYPE_SERVER,All LAN Manager servers\n"
              "SV_TYPE_NT,Windows NT (either Workstation or Server)\n");
    machine.serverType = 0x40000001;
    EXPECT_EQ(Tree("TEWinServerType:"),
              "[D]  Type= 0x40000001\n"
              "  SV_TYPE_WORKSTATION,All LAN Manager workstations\n"
              "  SV_TYPE_LOCAL_LIST_ONLY,Servers maintained by the browser\n");
}

TEST_F(SystemCommands, ServerTypeFailures) {
    machine.serverError = 5;
    EXPECT_EQ(Run("CWinServerType:"),
              "ERROR_ACCESS_DENIED,The user does not have access to the requested information\n");
    machine.serverError = 53;  // not one of the four known codes
    EXPECT_EQ(Run("CWinServerType:"), "\n");
    EXPECT_EQ(Tree("TEWinServerType:"), "[D]  Type= ERROR\n  [D]  Type= ERROR\n");
    for (WinError noLibrary : {126u, 127u}) {  // nothing at all
        machine.serverError = noLibrary;
        EXPECT_EQ(Run("CWinServerType:") + Tree("TEWinServerType:"), "") << noLibrary;
    }
}

TEST_F(SystemCommands, SharesOneRowEachWithUnlimitedAndAdministrativeShares) {
    machine.shares = {{"C$", "Default share", -1, 0, "C:\\"}, {"Docs", "Team, shared", 10, 2, "D:\\Docs"}};
    EXPECT_EQ(Run("CWinShares:"), "C$,C:\\,Default share,Unlimited,0\nDocs,D:\\Docs,Team, shared,10,2\n");
}

TEST_F(SystemCommands, EventRowsWithTypeDateEventAndUnknownKeys) {
    machine.records = {Record(0x80000007), Record(7)};
    machine.records[1].eventType = 3;  // no type word, the separator stays
    EXPECT_EQ(Run("CEvtLog:System,Type,Severity,Date,Time,Event"),
              "Warning,5/14/2002,10:32:05 AM,7\n,5/14/2002,10:32:05 AM,7\n");
}

TEST_F(SystemCommands, FoldedRunsWithSummaryRows) {
    for (int i = 0; i < 6; ++i) machine.records.push_back(Record(11));
    machine.records.push_back(Record(12));
    EXPECT_EQ(Run("CEvtLog:System,Event,Source,Computer"),
              "11,Disk,OFFICE7\n11,Disk,OFFICE7\n11,Disk,OFFICE7\nDUPLICATES,6,,\n12,Disk,OFFICE7\n");
}

TEST_F(SystemCommands, DescriptionsFromMessageFiles) {
    MessageFileOf("Disk", "C:\\missing.dll; C:\\disk.dll");
    machine.messageFiles["C:\\disk.dll"] = {{0xC0000007, "Disk %1 failed:%n%2 %10.%r\n"}};
    std::vector<std::string> strings;
    for (int i = 1; i <= 10; ++i) strings.push_back("s" + std::to_string(i));
    machine.records = {Record(0xC0000007, "Disk", strings), Record(0xC0000007, "Disk", {"x"}), Record(5, "NoFile"),
                       Record(6, "NoFile"), Record(5, "Gone")};
    MessageFileOf("Gone", "C:\\gone.dll");
    EXPECT_EQ(Run("CEvtLog:System,Event,Description"),
              "7,Disk s1 failed:s2 s10.\n"
              "7,Disk x failed:%2 %10.\n"
              "5,Access is denied.\n"  // no message file: the system's table
              "6,Error 317.\n"         // nor there: the last error's text
              "5,LoadLibrary failed\n");
    EXPECT_EQ(machine.loads["C:\\disk.dll"], 1);  // once per command, not per record
}

TEST_F(SystemCommands, ReadFailureAndEmptyLog) {
    EXPECT_EQ(Run("CEvtLog:System,Type,Event"), "");  // no "Reached the end of the file."
}

TEST(CryptoProviders, AvailableAndUnavailableOnTheSimulatedMachine) {
    testing::SimImage image(
        std::string(kavlo::testing::kMinimalSystem) +
        "[crypto_provider 1]\nname = Test Base Provider\ncontainer = Administrator\n"
        "containers = Administrator;Backup\nalgorithms = 0x6602 128 RC2;0x8004 160 SHA-1\n"
        "[crypto_provider 3]\nname = Test DSS Provider\ncontainer = Administrator\nversion = 0x10A\n");
    // The six types the machine lacks follow, without the system text's line break.
    probe_test::ExpectSameAsFile(probe_test::OutlineBelow(image.Run("tree", "TDefaultCryptoProviders:").Root()),
                                 "probes/system/tests/expected/crypto_providers.txt");
}

TEST_F(SystemCommands, AlgorithmFailureEndsTheContainerListing) {
    const std::string tree = Tree("TDefaultCryptoProviders:");
    EXPECT_EQ(tree.substr(0, tree.find("Unavailable Providers\n")),
              "Available Providers\n  Test Base Provider  Ver: 2.0\n    Default key container: Administrator\n"
              "    CSP implementation type: software\n    Available key container(s)\n      First\n        Supported "
              "algorithms\n");
}

TEST_F(SystemCommands, NothingOutsideTheNtFamily) {
    lines.context.os = OsInfo{"Win98", "Windows 98", 98, false};
    machine.serverType = 1;
    machine.records = {Record(1)};
    EXPECT_EQ(Run("CWinServerType:"), "");
    EXPECT_EQ(Run("CEvtLog:System,Event"), "");
}

}  // namespace
}  // namespace kavlo
