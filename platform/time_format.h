#pragma once
// strftime as the Windows C runtime formats in the "C" locale, so that dates in
// reports look the same on every backend and every host.

#include <string>
#include <string_view>

#include "platform/machine.h"

namespace kavlo {

/// Formats a local time. Supports %a %A %b %B %c %d %H %I %j %m %M %p %S %U %w
/// %W %x %X %y %Y %Z(empty) %%; "%c" is "%m/%d/%y %H:%M:%S", "%x" "%m/%d/%y",
/// "%X" "%H:%M:%S". Unknown conversions are copied unchanged.
std::string FormatTime(const platform::LocalTime& time, std::string_view format);

}  // namespace kavlo
