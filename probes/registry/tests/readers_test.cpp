// Registry path syntax and value formatting (no machine needed).
#include "probes/registry/registry_readers.h"

#include <gtest/gtest.h>

namespace kavlo {
namespace {

using platform::RegRoot;

struct SplitCase {
    const char* path;
    std::optional<RegRoot> root;
    const char* rootWord;
    const char* keyPath;
    const char* valueName;
};

class SplitValuePathCases : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitValuePathCases, SplitsAsTheCommandsDo) {
    const SplitCase& c = GetParam();
    const RegistryPath split = SplitValuePath(c.path);
    EXPECT_EQ(split.root, c.root);
    EXPECT_EQ(split.rootWord, c.rootWord);
    EXPECT_EQ(split.keyPath, c.keyPath);
    EXPECT_EQ(split.valueName, c.valueName);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SplitValuePathCases,
    ::testing::Values(SplitCase{"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\CommonFilesDir",
                                RegRoot::LocalMachine, "HKLM", "Software\\Microsoft\\Windows\\CurrentVersion",
                                "CommonFilesDir"},
                      SplitCase{"HKLM\\Software\\Acme\\", RegRoot::LocalMachine, "HKLM", "Software\\Acme", ""},
                      // every occurrence of the root word goes
                      SplitCase{"HKLM\\Software\\HKLM\\x", RegRoot::LocalMachine, "HKLM", "Software\\", "x"},
                      SplitCase{" HKCU\\Software\\x", RegRoot::CurrentUser, " HKCU", "Software", "x"},
                      SplitCase{"xHKCRy\\.txt\\", RegRoot::ClassesRoot, "xHKCRy", ".txt", ""},
                      SplitCase{"HKLMHKCU\\a\\b", RegRoot::LocalMachine, "HKLMHKCU", "a", "b"},
                      SplitCase{"HKEY_LOCAL_MACHINE\\a\\b", std::nullopt, "HKEY_LOCAL_MACHINE", "a", "b"},
                      SplitCase{"HKLM\\Value", RegRoot::LocalMachine, "HKLM", "", "Value"},
                      SplitCase{"HKLM", std::nullopt, "", "", "KLM"},  // no separator: no root word
                      SplitCase{"", std::nullopt, "", "", ""}));

platform::RegValue Value(std::uint32_t type, std::string data) { return {type, std::move(data)}; }

struct FormatCase {
    const char* name;
    platform::RegValue value;
    bool hexDword;
    bool allStrings;
    std::string expected;
};

class FormatValueTextCases : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatValueTextCases, ByType) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatValueText(c.value, c.hexDword, c.allStrings), c.expected);
}

using namespace platform::regtype;
INSTANTIATE_TEST_SUITE_P(
    Types, FormatValueTextCases,
    ::testing::Values(FormatCase{"DwordHexLarge", Value(kDword, "\xef\xbe\xad\xde"), true, false, "0xdeadbeef"},
                      FormatCase{"DwordShortData", Value(kDword, "\x07"), false, false, "7"},
                      FormatCase{"Binary", Value(kBinary, "\x01\xab\xff"), false, false, "0x01 ab ff"},
                      FormatCase{"BinaryEmpty", Value(kBinary, ""), false, false, "0x"},
                      FormatCase{"MultiUnterminated", Value(kMultiSz, std::string("one\0two", 7)), false, true,
                                 "one\ntwo"},
                      FormatCase{"MultiEmpty", Value(kMultiSz, std::string("\0\0", 2)), false, true, ""},
                      FormatCase{"String", Value(kSz, std::string("abc\0junk", 8)), false, false, "abc"},
                      FormatCase{"StringUnterminated", Value(kSz, "abc"), false, false, "abc"},
                      FormatCase{"ExpandNotExpanded", Value(kExpandSz, std::string("%SystemRoot%\\x\0", 16)), false,
                                 false, "%SystemRoot%\\x"},
                      FormatCase{"Qword", Value(kQword, std::string("\x01\0\0\0\0\0\0\0", 8)), false, false, "\x01"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kavlo
