#include "ui/win/file_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "ui/win/text.h"

namespace kavlo::ui {
namespace {

/// Long enough for deep paths; the dialog refuses longer ones itself.
constexpr std::size_t kPathCapacity = MAX_PATH * 4;

std::optional<std::string> RunFileDialog(HWND owner, const std::wstring& filter, std::string_view initial,
                                         const wchar_t* defaultExtension, bool save) {
    std::vector<wchar_t> file(kPathCapacity, L'\0');
    const std::wstring start = Widen(initial);
    start.copy(file.data(), std::min(start.size(), file.size() - 1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags =
        OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return std::nullopt;
    return Narrow(file.data());
}

}  // namespace

std::wstring FileFilter(std::wstring_view name, std::wstring_view patterns) {
    std::wstring filter(name);
    filter += L'\0';
    filter += patterns;
    filter += L'\0';
    filter += L"All Files (*.*)";
    filter += L'\0';
    filter += L"*.*";
    filter += L'\0';
    return filter;  // the string's own terminator ends the list
}

std::optional<std::string> AskOpenPath(HWND owner, const std::wstring& filter) {
    return RunFileDialog(owner, filter, {}, nullptr, false);
}

std::optional<std::string> AskSavePath(HWND owner, const std::wstring& filter, std::string_view initial,
                                       const wchar_t* defaultExtension) {
    return RunFileDialog(owner, filter, initial, defaultExtension, true);
}

}  // namespace kavlo::ui
