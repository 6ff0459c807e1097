// The simulated machine's event logs: found through the registry, read from an
// .evt file newest first in batches.
#include <gtest/gtest.h>

#include "engine/testing/fake_machine.h"
#include "platform/event_record.h"
#include "platform/sim/sim_system.h"
#include "platform/testing/evt_builder.h"

namespace kavlo {
namespace {

using platform::EventRecord;

class SimEventLogs : public ::testing::Test {
protected:
    void AddLog(const std::string& log, const std::string& file, const std::vector<std::size_t>& stringSizes) {
        machine.SetString(platform::RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\" + log,
                          "File", file + std::string(1, '\0'));
        std::vector<std::string> records;
        std::uint32_t number = 1;
        for (std::size_t size : stringSizes) {
            EventRecord r;
            r.recordNumber = number++;
            r.source = log;
            r.computer = "PC";
            r.strings = {std::string(size, 'x')};
            records.push_back(platform::EncodeEventRecord(r, platform::EventTextForm::Utf16));
        }
        machine.AddFile(file, testing::BuildEvtFile(records));
    }
    // Record numbers of every batch, a batch a string.
    std::vector<std::string> Batches(std::string_view log, std::size_t bytes) {
        auto opened = platform::sim::SimOpenEventLog(machine, log);
        EXPECT_TRUE(opened) << opened.error();
        std::vector<std::string> out;
        if (!opened) return out;
        for (;;) {
            auto batch = (*opened)->ReadNewestFirst(bytes);
            if (!batch) {
                EXPECT_EQ(batch.error(), err::kHandleEof);
                return out;
            }
            std::string numbers;
            for (const EventRecord& r : platform::ParseEventRecords(*batch).records)
                numbers += std::to_string(r.recordNumber);
            out.push_back(numbers);
        }
    }
    testing::FakeMachine machine;
};

TEST_F(SimEventLogs, NewestFirstInBatchesWithALargeRecordWhole) {
    AddLog("System", "C:\\WINNT\\system32\\config\\SysEvent.Evt", {10, 10, 700000, 10, 10});
    EXPECT_EQ(Batches("System", 600000), (std::vector<std::string>{"54", "3", "21"}));
}

TEST_F(SimEventLogs, UnknownNamesOpenApplicationAndEmptyLogsEndAtOnce) {
    AddLog("Application", "C:\\AppEvent.Evt", {1, 2});
    EXPECT_EQ(Batches("NoSuchLog", 4096), (std::vector<std::string>{"21"}));
    AddLog("Security", "C:\\SecEvent.Evt", {});
    EXPECT_EQ(Batches("Security", 4096), (std::vector<std::string>{}));
}

TEST_F(SimEventLogs, DamagedFileIsReportedAsCorrupt) {
    machine.SetString(platform::RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\System", "File",
                      "C:\\bad.evt");
    machine.AddFile("C:\\bad.evt", "not an event log at all, just some text here ......");
    EXPECT_EQ(platform::sim::SimOpenEventLog(machine, "System").error(), err::kEventLogFileCorrupt);
}

}  // namespace
}  // namespace kavlo
