#include "platform/sim/registry_store.h"

#include "platform/sim/name_fold.h"

namespace kavlo::platform::sim {

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

RegistryNode* RegistryNode::FindChild(std::string_view name) const {
    const auto found = childIndex_.find(FoldName(name));
    return found == childIndex_.end() ? nullptr : children_[found->second].get();
}

RegistryNode& RegistryNode::GetOrAddChild(std::string_view name) {
    if (RegistryNode* existing = FindChild(name)) return *existing;
    childIndex_.emplace(FoldName(name), children_.size());
    children_.push_back(std::make_unique<RegistryNode>(std::string(name)));
    return *children_.back();
}

bool RegistryNode::RemoveChild(std::string_view name) { return DetachChild(name) != nullptr; }

std::unique_ptr<RegistryNode> RegistryNode::DetachChild(std::string_view name) {
    const auto found = childIndex_.find(FoldName(name));
    if (found == childIndex_.end()) return nullptr;
    const std::size_t position = found->second;
    std::unique_ptr<RegistryNode> child = std::move(children_[position]);
    children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(position));
    childIndex_.erase(found);
    for (auto& [folded, index] : childIndex_)
        if (index > position) --index;
    return child;
}

const NamedRegValue* RegistryNode::FindValue(std::string_view name) const {
    for (const NamedRegValue& value : values_)
        if (SameName(value.name, name)) return &value;
    return nullptr;
}

void RegistryNode::SetValue(std::string_view name, RegValue value) {
    for (NamedRegValue& existing : values_) {
        if (SameName(existing.name, name)) {
            existing.value = std::move(value);
            return;
        }
    }
    values_.push_back({std::string(name), std::move(value)});
}

bool RegistryNode::RemoveValue(std::string_view name) {
    for (auto it = values_.begin(); it != values_.end(); ++it) {
        if (SameName(it->name, name)) {
            values_.erase(it);
            return true;
        }
    }
    return false;
}

std::vector<std::string_view> SplitKeyPath(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const std::size_t slash = path.find('\\');
        const std::string_view part = path.substr(0, slash);
        if (!part.empty()) parts.push_back(part);
        if (slash == std::string_view::npos) break;
        path.remove_prefix(slash + 1);
    }
    return parts;
}

RegistryStore::RegistryStore() { localMachine_.GetOrAddChild("SOFTWARE").GetOrAddChild("Classes"); }

RegistryNode* RegistryStore::Root(RegRoot root) {
    switch (root) {
        case RegRoot::LocalMachine: return &localMachine_;
        case RegRoot::CurrentUser: return &currentUser_;
        case RegRoot::ClassesRoot: {
            RegistryNode* software = localMachine_.FindChild("SOFTWARE");
            return software ? software->FindChild("Classes") : nullptr;
        }
        case RegRoot::Users: return &users_;
    }
    return nullptr;
}

RegistryNode* RegistryStore::Find(RegRoot root, std::string_view path) {
    RegistryNode* node = Root(root);
    if (!node) return nullptr;
    for (std::string_view part : SplitKeyPath(path)) {
        node = node->FindChild(part);
        if (!node) return nullptr;
    }
    return node;
}

RegistryNode& RegistryStore::Create(RegRoot root, std::string_view path) {
    RegistryNode* node = root == RegRoot::ClassesRoot
                             ? &localMachine_.GetOrAddChild("SOFTWARE").GetOrAddChild("Classes")
                             : Root(root);
    for (std::string_view part : SplitKeyPath(path)) node = &node->GetOrAddChild(part);
    return *node;
}

void RegistryStore::Remove(RegRoot root, std::string_view path) {
    std::vector<std::string_view> parts = SplitKeyPath(path);
    if (parts.empty()) return;
    const std::string_view last = parts.back();
    parts.pop_back();
    RegistryNode* parent = Root(root);
    for (std::string_view part : parts) {
        if (!parent) return;
        parent = parent->FindChild(part);
    }
    if (parent) parent->RemoveChild(last);
}

WinError RegistryStore::Delete(RegRoot root, std::string_view path) {
    std::vector<std::string_view> parts = SplitKeyPath(path);
    if (parts.empty()) return err::kInvalidParameter;
    const std::string_view last = parts.back();
    parts.pop_back();
    RegistryNode* parent = Root(root);
    for (std::string_view part : parts) {
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
