#include "document/report_document.h"

#include "engine/script_engine.h"
#include "engine/script_catalog.h"
#include "platform/time_format.h"

namespace kavlo {

namespace {

std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace

ReportDocument::ReportDocument(AppContext& context, const CommandTable& table) : context_(context), table_(table) {}

void ReportDocument::Empty() {
    report_ = report::ReportContents();
    keys_.Reset();
}

void ReportDocument::NewDocument(const std::string& executionPath) {
    Empty();
    executionPath_ = executionPath;
    context_.executionPath = executionPath;
    report_.catalog = ScriptCatalog(context_, table_).Scan(executionPath);

    const auto host = context_.machine.HostName();
    computerLabel_ = host ? UpperAscii(*host) + "  [local computer]" : std::string();
    LoadContactInfo();
    fresh_ = true;

    report::BuildNavigation(report_.navigation, computerLabel_, report_.catalog, keys_);
    RebuildInfoPage();
}

void ReportDocument::RebuildInfoPage() {
    std::string contactBlock;
    AppendContactBlock(contactBlock);
    report::BuildInfoPage(report_.infoPage, context_, contactBlock, infoProbes_);
    report_.formatVersion = report::kFormatVersion;
    report_.buildNumber = report::kBuildNumber;
}

report::FileOutcome ReportDocument::Open(const std::string& path) {
    // Read into fresh contents and keys so that a failure leaves the report
    // being viewed exactly as it was.
    report::ReportContents opened;
    report::NodeKeys keys;
    report::OpenOptions options;
    options.codePage = context_.machine.AnsiCodePage();
    report::FileOutcome outcome = report::OpenReportFile(path, opened, options);
    if (!outcome.ok) return outcome;
    report::RekeyAfterOpen(opened.navigation, opened.catalog, keys);
    report_ = std::move(opened);
    keys_ = std::move(keys);
    fresh_ = false;
    return outcome;
}

void ReportDocument::Regather(const SaveProgress& progress) {
    const std::size_t total = CountTitles();
    std::size_t step = 0;
    for (auto& file : report_.catalog) {
        for (auto& title : file->titles) {
            if (progress) progress(step, total, file->fileName + " - " + title->name);
            ++step;
            title->runPending = 1;
            ScriptEngine(context_, table_).RunTitle(*title);
        }
    }
}

report::FileOutcome ReportDocument::Save(const std::string& path, const SaveProgress& progress) {
    if (fresh_) {
        Regather(progress);
        RebuildInfoPage();
    }
    return report::SaveReportFile(path, report_);
}

report::FileOutcome ReportDocument::Compress(const std::string& path, std::string* gzPath) {
    return report::CompressSavedReport(path, gzPath);
}

std::string ReportDocument::ReportFileName() const {
    return context_.machine.ComputerName() + " " + FormatTime(context_.machine.Now(), "%m_%d_%Y %I_%M_%p") + ".IFO";
}

std::string ReportDocument::DocumentTitle(const std::string& title) const {
    return title + "   OS: " + context_.os.longName;
}

std::string ReportDocument::RootLabel() const {
    return fresh_ ? report_.navigation.Text() : report::OpenedRootLabel(report_.navigation.Text());
}

}  // namespace kavlo
