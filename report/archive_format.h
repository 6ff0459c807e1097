#pragma once
// Constants of the report archive (.IFO): header values, reference tags, class
// descriptors and the limits the reader enforces on untrusted files.

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/records.h"

namespace kavlo::report {

/// Format version this program writes; titles carry their second column line from it on.
inline constexpr std::uint32_t kFormatVersion = 306;
/// Build number written beside the format version.
inline constexpr std::uint32_t kBuildNumber = 35;

/// Schema number of every record class.
inline constexpr std::uint16_t kRecordSchema = 100;
/// Class names in descriptors are shorter than this.
inline constexpr std::size_t kMaxClassNameLength = 64;

// Reference tags (first WORD of a list element).
inline constexpr std::uint16_t kNullTag = 0x0000;
inline constexpr std::uint16_t kBigObjectTag = 0x7FFF;
inline constexpr std::uint16_t kClassTag = 0x8000;
inline constexpr std::uint16_t kNewClassTag = 0xFFFF;
inline constexpr std::uint32_t kBigClassTag = 0x80000000u;
/// Highest number a reference can name (bit 31 marks classes in long tags).
inline constexpr std::uint32_t kMaxNumber = 0x7FFFFFFFu;

/// Deepest nesting of tree nodes (navigation or result tree) the reader accepts
/// and the writer produces; the root of a tree is level 1.
inline constexpr std::size_t kMaxNesting = kMaxTreeLevels;
/// Largest archive (plain, or decompressed from gzip) that is read at all.
inline constexpr std::uint64_t kMaxArchiveBytes = std::uint64_t{4} << 30;

/// The four record classes that a report holds.
enum class RecordClass : std::uint8_t { NavNode, ResultNode, ScriptRecord, TitleRecord };

/// The class name written in descriptors ("data_LView", ...).
std::string_view ClassName(RecordClass cls);
/// The record class with exactly this name (case-sensitive), if any.
std::optional<RecordClass> ClassFromName(std::string_view name);

}  // namespace kavlo::report
