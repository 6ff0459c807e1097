#pragma once
// The words and letters that file records show: drive types, attribute and
// rights letters, size texts and version-resource key parts.

#include <cstdint>
#include <string>
#include <string_view>

namespace kavlo {

/// Longest text a version field holds; longer resource strings are cut.
inline constexpr std::size_t kVersionFieldChars = 255;
/// Longest file-system name a volume query gives.
inline constexpr std::size_t kFileSystemNameChars = 255;
/// Longest result of expanding environment variables in a path.
inline constexpr std::size_t kExpandedPathChars = 259;

/// "HardDrive", "CD-ROM", ... for a GetDriveType value; empty for values outside 0..6.
std::string DriveTypeWord(std::uint32_t driveType);
/// "R", "A", "C", "H", "S", "D" for the set attribute bits, in that order.
std::string AttributeLetters(std::uint32_t attributes);
/// Six "+"/"-" and letter pairs for read, write, execute, delete, permissions and owner.
std::string RightsLetters(std::uint32_t grantedMask);

/// Byte count as text: plain up to 1,000, then tenths of "K" and "MB".
std::string FormatSize(std::uint32_t bytes);
/// As FormatSize with "0" for zero and tenths of "G" above 1,000,000,000.
std::string FormatSize64(std::uint64_t bytes);
/// FormatSize for a count that fits in 32 bits, FormatSize64 for a larger one.
std::string SizeText(std::uint64_t bytes);

/// A 16-bit language or code page as the four lower-case hex digits of a
/// version-resource key ("0409", "04e4", "0000").
std::string TranslationHex(std::uint16_t word);
/// A resource string as a field holds it: cut at its first zero and at
/// kVersionFieldChars, optionally with every "," turned into ".".
std::string VersionFieldText(std::string_view value, bool commasToPoints);

}  // namespace kavlo
