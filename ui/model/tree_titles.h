#pragma once
// How result-tree node titles are shown in the tree views.

#include <optional>
#include <string>
#include <string_view>

namespace kavlo::ui {

/// A tree item as the tree view shows it.
struct TreeLabel {
    std::string text;
    int stateImage = -1;  ///< -1: no state image
};

/// "|NN|Label": the first four characters without their bars give the state
/// image index, the rest is the label. Other titles are shown whole.
TreeLabel DecodeStateTitle(std::string_view title);

/// For the expandable tree views: the label of a node marked "[D] " or "{D} "
/// (every occurrence of its marker removed), or nothing for an entry node.
std::optional<std::string> ExpandableNodeLabel(std::string_view title);

/// True when a node's detail asks for its level to be sorted.
bool DetailSorts(std::string_view detail);

}  // namespace kavlo::ui
