#include "engine/records.h"

#include "engine/script_file.h"

namespace kavlo {

namespace {
// Scripts can nest nodes as deep as they have lines, so subtrees are torn down
// iteratively instead of by recursive destructors.
void DestroyIteratively(std::vector<std::unique_ptr<data_TView>>& roots) {
    std::vector<std::unique_ptr<data_TView>> pending;
    pending.reserve(roots.size());
    for (auto& child : roots) pending.push_back(std::move(child));
    roots.clear();
    while (!pending.empty()) {
        std::unique_ptr<data_TView> node = std::move(pending.back());
        pending.pop_back();
        node->DetachChildrenInto(pending);
    }
}
}  // namespace

data_TView::~data_TView() { DestroyIteratively(children_); }

void data_TView::DetachChildrenInto(std::vector<std::unique_ptr<data_TView>>& out) {
    for (auto& child : children_) out.push_back(std::move(child));
    children_.clear();
}

data_TView& data_TView::AddChild(std::string_view argument) {
    std::unique_ptr<data_TView> child;
    if (extra_.empty()) {
        child = std::make_unique<data_TView>(std::string(argument), detail_);
    } else {
        const auto comma = argument.find(',');
        if (comma != std::string_view::npos) {
            child = std::make_unique<data_TView>(std::string(argument.substr(0, comma)), detail_,
                                                 std::string(argument.substr(comma + 1)));
        } else {
            child = std::make_unique<data_TView>(std::string(argument), detail_, extra_);
        }
    }
    return AppendChild(std::move(child));
}

data_TView& data_TView::AppendChild(std::unique_ptr<data_TView> child) {
    children_.push_back(std::move(child));
    return *children_.back();
}

void data_TView::DeleteSubtree() {
    DestroyIteratively(children_);
    nodeStack_.clear();
}

data_TView* data_TView::FindByHandle(std::uint32_t handle) {
    std::vector<data_TView*> stack{this};
    while (!stack.empty()) {
        data_TView* node = stack.back();
        stack.pop_back();
        if (node->itemHandle_ == handle) return node;
        for (auto it = node->children_.rbegin(); it != node->children_.rend(); ++it) stack.push_back(it->get());
    }
    return nullptr;
}

std::size_t data_TView::CountNodes() const {
    std::size_t count = 0;
    std::vector<const data_TView*> stack{this};
    while (!stack.empty()) {
        const data_TView* node = stack.back();
        stack.pop_back();
        ++count;
        for (const auto& child : node->children_) stack.push_back(child.get());
    }
    return count;
}

void data_DBGTitle::SetKindLine(std::string_view line) {
    const auto comma = line.find(',');
    if (comma == std::string_view::npos || comma == 0) {
        kind = std::string(line);
        kindDetail.clear();
    } else {
        kind = std::string(line.substr(0, comma));
        kindDetail = std::string(line.substr(comma + 1));
    }
}

void data_DBGTitle::ParseKindLine(ScriptFile& file, std::string_view line) {
    SetKindLine(line);
    const auto comma = line.find(',');
    if (comma == std::string_view::npos || comma == 0) return;
    if (KindNeedsHeader1()) header1 = std::string(file.ReadLine().value_or(std::string_view()));
    if (KindNeedsHeader2()) header2 = std::string(file.ReadLine().value_or(std::string_view()));
}

bool data_DBGTitle::KindNeedsHeader1() const { return KindContains("filelist") || KindContains("col"); }
bool data_DBGTitle::KindNeedsHeader2() const { return KindContains("filelist"); }

const std::string& data_DBGTitle::SortTypes() const { return KindContains("filelist") ? header2 : header1; }

void data_DBGTitle::PrepareRun() {
    ClearText();
    if (HasTree()) {
        root.DeleteSubtree();
        root.SetTitleAndDetail(name, kindDetail);
    }
}

std::string data_DBGTitle::ScriptPath() const { return owner ? owner->path : std::string(); }

data_DBGTitle* data_DBGFile::FindTitle(std::string_view title) {
    for (auto& t : titles)
        if (t->name == title) return t.get();
    return nullptr;
}

data_DBGTitle& data_DBGFile::AddTitle(std::string title) {
    titles.push_back(std::make_unique<data_DBGTitle>(std::move(title), this));
    return *titles.back();
}

data_LView::~data_LView() { DeleteChildren(); }

void data_LView::DeleteChildren() {
    std::vector<std::unique_ptr<data_LView>> pending = std::move(children_);
    children_.clear();
    while (!pending.empty()) {
        std::unique_ptr<data_LView> item = std::move(pending.back());
        pending.pop_back();
        for (auto& child : item->children_) pending.push_back(std::move(child));
        item->children_.clear();
    }
}

void data_LView::Add(std::uint32_t parentKey, std::uint32_t key, std::string text) {
    if (parentKey == kRootMarker) {
        key_ = key;
        text_ = std::move(text);
        return;
    }
    if (data_LView* parent = Find(parentKey)) parent->AppendChild(std::make_unique<data_LView>(key, std::move(text)));
}

data_LView* data_LView::Find(std::uint32_t key) {
    std::vector<data_LView*> stack{this};
    while (!stack.empty()) {
        data_LView* item = stack.back();
        stack.pop_back();
        if (item->key_ == key) return item;
        for (auto it = item->children_.rbegin(); it != item->children_.rend(); ++it) stack.push_back(it->get());
    }
    return nullptr;
}

std::uint32_t data_LView::ValueOf(std::uint32_t key) {
    const data_LView* item = Find(key);
    return item ? item->value_ : 0;
}

data_LView& data_LView::AppendChild(std::unique_ptr<data_LView> child) {
    children_.push_back(std::move(child));
    return *children_.back();
}

}  // namespace kavlo
