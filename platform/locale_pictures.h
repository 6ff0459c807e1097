#pragma once
// Date and time pictures as the Windows locale functions read them
// ("M/d/yyyy", "h:mm:ss tt"), in the English forms: how a simulated machine
// writes the user's locale date and time forms.

#include <string>
#include <string_view>

#include "platform/machine.h"

namespace kavlo::platform {

/// The short date form of English (United States) on Windows 2000.
inline constexpr std::string_view kUsShortDatePicture = "M/d/yyyy";
/// The time form of English (United States) on Windows 2000.
inline constexpr std::string_view kUsTimePicture = "h:mm:ss tt";

/// A date through a picture of "d", "dd", "ddd", "dddd", "M" ... "MMMM", "y",
/// "yy", "yyyy" and "gg"; text in single quotes is literal ('' is a quote), any
/// other character is copied.
std::string FormatDatePicture(const LocalTime& time, std::string_view picture);
/// A time through a picture of "h", "hh", "H", "HH", "m", "mm", "s", "ss", "t"
/// and "tt", quoting as in dates.
std::string FormatTimePicture(const LocalTime& time, std::string_view picture);

}  // namespace kavlo::platform
