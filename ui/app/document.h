#pragma once
// The report document as the windows use it: ReportDocument with the pieces a
// window needs on top (the file name, the tree control of the navigation model,
// the progress dialog, the contact dialog's fields).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/app_context.h"
#include "engine/records.h"
#include "document/report_document.h"
#include "ui/frame/dialogs.h"
#include "ui/win/tree_control.h"

namespace kavlo::ui {

/// What a node key of the navigation tree stands for.
struct NodeLookup {
    TitleRecord* title = nullptr;    ///< a title node
    ScriptRecord* script = nullptr;  ///< a script node (title null)
    bool root = false;               ///< the computer node
};

/// Success, or the message to show.
struct DocOutcome {
    bool ok = true;
    std::string message;
};

/// The system named on an information page's "OS: " line ("unknown" without one).
std::string ReportSystemName(std::string_view infoPage);

class Document {
public:
    explicit Document(AppContext& context);

    /// A new report of the execution path's scripts.
    void New();
    /// Opens a report (".IFO" or ".gz"); the catalog and navigation model are the file's.
    DocOutcome Open(const std::string& path);
    /// Gathers every title again (each reported to `progress`) and writes the report.
    DocOutcome Save(const std::string& path, ProgressSteps& progress);
    /// Compresses a saved report to path + ".gz" (the report itself is removed).
    DocOutcome Compress(const std::string& path, std::string* gzPath);

    /// Puts the navigation model into the tree (the root with the label for a
    /// fresh or an opened report, then every node depth first); returns the root key.
    std::uint32_t FillNavigation(TreeControl& tree);
    /// Builds the information page again.
    void BuildInfoPage() { doc_.RebuildInfoPage(); }

    NodeLookup Find(std::uint32_t key);
    int CountTitles() const { return static_cast<int>(doc_.CountTitles()); }
    TitleRecord& infoPage() { return doc_.infoPage(); }
    AppContext& context() { return doc_.context(); }
    ReportDocument& doc() { return doc_; }

    bool fresh() const { return doc_.fresh(); }
    const std::string& pathName() const { return pathName_; }
    /// After the saved file was replaced (by its compressed copy).
    void SetPathName(std::string path) { pathName_ = std::move(path); }
    /// "Untitled" or the file name, "   OS: " and the OS long name; for a report
    /// read from a file the report's own system and "  [file]".
    std::string Title() const;

    ContactFields contact() const;
    void SetContact(const ContactFields& fields);
    /// Stores the contact fields in the registry; false when no place could be written.
    bool StoreContact() { return doc_.StoreContactInfo().ok(); }
    /// The name of a timed report: computer name, time, ".IFO".
    std::string ReportFileName() const { return doc_.ReportFileName(); }

private:
    ReportDocument doc_;
    std::string pathName_;
};

}  // namespace kavlo::ui
