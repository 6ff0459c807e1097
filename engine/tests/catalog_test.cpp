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

std::vector<std::string> TitleNames(const ScriptRecord& file) {
    std::vector<std::string> names;
    for (const auto& t : file.titles) names.push_back(t->name);
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
}

TEST(Catalog, OneLineMaySetSeveralKeywords) {
    ScriptRig rig;
    auto file = rig.Load("ENGINE: 0106 VERSION: 0105 DATE: 1/2/3\n");
    EXPECT_EQ(file->engine, " 0106 VERSION: 0105 DATE: 1/2/3");
    EXPECT_EQ(file->version, " 0105 DATE: 1/2/3");
    EXPECT_EQ(file->date, " 1/2/3");
}

TEST(Catalog, TitleListHonoursOsTitlesAndKeepsNamesAsWritten) {
    ScriptRig nt(Nt50());
    EXPECT_THAT(TitleNames(*nt.Load(kExample)), ElementsAre("Services", "Security", " Padded "));
    ScriptRig win98(Win98());
    auto file = win98.Load(kExample);
    EXPECT_THAT(TitleNames(*file), ElementsAre("Services", " Padded "));
    EXPECT_EQ(file->FindTitle("Security"), nullptr);
    EXPECT_EQ(file->version, " 2");  // the body of "Security" is ignored on 98, but its lines are scanned
}

TEST(Catalog, TitlesStartPendingAndBodiesRecordKindAndOffset) {
    ScriptRig rig;
    auto file = rig.Load(kExample);
    const TitleRecord& services = *file->FindTitle("Services");
    EXPECT_EQ(services.runPending, 1);
    EXPECT_TRUE(services.hasBody);
    EXPECT_EQ(services.kind, "treexp");
    EXPECT_EQ(services.kindDetail, "Name,30,State,12");
    EXPECT_EQ(std::string(kExample).substr(services.startOffset, 22), "TRoot:Name,30,State,12");
    EXPECT_FALSE(file->FindTitle(" Padded ")->hasBody);
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
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, KindLines,
    ::testing::Values(KindCase{"text", "text", "", "", "", "line A"},
                      KindCase{"treexp,Name,20,Size,10", "treexp", "Name,20,Size,10", "", "", "line A"},
                      KindCase{"filelist,x", "filelist", "x", "line A", "line B", "line C"},
                      KindCase{"col,x", "col", "x", "line A", "", "line B"},
                      KindCase{"filelist", "filelist", "", "", "", "line A"},  // no comma: no header lines
                      KindCase{",filelist", ",filelist", "", "", "", "line A"}));

TEST(Catalog, BodiesOfUnlistedTitlesAreIgnored) {
    ScriptRig rig;
    auto file = rig.Load("[TITLE LIST] {\nA\n}\n[TITLE]\nB\ntext\nText:b\n}\n[TITLE]\nA\ntext\nText:a\n}\n");
    ASSERT_THAT(TitleNames(*file), ElementsAre("A"));
    TitleRecord& a = *file->FindTitle("A");
    ScriptEngine(rig.context, StandardCommandTable()).RunTitle(a);
    EXPECT_EQ(a.text, "a");
}

TEST(Catalog, TitleBodyAtTheEndOfTheFile) {
    ScriptRig rig;
    auto atEnd = rig.Load("[TITLE LIST] {\nA\nB\n}\n[TITLE]\nA\ntext");
    EXPECT_TRUE(atEnd->FindTitle("A")->hasBody);
    TitleRecord& a = *atEnd->FindTitle("A");
    ScriptEngine(rig.context, StandardCommandTable()).RunTitle(a);
    EXPECT_EQ(a.text, "");
    auto noName = rig.Load("[TITLE LIST] {\nA\n}\n[TITLE]");
    EXPECT_FALSE(noName->FindTitle("A")->hasBody);
}

TEST(Catalog, TitleListWithoutClosingBraceEndsAtTheEndOfTheFile) {
    ScriptRig rig;
    EXPECT_THAT(TitleNames(*rig.Load("[TITLE LIST] {\nA\nB")), ElementsAre("A", "B"));
}

TEST(Catalog, ConsecutiveBodiesAreAllFound) {
    ScriptRig rig;
    auto file = rig.Load("[TITLE LIST] {\nA\nB\n}\n[TITLE]\nA\ntext\n[TITLE]\nB\ntext\nText:b\n}\n");
    EXPECT_TRUE(file->FindTitle("A")->hasBody);
    TitleRecord& b = *file->FindTitle("B");
    ScriptEngine(rig.context, StandardCommandTable()).RunTitle(b);
    EXPECT_EQ(b.text, "b");
}

TEST(Catalog, UnreadableScriptRecordsNothing) {
    ScriptRig rig;
    EXPECT_EQ(
        ScriptCatalog(rig.context, StandardCommandTable()).LoadScript(rig.dir().folder() + "/missing.dbg", "missing"),
        nullptr);
}

// ---------------------------------------------------------------- Scan

TEST(Scan, WithoutConfigurationLoadsEveryScriptInNameOrder) {
    ScriptRig rig;
    rig.dir().Write("b.dbg", "");
    rig.dir().Write("A.DBG", "");
    rig.dir().Write("c.dbg", "");
    rig.dir().Write("notes.txt", "");
    std::filesystem::create_directory(std::filesystem::path(rig.dir().folder()) / "dir.dbg");
    EXPECT_THAT(FileNames(ScriptCatalog(rig.context, StandardCommandTable()).Scan(rig.dir().folder())),
                ElementsAre("A", "b", "c"));
}

TEST(Scan, EmptyOrMissingDirectoryGivesAnEmptyCatalog) {
    ScriptRig rig;
    EXPECT_TRUE(ScriptCatalog(rig.context, StandardCommandTable()).Scan(rig.dir().folder()).empty());
    EXPECT_TRUE(ScriptCatalog(rig.context, StandardCommandTable()).Scan(rig.dir().folder() + "/nowhere").empty());
}

TEST(Scan, ConfigurationNamesFilesExactly) {
    ScriptRig rig;
    rig.machine.AddKey(RegRoot::LocalMachine, "Software\\Acme\\Antivirus");
    rig.dir().Write("System.dbg", "");
    rig.dir().Write("Antivirus.dbg", "");
    rig.dir().Write("Remote.dbg", "");
    rig.dir().Write("Other.dbg", "");
    rig.dir().Write("DBGList.cfg",
                    "[ALL] {\nsystem.dbg\nOther.dbg   \n}\n"
                    "[CHECK] {\n"
                    "Antivirus.dbg {\nRKEYPRESENT:HKLM\\Software\\Acme\\Antivirus\n}\n"
                    "Remote.dbg {\nRKEYPRESENT:HKLM\\Software\\Acme\\Remote\n}\n"
                    "}\n");
    // "system.dbg" does not select "System.dbg".
    EXPECT_THAT(FileNames(ScriptCatalog(rig.context, StandardCommandTable()).Scan(rig.dir().folder())),
                ElementsAre("Antivirus", "Other"));
}

TEST(ReadConfiguration, CheckEntriesInheritThePresenceFlag) {
    ScriptRig rig;
    rig.machine.AddKey(RegRoot::LocalMachine, "Software\\Acme");
    rig.context.presentFlag = 0;
    const std::string path = rig.dir().Write("DBGList.cfg",
                                             "[CHECK] {\n"
                                             "First.dbg {\n}\n"                                     // flag still 0
                                             "Second.dbg {\nRKEYPRESENT:HKLM\\Software\\Acme\n}\n"  // 1
                                             "Third.dbg {\n// nothing tested\n}\n"                  // inherits 1
                                             "Fourth{{.dbg  {\nRVALPRESENT:HKLM\\Software\\Acme\\Nope\n}\n"
                                             "Fifth.dbg {\nIF VARI1,==,5 {\nRKEYPRESENT:HKLM\\Software\\Acme\n}\n}\n"
                                             "}\n"
                                             "Late.dbg {\nRKEYPRESENT:HKLM\\Software\\Acme\n}\n");
    const auto list = ScriptCatalog(rig.context, StandardCommandTable()).ReadConfiguration(path);
    ASSERT_TRUE(list);
    EXPECT_THAT(*list, ElementsAre("Second.dbg", "Third.dbg"));
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

TEST(ReadConfiguration, MissingFileIsAbsent) {
    ScriptRig rig;
    EXPECT_FALSE(
        ScriptCatalog(rig.context, StandardCommandTable()).ReadConfiguration(rig.dir().folder() + "/DBGList.cfg"));
}

}  // namespace
}  // namespace kavlo::test
