#include "engine/tree_fill.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "engine/text_util.h"
#include "engine/tree_walk.h"

namespace kavlo {
namespace {

bool SortsItsLevel(const ResultNode& node) { return Contains(node.detail(), "sort"); }

}  // namespace

std::string_view ExpandableMarker(std::string_view title) {
    for (std::string_view marker : kExpandableMarkers) {
        if (StartsWith(title, marker)) return marker;
    }
    return {};
}

namespace {

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

/// A level is sorted each time a node of it that asks for sorting is done, so it
/// ends sorted up to the last such node and in insertion order after it.
void SortUpTo(std::vector<TreeLevelItem>& items, std::size_t sortedCount) {
    std::stable_sort(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(sortedCount),
                     [](const TreeLevelItem& a, const TreeLevelItem& b) { return LessIgnoringCase(a.text, b.text); });
}

}  // namespace

TreeItemText TreeItemOf(std::string_view title) {
    if (!StartsWith(title, "|")) return {std::string(title), 0};
    const std::string_view field = title.substr(0, 4);
    return {std::string(title.substr(field.size())), ParseDecimal(RemoveAll(field, '|')), true};
}

std::vector<TreeLevelItem> TreeLevel(const ResultNode& node) {
    std::vector<TreeLevelItem> items;
    items.reserve(node.children().size());
    std::size_t sortedCount = 0;
    for (const auto& child : node.children()) {
        TreeItemText item = TreeItemOf(child->title());
        items.push_back({child.get(), std::move(item.text), item.stateImage, item.hasState});
        if (SortsItsLevel(*child)) sortedCount = items.size();
    }
    SortUpTo(items, sortedCount);
    return items;
}

std::vector<TreeLevelItem> ExpandableTreeLevel(const ResultNode& node) {
    std::vector<TreeLevelItem> items;
    std::size_t sortedCount = 0;
    // Unmarked nodes are walked through; a marked node is an item and the walk
    // does not enter it. A node of this level that asks for sorting sorts what
    // the level holds when it is done.
    WalkTree(
        node, kAnyDepth,
        [&](const ResultNode& n, std::size_t depth) {
            const std::string_view marker = ExpandableMarker(n.title());
            if (depth == 0 || marker.empty()) return Visit::Children;
            items.push_back({&n, ReplaceAll(n.title(), marker, ""), 1, true});
            return Visit::SkipChildren;
        },
        [&](const ResultNode& n, std::size_t depth) {
            if (depth > 0 && SortsItsLevel(n)) sortedCount = items.size();
        });
    SortUpTo(items, sortedCount);
    return items;
}

std::vector<TreeLevelItem> ExpandableTreeTop(const ResultNode& root) {
    const std::string_view marker = ExpandableMarker(root.title());
    if (marker.empty()) return ExpandableTreeLevel(root);
    return {{&root, ReplaceAll(root.title(), marker, ""), 1, true}};
}

}  // namespace kavlo
