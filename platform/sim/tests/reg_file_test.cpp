// .reg files: both headers and encodings, every value form, continuations,
// deletions, merge order, and errors that name file and line.
#include <gtest/gtest.h>

#include "platform/sim/reg_file.h"
#include "platform/sim/sim_registry.h"

namespace kavlo::platform::sim {
namespace {

std::string Utf16File(std::u16string_view text) {
    std::string out = "\xFF\xFE";
    for (char16_t unit : text) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
    return out;
}

class RegFileTest : public ::testing::Test {
protected:
    std::string Apply(std::string_view text, std::string_view label = "t.reg") {
        return ApplyRegFile(text, label, 1252, *store_);
    }
    RegValue Value(RegRoot root, std::string_view key, std::string_view name) {
        auto opened = OpenSimKey(store_, root, key, kKeyRead);
        EXPECT_TRUE(opened.ok()) << key;
        if (!opened) return {};
        auto value = (*opened)->QueryValue(name, 1 << 20);
        EXPECT_TRUE(value.ok()) << key << "\\" << name;
        return value.ok() ? *value : RegValue{};
    }
    bool HasKey(RegRoot root, std::string_view key) { return OpenSimKey(store_, root, key, kKeyRead).ok(); }
    std::vector<std::string> Subkeys(RegRoot root, std::string_view key) {
        std::vector<std::string> names;
        auto opened = OpenSimKey(store_, root, key, kKeyRead);
        if (!opened) return names;
        for (std::uint32_t i = 0;; ++i) {
            auto name = (*opened)->EnumSubkey(i, 255);
            if (!name) break;
            names.push_back(*name);
        }
        return names;
    }
    std::shared_ptr<RegistryStore> store_ = std::make_shared<RegistryStore>();
};

TEST_F(RegFileTest, EveryValueFormInRegedit4) {
    ASSERT_EQ(Apply("REGEDIT4\r\n\r\n"
                    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\r\n"
                    "@=\"default\"\r\n"
                    "\"Text\"=\"C:\\\\Program Files\\\\\\\"x\\\"\"\r\n"
                    "\"Empty\"=\"\"\r\n"
                    "\"Number\"=dword:0000a0b1\r\n"
                    "\"Short\"=dword:7\r\n"
                    "\"Bytes\"=hex:00,ff,10\r\n"
                    "\"NoBytes\"=hex:\r\n"
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
        {"", regtype::kSz, std::string("default\0", 8)},
        {"Text", regtype::kSz, std::string("C:\\Program Files\\\"x\"\0", 21)},
        {"Empty", regtype::kSz, std::string("\0", 1)},
        {"Number", regtype::kDword, std::string("\xb1\xa0\0\0", 4)},
        {"Short", regtype::kDword, std::string("\x07\0\0\0", 4)},
        {"Bytes", regtype::kBinary, std::string("\x00\xff\x10", 3)},
        {"NoBytes", regtype::kBinary, ""},
        {"Expand", regtype::kExpandSz, std::string("%WINDIR%\0", 9)},
        {"Multi", regtype::kMultiSz, std::string("a\0b\0\0", 5)},
        {"Qword", regtype::kQword, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
        {"Odd", 0x100, "\xaa"},
        {"esc\"APED\\", regtype::kSz, std::string("1\0", 2)},
    };
    for (const auto& v : values) {
        const RegValue got = Value(RegRoot::LocalMachine, "SOFTWARE\\Test", v.name);
        EXPECT_EQ(got.type, v.type) << v.name;
        EXPECT_EQ(got.data, v.data) << v.name;
    }
}

TEST_F(RegFileTest, Version5StringTypesInHexAreUtf16) {
    ASSERT_EQ(Apply("Windows Registry Editor Version 5.00\n"
                    "[HKEY_CURRENT_USER\\Environment]\n"
                    "\"TEMP\"=hex(2):25,00,54,00,4d,00,50,00,25,00,e9,00,00,00\n"
                    "\"List\"=hex(7):61,00,00,00,ac,20,00,00,00,00\n"
                    "\"Raw\"=hex:61,00\n"),
              "");
    EXPECT_EQ(Value(RegRoot::CurrentUser, "Environment", "TEMP").data, std::string("%TMP%\xE9\0", 7));
    EXPECT_EQ(Value(RegRoot::CurrentUser, "Environment", "List").data, std::string("a\0\x80\0\0", 5));  // euro sign
    EXPECT_EQ(Value(RegRoot::CurrentUser, "Environment", "Raw").data, std::string("a\0", 2));
}

TEST_F(RegFileTest, Utf16FileWithByteOrderMark) {
    const std::string file = Utf16File(
        u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Caf\u00e9]\r\n"
        u"\"Name\"=\"Ren\u00e9e \u20ac \u4e2d\"\r\n");
    ASSERT_EQ(Apply(file), "");
    // Characters outside code page 1252 become "?", as RegQueryValueExA gives them.
    EXPECT_EQ(Value(RegRoot::LocalMachine, "SOFTWARE\\Caf\xE9", "Name").data, std::string("Ren\xE9"
                                                                                          "e \x80 ?\0",
                                                                                          10));
}

TEST_F(RegFileTest, Version5AsUtf8OrAnsiWithoutByteOrderMark) {
    ASSERT_EQ(Apply("Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A]\n\"u\"=\"\xC3\xA9\"\n"), "");
    EXPECT_EQ(Value(RegRoot::LocalMachine, "A", "u").data, std::string("\xE9\0", 2));
    ASSERT_EQ(Apply("Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\B]\n\"a\"=\"\xE9\"\n"), "");
    EXPECT_EQ(Value(RegRoot::LocalMachine, "B", "a").data, std::string("\xE9\0", 2));
    // REGEDIT4 is ANSI even when the bytes happen to be valid UTF-8.
    ASSERT_EQ(Apply("REGEDIT4\n[HKEY_LOCAL_MACHINE\\C]\n\"a\"=\"\xC3\xA9\"\n"), "");
    EXPECT_EQ(Value(RegRoot::LocalMachine, "C", "a").data, std::string("\xC3\xA9\0", 3));
}

TEST_F(RegFileTest, ContinuationLines) {
    ASSERT_EQ(Apply("REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n"
                    "\"Long\"=hex:01,02,\\\n"
                    "  03,04,\\\n"
                    "\t05\n"
                    "\"Next\"=dword:00000001\n"),
              "");
    EXPECT_EQ(Value(RegRoot::LocalMachine, "K", "Long").data, std::string("\x01\x02\x03\x04\x05", 5));
    EXPECT_EQ(Value(RegRoot::LocalMachine, "K", "Next").data, std::string("\x01\0\0\0", 4));
}

TEST_F(RegFileTest, DeletionsOfKeysAndValues) {
    ASSERT_EQ(Apply("REGEDIT4\n"
                    "[HKEY_LOCAL_MACHINE\\S\\Gone\\Deep]\n\"v\"=\"1\"\n"
                    "[HKEY_LOCAL_MACHINE\\S\\Kept]\n\"a\"=\"1\"\n\"b\"=\"2\"\n"
                    "[-HKEY_LOCAL_MACHINE\\S\\Gone]\n"
                    "[-HKEY_LOCAL_MACHINE\\S\\NeverThere]\n"
                    "[HKEY_LOCAL_MACHINE\\S\\Kept]\n\"A\"=-\n\"missing\"=-\n"),
              "");
    EXPECT_FALSE(HasKey(RegRoot::LocalMachine, "S\\Gone"));
    EXPECT_FALSE(HasKey(RegRoot::LocalMachine, "S\\Gone\\Deep"));
    auto kept = OpenSimKey(store_, RegRoot::LocalMachine, "S\\Kept", kKeyRead);
    ASSERT_TRUE(kept.ok());
    EXPECT_EQ((*kept)->QueryValue("a", 10).error(), err::kFileNotFound);
    EXPECT_EQ((*kept)->EnumValue(0, 100, 100).value().name, "b");
    EXPECT_EQ((*kept)->EnumValue(1, 100, 100).error(), err::kNoMoreItems);
}

TEST_F(RegFileTest, SubkeysInWindowsOrderValuesInCreationOrderCaseOfFirstSpelling) {
    ASSERT_EQ(Apply("REGEDIT4\n[HKEY_LOCAL_MACHINE\\R\\Zeta]\n[HKEY_LOCAL_MACHINE\\R\\alpha]\n"
                    "[HKEY_LOCAL_MACHINE\\r\\ZETA\\x]\n[HKEY_LOCAL_MACHINE\\R\\Mid]\n"
                    "[HKEY_LOCAL_MACHINE\\R\\m_d]\n"),
              "");
    // Names compare in upper case, as NT compares them: "_" (0x5F) comes after "I" (0x49).
    EXPECT_EQ(Subkeys(RegRoot::LocalMachine, "R"), (std::vector<std::string>{"alpha", "Mid", "m_d", "Zeta"}));
    // A value set again keeps its place; a key deleted and created again keeps its order.
    ASSERT_EQ(Apply("REGEDIT4\n[HKEY_LOCAL_MACHINE\\R]\n\"one\"=\"1\"\n\"two\"=\"2\"\n\"ONE\"=\"3\"\n"
                    "[-HKEY_LOCAL_MACHINE\\R\\alpha]\n[HKEY_LOCAL_MACHINE\\R\\Alpha]\n"),
              "");
    EXPECT_EQ(Subkeys(RegRoot::LocalMachine, "R"), (std::vector<std::string>{"Alpha", "Mid", "m_d", "Zeta"}));
    auto r = OpenSimKey(store_, RegRoot::LocalMachine, "R", kKeyRead);
    ASSERT_TRUE(r.ok());
    const NamedRegValue first = (*r)->EnumValue(0, 100, 100).value();
    EXPECT_EQ(first.name, "one");
    EXPECT_EQ(first.value.data, std::string("3\0", 2));
}

TEST_F(RegFileTest, HivesAndTheirViews) {
    ASSERT_EQ(Apply("REGEDIT4\n; comment line\n   ; indented comment\n"
                    "[HKEY_CLASSES_ROOT\\.txt]\n@=\"txtfile\"\n"
                    "[HKEY_USERS\\.DEFAULT\\Software]\n"
                    "[HKEY_CURRENT_CONFIG\\Software]\n"
                    "[hkey_local_machine\\SOFTWARE\\Classes\\.ini]\n"),
              "");
    EXPECT_EQ(Value(RegRoot::LocalMachine, "SOFTWARE\\Classes\\.txt", "").data, std::string("txtfile\0", 8));
    EXPECT_TRUE(HasKey(RegRoot::ClassesRoot, ".ini"));
    EXPECT_TRUE(HasKey(RegRoot::Users, ".DEFAULT\\Software"));
    EXPECT_TRUE(HasKey(RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current\\Software"));
    EXPECT_FALSE(HasKey(RegRoot::CurrentUser, "Software"));
}

struct BadReg {
    const char* text;
    const char* error;
};

class BadRegTest : public ::testing::TestWithParam<BadReg> {};

TEST_P(BadRegTest, NamesFileAndLine) {
    auto store = std::make_shared<RegistryStore>();
    EXPECT_EQ(ApplyRegFile(GetParam().text, "registry/10-x.reg", 1252, *store), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, BadRegTest,
    ::testing::Values(
        BadReg{"",
               "registry/10-x.reg:1: empty file: expected \"REGEDIT4\" or \"Windows Registry Editor Version 5.00\""},
        BadReg{"\n\nREGEDIT5\n",
               "registry/10-x.reg:3: the first line must be \"REGEDIT4\" or \"Windows Registry Editor Version 5.00\""},
        BadReg{"REGEDIT4\n\"a\"=\"1\"\n", "registry/10-x.reg:2: value line outside a key: open a [key] first"},
        BadReg{"REGEDIT4\n[HKEY_NOWHERE\\x]\n",
               "registry/10-x.reg:2: unknown hive \"HKEY_NOWHERE\" (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, "
               "HKEY_CLASSES_ROOT, HKEY_USERS, HKEY_CURRENT_CONFIG)"},
        BadReg{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x\n", "registry/10-x.reg:2: key line without a closing \"]\""},
        BadReg{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x] junk\n", "registry/10-x.reg:2: text after the \"]\" of a key line"},
        BadReg{"REGEDIT4\n[-HKEY_LOCAL_MACHINE]\n", "registry/10-x.reg:2: a hive itself cannot be deleted"},
        BadReg{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\nname=\"1\"\n",
               "registry/10-x.reg:3: expected a [key] line, a \"name\"=value line, @=value or a ; comment"},
        BadReg{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"a=\"1\"\n",
               "registry/10-x.reg:3: expected \"=\" after the value name"},
        BadReg{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"a\"=\"1\n", "registry/10-x.reg:3: string without a closing quote"},
        BadReg{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"a\"=\"1\" trailing\n",
               "registry/10-x.reg:3: text after the closing quote of a string value"},
        BadReg{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"a\"=dword:123456789\n",
               "registry/10-x.reg:3: dword: needs 1 to 8 hex digits"},
        BadReg{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"a\"=dword:\n",
               "registry/10-x.reg:3: dword: needs 1 to 8 hex digits"},
        BadReg{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"a\"=hex:1,2,,3\n",
               "registry/10-x.reg:3: hex data are two-digit bytes separated by commas"},
        BadReg{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"a\"=hex:123\n",
               "registry/10-x.reg:3: hex data are two-digit bytes separated by commas"},
        BadReg{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"a\"=hex(2:00\n",
               "registry/10-x.reg:3: hex(N): needs a hex type number such as hex(2)"},
        BadReg{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"a\"=hex()\n",
               "registry/10-x.reg:3: hex(N): needs a hex type number such as hex(2)"},
        BadReg{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"a\"=hex 00\n", "registry/10-x.reg:3: expected \":\" after hex"},
        BadReg{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"a\"=qword:1\n",
               "registry/10-x.reg:3: unknown value data: expected \"string\", dword:, hex:, hex(N): or -"},
        BadReg{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"a\"=hex:01,\\\n02,\\\n0x\n\"b\"=\"\n",
               "registry/10-x.reg:3: hex data are two-digit bytes separated by commas"},
        BadReg{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"a\"=hex:01,\\\n02\n\"b\"=\"\n",
               "registry/10-x.reg:5: string without a closing quote"},
        BadReg{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n[-HKEY_LOCAL_MACHINE\\x]\n\"a\"=\"1\"\n",
               "registry/10-x.reg:4: value line outside a key: open a [key] first"},
        BadReg{"\xFE\xFFx",
               "registry/10-x.reg:1: UTF-16 big-endian text is not supported (save it as UTF-16LE, UTF-8 or ANSI)"}));

TEST(RegFileLimits, DepthAndNameLengthAsTheRegistryAllows) {
    auto store = std::make_shared<RegistryStore>();
    std::string deep = "REGEDIT4\n[HKEY_LOCAL_MACHINE";
    for (int i = 0; i < 512; ++i) deep += "\\k";
    EXPECT_EQ(ApplyRegFile(deep + "]\n", "d.reg", 1252, *store), "");
    EXPECT_EQ(ApplyRegFile(deep + "\\k]\n", "d.reg", 1252, *store), "d.reg:2: key path deeper than 512 levels");
    const std::string longName(256, 'n');
    EXPECT_EQ(ApplyRegFile("REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + longName + "]\n", "d.reg", 1252, *store),
              "d.reg:2: key name longer than 255 characters: \"" + longName.substr(0, 40) + "...\"");
    EXPECT_EQ(ApplyRegFile("REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"" + std::string(16384, 'v') + "\"=\"\"\n", "d.reg",
                           1252, *store),
              "d.reg:3: value name longer than 16383 characters");
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
