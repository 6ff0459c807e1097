#include "engine/command_table.h"

#include <stdexcept>

#include <gtest/gtest.h>

namespace kavlo {
namespace {

void AnyHandler(CommandCall&) {}

TEST(CommandTable, BindRefusesUnknownNamesNullHandlersAndSilentRows) {
    CommandTable table;
    EXPECT_FALSE(table.Bind("NoSuch:", &AnyHandler));
    EXPECT_FALSE(table.Bind("SetVar:", nullptr));
    EXPECT_FALSE(table.Bind("CFileInfo:", &AnyHandler));
    EXPECT_TRUE(table.Bind("SetVar:", &AnyHandler));
    EXPECT_THROW(table.BindAll({{"SetVar:", &AnyHandler}, {"SetVar", &AnyHandler}}), std::logic_error);
}

}  // namespace
}  // namespace kavlo
