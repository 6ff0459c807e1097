#pragma once
// The navigation model that the GUI's left pane and the command line share: the
// computer, one node per script, one per title, with node keys that pair the
// catalog's records with the nodes. Keys are opaque 32-bit numbers handed out by
// a counter, unique within one report, never 0 and never the root marker.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/records.h"

namespace kavlo::report {

using Catalog = std::vector<std::unique_ptr<ScriptRecord>>;

/// Hands out node keys for one report.
class NodeKeys {
public:
    /// The next unused key.
    std::uint32_t Next();
    /// Starts again from the first key (for a new or freshly opened report).
    void Reset() { next_ = 1; }

private:
    std::uint32_t next_ = 1;
};

/// Replaces the model by the tree of a fresh document: the root labelled with
/// the computer label, a node per script (its file name) and per title (its
/// name), in catalog order; the keys are stored in the files and titles.
void BuildNavigation(NavNode& model, const std::string& rootLabel, Catalog& catalog, NodeKeys& keys);

/// After a report was opened: gives every node a fresh key (depth first, root
/// first) and moves each script and title to the new key of the node that had
/// its old key. A record whose old key no node had gets 0 and pairs with nothing.
void RekeyAfterOpen(NavNode& model, Catalog& catalog, NodeKeys& keys);

/// The label of an opened report's root: the stored label up to its first "["
/// followed by "[file]" ("PC1  [local computer]" gives "PC1  [file]").
std::string OpenedRootLabel(std::string_view storedLabel);

/// What a node key names in the catalog: a title (with its script), a script
/// alone, or nothing.
struct KeyTarget {
    ScriptRecord* file = nullptr;
    TitleRecord* title = nullptr;
};

/// Searches the catalog: for each script its own key first, then its titles' keys.
KeyTarget FindByKey(const Catalog& catalog, std::uint32_t key);

/// The total number of titles over all scripts.
std::size_t CountTitles(const Catalog& catalog);

}  // namespace kavlo::report
