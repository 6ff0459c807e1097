// The report document: new, save (gathering first), open, names, contact information.
#include <gtest/gtest.h>

#include "probes/registration.h"
#include "engine/script_engine.h"
#include "document/report_document.h"
#include "report/tests/archive_bytes.h"
#include "document/tests/doc_machine.h"
#include "platform/testing/temp_folder.h"

namespace kavlo {
namespace {

using kavlo::testing::ReadAll;
using kavlo::testing::TempFolder;
using kavlo::testing::WriteAll;
using platform::RegRoot;
using report::testing::DocMachine;

constexpr const char* kScript =
    "DATE: 05/01/2002\n"
    "VERSION: 0105\n"
    "ENGINE:0106\n"
    "[TITLE LIST] {\n"
    "Notes\n"
    "Services\n"
    "}\n"
    "[TITLE] {\n"
    "Notes\n"
    "text\n"
    "TextLine:gathered\n"
    "}\n"
    "[TITLE] {\n"
    "Services\n"
    "treexptxt,Name,20\n"
    "TAddChild:[D] Running\n"
    "TAddChild:[D] Spooler\n"
    "}\n";

OsInfo Windows2000() {
    return {"NT5.0", "Windows 2000 Professional  Workstation  build 2195 Service Pack 2", 50, true};
}

class DocTest : public ::testing::Test {
protected:
    DocTest() : context(machine, Windows2000(), "C:\\") {
        WriteAll(scripts.File("Base.dbg"), kScript);
        WriteAll(scripts.File("Extra.dbg"), "[TITLE LIST] {\nOnly\n}\n[TITLE] {\nOnly\ntext\nText:x\n}\n");
    }

    std::string InfoPageFor(const std::string& path, const std::string& contact, const std::string& tail) {
        return "Current Date: 03/14/01 21:05:00\n\nKavlo version 1.50  Build 35\nDBG Engine version 1.6\n"
               "Execution path: " +
               path + "\n\n" + contact +
               "\n\nOS: Windows 2000 Professional  Workstation  build 2195 Service Pack 2\n\n"
               "Computer Name: OFFICE7\n" +
               tail;
    }

    DocMachine machine;
    AppContext context;
    TempFolder scripts;
    TempFolder out;
};

TEST_F(DocTest, NewDocumentCataloguesAndBuildsTheModel) {
    ReportDocument doc(context, StandardCommandTable());
    doc.NewDocument(scripts.folder());
    EXPECT_TRUE(doc.fresh());
    EXPECT_EQ(doc.computerLabel(), "OFFICE7  [local computer]");
    EXPECT_EQ(doc.RootLabel(), "OFFICE7  [local computer]");
    ASSERT_EQ(doc.catalog().size(), 2u);
    EXPECT_EQ(doc.CountTitles(), 3u);
    EXPECT_EQ(doc.navigation().children().size(), 2u);
    const report::KeyTarget target = doc.FindTitleByKey(doc.navigation().children()[0]->children()[1]->key());
    ASSERT_NE(target.title, nullptr);
    EXPECT_EQ(target.title->name, "Services");
    EXPECT_EQ(target.title->runPending, 1) << "nothing is gathered before it is needed";
    EXPECT_EQ(doc.infoPage().text, InfoPageFor(scripts.folder(), "Contact information:\n", "\n"));
    EXPECT_EQ(doc.infoPage().kind, "text");
    EXPECT_EQ(doc.infoPage().runPending, 0);
    EXPECT_EQ(context.executionPath, scripts.folder());
}

TEST_F(DocTest, ComputerLabelIsEmptyWhenSocketsFail) {
    machine.hostName.reset();
    ReportDocument doc(context, StandardCommandTable());
    doc.NewDocument(scripts.folder());
    EXPECT_EQ(doc.computerLabel(), "");
    EXPECT_EQ(doc.navigation().Text(), "");
}

TEST_F(DocTest, InfoPageProbesAndLogonOnlyOnNt40And50) {
    struct Case {
        int code;
        bool logon;
    };
    for (const Case& c :
         {Case{40, true}, Case{50, true}, Case{351, true}, Case{51, false}, Case{95, false}, Case{300, false}}) {
        SCOPED_TRACE(c.code);
        context.os.code = c.code;
        ReportDocument doc(context, StandardCommandTable());
        doc.SetInfoPageProbes({[](AppContext&, TitleRecord& page) { page.AppendText("CPU: x86"); },
                               [](AppContext&, TitleRecord& page) { page.AppendText("User: ann"); }});
        doc.NewDocument(scripts.folder());
        const std::string& text = doc.infoPage().text;
        EXPECT_NE(text.find("OS: Windows 2000 Professional  Workstation  build 2195 Service Pack 2\nCPU: x86\n"
                            "Computer Name: OFFICE7\n"),
                  std::string::npos);
        EXPECT_EQ(text.find("User: ann") != std::string::npos, c.logon);
        const std::string tail =
            c.logon ? "CPU: x86\nComputer Name: OFFICE7\nUser: ann\n" : "CPU: x86\nComputer Name: OFFICE7\n";
        ASSERT_GE(text.size(), tail.size());
        EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    }
}

TEST_F(DocTest, ReportFileNameFromComputerNameAndClock) {
    ReportDocument doc(context, StandardCommandTable());
    EXPECT_EQ(doc.ReportFileName(), "OFFICE7 03_14_2001 09_05_PM.IFO");
    machine.now = {2001, 12, 1, 0, 7, 0, 6};
    EXPECT_EQ(doc.ReportFileName(), "OFFICE7 12_01_2001 12_07_AM.IFO");
    EXPECT_EQ(doc.DocumentTitle("r.IFO"),
              "r.IFO   OS: Windows 2000 Professional  Workstation  build 2195 Service Pack 2");
}

TEST_F(DocTest, SaveGathersEveryTitleInOrderThenWrites) {
    ReportDocument doc(context, StandardCommandTable());
    doc.NewDocument(scripts.folder());
    std::vector<std::string> steps;
    std::size_t reportedTotal = 0;
    const std::string path = out.File("r.IFO");
    const report::FileOutcome outcome =
        doc.Save(path, [&](std::size_t step, std::size_t total, const std::string& text) {
            EXPECT_EQ(step, steps.size());
            reportedTotal = total;
            steps.push_back(text);
        });
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(steps, (std::vector<std::string>{"Base - Notes", "Base - Services", "Extra - Only"}));
    EXPECT_EQ(reportedTotal, 3u);
    const TitleRecord& notes = *doc.catalog()[0]->titles[0];
    EXPECT_EQ(notes.runPending, 0);
    EXPECT_EQ(notes.text, "gathered\n");
    EXPECT_EQ(doc.catalog()[0]->titles[1]->root.CountNodes(), 3u);
    EXPECT_EQ(ReadAll(path), report::testing::Write(doc.contents()));
}

TEST_F(DocTest, OpenRepairsKeysAndShowsTheFileLabel) {
    const std::string path = out.File("r.IFO");
    {
        ReportDocument doc(context, StandardCommandTable());
        doc.NewDocument(scripts.folder());
        ASSERT_TRUE(doc.Save(path).ok);
    }
    ReportDocument doc(context, StandardCommandTable());
    const report::FileOutcome outcome = doc.Open(path);
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_FALSE(doc.fresh());
    EXPECT_EQ(doc.RootLabel(), "OFFICE7  [file]");
    const NavNode& services = *doc.navigation().children()[0]->children()[1];
    const report::KeyTarget target = doc.FindTitleByKey(services.key());
    ASSERT_NE(target.title, nullptr);
    EXPECT_EQ(target.title->name, "Services");
    EXPECT_EQ(target.title->root.CountNodes(), 3u);
    EXPECT_EQ(doc.formatVersion(), 306u);
}

TEST_F(DocTest, ReSavingAnOpenedReportKeepsItsContent) {
    const std::string first = out.File("customer.IFO");
    {
        ReportDocument doc(context, StandardCommandTable());
        doc.NewDocument(scripts.folder());
        ASSERT_TRUE(doc.Save(first).ok);
    }
    // the engineer's machine would gather something else
    WriteAll(scripts.File("Base.dbg"), std::string(kScript).replace(std::string(kScript).find("gathered"), 8, "local"));
    machine.now = {2005, 1, 1, 8, 0, 0, 6};
    ReportDocument doc(context, StandardCommandTable());
    ASSERT_TRUE(doc.Open(first).ok);
    const std::string second = out.File("copy.IFO");
    bool progressed = false;
    ASSERT_TRUE(doc.Save(second, [&](std::size_t, std::size_t, const std::string&) { progressed = true; }).ok);
    EXPECT_FALSE(progressed);
    ReportDocument copy(context, StandardCommandTable());
    ASSERT_TRUE(copy.Open(second).ok);
    EXPECT_EQ(copy.catalog()[0]->titles[0]->text, "gathered\n");
    EXPECT_NE(copy.infoPage().text.find("Current Date: 03/14/01"), std::string::npos);
}

TEST_F(DocTest, FailedOpenKeepsTheDocumentAndGivesTheMessage) {
    ReportDocument doc(context, StandardCommandTable());
    doc.NewDocument(scripts.folder());
    const std::size_t titles = doc.CountTitles();
    const std::size_t scriptNodes = doc.navigation().children().size();
    ASSERT_GT(titles, 0u);
    WriteAll(out.File("bad.IFO"), "\x32\x01\x00\x00\x23\x00\x00\x00\x05PC");
    const report::FileOutcome outcome = doc.Open(out.File("bad.IFO"));
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "Unexpected file format.");
    EXPECT_EQ(doc.CountTitles(), titles) << "the report being viewed stays";
    EXPECT_EQ(doc.navigation().children().size(), scriptNodes);
    EXPECT_TRUE(doc.fresh());
    EXPECT_EQ(doc.Open(out.File("none.IFO")).message,
              out.File("none.IFO") +
                  "\nCannot find this file.\nPlease verify that the correct path and file name are given.");
}

TEST_F(DocTest, EmptyCatalogSavesWithoutProgress) {
    TempFolder empty;
    ReportDocument doc(context, StandardCommandTable());
    doc.NewDocument(empty.folder());
    bool progressed = false;
    ASSERT_TRUE(
        doc.Save(out.File("e.IFO"), [&](std::size_t, std::size_t, const std::string&) { progressed = true; }).ok);
    EXPECT_FALSE(progressed);
    const std::string bytes = ReadAll(out.File("e.IFO"));
    EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string(2, '\0'));
}

TEST_F(DocTest, SaveThenCompressThenOpen) {
    ReportDocument doc(context, StandardCommandTable());
    doc.NewDocument(scripts.folder());
    const std::string path = out.File(doc.ReportFileName());
    ASSERT_TRUE(doc.Save(path).ok);
    std::string gzPath;
    ASSERT_TRUE(ReportDocument::Compress(path, &gzPath).ok);
    EXPECT_EQ(out.Names(), std::set<std::string>{"OFFICE7 03_14_2001 09_05_PM.IFO.gz"});
    ReportDocument opened(context, StandardCommandTable());
    ASSERT_TRUE(opened.Open(gzPath).ok);
    EXPECT_EQ(report::testing::Write(opened.contents()).size(), report::testing::Write(doc.contents()).size());
}

// ------------------------------------------------------------ contact information

TEST(ContactBlock, OneLinePerNonEmptyField) {
    report::ContactInfo contact;
    std::string text;
    report::AppendContactBlock(text, contact);
    EXPECT_EQ(text, "Contact information:\n");
    contact = {"C-17", "Ann", "", "ann@example.com", "Crashes\r\nat start"};
    text = "x";
    report::AppendContactBlock(text, contact);
    EXPECT_EQ(text,
              "xContact information:\nCase #: C-17\nName: Ann\nEMail: ann@example.com\nIssue: Crashes\r\nat start\n");
}

class ContactStoreTest : public ::testing::Test {
protected:
    DocMachine machine;
    const report::ContactInfo ann{"C-17", "Ann", "555", "ann@example.com", "It crashes"};
};

TEST_F(ContactStoreTest, StoredBelowTheMachineKeyWithoutTerminators) {
    ASSERT_TRUE(report::StoreContactInfo(machine, ann).ok());
    auto key = machine.OpenKey(RegRoot::LocalMachine, "SOFTWARE\\Quorvane\\KAVLO", platform::kKeyRead);
    ASSERT_TRUE(key.ok());
    const auto value = (*key)->QueryValue("EMail", 400);
    ASSERT_TRUE(value.ok());
    EXPECT_EQ(value->type, platform::regtype::kSz);
    EXPECT_EQ(value->data, "ann@example.com");
    EXPECT_FALSE(machine.OpenKey(RegRoot::CurrentUser, "SOFTWARE\\Quorvane\\KAVLO", platform::kKeyRead).ok());
    report::ContactInfo back;
    report::LoadContactInfo(machine, back);
    EXPECT_EQ(back.issue, "It crashes");
    EXPECT_EQ(back.caseNumber, "C-17");
}

TEST_F(ContactStoreTest, FallsBackToTheUserKeyAndLoadingPrefersIt) {
    machine.SetString(RegRoot::LocalMachine, "SOFTWARE\\Quorvane\\KAVLO", "Name", "Old admin entry");
    machine.readOnlyRoots.insert(RegRoot::LocalMachine);
    ASSERT_TRUE(report::StoreContactInfo(machine, ann).ok());
    report::ContactInfo back;
    report::LoadContactInfo(machine, back);
    EXPECT_EQ(back.name, "Ann");
    EXPECT_EQ(back.phone, "555");
}

TEST_F(ContactStoreTest, AnExistingUserCopyIsKeptCurrent) {
    machine.SetString(RegRoot::CurrentUser, "SOFTWARE\\Quorvane\\KAVLO", "Name", "Stale");
    ASSERT_TRUE(report::StoreContactInfo(machine, ann).ok());
    report::ContactInfo back;
    report::LoadContactInfo(machine, back);
    EXPECT_EQ(back.name, "Ann");
}

TEST_F(ContactStoreTest, NowhereToWriteFails) {
    machine.readOnlyRoots = {RegRoot::LocalMachine, RegRoot::CurrentUser};
    EXPECT_FALSE(report::StoreContactInfo(machine, ann).ok());
}

TEST_F(ContactStoreTest, LoadingKeepsFieldsThatAreMissingOrTooLong) {
    machine.SetString(RegRoot::LocalMachine, "SOFTWARE\\Quorvane\\KAVLO", "Name", std::string("Bob\0tail", 8));
    machine.SetString(RegRoot::LocalMachine, "SOFTWARE\\Quorvane\\KAVLO", "Issue", std::string(500, 'x'));
    report::ContactInfo contact{"keep", "", "keep", "keep", "keep"};
    report::LoadContactInfo(machine, contact);
    EXPECT_EQ(contact.name, "Bob");
    EXPECT_EQ(contact.caseNumber, "keep");
    EXPECT_EQ(contact.issue, "keep");
}

TEST_F(ContactStoreTest, UnopenableKeyLeavesEverything) {
    machine.DenyKey(RegRoot::LocalMachine, "SOFTWARE\\Quorvane\\KAVLO", err::kAccessDenied);
    report::ContactInfo contact{"a", "b", "c", "d", "e"};
    report::LoadContactInfo(machine, contact);
    EXPECT_EQ(contact.email, "d");
}

}  // namespace
}  // namespace kavlo
