#include "probes/files/file_texts.h"

#include <algorithm>
#include <array>

namespace kavlo {
namespace {

// Divides, then shows the quotient with a point before its last digit.
std::string Tenths(std::uint64_t quotient, std::string_view unit) {
    std::string digits = std::to_string(quotient);
    if (digits.size() < 2) digits.insert(0, 1, '0');
    digits.insert(digits.size() - 1, 1, '.');
    digits += unit;
    return digits;
}

std::string SizeUpToMegabytes(std::uint64_t bytes) {
    if (bytes > 1'000'000) return Tenths(bytes / 100'000, "MB");
    if (bytes > 1'000) return Tenths(bytes / 100, "K");
    return std::to_string(bytes);
}

}  // namespace

std::string DriveTypeWord(std::uint32_t driveType) {
    static constexpr std::array<std::string_view, 7> kWords = {"Unknown", "Not a root", "Removable", "HardDrive",
                                                               "Network", "CD-ROM",     "RAM"};
    return driveType < kWords.size() ? std::string(kWords[driveType]) : std::string();
}

std::string AttributeLetters(std::uint32_t attributes) {
    struct Letter {
        std::uint32_t bit;
        char letter;
    };
    static constexpr std::array<Letter, 6> kLetters = {
        {{0x1, 'R'}, {0x20, 'A'}, {0x800, 'C'}, {0x2, 'H'}, {0x4, 'S'}, {0x10, 'D'}}};
    std::string out;
    for (const Letter& l : kLetters)
        if (attributes & l.bit) out.push_back(l.letter);
    return out;
}

std::string RightsLetters(std::uint32_t grantedMask) {
    struct Letter {
        std::uint32_t bit;
        char letter;
    };
    static constexpr std::array<Letter, 6> kLetters = {
        {{0x1, 'R'}, {0x2, 'W'}, {0x20, 'X'}, {0x10000, 'D'}, {0x40000, 'P'}, {0x80000, 'O'}}};
    std::string out;
    for (const Letter& l : kLetters) {
        out.push_back((grantedMask & l.bit) ? '+' : '-');
        out.push_back(l.letter);
    }
    return out;
}

std::string FormatSize(std::uint32_t bytes) { return SizeUpToMegabytes(bytes); }

std::string FormatSize64(std::uint64_t bytes) {
    if (bytes == 0) return "0";
    if (bytes > 1'000'000'000) return Tenths(bytes / 100'000'000, "G");
    return SizeUpToMegabytes(bytes);
}

std::string SizeText(std::uint64_t bytes) {
    if (bytes <= 0xFFFFFFFFu) return FormatSize(static_cast<std::uint32_t>(bytes));
    return FormatSize64(bytes);
}

std::string TranslationHex(std::uint16_t word) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out(4, '0');
    for (int i = 3; i >= 0; --i) {
        out[static_cast<std::size_t>(i)] = kDigits[word & 0xF];
        word = static_cast<std::uint16_t>(word >> 4);
    }
    return out;
}

std::string VersionFieldText(std::string_view value, bool commasToPoints) {
    const auto zero = value.find('\0');
    if (zero != std::string_view::npos) value = value.substr(0, zero);
    std::string out(value.substr(0, std::min(value.size(), kVersionFieldChars)));
    if (commasToPoints) std::replace(out.begin(), out.end(), ',', '.');
    return out;
}

}  // namespace kavlo
