#pragma once
// Deep copies of records, used when an archive refers back to an object it has
// already read: every record has exactly one owner, so a second reference gets
// its own copy. Copies are bounded so that a small file cannot expand into a
// huge tree by referring to the same subtree again and again.

#include <cstdint>
#include <memory>

#include "engine/records.h"
#include "report/read_budget.h"

namespace kavlo::report {

/// What copies may still cost: bytes (an estimate of the memory they take) and
/// the nesting depth at which the copy is placed.
struct CopyBudget {
    std::uint64_t bytesLeft = 0;
    BuildBudget* total = nullptr;  ///< what the whole read may still build, charged as well
};

/// Copies title, detail, extra and the whole subtree. Null when the budget runs
/// out or the copy would reach deeper than `depthLeft` levels (the node itself is one).
std::unique_ptr<ResultNode> CopyTree(const ResultNode& source, std::size_t depthLeft, CopyBudget& budget);
/// Copies text, key and the whole subtree (values are not copied).
std::unique_ptr<NavNode> CopyNavigation(const NavNode& source, std::size_t depthLeft, CopyBudget& budget);
/// Copies every field of a title, its tree included; the copy belongs to `owner`.
std::unique_ptr<TitleRecord> CopyTitle(const TitleRecord& source, ScriptRecord* owner, CopyBudget& budget);
/// Copies a script file with all its titles.
std::unique_ptr<ScriptRecord> CopyFile(const ScriptRecord& source, CopyBudget& budget);

}  // namespace kavlo::report
