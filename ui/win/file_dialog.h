#pragma once
// The open and save dialogs for file paths, set up in one place.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace kavlo::ui {

/// A dialog filter: `name` with `patterns` ("*.gz;*.ifo"), then "All Files (*.*)".
std::wstring FileFilter(std::wstring_view name, std::wstring_view patterns);

/// Asks for an existing file; none when the user cancels.
std::optional<std::string> AskOpenPath(HWND owner, const std::wstring& filter);
/// Asks for a path to save to, starting at `initial` and adding `defaultExtension`
/// to a name without one; overwriting asks first. None when the user cancels.
std::optional<std::string> AskSavePath(HWND owner, const std::wstring& filter, std::string_view initial,
                                       const wchar_t* defaultExtension);

}  // namespace kavlo::ui
