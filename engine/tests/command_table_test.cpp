#include "engine/command_table.h"

#include <algorithm>
#include <set>
#include <stdexcept>

#include <gtest/gtest.h>

#include "engine/script_engine.h"

namespace kavlo {
namespace {

TEST(CommandTable, NoGroupBNameBeginsAnotherRowsName) {
    // One line runs one command: a group B name that began another row's name
    // would also take (or steal) that row's lines.
    const CommandTable table;
    for (const CommandRow& b : table.rows()) {
        if (b.group != CommandGroup::B) continue;
        for (const CommandRow& other : table.rows()) {
            if (&other == &b) continue;
            EXPECT_FALSE(other.name.substr(0, b.name.size()) == b.name) << b.name << " begins " << other.name;
        }
    }
}

void AnyHandler(CommandCall&) {}

TEST(CommandTable, BindRefusesUnknownNamesNullHandlersAndSilentRows) {
    CommandTable table;
    EXPECT_FALSE(table.Bind("NoSuch:", &AnyHandler));
    EXPECT_FALSE(table.Bind("SetVar:", nullptr));
    EXPECT_FALSE(table.Bind("CFileInfo:", &AnyHandler));
    EXPECT_TRUE(table.Bind("SetVar:", &AnyHandler));
    EXPECT_THROW(table.BindAll({{"SetVar:", &AnyHandler}, {"SetVar", &AnyHandler}}), std::logic_error);
}

TEST(CommandTable, NamesAreUniqueAndCandidatesKeepTableOrderAndCoverEveryRowOnce) {
    const CommandTable table;
    std::set<std::string_view> names;
    for (const CommandRow& row : table.rows()) EXPECT_TRUE(names.insert(row.name).second) << row.name;
    std::size_t total = 0;
    for (auto group : {CommandGroup::A, CommandGroup::A2, CommandGroup::B}) {
        for (int c = 0; c < 256; ++c) {
            const auto candidates = table.Candidates(group, static_cast<unsigned char>(c));
            EXPECT_TRUE(std::is_sorted(candidates.begin(), candidates.end()));
            total += candidates.size();
        }
    }
    EXPECT_EQ(total, kCommandCount);
}

}  // namespace
}  // namespace kavlo
