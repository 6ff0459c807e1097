// The script catalog: header keywords, title list, title bodies, DBGList.cfg.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "probes/registration.h"
#include "engine/testing/script_rig.h"

namespace kavlo::test {
namespace {

using platform::RegRoot;
using ::testing::ElementsAre;
using namespace kavlo::testing;

// The names of a script's titles, "*" after those whose body was found.
std::string TitleList(const ScriptRecord& file) {
    std::string names;
    for (const auto& t : file.titles) names += (names.empty() ? "" : "|") + t->name + (t->hasBody ? "*" : "");
    return names;
}

std::vector<std::string> FileNames(const std::vector<std::unique_ptr<ScriptRecord>>& files) {
    std::vector<std::string> names;
    for (const auto& f : files) names.push_back(f->fileName);
    return names;
}

constexpr std::string_view kExample =
    "DATE: 05/01/2002\n"
    "VERSION: 1.2\n"
    "ENGINE:0106\n"
    "[TITLE LIST] {\n"
    "Services\n"
    "[OS:NT4.0,NT5.0]Security\n"
    " Padded \n"
    "}\n"
    "[TITLE] {\n"
    "Services\n"
    "treexp,Name,30,State,12\n"
    "TRoot:Name,30,State,12\n"
    "}\n"
    "[TITLE]\n"
    "Security\n"
    "text\n"
    "Text:VERSION: 2\n"
    "}\n";

TEST(Catalog, HeaderKeywordsKeepTheirBlanksAndApplyInsideBodies) {
    ScriptRig rig;
    auto file = rig.Load(kExample);
    EXPECT_EQ(file->date, " 05/01/2002");
    EXPECT_EQ(file->engine, "0106");
    EXPECT_EQ(file->version, " 2");  // set again by the body line "Text:VERSION: 2"
    EXPECT_EQ(file->fileName, "test");
    // One line may set several keywords.
    file = rig.Load("ENGINE: 0106 VERSION: 0105 DATE: 1/2/3\n");
    EXPECT_EQ(file->engine, " 0106 VERSION: 0105 DATE: 1/2/3");
    EXPECT_EQ(file->version, " 0105 DATE: 1/2/3");
    EXPECT_EQ(file->date, " 1/2/3");
}

TEST(Catalog, TitleListHonoursOsTitlesAndKeepsNamesAsWritten) {
    ScriptRig nt(Nt50());
    EXPECT_EQ(TitleList(*nt.Load(kExample)), "Services*|Security*| Padded ");
    ScriptRig win98(Win98());
    auto file = win98.Load(kExample);
    EXPECT_EQ(TitleList(*file), "Services*| Padded ");
    EXPECT_EQ(file->version, " 2");  // the body of "Security" is ignored on 98, but its lines are scanned
}

struct KindCase {
    const char* kindLine;
    const char* kind;
    const char* detail;
    const char* header1;
    const char* header2;
    const char* firstBodyLine;
};

class KindLines : public ::testing::TestWithParam<KindCase> {};

TEST_P(KindLines, ReadTheHeaderLinesTheKindNeeds) {
    const KindCase& c = GetParam();
    ScriptRig rig;
    const std::string script =
        std::string("[TITLE LIST] {\nT\n}\n[TITLE]\nT\n") + c.kindLine + "\nline A\nline B\nline C\n}\n";
    auto file = rig.Load(script);
    const TitleRecord& title = *file->FindTitle("T");
    EXPECT_EQ(title.kind, c.kind);
    EXPECT_EQ(title.kindDetail, c.detail);
    EXPECT_EQ(title.header1, c.header1);
    EXPECT_EQ(title.header2, c.header2);
    EXPECT_EQ(script.substr(title.startOffset, 6), c.firstBodyLine);
    EXPECT_EQ(title.runPending, 1);
}

INSTANTIATE_TEST_SUITE_P(Kinds, KindLines,
                         ::testing::Values(KindCase{"filelist,x", "filelist", "x", "line A", "line B", "line C"},
                                           KindCase{"col,x", "col", "x", "line A", "", "line B"},
                                           KindCase{"filelist", "filelist", "", "", "",
                                                    "line A"},  // no comma: no header lines
                                           KindCase{",filelist", ",filelist", "", "", "", "line A"}));

// A script, the titles it lists and the text that its title "T" gives.
struct BodyCase {
    const char* name;
    const char* script;
    const char* titles;
    const char* text;
};

class TitleBodies : public ::testing::TestWithParam<BodyCase> {};

TEST_P(TitleBodies, AreFoundAndRun) {
    ScriptRig rig;
    auto file = rig.Load(GetParam().script);
    EXPECT_EQ(TitleList(*file), GetParam().titles);
    TitleRecord& title = *file->FindTitle("T");
    ScriptEngine(rig.context, StandardCommandTable()).RunTitle(title);
    EXPECT_EQ(title.text, GetParam().text);
    EXPECT_EQ(title.runPending, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, TitleBodies,
    ::testing::Values(
        BodyCase{"BodiesOfUnlistedTitlesAreIgnored",
                 "[TITLE LIST] {\nT\n}\n[TITLE]\nB\ntext\nText:b\n}\n[TITLE]\nT\ntext\nText:a\n}\n", "T*", "a"},
        BodyCase{"ConsecutiveBodiesAreAllFound",
                 "[TITLE LIST] {\nA\nT\n}\n[TITLE]\nA\ntext\n[TITLE]\nT\ntext\nText:b\n}\n", "A*|T*", "b"},
        BodyCase{"BodyWithoutClosingBraceRunsToTheEndOfTheFile",
                 "[TITLE LIST] {\nT\nB\n}\n[TITLE]\nT\ntext\nText:a\nText:b", "T*|B", "ab"},
        BodyCase{"BodyEndsAtTheFirstUnbalancedClosingBrace",
                 "[TITLE LIST] {\nT\nB\n}\n[TITLE]\nT\ntext\nText:a\n}\n[TITLE]\nB\ntext\nText:b\n}\n", "T*|B*", "a"},
        // A skipped block counts the braces of every line, and the body still ends at its "}".
        BodyCase{"SkippedBlocksCountTheBracesOfEveryLine",
                 "[TITLE LIST] {\nT\nB\n}\n[TITLE]\nT\ntext\nIF VARI1,==,1 {\nText:<{}>\nText:x {\n}\n"
                 "Text:y }\nText:z\n}\n[TITLE]\nB\ntext\nText:b\n}\n",
                 "T*|B*", "z"},
        BodyCase{"BodyWithoutItsName", "[TITLE LIST] {\nT\n}\n[TITLE]", "T", ""},
        BodyCase{"TitleListWithoutClosingBraceEndsAtTheEndOfTheFile", "[TITLE LIST] {\nT\nB", "T|B", ""},
        BodyCase{"ListedTitleWithoutBodyGivesNothing", "[TITLE LIST] {\nT\n}\nText:not a body\n", "T", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Scan, WithoutConfigurationLoadsEveryScriptInNameOrderAndMissingFilesGiveNothing) {
    ScriptRig rig;
    ScriptCatalog catalog(rig.context, StandardCommandTable());
    EXPECT_EQ(catalog.LoadScript(rig.dir().folder() + "/missing.dbg", "missing"), nullptr);
    EXPECT_FALSE(catalog.ReadConfiguration(rig.dir().folder() + "/DBGList.cfg"));
    EXPECT_TRUE(catalog.Scan(rig.dir().folder()).empty());
    EXPECT_TRUE(catalog.Scan(rig.dir().folder() + "/nowhere").empty());
    rig.dir().Write("b.dbg", "");
    rig.dir().Write("A.DBG", "");
    rig.dir().Write("c.dbg", "");
    rig.dir().Write("notes.txt", "");
    std::filesystem::create_directory(std::filesystem::path(rig.dir().folder()) / "dir.dbg");
    EXPECT_THAT(FileNames(catalog.Scan(rig.dir().folder())), ElementsAre("A", "b", "c"));
}

TEST(Scan, ConfigurationNamesFilesExactlyAndCheckEntriesInheritThePresenceFlag) {
    ScriptRig rig;
    rig.machine.AddKey(RegRoot::LocalMachine, "Software\\Acme");
    rig.context.presentFlag = 0;
    for (const char* name :
         {"System.dbg", "Other.dbg", "First.dbg", "Second.dbg", "Third.dbg", "Fifth.dbg", "Late.dbg"})
        rig.dir().Write(name, "");
    rig.dir().Write("DBGList.cfg",
                    "[ALL] {\nsystem.dbg\nOther.dbg   \n}\n"  // "system.dbg" does not select "System.dbg"
                    "[CHECK] {\n"
                    "First.dbg {\n}\n"                                     // flag still 0
                    "Second.dbg {\nRKEYPRESENT:HKLM\\Software\\Acme\n}\n"  // 1
                    "Third.dbg {\n// nothing tested\n}\n"                  // inherits 1
                    "Fourth{{.dbg  {\nRVALPRESENT:HKLM\\Software\\Acme\\Nope\n}\n"
                    "Fifth.dbg {\nIF VARI1,==,5 {\nRKEYPRESENT:HKLM\\Software\\Acme\n}\n}\n"  // IF without a title
                    "}\n"
                    "Late.dbg {\nRKEYPRESENT:HKLM\\Software\\Acme\n}\n");
    EXPECT_THAT(FileNames(ScriptCatalog(rig.context, StandardCommandTable()).Scan(rig.dir().folder())),
                ElementsAre("Other", "Second", "Third"));
}

TEST(ReadConfiguration, AllBlockAndCheckEntryEndAtTheEndOfTheFile) {
    ScriptRig rig;
    rig.context.presentFlag = 1;
    const std::string path = rig.dir().Write("DBGList.cfg", "[ALL]\nA.dbg\n[CHECK]\n");
    EXPECT_THAT(ScriptCatalog(rig.context, StandardCommandTable()).ReadConfiguration(path).value(),
                ElementsAre("A.dbg", "[CHECK]"));
    const std::string path2 = rig.dir().Write("DBGList2.cfg", "[CHECK] {\nB.dbg {\nSetVar:VARS2=x");
    EXPECT_THAT(ScriptCatalog(rig.context, StandardCommandTable()).ReadConfiguration(path2).value(),
                ElementsAre("B.dbg"));
    EXPECT_EQ(rig.context.vars2.stringValue, "x");
}

}  // namespace
}  // namespace kavlo::test
