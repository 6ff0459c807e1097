#pragma once
// The items a tree view shows for a result tree, one level at a time: views
// insert a level when it is first opened instead of the whole tree up front.

#include <string_view>
#include <vector>

#include "engine/records.h"

namespace kavlo {

/// The markers that make a node an item of an expandable tree ("treexp", "treexptxt").
inline constexpr std::string_view kExpandableMarkers[] = {"[D] ", "{D} "};
/// The marker a title begins with; empty for none.
std::string_view ExpandableMarker(std::string_view title);

/// The text and state image of a node title in a "tree" title: a title that
/// begins with "|" loses its four-character state field, which gives the state image.
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

/// The items under `node` (kind "tree"): its children. A child whose detail holds
/// "sort" sorts the level, without regard to case, as far as that child: the items
/// after the last such child keep their order.
std::vector<TreeLevelItem> TreeLevel(const ResultNode& node);
/// The items under the item of `node` (kinds "treexp", "treexptxt"): the nodes
/// whose title begins with "[D] " or "{D} " (marker removed, state image 1),
/// reached through unmarked ones, whose own titles are left out. A node asking for
/// sorting sorts the level as far as the items found when its walk is done.
std::vector<TreeLevelItem> ExpandableTreeLevel(const ResultNode& node);
/// The top level of an expandable tree: the root itself when it is marked,
/// else the level below it.
std::vector<TreeLevelItem> ExpandableTreeTop(const ResultNode& root);

}  // namespace kavlo
