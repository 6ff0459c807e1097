#pragma once
// The one depth-first walk over result trees and navigation models. Trees get
// their depth from scripts and files, so the walk keeps its own stack instead of
// recursing, and every caller states how deep it is prepared to go.

#include <cstddef>
#include <limits>
#include <vector>

namespace kavlo {

/// For walks over trees already in memory, whose depth their builder bounded.
inline constexpr std::size_t kAnyDepth = std::numeric_limits<std::size_t>::max();

/// What an enter callback decides for the node it was given.
enum class Visit { Children, SkipChildren, Stop };

/// How a walk ended.
enum class WalkEnd { Completed, Stopped, TooDeep };

/// Walks `root` and its descendants, parents before children, in child order:
/// `enter(node, depth)` (the root at depth 0) returns a Visit, and
/// `leave(node, depth)` follows the last descendant of each entered node. A node
/// deeper than `maxDepth` ends the walk with TooDeep before it is entered; `Stop`
/// ends it at once (no further leave calls).
template <class Node, class Enter, class Leave>
WalkEnd WalkTree(Node& root, std::size_t maxDepth, Enter&& enter, Leave&& leave) {
    struct Frame {
        Node* node;
        std::size_t next;
    };
    switch (enter(root, std::size_t{0})) {
        case Visit::Stop: return WalkEnd::Stopped;
        case Visit::SkipChildren: leave(root, std::size_t{0}); return WalkEnd::Completed;
        case Visit::Children: break;
    }
    std::vector<Frame> stack{{&root, 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.node->children().size()) {
            Node* done = top.node;
            stack.pop_back();
            leave(*done, stack.size());
            continue;
        }
        Node& child = *top.node->children()[top.next++];
        const std::size_t depth = stack.size();
        if (depth > maxDepth) return WalkEnd::TooDeep;
        const Visit visit = enter(child, depth);
        if (visit == Visit::Stop) return WalkEnd::Stopped;
        if (visit == Visit::SkipChildren) leave(child, depth);
        else stack.push_back({&child, 0});
    }
    return WalkEnd::Completed;
}

/// WalkTree without a leave callback.
template <class Node, class Enter>
WalkEnd WalkTree(Node& root, std::size_t maxDepth, Enter&& enter) {
    return WalkTree(root, maxDepth, enter, [](Node&, std::size_t) {});
}

}  // namespace kavlo
