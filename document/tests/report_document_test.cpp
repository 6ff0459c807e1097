// The report document: new, save (gathering first), open, names, contact information.
#include <gtest/gtest.h>

#include "document/report_document.h"
#include "engine/script_engine.h"
#include "engine/testing/fake_machine.h"
#include "platform/testing/temp_folder.h"
#include "probes/registration.h"
#include "report/tests/archive_bytes.h"

namespace kavlo {
namespace {

using kavlo::testing::ReadAll;
using kavlo::testing::TempFolder;
using kavlo::testing::WriteAll;
using platform::RegRoot;

/// The in-memory test machine with a settable host name and clock, and
/// registry hives that refuse writes (as HKLM does for a standard user).
class DocMachine : public kavlo::testing::FakeMachine {
public:
    std::optional<std::string> hostName = "office7";
    platform::LocalTime now{2001, 3, 14, 21, 5, 0, 3};
    std::set<RegRoot> readOnlyRoots;

    std::string ComputerName() override { return "OFFICE7"; }
    Result<std::string> HostName() override {
        return hostName ? Result<std::string>(*hostName) : Result<std::string>::Failure(10091);  // no sockets
    }
    platform::LocalTime Now() override { return now; }
    Result<std::unique_ptr<platform::RegistryKey>> CreateKey(RegRoot root, std::string_view path) override {
        if (readOnlyRoots.count(root))
            return Result<std::unique_ptr<platform::RegistryKey>>::Failure(err::kAccessDenied);
        return FakeMachine::CreateKey(root, path);
    }
};

constexpr const char* kScript =
    "DATE: 05/01/2002\nVERSION: 0105\nENGINE:0106\n"
    "[TITLE LIST] {\nNotes\nServices\n}\n"
    "[TITLE] {\nNotes\ntext\nTextLine:gathered\n}\n"
    "[TITLE] {\nServices\ntreexptxt,Name,20\nTAddChild:[D] Running\nTAddChild:[D] Spooler\n}\n";

class DocTest : public ::testing::Test {
protected:
    DocTest()
        : context(machine, {"NT5.0", "Windows 2000 Professional  Workstation  build 2195 Service Pack 2", 50, true},
                  "C:\\") {
        WriteAll(scripts.File("Base.dbg"), kScript);
        WriteAll(scripts.File("Extra.dbg"), "[TITLE LIST] {\nOnly\n}\n[TITLE] {\nOnly\ntext\nText:x\n}\n");
    }
    std::unique_ptr<ReportDocument> NewDocument() {
        auto doc = std::make_unique<ReportDocument>(context, StandardCommandTable());
        doc->NewDocument(scripts.folder());
        return doc;
    }

    DocMachine machine;
    AppContext context;
    TempFolder scripts;
    TempFolder out;
};

TEST_F(DocTest, NewDocumentCataloguesAndBuildsTheModel) {
    auto doc = NewDocument();
    EXPECT_TRUE(doc->fresh());
    EXPECT_EQ(doc->RootLabel(), "OFFICE7  [local computer]");
    ASSERT_EQ(doc->catalog().size(), 2u);
    EXPECT_EQ(doc->CountTitles(), 3u);
    EXPECT_EQ(doc->navigation().children().size(), 2u);
    const report::KeyTarget target = doc->FindTitleByKey(doc->navigation().children()[0]->children()[1]->key());
    ASSERT_NE(target.title, nullptr);
    EXPECT_EQ(target.title->name, "Services");
    EXPECT_EQ(target.title->runPending, 1) << "nothing is gathered before it is needed";
    EXPECT_EQ(doc->infoPage().text,
              "Current Date: 03/14/01 21:05:00\n\nKavlo version 1.50  Build 35\nDBG Engine version "
              "1.6\nExecution path: " +
                  scripts.folder() +
                  "\n\nContact information:\n\n\nOS: Windows 2000 Professional  Workstation  "
                  "build 2195 Service Pack 2\n\nComputer Name: OFFICE7\n\n");
    EXPECT_EQ(context.executionPath, scripts.folder());
    EXPECT_EQ(doc->ReportFileName(), "OFFICE7 03_14_2001 09_05_PM.IFO");
    machine.now = {2001, 12, 1, 0, 7, 0, 6};
    EXPECT_EQ(doc->ReportFileName(), "OFFICE7 12_01_2001 12_07_AM.IFO");
    EXPECT_EQ(doc->DocumentTitle("r.IFO"),
              "r.IFO   OS: Windows 2000 Professional  Workstation  build 2195 Service Pack 2");

    machine.hostName.reset();  // sockets fail: no computer label
    EXPECT_EQ(NewDocument()->navigation().Text(), "");
}

TEST_F(DocTest, InfoPageProbesAndLogonOnlyOnNt40And50) {
    for (const auto& [code, logon] :
         {std::pair{40, true}, {50, true}, {351, true}, {51, false}, {95, false}, {300, false}}) {
        SCOPED_TRACE(code);
        context.os.code = code;
        ReportDocument doc(context, StandardCommandTable());
        doc.SetInfoPageProbes({[](AppContext&, TitleRecord& page) { page.AppendText("CPU: x86"); },
                               [](AppContext&, TitleRecord& page) { page.AppendText("User: ann"); }});
        doc.NewDocument(scripts.folder());
        const std::string& text = doc.infoPage().text;
        const std::string tail =
            "Service Pack 2\nCPU: x86\nComputer Name: OFFICE7\n" + std::string(logon ? "User: ann\n" : "");
        ASSERT_GE(text.size(), tail.size());
        EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    }
}

TEST_F(DocTest, SaveGathersEveryTitleInOrderThenWrites) {
    auto doc = NewDocument();
    std::vector<std::string> steps;
    const std::string path = out.File("r.IFO");
    const report::FileOutcome outcome =
        doc->Save(path, [&](std::size_t step, std::size_t total, const std::string& text) {
            EXPECT_EQ(step, steps.size());
            EXPECT_EQ(total, 3u);
            steps.push_back(text);
        });
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(steps, (std::vector<std::string>{"Base - Notes", "Base - Services", "Extra - Only"}));
    EXPECT_EQ(doc->catalog()[0]->titles[0]->runPending, 0);
    EXPECT_EQ(doc->catalog()[0]->titles[0]->text, "gathered\n");
    EXPECT_EQ(doc->catalog()[0]->titles[1]->root.CountNodes(), 3u);
    EXPECT_EQ(ReadAll(path), report::testing::Write(doc->contents()));
}

TEST_F(DocTest, OpenedCompressedReportShowsTheFileLabelAndSavesAgainWithoutGathering) {
    const std::string first = out.File("OFFICE7 03_14_2001 09_05_PM.IFO");
    std::string gz;
    ASSERT_TRUE(NewDocument()->Save(first).ok);
    ASSERT_TRUE(ReportDocument::Compress(first, &gz).ok);
    EXPECT_EQ(out.Names(), std::set<std::string>{"OFFICE7 03_14_2001 09_05_PM.IFO.gz"});
    // the engineer's machine would gather something else
    WriteAll(scripts.File("Base.dbg"), std::string(kScript).replace(std::string(kScript).find("gathered"), 8, "local"));
    machine.now = {2005, 1, 1, 8, 0, 0, 6};
    auto opened = NewDocument();  // the report replaces a new one, as in the program
    ReportDocument& doc = *opened;
    const report::FileOutcome outcome = doc.Open(gz);
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_FALSE(doc.fresh());
    EXPECT_EQ(doc.RootLabel(), "OFFICE7  [file]");
    EXPECT_EQ(doc.formatVersion(), 306u);
    const report::KeyTarget services = doc.FindTitleByKey(doc.navigation().children()[0]->children()[1]->key());
    ASSERT_NE(services.title, nullptr);
    EXPECT_EQ(services.title->name, "Services");
    EXPECT_EQ(services.title->root.CountNodes(), 3u);

    const std::string second = out.File("copy.IFO");
    bool progressed = false;
    ASSERT_TRUE(doc.Save(second, [&](std::size_t, std::size_t, const std::string&) { progressed = true; }).ok);
    EXPECT_FALSE(progressed);
    ReportDocument copy(context, StandardCommandTable());
    ASSERT_TRUE(copy.Open(second).ok);
    EXPECT_EQ(copy.catalog()[0]->titles[0]->text, "gathered\n");
    EXPECT_NE(copy.infoPage().text.find("Current Date: 03/14/01"), std::string::npos);
}

TEST_F(DocTest, FailedOpenKeepsTheDocument) {
    auto doc = NewDocument();
    WriteAll(out.File("bad.IFO"), "\x32\x01\x00\x00\x23\x00\x00\x00\x05PC");
    // The messages themselves are the report file's (report/tests) and show in "kavlo show".
    EXPECT_FALSE(doc->Open(out.File("bad.IFO")).ok);
    EXPECT_EQ(doc->CountTitles(), 3u) << "the report being viewed stays";
    EXPECT_EQ(doc->navigation().children().size(), 2u);
    EXPECT_TRUE(doc->fresh());
}

TEST_F(DocTest, EmptyCatalogSavesWithoutProgress) {
    TempFolder empty;
    ReportDocument doc(context, StandardCommandTable());
    doc.NewDocument(empty.folder());
    bool progressed = false;
    ASSERT_TRUE(
        doc.Save(out.File("e.IFO"), [&](std::size_t, std::size_t, const std::string&) { progressed = true; }).ok);
    EXPECT_FALSE(progressed);
    EXPECT_EQ(ReadAll(out.File("e.IFO")).substr(ReadAll(out.File("e.IFO")).size() - 2), std::string(2, '\0'));
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

constexpr const char* kContactKey = "SOFTWARE\\Quorvane\\KAVLO";

TEST(ContactStore, StoredBelowTheMachineKeyOrTheUserKeyThatLoadingPrefers) {
    const report::ContactInfo ann{"C-17", "Ann", "555", "ann@example.com", "It crashes"};
    struct Case {
        const char* what;
        std::set<RegRoot> readOnly;
        std::optional<RegRoot> stale;  // a hive that holds an older entry
        bool stored;
    };
    const Case cases[] = {
        {"machine key", {}, std::nullopt, true},
        {"user key when the machine's refuses", {RegRoot::LocalMachine}, RegRoot::LocalMachine, true},
        {"an existing user copy is kept current", {}, RegRoot::CurrentUser, true},
        {"nowhere to write", {RegRoot::LocalMachine, RegRoot::CurrentUser}, std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocMachine machine;
        if (c.stale) machine.SetString(*c.stale, kContactKey, "Name", "Stale");
        machine.readOnlyRoots = c.readOnly;
        EXPECT_EQ(report::StoreContactInfo(machine, ann).ok(), c.stored);
        if (!c.stored) continue;
        report::ContactInfo back;
        report::LoadContactInfo(machine, back);
        EXPECT_EQ(back.name, "Ann");
        EXPECT_EQ(back.issue, "It crashes");
        EXPECT_EQ(back.caseNumber, "C-17");
    }
    // without terminators, as REG_SZ, and only where it was needed
    DocMachine machine;
    ASSERT_TRUE(report::StoreContactInfo(machine, ann).ok());
    auto key = machine.OpenKey(RegRoot::LocalMachine, kContactKey, platform::kKeyRead);
    ASSERT_TRUE(key.ok());
    const auto value = (*key)->QueryValue("EMail", 400);
    ASSERT_TRUE(value.ok());
    EXPECT_EQ(value->type, platform::regtype::kSz);
    EXPECT_EQ(value->data, "ann@example.com");
    EXPECT_FALSE(machine.OpenKey(RegRoot::CurrentUser, kContactKey, platform::kKeyRead).ok());
}

TEST(ContactStore, LoadingKeepsFieldsThatAreMissingTooLongOrUnreadable) {
    DocMachine machine;
    machine.SetString(RegRoot::LocalMachine, kContactKey, "Name", std::string("Bob\0tail", 8));
    machine.SetString(RegRoot::LocalMachine, kContactKey, "Issue", std::string(500, 'x'));
    report::ContactInfo contact{"keep", "", "keep", "keep", "keep"};
    report::LoadContactInfo(machine, contact);
    EXPECT_EQ(contact.name, "Bob");
    EXPECT_EQ(contact.caseNumber, "keep");
    EXPECT_EQ(contact.issue, "keep");
    machine.DenyKey(RegRoot::LocalMachine, kContactKey, err::kAccessDenied);
    contact.name = "kept";
    report::LoadContactInfo(machine, contact);
    EXPECT_EQ(contact.name, "kept");
}

}  // namespace
}  // namespace kavlo
