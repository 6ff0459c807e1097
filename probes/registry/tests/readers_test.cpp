// Registry path syntax and value formatting (no machine needed).
#include "probes/registry/registry_readers.h"

#include <gtest/gtest.h>

namespace kavlo {
namespace {

using platform::RegRoot;

TEST(SplitValuePath, SplitsAsTheCommandsDo) {
    struct Case {
        const char* path;
        std::optional<RegRoot> root;
        const char* rootWord;
        const char* keyPath;
        const char* valueName;
    };
    const Case cases[] = {
        // (ordinary paths and the default value's are in the registry commands' tests)
        // every occurrence of the root word goes
        {"HKLM\\Software\\HKLM\\x", RegRoot::LocalMachine, "HKLM", "Software\\", "x"},
        {" HKCU\\Software\\x", RegRoot::CurrentUser, " HKCU", "Software", "x"},
        {"xHKCRy\\.txt\\", RegRoot::ClassesRoot, "xHKCRy", ".txt", ""},
        {"HKLMHKCU\\a\\b", RegRoot::LocalMachine, "HKLMHKCU", "a", "b"},
        {"HKEY_LOCAL_MACHINE\\a\\b", std::nullopt, "HKEY_LOCAL_MACHINE", "a", "b"},
        {"HKLM\\Value", RegRoot::LocalMachine, "HKLM", "", "Value"},
        {"HKLM", std::nullopt, "", "", "KLM"},  // no separator: no root word
        {"", std::nullopt, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const RegistryPath split = SplitValuePath(c.path);
        EXPECT_EQ(split.root, c.root);
        EXPECT_EQ(split.rootWord, c.rootWord);
        EXPECT_EQ(split.keyPath, c.keyPath);
        EXPECT_EQ(split.valueName, c.valueName);
    }
}

TEST(FormatValueText, ByType) {
    using namespace platform::regtype;
    struct Case {
        platform::RegValue value;
        bool hexDword;
        bool allStrings;
        std::string expected;
    };
    const Case cases[] = {
        {{kDword, "\xef\xbe\xad\xde"}, true, false, "0xdeadbeef"},
        {{kDword, "\x07"}, false, false, "7"},  // short data
        // (ordinary values of every type are in the registry commands' listings)
        {{kBinary, ""}, false, false, "0x"},
        {{kMultiSz, std::string("one\0two", 7)}, false, true, "one\ntwo"},  // unterminated
        {{kMultiSz, std::string("\0\0", 2)}, false, true, ""},
        {{kSz, std::string("abc\0junk", 8)}, false, false, "abc"},
        {{kSz, "abc"}, false, false, "abc"},                                                   // unterminated
        {{kExpandSz, std::string("%SystemRoot%\\x\0", 16)}, false, false, "%SystemRoot%\\x"},  // not expanded
        {{kQword, std::string("\x01\0\0\0\0\0\0\0", 8)}, false, false, "\x01"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatValueText(c.value, c.hexDword, c.allStrings), c.expected) << c.value.type << " " << c.expected;
}

}  // namespace
}  // namespace kavlo
