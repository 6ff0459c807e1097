#pragma once
// Conversions between the core's ANSI strings and the wide strings of the
// Windows controls.

#include <string>
#include <string_view>

namespace kavlo::ui {

/// ANSI code page text to UTF-16.
std::wstring Widen(std::string_view text);
/// UTF-16 to the ANSI code page.
std::string Narrow(std::wstring_view text);
/// A control's or window's whole text.
std::wstring WindowText(void* hwnd);

}  // namespace kavlo::ui

namespace kavlo::ui {

/// An edit control's text in the ANSI code page, as typed (line ends "\r\n").
std::string EditText(void* edit);
/// Sets an edit control's text; lone "\n" line ends become the "\r\n" that
/// multi-line edit controls need.
void SetEditText(void* edit, std::string_view text);

}  // namespace kavlo::ui
