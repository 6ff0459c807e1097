#pragma once
// "Sen&d...": hands the report file to the mail program through Simple MAPI,
// loaded at run time so that the program starts without one.

#include <windows.h>

#include <string>

namespace kavlo::ui {

enum class MailResult { Sent, Cancelled, NoMailClient, Failed };

/// Opens the mail program's message window with the file attached.
MailResult SendFileByMail(HWND owner, const std::string& path);

}  // namespace kavlo::ui
