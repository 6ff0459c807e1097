// The report document: new, save (gathering first), open, names, contact information.
#include <gtest/gtest.h>

#include "document/report_document.h"
#include "engine/script_engine.h"
#include "engine/testing/fake_machine.h"
#include "platform/testing/temp_folder.h"
#include "probes/registration.h"
#include "document/tests/small_report.h"

namespace kavlo {
namespace {

using kavlo::testing::TempFolder;
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

// Two small scripts, also gathered by "kavlo gather" in the command tests.
const std::string kScripts = std::string(KAVLO_TEST_SOURCE_DIR) + "/document/tests/data/scripts";

class DocTest : public ::testing::Test {
protected:
    DocTest()
        : context(machine, {"NT5.0", "Windows 2000 Professional  Workstation  build 2195 Service Pack 2", 50, true},
                  "C:\\") {}
    std::unique_ptr<ReportDocument> NewDocument() {
        auto doc = std::make_unique<ReportDocument>(context, StandardCommandTable());
        doc->NewDocument(kScripts);
        return doc;
    }

    DocMachine machine;
    AppContext context;
    TempFolder out;
};

TEST_F(DocTest, NewDocumentIsFreshAndTitledByTheSystem) {
    auto doc = NewDocument();
    // Its file name, outline, information page and gathering show in "kavlo gather"
    // (cli/tests/expected/gather.txt).
    EXPECT_TRUE(doc->fresh());
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
        doc.NewDocument(kScripts);
        const std::string& text = doc.infoPage().text;
        const std::string tail =
            "Service Pack 2\nCPU: x86\nComputer Name: OFFICE7\n" + std::string(logon ? "User: ann\n" : "");
        ASSERT_GE(text.size(), tail.size());
        EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    }
}

TEST_F(DocTest, OpenedReportShowsTheFileLabelAndSavesAgainWithoutGathering) {
    // Opening over a new document, as the program does; reading and compression
    // are the report file's (report/tests) and the wizard test opens a ".gz".
    const std::string first = out.File("small.IFO");
    ASSERT_TRUE(report::SaveReportFile(first, kavlo::testing::SmallReport()).ok);
    auto opened = NewDocument();
    ReportDocument& doc = *opened;
    const report::FileOutcome outcome = doc.Open(first);
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_FALSE(doc.fresh());
    EXPECT_EQ(doc.RootLabel(), "PC1  [file]");

    const std::string second = out.File("copy.IFO");
    bool progressed = false;
    ASSERT_TRUE(doc.Save(second, [&](std::size_t, std::size_t, const std::string&) { progressed = true; }).ok);
    EXPECT_FALSE(progressed);
    ReportDocument copy(context, StandardCommandTable());
    ASSERT_TRUE(copy.Open(second).ok);
    EXPECT_EQ(copy.catalog()[0]->titles[0]->text, "Hello\nW\xE9lt\n");
    EXPECT_EQ(copy.catalog()[0]->titles[3]->runPending, 1) << "the title never gathered stays so";
}

// ------------------------------------------------------------ contact information

TEST(ContactBlock, OneLinePerNonEmptyField) {
    // Without details it is the heading alone, as on the information page of cli/tests/expected/gather.txt.
    const report::ContactInfo contact{"C-17", "Ann", "", "ann@example.com", "Crashes\r\nat start"};
    std::string text = "x";
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
