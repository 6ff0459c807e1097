#pragma once
// JSON form of a title record, shared by "kavlo run" and "kavlo export":
// {"name","key","pending","kind","kind_detail","header1","header2","text","tree"},
// where "tree" is null for kinds without a tree and otherwise the root node
// {"title","children":[...]}. Strings are converted to UTF-8 from the machine's
// ANSI code page.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/records.h"

namespace kavlo::cli {

/// Appends `text` (already UTF-8) as a quoted JSON string.
void AppendJsonString(std::string& out, std::string_view utf8);
/// Appends a code-page string as a quoted JSON string.
void AppendJsonText(std::string& out, std::string_view ansi, std::uint32_t codePage);
/// Appends a result tree node and its subtree (iteratively: trees may be very deep).
void WriteNodeJson(std::string& out, const ResultNode& node, std::uint32_t codePage);
/// Appends one title object.
void WriteTitleJson(std::string& out, const TitleRecord& title, std::uint32_t codePage);

}  // namespace kavlo::cli
