#include "report/record_copy.h"

#include <initializer_list>
#include <vector>

#include "engine/tree_walk.h"
#include "report/archive_format.h"

namespace kavlo::report {
namespace {

// Rough memory taken by one node besides its strings.
constexpr std::uint64_t kNodeCost = 64;

bool Charge(CopyBudget& budget, std::uint64_t cost) {
    if (cost > budget.bytesLeft) {
        budget.bytesLeft = 0;
        return false;
    }
    budget.bytesLeft -= cost;
    return true;
}

std::uint64_t NodeCost(const ResultNode& node) {
    return kNodeCost + node.title().size() + node.detail().size() + node.extra().size();
}

/// Charges a copied record of `size` bytes with strings of `lengths` to both budgets.
bool ChargeRecord(CopyBudget& budget, std::uint64_t cost, std::size_t size,
                  std::initializer_list<std::size_t> lengths) {
    if (!Charge(budget, cost)) return false;
    if (!budget.total) return true;
    std::uint64_t strings = 0;
    for (std::size_t length : lengths) strings += StringMemory(length);
    return budget.total->TakeNode(size) && budget.total->TakeBytes(strings);
}

bool ChargeNode(CopyBudget& budget, const ResultNode& node) {
    return ChargeRecord(budget, NodeCost(node), sizeof(ResultNode),
                        {node.title().size(), node.detail().size(), node.extra().size()});
}

bool ChargeNode(CopyBudget& budget, const NavNode& node) {
    return ChargeRecord(budget, kNodeCost + node.Text().size(), sizeof(NavNode), {node.Text().size()});
}

std::unique_ptr<ResultNode> CloneNode(const ResultNode& node) {
    return std::make_unique<ResultNode>(node.title(), node.detail(), node.extra());
}

std::unique_ptr<NavNode> CloneNode(const NavNode& node) { return std::make_unique<NavNode>(node.key(), node.Text()); }

// Copies a whole subtree, charging every node to the budget; none when the
// subtree is deeper than `depthLeft` levels or the budget runs out.
template <class Node>
std::unique_ptr<Node> CopySubtree(const Node& source, std::size_t depthLeft, CopyBudget& budget) {
    if (depthLeft == 0) return nullptr;
    std::unique_ptr<Node> copy;
    std::vector<Node*> copies;  // the copy of each node on the walk's path
    const WalkEnd end = WalkTree(
        source, depthLeft - 1,
        [&](const Node& node, std::size_t) {
            if (!ChargeNode(budget, node)) return Visit::Stop;
            if (copies.empty()) copy = CloneNode(node), copies.push_back(copy.get());
            else copies.push_back(&copies.back()->AppendChild(CloneNode(node)));
            return Visit::Children;
        },
        [&](const Node&, std::size_t) { copies.pop_back(); });
    return end == WalkEnd::Completed ? std::move(copy) : nullptr;
}

}  // namespace

std::unique_ptr<ResultNode> CopyTree(const ResultNode& source, std::size_t depthLeft, CopyBudget& budget) {
    return CopySubtree(source, depthLeft, budget);
}

std::unique_ptr<NavNode> CopyNavigation(const NavNode& source, std::size_t depthLeft, CopyBudget& budget) {
    return CopySubtree(source, depthLeft, budget);
}

std::unique_ptr<TitleRecord> CopyTitle(const TitleRecord& source, ScriptRecord* owner, CopyBudget& budget) {
    const std::uint64_t cost = kNodeCost + source.name.size() + source.text.size() + source.kind.size() +
                               source.kindDetail.size() + source.header1.size() + source.header2.size();
    if (!ChargeRecord(budget, cost, sizeof(TitleRecord),
                      {source.name.size(), source.text.size(), source.kind.size(), source.kindDetail.size(),
                       source.header1.size(), source.header2.size()}))
        return nullptr;
    auto copy = std::make_unique<TitleRecord>(source.name, owner);
    copy->treeKey = source.treeKey;
    copy->startOffset = source.startOffset;
    copy->hasBody = source.hasBody;
    copy->kind = source.kind;
    copy->kindDetail = source.kindDetail;
    copy->header1 = source.header1;
    copy->header2 = source.header2;
    copy->text = source.text;
    copy->runPending = source.runPending;
    auto root = CopyTree(source.root, kMaxNesting, budget);
    if (!root) return nullptr;
    copy->root = std::move(*root);
    return copy;
}

std::unique_ptr<ScriptRecord> CopyFile(const ScriptRecord& source, CopyBudget& budget) {
    if (!ChargeRecord(budget, kNodeCost + source.path.size() + source.fileName.size(), sizeof(ScriptRecord),
                      {source.path.size(), source.fileName.size()}))
        return nullptr;
    auto copy = std::make_unique<ScriptRecord>(source.path, source.fileName);
    copy->treeKey = source.treeKey;
    copy->engine = source.engine;
    copy->version = source.version;
    copy->date = source.date;
    for (const auto& title : source.titles) {
        auto titleCopy = CopyTitle(*title, copy.get(), budget);
        if (!titleCopy) return nullptr;
        copy->titles.push_back(std::move(titleCopy));
    }
    return copy;
}

}  // namespace kavlo::report
