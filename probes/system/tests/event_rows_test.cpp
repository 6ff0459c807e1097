// Run folding, column keys and insertion strings of "CEvtLog:".
#include <gtest/gtest.h>

#include "probes/system/event_rows.h"

namespace kavlo {
namespace {

// Identifiers in the order read, as letters; the result lists each listed
// record as its letter and each summary row as its count.
std::string Fold(std::string_view ids) {
    RunFolder folder;
    std::string out;
    for (char id : ids) {
        const RunFolder::Step step = folder.Next(static_cast<std::uint32_t>(id));
        if (step.summaryBefore) out += "[" + std::to_string(*step.summaryBefore) + "]";
        if (step.list) out += id;
    }
    if (auto count = folder.Finish()) out += "[" + std::to_string(*count) + "]";
    return out;
}

TEST(RunFolding, WorkedExamples) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"AAAAAABC", "AAA[6]BC"},
        {"AAAAAAAX", "AAA[7]X"},                // seven at the start: three listed
        {"BAAAAAAAX", "BAAAA[6]X"},             // seven after one: four listed
        {"AAAB", "AAAB"},                       // nothing skipped, nothing summarised
        {"AAAAB", "AAA[4]B"},                   // one skipped still gets its summary
        {"XAAAAAA", "XAAAA[5]"},                // a run at the end is summarised too
        {"AAAAAABBBBBBBC", "AAA[6]BBBBB[5]C"},  // the record after a summary is not counted
    };
    for (const auto& [ids, rows] : cases) EXPECT_EQ(Fold(ids), rows) << ids;
}

// Rows of every column are in the system-log expected output.
TEST(EventColumns, KeysAndTheOneColumnSummary) {
    EXPECT_EQ(ColumnOfKey("DateTime"), EventColumn::Date);  // the first word in the list wins
    EXPECT_EQ(ColumnOfKey("EventType"), EventColumn::Type);
    EXPECT_EQ(SummaryRow(6, 1), "DUPLICATES,\n");
}

TEST(InsertionStrings, TenOrMoreArePlacedByTheirWholeNumber) {
    std::vector<std::string> strings;
    for (int i = 1; i <= 11; ++i) strings.push_back("s" + std::to_string(i));
    EXPECT_EQ(InsertStrings("%1 %10 %11 %12 %2%", strings), "s1 s10 s11 %12 s2%");
    // Inserted text is not scanned again; the system log's descriptions show
    // inserts beyond the strings kept as written.
    EXPECT_EQ(InsertStrings("%1 %2", {"%2", "x"}), "%2 x");
    EXPECT_EQ(StripControlBreaks("a\r\nb\tc\fd"), "abcd");
}

}  // namespace
}  // namespace kavlo
