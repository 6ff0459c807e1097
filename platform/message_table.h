#pragma once
// Message tables (RT_MESSAGETABLE resources) of PE images, and the escape
// processing FormatMessage applies to a message when its inserts are ignored.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/pe_version.h"

namespace kavlo::platform {

/// Largest message table accepted.
inline constexpr std::uint32_t kMaxMessageTableBytes = 4 * 1024 * 1024;

/// A parsed message table block: MESSAGE_RESOURCE_DATA with its id ranges and
/// entries of ANSI or UTF-16 text. Every offset is checked on lookup.
class MessageTable {
public:
    /// The first message table (name 1, first language) of an image; nullopt
    /// when the image has none or it is malformed.
    static std::optional<MessageTable> FromImage(const RandomAccessBytes& image);
    /// A table from its resource bytes.
    static std::optional<MessageTable> FromBlock(std::string block);

    /// The raw text of a message (UTF-16 entries converted to the code page,
    /// trailing zeros removed); nullopt when no range holds the id.
    std::optional<std::string> Find(std::uint32_t messageId, std::uint32_t codePage) const;

private:
    explicit MessageTable(std::string block) : block_(std::move(block)) {}
    std::string block_;
};

/// What FormatMessage with FORMAT_MESSAGE_IGNORE_INSERTS makes of a message:
/// "%n" a line break, "%r" a carriage return, "%t" a tab, "%0" ends the text
/// (and its final line break), "%%", "%." and "%!" the sign itself; inserts
/// such as "%1" and "%1!s!" stay as written.
std::string ApplyMessageEscapes(std::string_view text);

}  // namespace kavlo::platform
