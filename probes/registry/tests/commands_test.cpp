// The registry commands against every backend of the build (see
// engine/testing/backend_fixture.h), each holding the same test keys under
// HKCU\Software\KavloEngineTest; at the end, listings beyond what Windows allows.
#include <gtest/gtest.h>

#include "engine/testing/backend_fixture.h"
#include "engine/testing/script_rig.h"
#include "engine/testing/script_runner.h"

namespace kavlo::test {
namespace {

struct TestValue {
    std::string key;  ///< below the base key, "" for the base itself
    std::string name;
    std::uint32_t type;  ///< kNone: create the key only
    std::string data;    ///< raw bytes as stored
};

std::string Sz(const std::string& text) { return text + std::string(1, '\0'); }

// Values are listed in name order because Wine's registry enumerates values
// sorted by name, Windows in the order they were written; subkeys enumerate
// sorted on both.
void WriteTestKeys(testing::TestBackend& backend) {
    using namespace platform::regtype;
    const TestValue values[] = {
        {"", "", kSz, Sz("default text")},
        {"", "Big", kSz, Sz(std::string(499, 'b'))},  // 500 bytes: over the readers' 400
        {"", "Bin", kBinary, std::string("\x01\xab\xff", 3)},
        {"", "Dword5", kDword, std::string("\x05\x00\x00\x00", 4)},
        {"", "Huge", kSz, Sz(std::string(4999, 'h'))},  // 5000 bytes: over RVAL's 4000
        {"", "Multi", kMultiSz, std::string("one\0two\0\0", 9)},
        {"", "Neg", kDword, std::string("\xff\xff\xff\xff", 4)},
        {"", "Pct", kSz, Sz("50%% %s")},
        {"", "Str", kSz, Sz("hello")},
        {"Empty", "", kNone, {}},
        {"Prod10", "Ver", kSz, Sz("1.0")},
        {"Prod20", "Ver", kSz, Sz("2.0")},
        {"Tree", "Count", kDword, std::string("\x05\x00\x00\x00", 4)},
        {"Tree\\A", "Name", kSz, Sz("a")},
        {"Tree\\A\\A1", "Flag", kBinary, std::string("\x00", 1)},
        {"Tree\\B", "", kNone, {}},
    };
    for (const TestValue& v : values) {
        const std::string key = "Software\\KavloEngineTest" + (v.key.empty() ? "" : "\\" + v.key);
        if (v.type == kNone) backend.AddUserKey(key);
        else backend.SetUserValue(key, v.name, v.type, v.data);
    }
}

class RegistryCommands : public ::testing::TestWithParam<testing::BackendChoice> {
protected:
    void SetUp() override {
        backend_ = GetParam().make();
        WriteTestKeys(*backend_);
    }
    AppContext& context() { return backend_->Context(); }
    platform::Machine& machine() { return context().machine; }
    TitleRecord& Run(std::string_view body, std::string_view kind = "text") {
        runner_ = std::make_unique<testing::ScriptRunner>(context());
        return runner_->RunBody(kind, body);
    }

private:
    std::unique_ptr<testing::TestBackend> backend_;
    std::unique_ptr<testing::ScriptRunner> runner_;
};
INSTANTIATE_TEST_SUITE_P(Backends, RegistryCommands, ::testing::ValuesIn(testing::TestBackends()),
                         testing::BackendName);

constexpr std::string_view kBase = "HKCU\\Software\\KavloEngineTest";

std::string Line(std::string_view command, std::string_view rest) {
    return std::string(command) + std::string(kBase) + std::string(rest);
}

TEST_P(RegistryCommands, ReadRValStrReadsTheFirstStringUpTo400BytesIntoVal1) {
    const std::pair<std::string, std::string> cases[] = {
        {Line("ReadRValStr:", "\\"), "default text"},
        {Line("ReadRValStr:", "\\Neg"), "-1"},
        {Line("ReadRValStr:", "\\Multi"), "one"},
        {Line("ReadRValStr:", "\\Gone"), "Not Present"},
        {Line("ReadRValStr:", "\\Big"), machine().ErrorText(err::kMoreData)},  // 500 bytes
        {Line("ReadRValStr:", "\\Prod2*\\Ver"), "2.0"},
        // the star ends the name: the first key it matches, whatever follows up to "\\"
        {Line("ReadRValStr:", "\\Prod*x\\Ver"), "1.0"},
        {Line("ReadRValStr:", "\\Q*\\Ver"), "Not Present"},
        {"ReadRValStr:HKXX\\Software\\KavloEngineTest\\Str", machine().ErrorText(err::kInvalidHandle)},
    };
    for (const auto& [line, expected] : cases) {
        Run(line);
        EXPECT_EQ(context().val1.stringValue, expected) << line;
    }
}

TEST_P(RegistryCommands, PresenceCommandsSetTheFlag) {
    struct Case {
        std::string line;
        int flag;
    };
    const Case cases[] = {
        {Line("RVALPRESENT:", "\\Str"), 1}, {Line("RVALPRESENT:", "\\Gone"), 0},  {Line("RVALPRESENT:", "\\"), 1},
        {Line("RVALPRESENT:", "\\Big"), 0}, {Line("RKEYPRESENT:", "\\Empty"), 1}, {Line("RKEYPRESENT:", "\\Gone"), 0},
        {Line("RKEYPRESENT:", ""), 1},      {"RKEYPRESENT:HKXX\\Software", 0},
    };
    for (const Case& c : cases) {
        context().presentFlag = 1 - c.flag;
        Run(c.line);
        EXPECT_EQ(context().presentFlag, c.flag) << c.line;
    }
}

// "Big" (500 bytes) fits RVAL's 4000-byte buffer, "Huge" (5000 bytes) does not.
TEST_P(RegistryCommands, RvalWithoutBlock) {
    const std::string body = Line("RVAL:", "\\Str") + "\n" + Line("RVAL:", "\\Dword5") + "\n" +
                             Line("RVAL:", "\\Multi") + "\n" + Line("RVAL:", "\\Gone") + "\n" + Line("RVAL:", "\\Pct") +
                             "\n" + Line("RVAL:", "\\Big") + "\n" + Line("RVAL:", "\\Huge");
    EXPECT_EQ(Run(body).text, "hello\n5\none\ntwo\nNot Present\n50% %s\n" + std::string(499, 'b') + "\n" +
                                  machine().ErrorText(err::kMoreData) + "\n");
}

TEST_P(RegistryCommands, RvalOnlyWritesTextKinds) { EXPECT_EQ(Run(Line("RVAL:", "\\Str"), "tree").text, ""); }

struct MapCase {
    const char* value;
    const char* block;
    const char* expected;
};

TEST_P(RegistryCommands, RvalMappingBlocks) {
    const MapCase cases[] = {
        {"\\Dword5", "1=One\n5=Five\n*=Other", "Five"},
        {"\\Dword5", "15=Fifteen\n5=Five", "Fifteen"},   // the value 5 is contained in "15=Fifteen"
        {"\\Dword5", "RNOTPRESENT:none\n*=Other", "5"},  // present: RNOTPRESENT gives the value
        {"\\Dword5", "*=Other\n5=Five", "Other"},
        {"\\Dword5", "2=Two\n3=Three", "5"},  // no match: the value as read
        {"\\Gone", "RNOTPRESENT:Not installed\n1=Enabled", "Not installed"},
        {"\\Gone", "*=Other\nx=first", "Other"},  // not read: "*" is not taken, but "" is in every line
        {"\\Pct", "RNOTPRESENT:x", "50% %s"},
        {"\\Str", "ell=part\nsay hello=greeting\nhello=exact", "greeting"},
        {"\\Str", "no equals sign hello", "no equals sign hello"},
    };
    for (const MapCase& c : cases) {
        const std::string body =
            Line("RVAL:", c.value) + " {\n" + c.block + (std::string(c.block).empty() ? "" : "\n") + "}\nText:|after";
        EXPECT_EQ(Run(body).text, std::string(c.expected) + "\n|after") << c.value << " / " << c.block;
    }
}

TEST_P(RegistryCommands, RvalBlockWithoutEnd) { EXPECT_EQ(Run(Line("RVAL:", "\\Dword5") + " {\n7=Seven").text, "5\n"); }

TEST_P(RegistryCommands, RkeyExit) {
    const std::string body = Line("RKEYEXIT:", "\\Empty") + "\n" + Line("RKEYEXIT:", "\\Gone");
    EXPECT_EQ(Run(body).text, "Present\n" + machine().ErrorText(err::kFileNotFound));
}

TEST_P(RegistryCommands, CenumrvalShowsOversizedValuesByNameAndGoesOn) {
    // "Huge" (5000 bytes) does not fit the 4000-byte buffer: its name and the
    // more-data text stand in for it, and the values after it follow.
    EXPECT_EQ(Run(Line("CENUMRVAL:", ""), "tree").text,
              ",default text\nBig," + std::string(499, 'b') + "\nBin,0x01 ab ff\nDword5,5\nHuge," +
                  machine().ErrorText(err::kMoreData) + "\nMulti,one\ntwo\nNeg,-1\nPct,50%% %s\nStr,hello\n");
    EXPECT_EQ(Run(Line("CENUMRVAL:", "\\Tree\\A")).text, "Name,a\n");
    EXPECT_EQ(Run(Line("CENUMRVAL:", "\\Empty") + "\n" + Line("CENUMRVAL:", "\\Gone")).text, "");
}

TEST_P(RegistryCommands, TERegListBuildsTheKeyTree) {
    const auto& title = Run(Line("TERegList:", "\\Tree"), "treexp");
    EXPECT_EQ(testing::Outline(title.Root()),
              "T\n"
              "  [D]  HKCU\\Software\\KavloEngineTest\\Tree\n"
              "    [D]  A\n"
              "      [D]  A1\n"
              "        Flag,0x00\n"
              "      Name,a\n"
              "    [D]  B\n"
              "    Count,0x5\n");
}

TEST_P(RegistryCommands, TERegListSubstitutesAndResolves) {
    context().vars2.SetString("KavloEngineTest");
    const auto& title =
        Run("TAddChild:ignored\nTERegList:HKCU\\Software\\<VARS2>\\Pro*\n" + Line("TERegList:", "\\Gone"), "tree");
    // the lister always starts at the root, whatever the current node; a missing key adds nothing
    ASSERT_EQ(title.Root().children().size(), 2u);
    EXPECT_EQ(testing::Outline(*title.Root().children()[1]),
              "[D]  HKCU\\Software\\KavloEngineTest\\Prod10\n  Ver,1.0\n");
}

// ------------------------------------------------------------ beyond what Windows allows

// The key listings on the in-memory machine, whose registry may be deeper than
// 512 levels and hold values over every buffer (data over 1 MiB, a name of
// thousands of characters). Those are shown by name and the listing goes on.
TEST(TERegListDepth, StopsDescendingAt512Levels) {
    testing::ScriptRig rig;
    std::string path = "Software\\Deep";
    for (int i = 0; i < 700; ++i) path += "\\k";
    rig.machine.SetDword(platform::RegRoot::LocalMachine, path, "v", 1);
    const ResultNode* node = &rig.RunTree("TERegList:HKLM\\Software\\Deep").Root();
    std::size_t depth = 0;
    for (; !node->children().empty(); ++depth) node = node->children()[0].get();
    EXPECT_EQ(depth, 512u);
    EXPECT_EQ(node->title(), "[D]  k");
}

TEST(OversizedValues, ListingsNameThemAndGoOn) {
    testing::ScriptRig rig;
    const std::string longName = "L" + std::string(4999, 'n');
    const auto root = platform::RegRoot::LocalMachine;
    rig.machine.SetString(root, "Software\\Big", "Alpha", "a");
    rig.machine.SetString(root, "Software\\Big", "Bulk", std::string((1 << 20) + 1, 'b'));
    rig.machine.SetString(root, "Software\\Big", longName, "l");
    rig.machine.SetString(root, "Software\\Big", "Omega", "o");
    const std::string more = rig.machine.ErrorText(err::kMoreData);
    EXPECT_EQ(rig.RunText("CENUMRVAL:HKLM\\Software\\Big").text,
              "Alpha,a\nBulk," + more + "\n" + longName + "," + more + "\nOmega,o\n");
    const auto& title = rig.RunTree("TERegList:HKLM\\Software\\Big", "treexp");
    ASSERT_EQ(title.Root().children().size(), 1u);
    // The lister reads names up to 400 characters and data up to 400 bytes.
    EXPECT_EQ(testing::ChildTitles(*title.Root().children()[0]),
              (std::vector<std::string>{"Alpha,a", "Bulk," + more, longName + "," + more, "Omega,o"}));
}

}  // namespace
}  // namespace kavlo::test
