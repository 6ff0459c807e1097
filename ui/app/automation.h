#pragma once
// The document class "KAVLO.Document" as an automation server: registration
// under HKEY_CURRENT_USER\Software\Classes and a class object for /Automation
// and /Embedding starts.

#include <windows.h>

#include <string>

namespace kavlo::ui {

/// The class identifier of the document class.
extern const CLSID kDocumentClassId;
inline constexpr const wchar_t* kDocumentProgId = L"KAVLO.Document";

/// True when the parameters ask for an automation or embedding start.
bool IsAutomationStart(const std::wstring& commandLine);

/// Writes (or refreshes) the server's registration for the current user.
bool UpdateServerRegistration(const std::wstring& exePath);

/// Registers the class object and serves automation clients until the last
/// document object is released (or none was asked for in a minute).
int RunAutomationServer();

}  // namespace kavlo::ui
