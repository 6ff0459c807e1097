#pragma once
// Test helper: writes .evt images in memory, records placed in the circular data
// area from a chosen offset so that they wrap, with a clean or a dirty header.

#include <cstdint>
#include <string>
#include <vector>

namespace kavlo::testing {

struct EvtLayout {
    std::size_t fileSize = 0;        ///< 0: just large enough
    std::size_t firstOffset = 0x30;  ///< where the oldest record starts
    bool dirty = false;              ///< header flagged dirty, its offsets stale
};

inline void PutU32At(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline std::string BuildEvtFile(const std::vector<std::string>& records, EvtLayout layout = {}) {
    constexpr std::size_t kHeader = 0x30;
    std::string end(0x28, '\0');
    std::size_t total = end.size();
    for (const std::string& r : records) total += r.size();
    const std::size_t size = layout.fileSize ? layout.fileSize : kHeader + total;
    std::string file(size, '\0');
    std::size_t at = layout.firstOffset;
    auto put = [&](const std::string& bytes) {
        for (char c : bytes) {
            file[at++] = c;
            if (at == size) at = kHeader;
        }
    };
    for (const std::string& r : records) put(r);
    const std::size_t endOffset = at;
    PutU32At(end, 0, 0x28);
    PutU32At(end, 4, 0x11111111);
    PutU32At(end, 8, 0x22222222);
    PutU32At(end, 12, 0x33333333);
    PutU32At(end, 16, 0x44444444);
    PutU32At(end, 20, static_cast<std::uint32_t>(layout.firstOffset));
    PutU32At(end, 24, static_cast<std::uint32_t>(endOffset));
    PutU32At(end, 36, 0x28);
    put(end);
    PutU32At(file, 0, 0x30);
    PutU32At(file, 4, 0x654C664C);
    PutU32At(file, 8, 1);
    PutU32At(file, 12, 1);
    // A dirty header keeps the offsets of an earlier, empty state.
    PutU32At(file, 16, static_cast<std::uint32_t>(layout.dirty ? kHeader : layout.firstOffset));
    PutU32At(file, 20, static_cast<std::uint32_t>(layout.dirty ? kHeader : endOffset));
    PutU32At(file, 32, static_cast<std::uint32_t>(size));
    PutU32At(file, 36, layout.dirty ? 1 : 0);
    PutU32At(file, 44, 0x30);
    return file;
}

}  // namespace kavlo::testing
