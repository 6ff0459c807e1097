#pragma once
// The registry of a simulated machine: a tree of keys per hive. Names are kept
// in UTF-16, as Windows keeps them, and compared without regard to case; they
// meet the machine's code page only at the A-function boundary (sim_registry).
// Subkeys are listed in the order Windows enumerates them (sorted by their
// upper-case form), values in the order they were created.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/machine.h"

namespace kavlo::platform::sim {

struct StoredValue {
    std::u16string name;
    RegValue value;  ///< data as the A functions give it (strings in the machine's code page)
};

class RegistryNode {
public:
    explicit RegistryNode(std::u16string name);
    RegistryNode(const RegistryNode&) = delete;
    RegistryNode& operator=(const RegistryNode&) = delete;
    ~RegistryNode();

    const std::u16string& name() const { return name_; }
    RegistryNode* FindChild(std::u16string_view name) const;
    /// The child of that name, added when missing. An addition out of order is
    /// sorted in by SortChildren, so that loading many keys stays linear.
    RegistryNode& GetOrAddChild(std::u16string_view name);
    /// Puts the children into enumeration order after additions.
    void SortChildren();
    /// Takes a child with its subtree out of the tree; null when there is none.
    std::unique_ptr<RegistryNode> DetachChild(std::u16string_view name);
    /// True once the key was deleted while keys may still be open on it.
    bool deleted() const { return deleted_; }
    std::size_t ChildCount() const { return children_.size(); }
    /// The child at an index of the enumeration order (after SortChildren).
    const RegistryNode& ChildAt(std::size_t index) const { return *children_[index]; }

    const StoredValue* FindValue(std::u16string_view name) const;
    /// Replaces the value's data in place, or appends a new value.
    void SetValue(std::u16string_view name, RegValue value);
    bool RemoveValue(std::u16string_view name);
    std::size_t ValueCount() const { return values_.size(); }
    const StoredValue& ValueAt(std::size_t index) const { return values_[index]; }

private:
    std::u16string name_;
    std::u16string folded_;
    std::vector<std::unique_ptr<RegistryNode>> children_;
    std::unordered_map<std::u16string, RegistryNode*> childIndex_;  // folded name -> child
    bool childrenSorted_ = true;
    std::vector<StoredValue> values_;
    std::unordered_map<std::u16string, std::size_t> valueIndex_;  // folded name -> position
    bool deleted_ = false;

    friend class RegistryStore;
};

/// The hives. HKEY_CLASSES_ROOT is the key SOFTWARE\Classes of HKEY_LOCAL_MACHINE.
/// Paths are UTF-16 and backslash-separated; empty components are skipped.
class RegistryStore {
public:
    /// Starts with HKLM\SOFTWARE\Classes, which HKEY_CLASSES_ROOT shows. Names
    /// cross the A-function boundary in the given ANSI code page.
    explicit RegistryStore(std::uint32_t codePage = 1252);
    std::uint32_t codePage() const { return codePage_; }
    /// The top key of a root; null for HKEY_CLASSES_ROOT when HKLM\SOFTWARE\Classes is gone.
    RegistryNode* Root(RegRoot root);
    /// The key at a path below a root; null when absent.
    RegistryNode* Find(RegRoot root, std::u16string_view path);
    /// Opens or creates the key at a path. While loading, additions are sorted in
    /// later by SortAll; otherwise the touched keys are sorted at once.
    RegistryNode& Create(RegRoot root, std::u16string_view path, bool sortNow = true);
    /// Puts every key's subkeys into enumeration order (after loading).
    void SortAll();
    /// Deletes the key at a path with its subtree (nothing when absent or a root).
    /// Only while loading: keys open on the subtree would be left dangling.
    void Remove(RegRoot root, std::u16string_view path);
    /// Deletes the key at a path with its subtree while keys may be open on it:
    /// the nodes stay alive, marked deleted, as a deleted key's handle stays
    /// valid on Windows. 2 when the key does not exist, 87 for a root.
    WinError Delete(RegRoot root, std::u16string_view path);

    /// Guards the tree once the machine runs; loading is single-threaded.
    std::shared_mutex& mutex() const { return mutex_; }

private:
    std::uint32_t codePage_;
    RegistryNode localMachine_{u"HKEY_LOCAL_MACHINE"};
    RegistryNode currentUser_{u"HKEY_CURRENT_USER"};
    RegistryNode users_{u"HKEY_USERS"};
    std::vector<std::unique_ptr<RegistryNode>> deleted_;  // subtrees that open keys may still point into
    mutable std::shared_mutex mutex_;
};

/// The non-empty components of a backslash-separated key path.
std::vector<std::u16string_view> SplitKeyPath(std::u16string_view path);

}  // namespace kavlo::platform::sim
