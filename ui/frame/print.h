#pragma once
// Printing of a rich edit control's text: the print dialog, page setup, and a
// preview that draws the pages as they will print.

#include <windows.h>

#include <string>

namespace kavlo::ui {

/// Lets the user pick a printer (the setup is kept for later prints).
void PrintSetup(HWND owner);
/// Prints the control's text on the chosen printer, page after page.
void PrintRichText(HWND owner, HWND richEdit, const wchar_t* documentName);
/// Shows the pages of the control's text as they would print.
void PreviewRichText(HWND owner, HWND richEdit);
/// Prints a text: it is laid out for the printer in a hidden rich edit control.
void PrintText(HWND owner, const std::string& text, const wchar_t* documentName);
/// Shows the pages of a text as they would print.
void PreviewText(HWND owner, const std::string& text);

}  // namespace kavlo::ui
