#pragma once
// Shared pieces of the check-item and value-map commands: field splitting, the
// state codes of check items, one-byte file reads and the value-map block.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/script_engine.h"

namespace kavlo {

/// The argument cut at every `separator`, padded with empty fields up to `count`.
std::vector<std::string_view> SplitFields(std::string_view text, std::string_view separator, std::size_t count);

/// The two-character state code of a check item ("00" to "11").
std::string_view CheckStateCode(bool equal, bool checkBox, bool locked, bool lockNonZero);

/// Reads the byte at `offset` of a file on the machine as a signed number; 0
/// when the offset is negative or at/past the end; none when the file cannot be opened.
std::optional<std::int8_t> ReadFileByte(platform::Machine& machine, std::string_view path, std::int64_t offset);

/// Reads up to `limit` bytes at `offset`; none when the file cannot be opened.
std::optional<std::string> ReadFileBytes(platform::Machine& machine, std::string_view path, std::int64_t offset,
                                         std::size_t limit);

/// Consumes a value-map block ("number:text" lines up to "}"): the first line
/// whose number equals `value` adds a node `prefix` + its text below the current
/// node and the rest of the block is skipped. The block's end lowers the depth.
void ApplyValueMap(ScriptEngine& engine, ScriptFile& file, std::string_view prefix, std::uint32_t value,
                   TitleRecord* title);

}  // namespace kavlo
