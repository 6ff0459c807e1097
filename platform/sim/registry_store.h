#pragma once
// The registry of a simulated machine: a tree of keys per hive, names compared
// without regard to case, children and values kept in the order they first
// appeared (the order enumeration gives).

#include <cstddef>
#include <memory>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/machine.h"

namespace kavlo::platform::sim {

class RegistryNode {
public:
    explicit RegistryNode(std::string name) : name_(std::move(name)) {}
    RegistryNode(const RegistryNode&) = delete;
    RegistryNode& operator=(const RegistryNode&) = delete;
    ~RegistryNode();

    const std::string& name() const { return name_; }
    RegistryNode* FindChild(std::string_view name) const;
    RegistryNode& GetOrAddChild(std::string_view name);
    /// Removes a child with its whole subtree; false when there is none.
    bool RemoveChild(std::string_view name);
    /// Takes a child with its subtree out of the tree; null when there is none.
    std::unique_ptr<RegistryNode> DetachChild(std::string_view name);
    /// True once the key was deleted while keys may still be open on it.
    bool deleted() const { return deleted_; }
    std::size_t ChildCount() const { return children_.size(); }
    const RegistryNode& ChildAt(std::size_t index) const { return *children_[index]; }

    const NamedRegValue* FindValue(std::string_view name) const;
    /// Replaces the value's data in place, or appends a new value.
    void SetValue(std::string_view name, RegValue value);
    bool RemoveValue(std::string_view name);
    std::size_t ValueCount() const { return values_.size(); }
    const NamedRegValue& ValueAt(std::size_t index) const { return values_[index]; }

private:
    std::string name_;
    std::vector<std::unique_ptr<RegistryNode>> children_;
    std::unordered_map<std::string, std::size_t> childIndex_;  // folded name -> position
    std::vector<NamedRegValue> values_;
    bool deleted_ = false;

    friend class RegistryStore;
};

/// The hives. HKEY_CLASSES_ROOT is the key SOFTWARE\Classes of HKEY_LOCAL_MACHINE.
class RegistryStore {
public:
    /// Starts with HKLM\SOFTWARE\Classes, which HKEY_CLASSES_ROOT shows.
    RegistryStore();
    /// The top key of a root; null for HKEY_CLASSES_ROOT when HKLM\SOFTWARE\Classes is gone.
    RegistryNode* Root(RegRoot root);
    /// The key at a backslash-separated path below a root; null when absent.
    RegistryNode* Find(RegRoot root, std::string_view path);
    RegistryNode& Create(RegRoot root, std::string_view path);
    /// Deletes the key at a path with its subtree (nothing when absent or a root).
    /// Only while loading: keys open on the subtree would be left dangling.
    void Remove(RegRoot root, std::string_view path);
    /// Deletes the key at a path with its subtree while keys may be open on it:
    /// the nodes stay alive, marked deleted, as a deleted key's handle stays
    /// valid on Windows. 2 when the key does not exist, 87 for a root.
    WinError Delete(RegRoot root, std::string_view path);

    /// Guards the tree once the machine runs; loading is single-threaded.
    std::shared_mutex& mutex() const { return mutex_; }

private:
    RegistryNode localMachine_{"HKEY_LOCAL_MACHINE"};
    RegistryNode currentUser_{"HKEY_CURRENT_USER"};
    RegistryNode users_{"HKEY_USERS"};
    std::vector<std::unique_ptr<RegistryNode>> deleted_;  // subtrees that open keys may still point into
    mutable std::shared_mutex mutex_;
};

/// The non-empty components of a backslash-separated key path.
std::vector<std::string_view> SplitKeyPath(std::string_view path);

}  // namespace kavlo::platform::sim
