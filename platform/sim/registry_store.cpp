#include "platform/sim/registry_store.h"

#include <algorithm>

#include "platform/sim/name_fold.h"

namespace kavlo::platform::sim {

RegistryNode::RegistryNode(std::u16string name) : name_(std::move(name)), folded_(FoldName16(name_)) {}

RegistryNode::~RegistryNode() {
    // Subtrees are released without recursion so that a deep hive cannot
    // exhaust the stack.
    std::vector<std::unique_ptr<RegistryNode>> pending = std::move(children_);
    while (!pending.empty()) {
        std::unique_ptr<RegistryNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->children_) pending.push_back(std::move(child));
        node->children_.clear();
    }
}

RegistryNode* RegistryNode::FindChild(std::u16string_view name) const {
    const auto found = childIndex_.find(FoldName16(name));
    return found == childIndex_.end() ? nullptr : found->second;
}

RegistryNode& RegistryNode::GetOrAddChild(std::u16string_view name) {
    std::u16string folded = FoldName16(name);
    const auto found = childIndex_.find(folded);
    if (found != childIndex_.end()) return *found->second;
    auto child = std::make_unique<RegistryNode>(std::u16string(name));
    if (!children_.empty() && !(children_.back()->folded_ < child->folded_)) childrenSorted_ = false;
    RegistryNode& added = *child;
    childIndex_.emplace(std::move(folded), &added);
    children_.push_back(std::move(child));
    return added;
}

void RegistryNode::SortChildren() {
    if (childrenSorted_) return;
    std::sort(children_.begin(), children_.end(), [](const auto& a, const auto& b) { return a->folded_ < b->folded_; });
    childrenSorted_ = true;
}

std::unique_ptr<RegistryNode> RegistryNode::DetachChild(std::u16string_view name) {
    const auto found = childIndex_.find(FoldName16(name));
    if (found == childIndex_.end()) return nullptr;
    const auto position = std::find_if(children_.begin(), children_.end(),
                                       [&](const auto& child) { return child.get() == found->second; });
    std::unique_ptr<RegistryNode> child = std::move(*position);
    children_.erase(position);
    childIndex_.erase(found);
    return child;
}

const StoredValue* RegistryNode::FindValue(std::u16string_view name) const {
    const auto found = valueIndex_.find(FoldName16(name));
    return found == valueIndex_.end() ? nullptr : &values_[found->second];
}

void RegistryNode::SetValue(std::u16string_view name, RegValue value) {
    const auto [slot, added] = valueIndex_.emplace(FoldName16(name), values_.size());
    if (!added) {
        values_[slot->second].value = std::move(value);
        return;
    }
    values_.push_back({std::u16string(name), std::move(value)});
}

bool RegistryNode::RemoveValue(std::u16string_view name) {
    const auto found = valueIndex_.find(FoldName16(name));
    if (found == valueIndex_.end()) return false;
    const std::size_t position = found->second;
    values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(position));
    valueIndex_.erase(found);
    for (auto& [folded, index] : valueIndex_)
        if (index > position) --index;
    return true;
}

std::vector<std::u16string_view> SplitKeyPath(std::u16string_view path) {
    std::vector<std::u16string_view> parts;
    while (!path.empty()) {
        const std::size_t slash = path.find(u'\\');
        const std::u16string_view part = path.substr(0, slash);
        if (!part.empty()) parts.push_back(part);
        if (slash == std::u16string_view::npos) break;
        path.remove_prefix(slash + 1);
    }
    return parts;
}

RegistryStore::RegistryStore(std::uint32_t codePage) : codePage_(codePage) {
    localMachine_.GetOrAddChild(u"SOFTWARE").GetOrAddChild(u"Classes");
}

RegistryNode* RegistryStore::Root(RegRoot root) {
    switch (root) {
        case RegRoot::LocalMachine: return &localMachine_;
        case RegRoot::CurrentUser: return &currentUser_;
        case RegRoot::ClassesRoot: {
            RegistryNode* software = localMachine_.FindChild(u"SOFTWARE");
            return software ? software->FindChild(u"Classes") : nullptr;
        }
        case RegRoot::Users: return &users_;
    }
    return nullptr;
}

RegistryNode* RegistryStore::Find(RegRoot root, std::u16string_view path) {
    RegistryNode* node = Root(root);
    if (!node) return nullptr;
    for (std::u16string_view part : SplitKeyPath(path)) {
        node = node->FindChild(part);
        if (!node) return nullptr;
    }
    return node;
}

RegistryNode& RegistryStore::Create(RegRoot root, std::u16string_view path, bool sortNow) {
    // HKEY_CLASSES_ROOT comes back when a .reg file writes below it after its deletion.
    RegistryNode* node =
        root == RegRoot::ClassesRoot ? &Create(RegRoot::LocalMachine, u"SOFTWARE\\Classes", sortNow) : Root(root);
    for (std::u16string_view part : SplitKeyPath(path)) {
        RegistryNode& child = node->GetOrAddChild(part);
        if (sortNow) node->SortChildren();
        node = &child;
    }
    return *node;
}

void RegistryStore::SortAll() {
    std::vector<RegistryNode*> pending{&localMachine_, &currentUser_, &users_};
    while (!pending.empty()) {
        RegistryNode* node = pending.back();
        pending.pop_back();
        node->SortChildren();
        for (const auto& child : node->children_) pending.push_back(child.get());
    }
}

void RegistryStore::Remove(RegRoot root, std::u16string_view path) {
    std::vector<std::u16string_view> parts = SplitKeyPath(path);
    if (parts.empty()) return;
    const std::u16string_view last = parts.back();
    parts.pop_back();
    RegistryNode* parent = Root(root);
    for (std::u16string_view part : parts) {
        if (!parent) return;
        parent = parent->FindChild(part);
    }
    if (parent) (void)parent->DetachChild(last);
}

WinError RegistryStore::Delete(RegRoot root, std::u16string_view path) {
    std::vector<std::u16string_view> parts = SplitKeyPath(path);
    if (parts.empty()) return err::kInvalidParameter;
    const std::u16string_view last = parts.back();
    parts.pop_back();
    RegistryNode* parent = Root(root);
    for (std::u16string_view part : parts) {
        if (!parent) break;
        parent = parent->FindChild(part);
    }
    std::unique_ptr<RegistryNode> removed = parent ? parent->DetachChild(last) : nullptr;
    if (!removed) return err::kFileNotFound;
    // Marked without recursion, like the destructor, for hives of any depth.
    std::vector<RegistryNode*> pending{removed.get()};
    while (!pending.empty()) {
        RegistryNode* node = pending.back();
        pending.pop_back();
        node->deleted_ = true;
        for (const auto& child : node->children_) pending.push_back(child.get());
    }
    deleted_.push_back(std::move(removed));
    return err::kSuccess;
}

}  // namespace kavlo::platform::sim
