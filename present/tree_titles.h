#pragma once
// How the expandable tree views split a node's children into tree nodes and
// entries. (The fill walks themselves are the engine's, engine/tree_fill.h.)

#include <string>
#include <string_view>

namespace kavlo::ui {

/// True for a title that the expandable tree views show as a tree node.
bool IsTreeNodeTitle(std::string_view title);

/// The line an entry of an expandable tree shows: its title, and the further
/// fields that the comma split of its creating argument put into its own
/// `extra` (not the column specification it inherited from its parent).
std::string EntryLine(std::string_view title, std::string_view extra, std::string_view parentExtra);

}  // namespace kavlo::ui
