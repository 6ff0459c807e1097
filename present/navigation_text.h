#pragma once
// Texts of the navigation pane and the status bar, and the view each content
// kind is shown in.

#include <optional>
#include <string>
#include <string_view>

namespace kavlo::ui {

/// The content views, numbered as the left view's timers are.
enum class ViewKind { List = 1, Text = 2, Tree = 3, Refresh = 4, ExpTree = 5, ExpTreeText = 6 };

/// The view for a title's kind (exact comparison); nothing for kinds that have none.
std::optional<ViewKind> ViewForKind(std::string_view kind);

/// The script information page from a script's header values.
std::string ScriptInfoPage(std::string_view version, std::string_view date, std::string_view engine);

/// Status bar pane 1 after an open: "File: " and the name after the last "\".
std::string FileStatusText(std::string_view path);

/// Text for the clipboard: every line end becomes "\r\n" (a "\r\n" already
/// there and a bare "\r" of the rich edit control stay one line end).
std::string ToClipboardText(std::string_view text);

/// The report-type filter patterns from a filter extension list such as
/// ".gz;.ifo": "*.gz;*.ifo".
std::string FilterPatterns(std::string_view extensions);

/// True when a path's extension is one of the list's, without regard to case.
bool MatchesReportType(std::string_view path, std::string_view extensions);

}  // namespace kavlo::ui
