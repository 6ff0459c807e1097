#include "engine/records.h"

#include "engine/script_file.h"
#include "engine/tree_walk.h"

namespace kavlo {

namespace {
// Scripts can nest nodes as deep as they have lines, so subtrees are torn down
// iteratively instead of by recursive destructors.
void DestroyIteratively(std::vector<std::unique_ptr<ResultNode>>& roots) {
    std::vector<std::unique_ptr<ResultNode>> pending;
    pending.reserve(roots.size());
    for (auto& child : roots) pending.push_back(std::move(child));
    roots.clear();
    while (!pending.empty()) {
        std::unique_ptr<ResultNode> node = std::move(pending.back());
        pending.pop_back();
        node->DetachChildrenInto(pending);
    }
}
}  // namespace

ResultNode::~ResultNode() { DestroyIteratively(children_); }

void ResultNode::DetachChildrenInto(std::vector<std::unique_ptr<ResultNode>>& out) {
    for (auto& child : children_) out.push_back(std::move(child));
    children_.clear();
}

ResultNode& ResultNode::AddChild(std::string_view argument) {
    std::unique_ptr<ResultNode> child;
    if (extra_.empty()) {
        child = std::make_unique<ResultNode>(std::string(argument), detail_);
    } else {
        const auto comma = argument.find(',');
        if (comma != std::string_view::npos) {
            child = std::make_unique<ResultNode>(std::string(argument.substr(0, comma)), detail_,
                                                 std::string(argument.substr(comma + 1)));
        } else {
            child = std::make_unique<ResultNode>(std::string(argument), detail_, extra_);
        }
    }
    return AppendChild(std::move(child));
}

ResultNode& ResultNode::AppendChild(std::unique_ptr<ResultNode> child) {
    children_.push_back(std::move(child));
    return *children_.back();
}

void ResultNode::DeleteSubtree() {
    DestroyIteratively(children_);
    nodeStack_.clear();
}

std::size_t ResultNode::CountNodes() const {
    std::size_t count = 0;
    WalkTree(*this, kAnyDepth, [&count](const ResultNode&, std::size_t) {
        ++count;
        return Visit::Children;
    });
    return count;
}

void TitleRecord::SetKindLine(std::string_view line) {
    const auto comma = line.find(',');
    if (comma == std::string_view::npos || comma == 0) {
        kind = std::string(line);
        kindDetail.clear();
    } else {
        kind = std::string(line.substr(0, comma));
        kindDetail = std::string(line.substr(comma + 1));
    }
}

void TitleRecord::ParseKindLine(ScriptFile& file, std::string_view line) {
    SetKindLine(line);
    const auto comma = line.find(',');
    if (comma == std::string_view::npos || comma == 0) return;
    if (KindNeedsHeader1()) header1 = std::string(file.ReadLine().value_or(std::string_view()));
    if (KindNeedsHeader2()) header2 = std::string(file.ReadLine().value_or(std::string_view()));
}

bool TitleRecord::KindNeedsHeader1() const { return IsList(); }
bool TitleRecord::KindNeedsHeader2() const { return IsFileList(); }

const std::string& TitleRecord::SortTypes() const { return IsFileList() ? header2 : header1; }

void TitleRecord::PrepareRun() {
    ClearText();
    if (HasTree()) {
        root.DeleteSubtree();
        root.SetTitleAndDetail(name, kindDetail);
    }
}

std::string TitleRecord::ScriptPath() const { return owner ? owner->path : std::string(); }

TitleRecord* ScriptRecord::FindTitle(std::string_view title) {
    for (auto& t : titles)
        if (t->name == title) return t.get();
    return nullptr;
}

TitleRecord& ScriptRecord::AddTitle(std::string title) {
    titles.push_back(std::make_unique<TitleRecord>(std::move(title), this));
    return *titles.back();
}

NavNode::~NavNode() { DeleteChildren(); }

void NavNode::DeleteChildren() {
    std::vector<std::unique_ptr<NavNode>> pending = std::move(children_);
    children_.clear();
    while (!pending.empty()) {
        std::unique_ptr<NavNode> item = std::move(pending.back());
        pending.pop_back();
        for (auto& child : item->children_) pending.push_back(std::move(child));
        item->children_.clear();
    }
}

void NavNode::Add(std::uint32_t parentKey, std::uint32_t key, std::string text) {
    if (parentKey == kRootMarker) {
        key_ = key;
        text_ = std::move(text);
        return;
    }
    if (NavNode* parent = Find(parentKey)) parent->AppendChild(std::make_unique<NavNode>(key, std::move(text)));
}

NavNode* NavNode::Find(std::uint32_t key) {
    NavNode* found = nullptr;
    WalkTree(*this, kAnyDepth, [&](NavNode& item, std::size_t) {
        if (item.key_ != key) return Visit::Children;
        found = &item;
        return Visit::Stop;
    });
    return found;
}

std::uint32_t NavNode::ValueOf(std::uint32_t key) {
    const NavNode* item = Find(key);
    return item ? item->value_ : 0;
}

NavNode& NavNode::AppendChild(std::unique_ptr<NavNode> child) {
    children_.push_back(std::move(child));
    return *children_.back();
}

}  // namespace kavlo
