#include "ui/app/document.h"

#include <vector>

#include "document/standard_info_page.h"
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
    if (!outcome.ok) {
        pathName_.clear();
        return {false, outcome.message};
    }
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
    // Depth first with an explicit stack: each node goes at the end of its parent's children.
    struct Frame {
        const NavNode* node;
        std::size_t next;
    };
    std::vector<Frame> stack{{&root, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next >= frame.node->children().size()) {
            stack.pop_back();
            continue;
        }
        const NavNode& child = *frame.node->children()[frame.next++];
        tree.InsertKeyed(frame.node->key(), child.key(), child.Text());
        stack.push_back({&child, 0});
    }
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
    return doc_.DocumentTitle(name);
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
