#pragma once
// What reading one report may build. The archive's byte count does not bound
// memory: a node takes a few bytes in the file but well over a hundred in
// memory, and gzip shrinks a repetitive file a thousandfold, so a 73 KB report
// could ask for gigabytes. The reader charges every node and string it builds
// here and gives up with a format error once the bound is reached.

#include <cstddef>
#include <cstdint>

namespace kavlo::report {

/// Nodes (navigation and result tree nodes, titles, scripts) one report may hold:
/// far beyond the few thousand of a full gathering, still a bounded amount of memory.
inline constexpr std::uint64_t kMaxReadNodes = 4'000'000;
/// Memory (estimated: nodes with their bookkeeping, and strings) one report may take.
inline constexpr std::uint64_t kMaxReadMemory = std::uint64_t{1} << 30;

/// Bytes of memory a string of `length` characters takes beyond its owner.
constexpr std::uint64_t StringMemory(std::uint64_t length) {
    // Short strings live inside their owner; longer ones in an allocation of their own.
    return length < 16 ? 0 : length + 32;
}

class BuildBudget {
public:
    BuildBudget(std::uint64_t maxNodes, std::uint64_t maxBytes) : nodesLeft_(maxNodes), bytesLeft_(maxBytes) {}

    /// Takes one node of `size` bytes (its allocation, the pointer its parent
    /// keeps and the reader's entry for it); false once the bound is reached.
    bool TakeNode(std::size_t size) {
        if (nodesLeft_ == 0) return false;
        --nodesLeft_;
        return TakeBytes(size + kNodeBookkeeping);
    }
    /// Takes `bytes` of memory; false once the bound is reached.
    bool TakeBytes(std::uint64_t bytes) {
        if (bytes > bytesLeft_) {
            bytesLeft_ = 0;
            nodesLeft_ = 0;
            return false;
        }
        bytesLeft_ -= bytes;
        return true;
    }

private:
    // Allocator header, the parent's pointer (vectors grow to twice their size)
    // and the reader's numbering entry (likewise).
    static constexpr std::size_t kNodeBookkeeping = 16 + 16 + 32;

    std::uint64_t nodesLeft_;
    std::uint64_t bytesLeft_;
};

}  // namespace kavlo::report
