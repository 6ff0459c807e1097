#include "ui/app/document.h"

#include <vector>

#include "document/standard_info_probes.h"
#include "engine/tree_walk.h"
#include "probes/registration.h"

namespace kavlo::ui {

Document::Document(AppContext& context) : doc_(context, StandardCommandTable()) {
    doc_.SetInfoPageProbes(report::StandardInfoPageProbes());
}

void Document::New() {
    doc_.NewDocument(doc_.context().executionPath);
    pathName_.clear();
}

DocOutcome Document::Open(const std::string& path) {
    const report::FileOutcome outcome = doc_.Open(path);
    if (!outcome.ok) return {false, outcome.message};  // the report being viewed stays
    pathName_ = path;
    return {};
}

DocOutcome Document::Save(const std::string& path, ProgressSteps& progress) {
    const report::FileOutcome outcome =
        doc_.Save(path, [&](std::size_t, std::size_t, const std::string& text) { progress.Step(text); });
    if (!outcome.ok) return {false, outcome.message};
    pathName_ = path;
    return {};
}

DocOutcome Document::Compress(const std::string& path, std::string* gzPath) {
    const report::FileOutcome outcome = ReportDocument::Compress(path, gzPath);
    return {outcome.ok, outcome.message};
}

std::uint32_t Document::FillNavigation(TreeControl& tree) {
    const NavNode& root = doc_.navigation();
    if (!tree.InsertKeyed(TreeControl::kRootKey, root.key(), doc_.RootLabel())) return TreeControl::kRootKey;
    // Parents before children, so each node goes at the end of its parent's children.
    std::vector<std::uint32_t> keyAtDepth;
    WalkTree(root, kAnyDepth, [&](const NavNode& node, std::size_t depth) {
        if (depth > 0) tree.InsertKeyed(keyAtDepth[depth - 1], node.key(), node.Text());
        keyAtDepth.resize(depth);
        keyAtDepth.push_back(node.key());
        return Visit::Children;
    });
    return root.key();
}

NodeLookup Document::Find(std::uint32_t key) {
    NodeLookup lookup;
    if (key != 0 && key == doc_.navigation().key()) {
        lookup.root = true;
        return lookup;
    }
    const report::KeyTarget target = doc_.FindTitleByKey(key);
    lookup.title = target.title;
    lookup.script = target.file;
    return lookup;
}

std::string Document::Title() const {
    std::string name = "Untitled";
    if (!pathName_.empty()) {
        const std::size_t slash = pathName_.find_last_of("\\/");
        name = slash == std::string::npos ? pathName_ : pathName_.substr(slash + 1);
    }
    if (fresh()) return doc_.DocumentTitle(name);
    // A report read from a file names the system it was made on, not the viewer's.
    return name + "   OS: " + ReportSystemName(doc_.infoPage().text) + "  [file]";
}

std::string ReportSystemName(std::string_view infoPage) {
    constexpr std::string_view kLabel = "OS: ";
    std::size_t at = infoPage.rfind(std::string("\n").append(kLabel));
    if (at != std::string_view::npos) {
        ++at;
    } else if (infoPage.substr(0, kLabel.size()) == kLabel) {
        at = 0;
    } else {
        return "unknown";
    }
    const std::size_t start = at + kLabel.size();
    const std::size_t end = infoPage.find_first_of("\r\n", start);
    const std::string_view name = infoPage.substr(start, end == std::string_view::npos ? end : end - start);
    return name.empty() ? std::string("unknown") : std::string(name);
}

ContactFields Document::contact() const {
    const report::ContactInfo& c = doc_.contact();
    return {c.caseNumber, c.name, c.phone, c.email, c.issue};
}

void Document::SetContact(const ContactFields& fields) {
    report::ContactInfo& c = doc_.contact();
    c.caseNumber = fields.caseNumber;
    c.name = fields.name;
    c.phone = fields.phone;
    c.email = fields.email;
    c.issue = fields.issue;
}

}  // namespace kavlo::ui
