#pragma once
// The report document: creates a report from the scripts of the execution path,
// opens one from a file, saves one (gathering every title again first), names
// report files and keeps the contact information. Toolkit-neutral: the GUI and
// the command line drive it and show the texts it returns.

#include <cstdint>
#include <functional>
#include <string>

#include "engine/app_context.h"
#include "engine/command_table.h"
#include "document/contact_info.h"
#include "document/info_page.h"
#include "document/navigation.h"
#include "report/report_archive.h"
#include "report/report_file.h"

namespace kavlo {

/// Called before each title is gathered for a save: step (0-based), total
/// steps, and "<script file name> - <title name>".
using SaveProgress = std::function<void(std::size_t step, std::size_t total, const std::string& text)>;

class ReportDocument {
public:
    ReportDocument(AppContext& context, const CommandTable& table);
    ReportDocument(const ReportDocument&) = delete;
    ReportDocument& operator=(const ReportDocument&) = delete;

    /// A new report: catalogues the scripts of `executionPath`, takes the computer
    /// label, loads the stored contact information, builds navigation and information page.
    void NewDocument(const std::string& executionPath);
    /// Reads a report file (".IFO" or gzip); on failure the document is unchanged
    /// and the outcome holds the message to show. The file itself is never changed.
    report::FileOutcome Open(const std::string& path);
    /// Saves to `path`. A report created here is gathered again first (every title
    /// in catalog order, reported to `progress`) and gets a new information page;
    /// a report that was opened is written as it was read, so a support engineer
    /// re-saving a customer's report keeps the customer's data.
    report::FileOutcome Save(const std::string& path, const SaveProgress& progress = {});
    /// Runs every title again, as a save does, without writing.
    void Regather(const SaveProgress& progress = {});
    /// Compresses a saved report to `path` + ".gz" (the ".IFO" is replaced).
    static report::FileOutcome Compress(const std::string& path, std::string* gzPath = nullptr);
    /// Empties navigation, information page and catalog.
    void Empty();

    /// Computer name, one blank, the local time as "%m_%d_%Y %I_%M_%p", ".IFO".
    std::string ReportFileName() const;
    /// The document title: the given title, "   OS: " and the OS long name.
    std::string DocumentTitle(const std::string& title) const;

    /// Appends the contact block (see report::AppendContactBlock).
    void AppendContactBlock(std::string& text) const { report::AppendContactBlock(text, contact_); }
    report::ContactInfo& contact() { return contact_; }
    const report::ContactInfo& contact() const { return contact_; }
    void LoadContactInfo() { report::LoadContactInfo(context_.machine, contact_); }
    Status StoreContactInfo() const { return report::StoreContactInfo(context_.machine, contact_); }

    /// The title (with its script) or the script alone that a node key names.
    report::KeyTarget FindTitleByKey(std::uint32_t key) const { return report::FindByKey(report_.catalog, key); }
    std::size_t CountTitles() const { return report::CountTitles(report_.catalog); }
    /// Builds the information page again from the current state.
    void RebuildInfoPage();
    /// Sets the probes whose output the information page includes.
    void SetInfoPageProbes(report::InfoPageProbes probes) { infoProbes_ = std::move(probes); }

    const report::Catalog& catalog() const { return report_.catalog; }
    report::Catalog& catalog() { return report_.catalog; }
    const NavNode& navigation() const { return report_.navigation; }
    TitleRecord& infoPage() { return report_.infoPage; }
    const TitleRecord& infoPage() const { return report_.infoPage; }
    const report::ReportContents& contents() const { return report_; }
    /// The label to show for the navigation root (with "[file]" for an opened report).
    std::string RootLabel() const;

    const std::string& computerLabel() const { return computerLabel_; }
    const std::string& executionPath() const { return executionPath_; }
    bool fresh() const { return fresh_; }
    bool legacy() const { return report_.legacy; }
    std::uint32_t formatVersion() const { return report_.formatVersion; }
    std::uint32_t buildNumber() const { return report_.buildNumber; }
    AppContext& context() { return context_; }

private:
    AppContext& context_;
    const CommandTable& table_;
    report::ReportContents report_;
    report::NodeKeys keys_;
    report::ContactInfo contact_;
    report::InfoPageProbes infoProbes_;
    std::string computerLabel_;
    std::string executionPath_;
    bool fresh_ = false;
};

}  // namespace kavlo
