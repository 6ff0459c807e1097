#pragma once
// Puts a result tree into a tree control. The control is reached through a small
// interface so that the Windows views and the tests share the same walk.

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/records.h"

namespace kavlo {

/// A tree control as the fill walks see it. Item keys are the control's own;
/// the Windows views map them to their item handles.
class TreeSink {
public:
    virtual ~TreeSink() = default;
    /// Inserts an item as the last child of `parent` and returns its key.
    virtual std::uint32_t InsertItem(std::uint32_t parent, std::string_view text, int stateImage) = 0;
    /// Sorts the children of `parent` alphabetically by text.
    virtual void SortChildren(std::uint32_t parent) = 0;
};

/// The markers that make a node an item of an expandable tree ("treexp", "treexptxt").
inline constexpr std::string_view kExpandableMarkers[] = {"[D] ", "{D} "};
/// The marker a title begins with; empty for none.
std::string_view ExpandableMarker(std::string_view title);

/// Inserts `node` and its subtree under `parentItem` (kind "tree"): a title that
/// begins with "|" loses its four-character state field, which gives the state image.
void FillTree(const ResultNode& node, TreeSink& sink, std::uint32_t parentItem);

/// Inserts the nodes of `node`'s subtree (itself included) whose title begins with
/// "[D] " or "{D} " (kinds "treexp", "treexptxt"), marker removed, state image 1;
/// unmarked nodes are left out and their descendants move up to their level.
void FillExpandableTree(const ResultNode& node, TreeSink& sink, std::uint32_t parentItem);

/// The text and state image that FillTree shows for a node title.
struct TreeItemText {
    std::string text;
    int stateImage = 0;
    bool hasState = false;  ///< the title had a state field ("|00|" gives image 0)
};
TreeItemText TreeItemOf(std::string_view title);

/// One item of a tree level, for views that insert a level when it is first
/// opened instead of the whole tree up front.
struct TreeLevelItem {
    const ResultNode* node = nullptr;
    std::string text;
    int stateImage = 0;
    bool hasState = false;
};

/// The items FillTree puts under `node`: its children in the order the fill
/// leaves them (sorted where a child's detail asks for it).
std::vector<TreeLevelItem> TreeLevel(const ResultNode& node);
/// The items FillExpandableTree puts under the item of `node`: the marked nodes
/// reached through unmarked ones, in the order the fill leaves them.
std::vector<TreeLevelItem> ExpandableTreeLevel(const ResultNode& node);
/// The top level of an expandable tree: the root itself when it is marked,
/// else the level below it.
std::vector<TreeLevelItem> ExpandableTreeTop(const ResultNode& root);

}  // namespace kavlo
