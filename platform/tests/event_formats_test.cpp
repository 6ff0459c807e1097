// The portable readers of event-log records, .evt files and message tables.
// Records read back whole, both text forms, are what the System event log of
// scripts/tests/expected/office7.txt shows; here the bounds and the damage.
#include <gtest/gtest.h>

#include "platform/event_record.h"
#include "platform/evt_file.h"
#include "platform/message_table.h"
#include "platform/testing/evt_builder.h"

namespace kavlo::platform {
namespace {

EventRecord Sample(std::uint32_t number, std::vector<std::string> strings = {"one", "two"}) {
    EventRecord r;
    r.recordNumber = number;
    r.timeGenerated = 1021372325;
    r.eventId = 0xC0001B58;
    r.eventType = 1;
    r.source = "Service Control Manager";
    r.computer = "OFFICE7";
    r.strings = std::move(strings);
    return r;
}

// Record numbers of the records the reader finds in a file.
std::vector<std::uint32_t> NumbersOf(const std::string& file, const EvtFileParse& parsed) {
    std::vector<std::uint32_t> out;
    for (const EvtRecordSpan& span : parsed.records) {
        EventRecord r;
        EXPECT_TRUE(ParseEventRecord(EvtRecordBytes(file, span), EventTextForm::Utf16, 1252, r));
        out.push_back(r.recordNumber);
    }
    return out;
}

// Each corruption is made to the second record: the first is still given.
TEST(EventRecords, DamageEndsTheWalkAfterTheGoodRecords) {
    const std::string first = EncodeEventRecord(Sample(1));
    const std::string good = EncodeEventRecord(Sample(2));
    const auto size = static_cast<std::uint32_t>(good.size());
    const struct {
        const char* what;
        std::size_t offset;
        std::uint32_t value;
    } damages[] = {
        {"length past the buffer", 0, 0x10000},
        {"length below the fixed part", 0, 40},
        {"string offset past the record", 36, 0x7FFF0000},
        {"more strings than bytes", 26, 0x0000FFFF},
        {"leading length differs from the closing one", 0, 0x100},
        {"closing length differs from the leading one", size - 4, size + 8},
    };
    for (const auto& d : damages) {
        std::string second = good;
        testing::PutU32At(second, d.offset, d.value);
        const EventRecordParse parsed = ParseEventRecords(first + second);
        EXPECT_FALSE(parsed.complete) << d.what;
        ASSERT_EQ(parsed.records.size(), 1u) << d.what;
        EXPECT_EQ(parsed.records[0].recordNumber, 1u);
    }
    // Names must end inside the record: every terminator after the fixed part overwritten.
    std::string unterminated = EncodeEventRecord(Sample(2, {}));
    for (std::size_t i = kEventRecordFixedBytes; i + 4 < unterminated.size(); ++i)
        if (unterminated[i] == '\0') unterminated[i] = 'x';
    EXPECT_EQ(ParseEventRecords(first + unterminated).records.size(), 1u);
}

TEST(EvtFile, RecordsOldestFirstThroughWrapDirtyHeaderAndDamage) {
    std::vector<std::string> records;
    for (std::uint32_t n = 1; n <= 5; ++n) records.push_back(EncodeEventRecord(Sample(n), EventTextForm::Utf16));
    std::size_t total = 0x28;
    for (const auto& r : records) total += r.size();

    // The data area is as large as the records; starting late splits a record
    // and the end record across the end of the file.
    const testing::EvtLayout wrapped{0x30 + total, 0x30 + total - 20, false};
    const std::string wrapFile = testing::BuildEvtFile(records, wrapped);
    const EvtFileParse wrap = ReadEvtFile(wrapFile);
    EXPECT_EQ(wrap.error, "");
    EXPECT_EQ(NumbersOf(wrapFile, wrap), (std::vector<std::uint32_t>{1, 2, 3, 4, 5}));

    testing::EvtLayout dirty = wrapped;
    dirty.dirty = true;
    const std::string dirtyFile = testing::BuildEvtFile(records, dirty);
    EXPECT_EQ(NumbersOf(dirtyFile, ReadEvtFile(dirtyFile)), (std::vector<std::uint32_t>{1, 2, 3, 4, 5}));
    EXPECT_TRUE(ReadEvtFile(testing::BuildEvtFile({})).records.empty());

    // Damage to the third record keeps the records before it.
    std::string damagedFile = testing::BuildEvtFile(records);
    testing::PutU32At(damagedFile, 0x30 + records[0].size() + records[1].size(), 0xFFFFFFF0);
    const EvtFileParse damaged = ReadEvtFile(damagedFile);
    EXPECT_NE(damaged.error, "");
    EXPECT_EQ(NumbersOf(damagedFile, damaged), (std::vector<std::uint32_t>{1, 2}));
}

std::string U16(std::uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string U32(std::uint32_t v) { return U16(v & 0xFFFF) + U16(v >> 16); }

// UTF-16 entries in several ranges give the messages of the event logs in
// scripts/tests/expected/office7.txt; here ANSI entries and the block's bounds.
TEST(MessageTables, AnsiEntriesWithinTheBlock) {
    const std::string entries =
        U16(12) + U16(0) + std::string("First\r\n\0", 8) + U16(8) + U16(0) + std::string("Two\0", 4);
    const std::size_t entriesAt = 4 + 12;
    std::string block = U32(1) + U32(100) + U32(101) + U32(entriesAt) + entries;
    const auto table = MessageTable::FromBlock(block);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->Find(100, 1252), "First\r\n");
    EXPECT_EQ(table->Find(101, 1252), "Two");
    EXPECT_FALSE(table->Find(102, 1252));
    // An entry claiming more bytes than the block holds is not read past it.
    block[entriesAt] = '\x7F';
    EXPECT_FALSE(MessageTable::FromBlock(block)->Find(101, 1252));
    EXPECT_FALSE(MessageTable::FromBlock(U32(0x10000000)));
}

TEST(MessageTables, EscapesAsFormatMessageIgnoringInserts) {
    const std::pair<const char*, const char*> cases[] = {
        {"a%nb", "a\r\nb"},
        {"a%tb%rc", "a\tb\rc"},
        {"100%% done%.", "100% done."},
        {"keep %1 and %12!s!", "keep %1 and %12!s!"},
        {"cut here%0 never", "cut here"},
        {"end %", "end %"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(ApplyMessageEscapes(in), out) << in;
}

}  // namespace
}  // namespace kavlo::platform
