#include "document/navigation.h"

#include <unordered_map>

#include "engine/tree_walk.h"

namespace kavlo::report {

std::uint32_t NodeKeys::Next() {
    std::uint32_t key = next_++;
    // Wrapping past 2^32 keys is out of reach for one report; skip the reserved values anyway.
    if (key == 0 || key == NavNode::kRootMarker) key = next_++;
    return key;
}

void BuildNavigation(NavNode& model, const std::string& rootLabel, Catalog& catalog, NodeKeys& keys) {
    model.DeleteChildren();
    const std::uint32_t rootKey = keys.Next();
    model.Add(NavNode::kRootMarker, rootKey, rootLabel);
    for (auto& file : catalog) {
        file->treeKey = keys.Next();
        NavNode& scriptNode = model.AppendChild(std::make_unique<NavNode>(file->treeKey, file->fileName));
        for (auto& title : file->titles) {
            title->treeKey = keys.Next();
            scriptNode.AppendChild(std::make_unique<NavNode>(title->treeKey, title->name));
        }
    }
}

void RekeyAfterOpen(NavNode& model, Catalog& catalog, NodeKeys& keys) {
    keys.Reset();
    std::unordered_map<std::uint32_t, std::uint32_t> renamed;
    WalkTree(model, kAnyDepth, [&](NavNode& node, std::size_t) {
        const std::uint32_t fresh = keys.Next();
        // The first node with a key wins, as a depth-first search for it would find.
        renamed.emplace(node.key(), fresh);
        node.set_key(fresh);
        return Visit::Children;
    });
    auto newKey = [&](std::uint32_t old) {
        const auto found = renamed.find(old);
        return found == renamed.end() ? 0u : found->second;
    };
    for (auto& file : catalog) {
        file->treeKey = newKey(file->treeKey);
        for (auto& title : file->titles) title->treeKey = newKey(title->treeKey);
    }
}

std::string OpenedRootLabel(std::string_view storedLabel) {
    const auto bracket = storedLabel.find('[');
    std::string label(bracket == std::string_view::npos ? std::string_view() : storedLabel.substr(0, bracket));
    label += "[file]";
    return label;
}

KeyTarget FindByKey(const Catalog& catalog, std::uint32_t key) {
    if (key == 0) return {};
    for (const auto& file : catalog) {
        if (file->treeKey == key) return {file.get(), nullptr};
        for (const auto& title : file->titles)
            if (title->treeKey == key) return {file.get(), title.get()};
    }
    return {};
}

std::size_t CountTitles(const Catalog& catalog) {
    std::size_t count = 0;
    for (const auto& file : catalog) count += file->titles.size();
    return count;
}

}  // namespace kavlo::report
