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

char16_t FoldUnit(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
    if (c == 0xFF) return 0x178;
    // Latin Extended-A pairs a capital with the small letter after it; from
    // U+0139 to U+0148 and from U+0179 to U+017E the capital has the odd number.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return static_cast<char16_t>(c & ~1u);
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1u) ? c : static_cast<char16_t>(c - 1);
    if (c == 0x192) return 0x191;
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return static_cast<char16_t>(c - 0x20);
    if (c == 0x3C2) return 0x3A3;  // final sigma
    if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
    if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0x20);
    return c;
}

}  // namespace

std::u16string FoldName16(std::u16string_view name) {
    std::u16string out(name);
    for (char16_t& c : out) c = FoldUnit(c);
    return out;
}

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
