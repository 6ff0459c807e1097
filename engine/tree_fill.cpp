#include "engine/tree_fill.h"

#include <vector>

#include "engine/text_util.h"

namespace kavlo {
namespace {

// Result trees can be as deep as a script has lines, so the walks keep their
// own stack instead of recursing.
template <class Node>
struct Frame {
    Node* node;
    std::uint32_t parentItem;  ///< the item the node was given as parent
    std::uint32_t childItem;   ///< the item its children go under
    std::size_t nextChild;
};

bool SortsItsLevel(const ResultNode& node) { return Contains(node.detail(), "sort"); }

}  // namespace

TreeItemText TreeItemOf(std::string_view title) {
    if (!StartsWith(title, "|")) return {std::string(title), 0};
    const std::string_view field = title.substr(0, 4);
    return {std::string(title.substr(field.size())), ParseDecimal(RemoveAll(field, '|'))};
}

void FillTree(const ResultNode& node, TreeSink& sink, std::uint32_t parentItem) {
    std::vector<Frame<const ResultNode>> stack;
    auto enter = [&](const ResultNode& n, std::uint32_t parent) {
        const TreeItemText item = TreeItemOf(n.title());
        stack.push_back({&n, parent, sink.InsertItem(parent, item.text, item.stateImage), 0});
    };
    enter(node, parentItem);
    while (!stack.empty()) {
        Frame<const ResultNode>& frame = stack.back();
        if (frame.nextChild < frame.node->children().size()) {
            const ResultNode& child = *frame.node->children()[frame.nextChild++];
            enter(child, frame.childItem);
            continue;
        }
        const bool sorts = SortsItsLevel(*frame.node);
        const std::uint32_t parent = frame.parentItem;
        stack.pop_back();
        if (sorts) sink.SortChildren(parent);
    }
}

void FillExpandableTree(ResultNode& node, TreeSink& sink, std::uint32_t parentItem) {
    std::vector<Frame<ResultNode>> stack;
    auto enter = [&](ResultNode& n, std::uint32_t parent) {
        std::uint32_t childItem = parent;
        for (std::string_view marker : {std::string_view("[D] "), std::string_view("{D} ")}) {
            if (!StartsWith(n.title(), marker)) continue;
            childItem = sink.InsertItem(parent, ReplaceAll(n.title(), marker, ""), 1);
            n.set_itemHandle(childItem);
            break;
        }
        stack.push_back({&n, parent, childItem, 0});
    };
    enter(node, parentItem);
    while (!stack.empty()) {
        Frame<ResultNode>& frame = stack.back();
        if (frame.nextChild < frame.node->children().size()) {
            ResultNode& child = *frame.node->children()[frame.nextChild++];
            enter(child, frame.childItem);
            continue;
        }
        const bool sorts = SortsItsLevel(*frame.node);
        const std::uint32_t parent = frame.parentItem;
        stack.pop_back();
        if (sorts) sink.SortChildren(parent);
    }
}

}  // namespace kavlo
