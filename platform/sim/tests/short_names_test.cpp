// 8.3 names: which names are short already and how others are made. The
// pattern rules of FindFiles are checked on the machine (file_system_test.cpp).
#include <gtest/gtest.h>

#include "platform/sim/short_names.h"

namespace kavlo::platform::sim {
namespace {

TEST(ShortNames, WhichNamesAreShortAlready) {
    for (const char* name : {"KERNEL32.DLL", "system32", "A", "ABC~1.T_T"}) EXPECT_TRUE(IsShortName(name)) << name;
    for (const char* name :
         {"Program Files", "toolongname.txt", "a.html", "a.b.c", "a+b.txt", ".profile", "name.", "."})
        EXPECT_FALSE(IsShortName(name)) << name;
}

TEST(ShortNames, GeneratedAsNtfsDoesWithTheLowestFreeNumber) {
    const std::pair<const char*, const char*> fresh[] = {
        {"Documents and Settings", "DOCUME~1"},     {"a+b=c.txt", "A_B_C~1.TXT"}, {".htaccess", "HTACCE~1"},
        {"my.long.file.name.text", "MYLONG~1.TEX"}, {"KERNEL32.DLL", ""},
    };
    for (const auto& [name, shortName] : fresh) EXPECT_EQ(ShortNameAllocator().Generate(name), shortName) << name;
    ShortNameAllocator names;
    names.Reserve("PROGRA~2");
    EXPECT_EQ(names.Generate("Program Files"), "PROGRA~1");
    EXPECT_EQ(names.Generate("Program Data"), "PROGRA~3");  // ~2 is given to another file
    for (int i = 4; i <= 9; ++i) names.Reserve("PROGRA~" + std::to_string(i));
    EXPECT_EQ(names.Generate("Program Group"), "PROGR~10");
    EXPECT_EQ(names.Generate("Program Notes.txt"), "PROGRA~1.TXT");  // another extension counts apart
}

}  // namespace
}  // namespace kavlo::platform::sim
