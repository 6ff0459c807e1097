#include "platform/sim/name_fold.h"

namespace kavlo::platform::sim {
namespace {

unsigned char FoldByte(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
    // Latin-1 lower-case letters except the division sign; y with diaeresis and
    // the three Windows-1252 extras fold to their capitals.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
    switch (c) {
        case 0x9A: return 0x8A;  // s caron
        case 0x9C: return 0x8C;  // oe
        case 0x9E: return 0x8E;  // z caron
        case 0xFF: return 0x9F;  // y diaeresis
        default: return c;
    }
}

}  // namespace

std::string FoldName(std::string_view name) {
    std::string out(name);
    for (char& c : out) c = static_cast<char>(FoldByte(static_cast<unsigned char>(c)));
    return out;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldByte(static_cast<unsigned char>(a[i])) != FoldByte(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

bool NameLess(std::string_view a, std::string_view b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = FoldByte(static_cast<unsigned char>(a[i]));
        const unsigned char y = FoldByte(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

}  // namespace kavlo::platform::sim
