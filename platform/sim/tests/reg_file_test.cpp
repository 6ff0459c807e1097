// .reg files: both headers and encodings, every value form, continuations,
// deletions, merge order, and errors that name file and line.
#include <gtest/gtest.h>

#include "platform/sim/reg_file.h"
#include "platform/sim/sim_registry.h"

namespace kavlo::platform::sim {
namespace {

using namespace std::string_literals;

class RegFileTest : public ::testing::Test {
protected:
    std::string Apply(std::string_view text) { return ApplyRegFile(text, "t.reg", 1252, *store_); }
    RegValue Value(std::string_view key, std::string_view name) {
        auto opened = OpenSimKey(store_, RegRoot::LocalMachine, key, kKeyRead);
        auto value = opened ? (*opened)->QueryValue(name, 1 << 20) : Result<RegValue>::Failure(opened.error());
        EXPECT_TRUE(value.ok()) << key << "\\" << name << ": error " << value.error();
        return value.ok() ? *value : RegValue{};
    }
    bool HasKey(RegRoot root, std::string_view key) { return OpenSimKey(store_, root, key, kKeyRead).ok(); }
    std::shared_ptr<RegistryStore> store_ = std::make_shared<RegistryStore>();
};

// The default value, an 8-digit dword and hex: bytes are read on every backend
// from platform/tests/data/conformance/registry/conformance.reg.
TEST_F(RegFileTest, EveryValueFormInRegedit4) {
    ASSERT_EQ(Apply("REGEDIT4\r\n\r\n"
                    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\r\n"
                    "\"Text\"=\"C:\\\\Program Files\\\\\\\"x\\\"\"\r\n"
                    "\"Empty\"=\"\"\r\n"
                    "\"Short\"=dword:7\r\n"
                    "\"NoBytes\"=hex:\r\n"
                    "\"Long\"=hex:01,02,\\\r\n"
                    "  03,04,\\\r\n"
                    "\t05\r\n"
                    "\"Expand\"=hex(2):25,57,49,4e,44,49,52,25,00\r\n"
                    "\"Multi\"=hex(7):61,00,62,00,00\r\n"
                    "\"Qword\"=hex(b):01,02,03,04,05,06,07,08\r\n"
                    "\"Odd\"=hex(100):aa\r\n"
                    "\"Esc\\\"aped\\\\\"=\"1\"\r\n"),
              "");
    const struct {
        const char* name;
        std::uint32_t type;
        std::string data;
    } values[] = {
        {"Text", regtype::kSz, "C:\\Program Files\\\"x\"\0"s},
        {"Empty", regtype::kSz, "\0"s},
        {"Short", regtype::kDword, "\x07\0\0\0"s},
        {"NoBytes", regtype::kBinary, ""},
        {"Long", regtype::kBinary, "\x01\x02\x03\x04\x05"},  // continued over three lines
        {"Expand", regtype::kExpandSz, "%WINDIR%\0"s},
        {"Multi", regtype::kMultiSz, "a\0b\0\0"s},
        {"Qword", regtype::kQword, "\x01\x02\x03\x04\x05\x06\x07\x08"},
        {"Odd", 0x100, "\xaa"},
        {"esc\"APED\\", regtype::kSz, "1\0"s},
    };
    for (const auto& v : values) {
        const RegValue got = Value("SOFTWARE\\Test", v.name);
        EXPECT_EQ(got.type, v.type) << v.name;
        EXPECT_EQ(got.data, v.data) << v.name;
    }
}

// Version 5 files are UTF-8 when they read as UTF-8, else ANSI; REGEDIT4 files
// are ANSI. Text reaches the machine in code page 1252, as RegQueryValueExA gives
// it. UTF-16 files with a byte-order mark, names outside the code page and
// hex(2)/hex(7) data in UTF-16 are read on every backend from
// platform/tests/data/conformance/registry.
TEST_F(RegFileTest, HeaderAndByteOrderMarkDecideTheEncoding) {
    const std::string v5 = "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Caf\xC3\xA9]\n";
    const std::string v5Ansi = "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Caf\xE9]\n";
    const std::pair<std::string, std::string> cases[] = {
        {v5 + "\"v\"=\"\xC3\xA9\"\n", "\xE9\0"s},
        {v5Ansi + "\"v\"=\"\xE9\"\n", "\xE9\0"s},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\Caf\xE9]\n\"v\"=\"\xC3\xA9\"\n", "\xC3\xA9\0"s},
        {v5 + "\"v\"=hex:61,00\n", "a\0"s},  // not a string type: bytes as written
    };
    for (const auto& [file, data] : cases) {
        ASSERT_EQ(Apply(file), "");
        EXPECT_EQ(Value("Caf\xE9", "v").data, data) << file;
    }
}

// Subkeys sorted as the answers.reg keys of platform/tests/conformance show, here
// the NT way of comparing in upper case: "_" (0x5F) comes after "I" (0x49). A key
// written again in another case keeps its first spelling, one deleted and created
// again takes its new one; a value set again keeps its place.
TEST_F(RegFileTest, KeysAndValuesWrittenAgainOrDeleted) {
    ASSERT_EQ(Apply("REGEDIT4\n[HKEY_LOCAL_MACHINE\\R\\Mid]\n[HKEY_LOCAL_MACHINE\\R\\m_d]\n"
                    "[HKEY_LOCAL_MACHINE\\r\\MID\\x]\n[HKEY_LOCAL_MACHINE\\R\\alpha]\n"
                    "[HKEY_LOCAL_MACHINE\\R]\n\"one\"=\"1\"\n\"two\"=\"2\"\n\"ONE\"=\"3\"\n\"gone\"=\"4\"\n"),
              "");
    ASSERT_EQ(Apply("REGEDIT4\n[-HKEY_LOCAL_MACHINE\\R\\alpha]\n[HKEY_LOCAL_MACHINE\\R\\Alpha]\n"
                    "[-HKEY_LOCAL_MACHINE\\R\\NeverThere]\n[HKEY_LOCAL_MACHINE\\R]\n\"GONE\"=-\n\"missing\"=-\n"),
              "");
    auto r = OpenSimKey(store_, RegRoot::LocalMachine, "R", kKeyRead);
    ASSERT_TRUE(r.ok());
    const char* subkeys[] = {"Alpha", "Mid", "m_d"};
    for (std::uint32_t i = 0; i < 3; ++i) EXPECT_EQ((*r)->EnumSubkey(i, 255).value(), subkeys[i]);
    EXPECT_EQ((*r)->EnumSubkey(3, 255).error(), err::kNoMoreItems);
    const NamedRegValue first = (*r)->EnumValue(0, 100, 100).value();
    EXPECT_EQ(first.name, "one");
    EXPECT_EQ(first.value.data, "3\0"s);
    EXPECT_EQ((*r)->EnumValue(1, 100, 100).value().name, "two");
    EXPECT_EQ((*r)->EnumValue(2, 100, 100).error(), err::kNoMoreItems);
}

TEST_F(RegFileTest, HivesAndTheirViews) {
    ASSERT_EQ(Apply("REGEDIT4\n   ; indented comment\n"
                    "[HKEY_CURRENT_CONFIG\\Software]\n"
                    "[hkey_local_machine\\SOFTWARE\\Classes\\.ini]\n"),
              "");
    EXPECT_TRUE(HasKey(RegRoot::ClassesRoot, ".ini"));
    EXPECT_TRUE(HasKey(RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current\\Software"));
    EXPECT_FALSE(HasKey(RegRoot::CurrentUser, "Software"));
}

TEST(RegFileErrors, NameFileAndLine) {
    const std::string key = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n";
    const std::string hexData = "3: hex data are two-digit bytes separated by commas";
    const std::string hexType = "3: hex(N): needs a hex type number such as hex(2)";
    // The registry's own limits: 512 levels, 255-character key names, 16383-character value names.
    std::string deep = "REGEDIT4\n[HKEY_LOCAL_MACHINE";
    for (int i = 0; i < 512; ++i) deep += "\\k";
    const std::string longName(256, 'n');
    const std::pair<std::string, std::string> cases[] = {
        {"", "1: empty file: expected \"REGEDIT4\" or \"Windows Registry Editor Version 5.00\""},
        {"\n\nREGEDIT5\n", "3: the first line must be \"REGEDIT4\" or \"Windows Registry Editor Version 5.00\""},
        {"\xFE\xFFx", "1: UTF-16 big-endian text is not supported (save it as UTF-16LE, UTF-8 or ANSI)"},
        {"REGEDIT4\n\"a\"=\"1\"\n", "2: value line outside a key: open a [key] first"},
        {key + "[-HKEY_LOCAL_MACHINE\\x]\n\"a\"=\"1\"\n", "4: value line outside a key: open a [key] first"},
        {"REGEDIT4\n[HKEY_NOWHERE\\x]\n", "2: unknown hive \"HKEY_NOWHERE\" (HKEY_LOCAL_MACHINE, ..."},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x\n", "2: key line without a closing \"]\""},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x] junk\n", "2: text after the \"]\" of a key line"},
        {"REGEDIT4\n[-HKEY_LOCAL_MACHINE]\n", "2: a hive itself cannot be deleted"},
        {key + "name=\"1\"\n", "3: expected a [key] line, a \"name\"=value line, @=value or a ; comment"},
        {key + "\"a=\"1\"\n", "3: expected \"=\" after the value name"},
        {key + "\"a\"=\"1\n", "3: string without a closing quote"},
        {key + "\"a\"=\"1\" trailing\n", "3: text after the closing quote of a string value"},
        {key + "\"a\"=dword:123456789\n", "3: dword: needs 1 to 8 hex digits"},
        {key + "\"a\"=dword:\n", "3: dword: needs 1 to 8 hex digits"},
        {key + "\"a\"=hex:123\n", hexData},
        {key + "\"a\"=hex:01,\\\n02,\\\n0x\n\"b\"=\"\n", hexData},  // a continued value counts from its first line
        {key + "\"a\"=hex:01,\\\n02\n\"b\"=\"\n", "5: string without a closing quote"},
        {key + "\"a\"=hex(2:00\n", hexType},
        {key + "\"a\"=hex 00\n", "3: expected \":\" after hex"},
        {key + "\"a\"=qword:1\n", "3: unknown value data: expected \"string\", dword:, hex:, hex(N): or -"},
        {deep + "\\k]\n", "2: key path deeper than 512 levels"},
        {key + "\"" + std::string(16384, 'v') + "\"=\"\"\n", "3: value name longer than 16383 characters"},
    };
    for (const auto& [text, error] : cases) {
        auto store = std::make_shared<RegistryStore>();
        // An error written ending in "..." is compared up to there, without the list of hives.
        const std::string expected = "registry/10-x.reg:" + error.substr(0, error.find("..."));
        const std::string got = ApplyRegFile(text, "registry/10-x.reg", 1252, *store);
        EXPECT_EQ(error.ends_with("...") ? got.substr(0, expected.size()) : got, expected) << text.substr(0, 80);
    }
    auto store = std::make_shared<RegistryStore>();
    EXPECT_EQ(ApplyRegFile(deep + "]\n", "d.reg", 1252, *store), "");
    EXPECT_EQ(ApplyRegFile("REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + longName + "]\n", "d.reg", 1252, *store),
              "d.reg:2: key name longer than 255 characters: \"" + longName.substr(0, 40) + "...\"");
}

TEST(RegFileLimits, DeepTreesAreReleasedWithoutRecursion) {
    auto store = std::make_shared<RegistryStore>();
    RegistryNode* node = store->Root(RegRoot::LocalMachine);
    for (int i = 0; i < 100000; ++i) node = &node->GetOrAddChild(u"k");
    store->Remove(RegRoot::LocalMachine, u"k");  // would overflow the stack if destroyed recursively
    EXPECT_EQ(store->Find(RegRoot::LocalMachine, u"k"), nullptr);
}

}  // namespace
}  // namespace kavlo::platform::sim
